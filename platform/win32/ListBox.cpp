// List boxes: sorted or not, single or multiple selection, item data.
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
    bool selected = false;
};

struct ListBoxState : ControlState {
    std::vector<Row> rows;
    int current = -1;  // selection of a single-selection list
    int caret = -1;
    int top = 0;
};

ListBoxState& state(HWND h) {
    Window* w = find(h);
    if (!w->control) {
        w->control = std::make_unique<ListBoxState>();
    }
    return *static_cast<ListBoxState*>(w->control.get());
}

DWORD style(HWND h) {
    return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
}

bool multiple(HWND h) {
    return style(h) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL);
}

void changed(HWND h) {
    announce(h, WindowChange::Content);
    InvalidateRect(h, nullptr, TRUE);
}

LRESULT insert(HWND h, int index, LPCWSTR text) {
    auto& s = state(h);
    Row row;
    row.text = text ? text : u"";
    size_t at = index < 0 || static_cast<size_t>(index) > s.rows.size()
                    ? s.rows.size()
                    : static_cast<size_t>(index);
    if (index < -1 || (index >= 0 && static_cast<size_t>(index) > s.rows.size())) {
        return LB_ERR;
    }
    s.rows.insert(s.rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(row));
    if (s.current >= static_cast<int>(at)) {
        ++s.current;
    }
    changed(h);
    return static_cast<LRESULT>(at);
}

LRESULT addSorted(HWND h, LPCWSTR text) {
    return insert(h, style(h) & LBS_SORT ? sortedPosition(state(h).rows, text) : -1, text);
}

void paint(HWND h) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    selectWindowFont(h, dc);
    HBRUSH brush = controlColor(h, dc, WM_CTLCOLORLISTBOX);
    RECT r;
    GetClientRect(h, &r);
    if (brush) {
        FillRect(dc, &r, brush);
    }
    int y = 0;
    for (const auto& row : state(h).rows) {
        RECT line{0, y, r.right, y + 16};
        DrawTextW(dc, row.text.c_str(), static_cast<int>(row.text.size()), &line, DT_LEFT);
        y += 16;
    }
    EndPaint(h, &ps);
}

}  // namespace

std::string listBoxUserSelect(HWND h, const std::vector<int>& rows) {
    auto& s = state(h);
    for (int r : rows) {
        if (r < 0 || static_cast<size_t>(r) >= s.rows.size()) {
            return "list box " + std::to_string(GetDlgCtrlID(h)) + " has no row " +
                   std::to_string(r);
        }
    }
    SetFocus(h);
    if (multiple(h)) {
        for (auto& row : s.rows) {
            row.selected = false;
        }
        for (int r : rows) {
            s.rows[static_cast<size_t>(r)].selected = true;
        }
        s.caret = rows.empty() ? s.caret : rows.back();
    } else {
        if (rows.size() != 1) {
            return "list box " + std::to_string(GetDlgCtrlID(h)) + " takes exactly one row";
        }
        s.current = s.caret = rows.front();
    }
    changed(h);
    if (style(h) & LBS_NOTIFY) {
        notifyParentCommand(h, LBN_SELCHANGE);
    }
    return {};
}

