// Buttons: push, default, check, three-state, radio, group box and
// owner-drawn.
#include "win32/Controls.h"

#include <algorithm>
#include <utility>
#include "win32/Gdi.h"
#include "win32/Window.h"
#include "win32/WindowObserver.h"

namespace nd::win32::detail {
namespace {

struct ButtonState : ControlState {
    WPARAM check = BST_UNCHECKED;
    bool pushed = false;
    bool focused = false;
    HANDLE image = nullptr;
};

ButtonState& state(HWND h) {
    Window* w = find(h);
    if (!w->control) {
        w->control = std::make_unique<ButtonState>();
    }
    return *static_cast<ButtonState*>(w->control.get());
}

DWORD kind(HWND h) {
    return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)) & BS_TYPEMASK;
}

bool isRadio(DWORD k) {
    return k == BS_RADIOBUTTON || k == BS_AUTORADIOBUTTON;
}

bool isCheckable(DWORD k) {
    return k == BS_CHECKBOX || k == BS_AUTOCHECKBOX || k == BS_3STATE || k == BS_AUTO3STATE ||
           isRadio(k);
}

void setCheck(HWND h, WPARAM value) {
    auto& s = state(h);
    if (s.check != value) {
        s.check = value;
        announce(h, WindowChange::Content);
        InvalidateRect(h, nullptr, TRUE);
    }
}

// An auto radio button clears the other auto radio buttons of its group:
// the siblings from the nearest WS_GROUP at or before it up to the next one.
void checkInGroup(HWND h) {
    HWND parent = GetParent(h);
    std::vector<HWND> siblings;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        siblings.push_back(c);
    }
    auto it = std::find(siblings.begin(), siblings.end(), h);
    if (it == siblings.end()) {
        return;
    }
    auto first = it;
    while (first != siblings.begin() && !(GetWindowLongPtrW(*first, GWL_STYLE) & WS_GROUP)) {
        --first;
    }
    auto last = it + 1;
    while (last != siblings.end() && !(GetWindowLongPtrW(*last, GWL_STYLE) & WS_GROUP)) {
        ++last;
    }
    for (auto c = first; c != last; ++c) {
        if (*c != h && className(*c) == WC_BUTTON && kind(*c) == BS_AUTORADIOBUTTON) {
            setCheck(*c, BST_UNCHECKED);
        }
    }
    setCheck(h, BST_CHECKED);
}

void unpush(HWND h) {
    auto& s = state(h);
    if (s.pushed) {
        s.pushed = false;
        announce(h, WindowChange::Content);
        InvalidateRect(h, nullptr, TRUE);
    }
}

void release(HWND h) {
    auto& s = state(h);
    if (!s.pushed) {
        return;
    }
    s.pushed = false;
    InvalidateRect(h, nullptr, TRUE);
    switch (kind(h)) {
        case BS_AUTOCHECKBOX:
            setCheck(h, s.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
            break;
        case BS_AUTO3STATE:
            setCheck(h, (s.check + 1) % 3);
            break;
        case BS_AUTORADIOBUTTON:
            checkInGroup(h);
            break;
        default:
            break;
    }
    notifyParentCommand(h, BN_CLICKED);
}

void paint(HWND h) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    selectWindowFont(h, dc);
    RECT r;
    GetClientRect(h, &r);
    auto& s = state(h);
    if (kind(h) == BS_OWNERDRAW) {
        DRAWITEMSTRUCT di;
        di.CtlType = ODT_BUTTON;
        di.CtlID = static_cast<UINT>(GetDlgCtrlID(h));
        di.itemAction = ODA_DRAWENTIRE;
        di.itemState = (s.pushed ? ODS_SELECTED : 0) | (s.focused ? ODS_FOCUS : 0) |
                       (IsWindowEnabled(h) ? 0 : ODS_DISABLED);
        di.hwndItem = h;
        di.hDC = dc;
        di.rcItem = r;
        SendMessageW(GetParent(h), WM_DRAWITEM, di.CtlID, reinterpret_cast<LPARAM>(&di));
    } else {
        DWORD k = kind(h);
        HBRUSH brush = controlColor(
            h, dc, (isCheckable(k) || k == BS_GROUPBOX) ? WM_CTLCOLORSTATIC : WM_CTLCOLORBTN);
        if (brush) {
            FillRect(dc, &r, brush);
        }
        std::u16string text = windowText(h);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER);
    }
    EndPaint(h, &ps);
}

}  // namespace

