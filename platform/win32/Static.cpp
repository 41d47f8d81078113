// Static controls: labels, frames, lines and pictures.
#include "win32/Controls.h"
#include "win32/Gdi.h"
#include "win32/Window.h"
#include "win32/WindowObserver.h"

namespace nd::win32::detail {
namespace {

struct StaticState : ControlState {
    HANDLE image = nullptr;
    UINT imageType = IMAGE_BITMAP;
};

StaticState& state(HWND h) {
    Window* w = find(h);
    if (!w->control) {
        w->control = std::make_unique<StaticState>();
    }
    return *static_cast<StaticState*>(w->control.get());
}

bool isTextKind(DWORD type) {
    return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE ||
           type == SS_LEFTNOWORDWRAP;
}

void paint(HWND h) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    selectWindowFont(h, dc);
    DWORD style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
    DWORD type = style & SS_TYPEMASK;
    RECT r;
    GetClientRect(h, &r);
    if (type == SS_OWNERDRAW) {
        DRAWITEMSTRUCT di;
        di.CtlType = ODT_STATIC;
        di.CtlID = static_cast<UINT>(GetDlgCtrlID(h));
        di.itemAction = ODA_DRAWENTIRE;
        di.itemState = IsWindowEnabled(h) ? 0 : ODS_DISABLED;
        di.hwndItem = h;
        di.hDC = dc;
        di.rcItem = r;
        SendMessageW(GetParent(h), WM_DRAWITEM, di.CtlID, reinterpret_cast<LPARAM>(&di));
    } else if (type == SS_BLACKFRAME || type == SS_GRAYFRAME || type == SS_WHITEFRAME ||
               type == SS_ETCHEDFRAME || type == SS_ETCHEDHORZ || type == SS_ETCHEDVERT) {
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    } else if (type == SS_BLACKRECT || type == SS_GRAYRECT || type == SS_WHITERECT) {
        FillRect(
            dc, &r,
            static_cast<HBRUSH>(GetStockObject(type == SS_WHITERECT ? WHITE_BRUSH : BLACK_BRUSH)));
    } else {
        HBRUSH brush = controlColor(h, dc, WM_CTLCOLORSTATIC);
        if (brush) {
            FillRect(dc, &r, brush);
        }
        if (type == SS_BITMAP && state(h).image) {
            HDC mem = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(mem, state(h).image);
            const auto* data = bitmapData(static_cast<HBITMAP>(state(h).image));
            BitBlt(dc, 0, 0, data ? data->width : 0, data ? data->height : 0, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            DeleteDC(mem);
        } else if (isTextKind(type)) {
            std::u16string text = windowText(h);
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                      type == SS_CENTER ? DT_CENTER : DT_LEFT);
        }
    }
    EndPaint(h, &ps);
}

}  // namespace

LRESULT staticProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            state(h);
            return 0;
        case STM_SETIMAGE:
        case STM_SETICON: {
            auto& s = state(h);
            HANDLE old = s.image;
            s.image = reinterpret_cast<HANDLE>(message == STM_SETICON ? wParam : lParam);
            s.imageType = message == STM_SETICON ? IMAGE_ICON : static_cast<UINT>(wParam);
            announce(h, WindowChange::Content);
            InvalidateRect(h, nullptr, TRUE);
            return reinterpret_cast<LRESULT>(old);
        }
        case STM_GETIMAGE:
        case STM_GETICON:
            return reinterpret_cast<LRESULT>(state(h).image);
        case WM_SETTEXT: {
            LRESULT r = DefWindowProcW(h, message, wParam, lParam);
            InvalidateRect(h, nullptr, TRUE);
            return r;
        }
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case WM_PAINT:
            paint(h);
            return 0;
        default:
            return DefWindowProcW(h, message, wParam, lParam);
    }
}

}  // namespace nd::win32::detail