LRESULT listBoxProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            state(h);
            return 0;
        case LB_ADDSTRING:
            return addSorted(h, reinterpret_cast<LPCWSTR>(lParam));
        case LB_INSERTSTRING:
            return insert(h, static_cast<int>(wParam), reinterpret_cast<LPCWSTR>(lParam));
        case LB_DELETESTRING: {
            auto& s = state(h);
            if (!validRow(s.rows, wParam)) {
                return LB_ERR;
            }
            s.rows.erase(s.rows.begin() + static_cast<std::ptrdiff_t>(wParam));
            int i = static_cast<int>(wParam);
            if (s.current == i) {
                s.current = -1;
            } else if (s.current > i) {
                --s.current;
            }
            if (s.caret >= static_cast<int>(s.rows.size())) {
                s.caret = static_cast<int>(s.rows.size()) - 1;
            }
            changed(h);
            return static_cast<LRESULT>(s.rows.size());
        }
        case LB_RESETCONTENT: {
            auto& s = state(h);
            s.rows.clear();
            s.current = s.caret = -1;
            s.top = 0;
            changed(h);
            return 0;
        }
        case LB_GETCOUNT:
            return static_cast<LRESULT>(state(h).rows.size());
        case LB_GETTEXT:
            return answerRowQuery(state(h).rows, RowQuery::Text, wParam, lParam);
        case LB_GETTEXTLEN:
            return answerRowQuery(state(h).rows, RowQuery::TextLength, wParam, lParam);
        case LB_GETITEMDATA:
            return answerRowQuery(state(h).rows, RowQuery::Data, wParam, lParam);
        case LB_SETITEMDATA:
            return answerRowQuery(state(h).rows, RowQuery::SetData, wParam, lParam);
        case LB_SETCURSEL: {
            auto& s = state(h);
            if (multiple(h)) {
                return LB_ERR;
            }
            int i = static_cast<int>(wParam);
            s.current = validRow(s.rows, wParam) ? i : -1;
            if (s.current >= 0) {
                s.caret = i;
            }
            changed(h);
            return s.current >= 0 ? s.current : LB_ERR;
        }
        case LB_GETCURSEL: {
            auto& s = state(h);
            // A multiple-selection list answers the row with the caret.
            return multiple(h) ? s.caret : s.current;
        }
        case LB_SETSEL: {
            auto& s = state(h);
            if (!multiple(h)) {
                return LB_ERR;
            }
            int i = static_cast<int>(lParam);
            if (i == -1) {
                for (auto& r : s.rows) {
                    r.selected = wParam != 0;
                }
            } else if (i >= 0 && static_cast<size_t>(i) < s.rows.size()) {
                s.rows[static_cast<size_t>(i)].selected = wParam != 0;
                s.caret = i;
            } else {
                return LB_ERR;
            }
            changed(h);
            return LB_OKAY;
        }
        case LB_GETSEL: {
            auto& s = state(h);
            if (!validRow(s.rows, wParam)) {
                return LB_ERR;
            }
            return multiple(h) ? (s.rows[wParam].selected ? 1 : 0)
                               : (s.current == static_cast<int>(wParam) ? 1 : 0);
        }
        case LB_GETSELCOUNT: {
            auto& s = state(h);
            if (!multiple(h)) {
                return LB_ERR;
            }
            return std::count_if(s.rows.begin(), s.rows.end(),
                                 [](const Row& r) { return r.selected; });
        }
        case LB_GETSELITEMS: {
            auto& s = state(h);
            if (!multiple(h)) {
                return LB_ERR;
            }
            auto* out = reinterpret_cast<int*>(lParam);
            LRESULT n = 0;
            for (size_t i = 0; i < s.rows.size() && static_cast<WPARAM>(n) < wParam; ++i) {
                if (s.rows[i].selected) {
                    if (out) {
                        out[n] = static_cast<int>(i);
                    }
                    ++n;
                }
            }
            return n;
        }
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT:
            return findRow(state(h).rows, wParam, reinterpret_cast<LPCWSTR>(lParam),
                           message == LB_FINDSTRINGEXACT);
        case LB_SELECTSTRING: {
            LRESULT i = findRow(state(h).rows, wParam, reinterpret_cast<LPCWSTR>(lParam), false);
            if (i == LB_ERR || multiple(h)) {
                return LB_ERR;
            }
            return SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
        }
        case LB_GETTOPINDEX:
            return state(h).top;
        case LB_SETCARETINDEX: {
            auto& s = state(h);
            if (!validRow(s.rows, wParam)) {
                return LB_ERR;
            }
            s.caret = static_cast<int>(wParam);
            return LB_OKAY;
        }
        case LB_GETCARETINDEX:
            return state(h).caret;
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