LRESULT buttonProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            state(h);
            return 0;
        case BM_GETCHECK:
            return isCheckable(kind(h)) ? static_cast<LRESULT>(state(h).check) : 0;
        case BM_SETCHECK:
            if (isCheckable(kind(h))) {
                setCheck(h, wParam > BST_INDETERMINATE ? BST_CHECKED : wParam);
            }
            return 0;
        case BM_GETSTATE: {
            auto& s = state(h);
            return static_cast<LRESULT>(s.check) | (s.pushed ? BST_PUSHED : 0) |
                   (s.focused ? BST_FOCUS : 0);
        }
        case BM_SETSTATE:
            if (state(h).pushed != (wParam != 0)) {
                state(h).pushed = wParam != 0;
                announce(h, WindowChange::Content);
                InvalidateRect(h, nullptr, TRUE);
            }
            return 0;
        case BM_SETSTYLE: {
            DWORD style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
            style = (style & ~0xFFFFu) | (static_cast<DWORD>(wParam) & 0xFFFFu);
            SetWindowLongPtrW(h, GWL_STYLE, static_cast<LONG_PTR>(style));
            if (lParam) {
                InvalidateRect(h, nullptr, TRUE);
            }
            return 0;
        }
        case BM_SETIMAGE: {
            HANDLE old = std::exchange(state(h).image, reinterpret_cast<HANDLE>(lParam));
            announce(h, WindowChange::Content);
            return reinterpret_cast<LRESULT>(old);
        }
        case BM_GETIMAGE:
            return reinterpret_cast<LRESULT>(state(h).image);
        case BM_CLICK:
            if (IsWindowEnabled(h) && kind(h) != BS_GROUPBOX) {
                SendMessageW(h, WM_LBUTTONDOWN, 0, 0);
                SendMessageW(h, WM_LBUTTONUP, 0, 0);
            }
            return 0;
        case WM_LBUTTONDOWN:
            if (kind(h) != BS_GROUPBOX) {
                state(h).pushed = true;
                // Held until the button goes up, wherever the cursor goes.
                SetCapture(h);
                announce(h, WindowChange::Content);
                InvalidateRect(h, nullptr, TRUE);
            }
            return 0;
        case WM_LBUTTONUP: {
            if (GetCapture() == h) {
                ReleaseCapture();
            }
            // Letting go outside the button takes the press back: no click.
            RECT r;
            GetClientRect(h, &r);
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (!IsRectEmpty(&r) && !PtInRect(&r, p)) {
                unpush(h);
                return 0;
            }
            release(h);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && kind(h) != BS_GROUPBOX) {
                state(h).pushed = true;
                announce(h, WindowChange::Content);
                InvalidateRect(h, nullptr, TRUE);
                return 0;
            }
            return DefWindowProcW(h, message, wParam, lParam);
        case WM_KEYUP:
            if (wParam == VK_SPACE) {
                release(h);
                return 0;
            }
            return DefWindowProcW(h, message, wParam, lParam);
        case WM_SETFOCUS:
            state(h).focused = true;
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case WM_KILLFOCUS:
            state(h).focused = false;
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case WM_GETDLGCODE:
            switch (kind(h)) {
                case BS_DEFPUSHBUTTON:
                    return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
                case BS_PUSHBUTTON:
                case BS_OWNERDRAW:
                    return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
                case BS_RADIOBUTTON:
                case BS_AUTORADIOBUTTON:
                    return DLGC_RADIOBUTTON;
                case BS_GROUPBOX:
                    return DLGC_STATIC;
                default:
                    return DLGC_BUTTON;
            }
        case WM_SETTEXT: {
            LRESULT r = DefWindowProcW(h, message, wParam, lParam);
            InvalidateRect(h, nullptr, TRUE);
            return r;
        }
        case WM_PAINT:
            paint(h);
            return 0;
        default:
            return DefWindowProcW(h, message, wParam, lParam);
    }
}

}  // namespace nd::win32::detail
