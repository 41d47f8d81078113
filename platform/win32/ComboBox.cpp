// Combo boxes. Rows inserted by position stay where they were put, even
// with the sort style; only CB_ADDSTRING sorts.
#include "win32/Controls.h"
#include "win32/Gdi.h"
#include "win32/TextRows.h"
#include "win32/Window.h"
#include "win32/WindowObserver.h"

#include <algorithm>

namespace nd::win32::detail {
namespace {

struct Row {
    std::u16string text;
    LPARAM data = 0;
};

struct ComboState : ControlState {
    std::vector<Row> rows;
    int current = -1;
};

ComboState& state(HWND h) {
    Window* w = find(h);
    if (!w->control) {
        w->control = std::make_unique<ComboState>();
    }
    return *static_cast<ComboState*>(w->control.get());
}

DWORD style(HWND h) {
    return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
}

// The selection field shows the selected row's text.
void showCurrent(HWND h) {
    auto& s = state(h);
    Window* w = find(h);
    std::u16string text = s.current >= 0 ? s.rows[static_cast<size_t>(s.current)].text : u"";
    if (w->text != text) {
        w->text = std::move(text);
        announce(h, WindowChange::Text);
    }
    announce(h, WindowChange::Content);
    InvalidateRect(h, nullptr, TRUE);
}

LRESULT insert(HWND h, int index, LPCWSTR text) {
    auto& s = state(h);
    if (index < -1 || (index >= 0 && static_cast<size_t>(index) > s.rows.size())) {
        return CB_ERR;
    }
    size_t at = index < 0 ? s.rows.size() : static_cast<size_t>(index);
    s.rows.insert(s.rows.begin() + static_cast<std::ptrdiff_t>(at), Row{text ? text : u"", 0});
    if (s.current >= static_cast<int>(at)) {
        ++s.current;
    }
    announce(h, WindowChange::Content);
    return static_cast<LRESULT>(at);
}

void paint(HWND h) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    selectWindowFont(h, dc);
    HBRUSH brush = controlColor(h, dc, WM_CTLCOLOREDIT);
    RECT r;
    GetClientRect(h, &r);
    if (brush) {
        FillRect(dc, &r, brush);
    }
    std::u16string text = windowText(h);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT);
    EndPaint(h, &ps);
}

}  // namespace

std::string comboUserSelect(HWND h, int row) {
    auto& s = state(h);
    if (row < 0 || static_cast<size_t>(row) >= s.rows.size()) {
        return "combo box " + std::to_string(GetDlgCtrlID(h)) + " has no row " +
               std::to_string(row);
    }
    SetFocus(h);
    s.current = row;
    showCurrent(h);
    notifyParentCommand(h, CBN_SELCHANGE);
    notifyParentCommand(h, CBN_SELENDOK);
    return {};
}

std::string comboUserType(HWND h, std::u16string_view text) {
    if ((style(h) & 0x3) == CBS_DROPDOWNLIST) {
        return "combo box " + std::to_string(GetDlgCtrlID(h)) + " takes no typing";
    }
    SetFocus(h);
    auto& s = state(h);
    Window* w = find(h);
    // With the list closed, typed text is no row's choice even when it
    // spells one: the selection goes. The parent hears of the edit as of an
    // edit control's, before and after the field shows it.
    s.current = -1;
    notifyParentCommand(h, CBN_EDITUPDATE);
    if (w->text != text) {
        w->text = std::u16string(text);
        announce(h, WindowChange::Text);
    }
    InvalidateRect(h, nullptr, TRUE);
    notifyParentCommand(h, CBN_EDITCHANGE);
    return {};
}

LRESULT comboBoxProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            state(h);
            return 0;
        case CB_ADDSTRING: {
            auto* text = reinterpret_cast<LPCWSTR>(lParam);
            return insert(h, style(h) & CBS_SORT ? sortedPosition(state(h).rows, text) : -1, text);
        }
        case CB_INSERTSTRING:
            return insert(h, static_cast<int>(wParam), reinterpret_cast<LPCWSTR>(lParam));
        case CB_DELETESTRING: {
            auto& s = state(h);
            if (!validRow(s.rows, wParam)) {
                return CB_ERR;
            }
            s.rows.erase(s.rows.begin() + static_cast<std::ptrdiff_t>(wParam));
            int i = static_cast<int>(wParam);
            if (s.current == i) {
                s.current = -1;
            } else if (s.current > i) {
                --s.current;
            }
            showCurrent(h);
            return static_cast<LRESULT>(s.rows.size());
        }
        case CB_RESETCONTENT: {
            auto& s = state(h);
            s.rows.clear();
            s.current = -1;
            showCurrent(h);
            return CB_OKAY;
        }
        case CB_GETCOUNT:
            return static_cast<LRESULT>(state(h).rows.size());
        case CB_GETCURSEL:
            return state(h).current;
        case CB_SETCURSEL: {
            auto& s = state(h);
            s.current = validRow(s.rows, wParam) ? static_cast<int>(wParam) : -1;
            showCurrent(h);
            return s.current >= 0 ? s.current : CB_ERR;
        }
        case CB_GETLBTEXT:
            return answerRowQuery(state(h).rows, RowQuery::Text, wParam, lParam);
        case CB_GETLBTEXTLEN:
            return answerRowQuery(state(h).rows, RowQuery::TextLength, wParam, lParam);
        case CB_GETITEMDATA:
            return answerRowQuery(state(h).rows, RowQuery::Data, wParam, lParam);
        case CB_SETITEMDATA:
            return answerRowQuery(state(h).rows, RowQuery::SetData, wParam, lParam);
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT:
            return findRow(state(h).rows, wParam, reinterpret_cast<LPCWSTR>(lParam),
                           message == CB_FINDSTRINGEXACT);
        case CB_SELECTSTRING: {
            LRESULT i = findRow(state(h).rows, wParam, reinterpret_cast<LPCWSTR>(lParam), false);
            if (i == CB_ERR) {
                return CB_ERR;
            }
            return SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        }
        case WM_SETTEXT:
            // Only a combo box with an edit field takes free text.
            if ((style(h) & 0x3) == CBS_DROPDOWNLIST) {
                return CB_ERR;
            }
            return DefWindowProcW(h, message, wParam, lParam);
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_PAINT:
            paint(h);
            return 0;
        default:
            return DefWindowProcW(h, message, wParam, lParam);
    }
}

}  // namespace nd::win32::detail
