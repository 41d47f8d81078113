// Tab controls, as property sheets use them.
#include "win32/Controls.h"
#include "win32/Gdi.h"
#include "win32/Window.h"
#include "win32/WindowObserver.h"

#include <algorithm>

namespace nd::win32::detail {
namespace {

constexpr int kStripHeight = 22;
constexpr int kBorder = 4;

struct Tab {
    std::u16string text;
    LPARAM data = 0;
};

struct TabState : ControlState {
    std::vector<Tab> tabs;
    int current = -1;
};

TabState& state(HWND h) {
    Window* w = find(h);
    if (!w->control) {
        w->control = std::make_unique<TabState>();
    }
    return *static_cast<TabState*>(w->control.get());
}

void changed(HWND h) {
    announce(h, WindowChange::Content);
    InvalidateRect(h, nullptr, TRUE);
}

}  // namespace

std::string tabUserSelect(HWND h, int index) {
    auto& s = state(h);
    if (index < 0 || static_cast<size_t>(index) >= s.tabs.size()) {
        return "tab control " + std::to_string(GetDlgCtrlID(h)) + " has no tab " +
               std::to_string(index);
    }
    if (index == s.current) {
        return {};
    }
    NMHDR nm;
    if (notifyParent(h, nm, TCN_SELCHANGING)) {
        return {};  // the current page refused to be left
    }
    state(h).current = index;
    changed(h);
    notifyParent(h, nm, TCN_SELCHANGE);
    return {};
}

LRESULT tabControlProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            state(h);
            return 0;
        case TCM_INSERTITEMW: {
            auto& s = state(h);
            auto* item = reinterpret_cast<const TCITEMW*>(lParam);
            if (!item) {
                return -1;
            }
            Tab t;
            if (item->mask & TCIF_TEXT) {
                t.text = item->pszText ? item->pszText : u"";
            }
            if (item->mask & TCIF_PARAM) {
                t.data = item->lParam;
            }
            size_t at = std::min(static_cast<size_t>(wParam), s.tabs.size());
            s.tabs.insert(s.tabs.begin() + static_cast<std::ptrdiff_t>(at), std::move(t));
            if (s.current < 0) {
                s.current = 0;
            } else if (s.current >= static_cast<int>(at)) {
                ++s.current;
            }
            changed(h);
            return static_cast<LRESULT>(at);
        }
        case TCM_DELETEITEM: {
            auto& s = state(h);
            if (wParam >= s.tabs.size()) {
                return FALSE;
            }
            s.tabs.erase(s.tabs.begin() + static_cast<std::ptrdiff_t>(wParam));
            if (s.current >= static_cast<int>(s.tabs.size())) {
                s.current = static_cast<int>(s.tabs.size()) - 1;
            }
            changed(h);
            return TRUE;
        }
        case TCM_DELETEALLITEMS:
            state(h).tabs.clear();
            state(h).current = -1;
            changed(h);
            return TRUE;
        case TCM_GETITEMCOUNT:
            return static_cast<LRESULT>(state(h).tabs.size());
        case TCM_GETCURSEL:
            return state(h).current;
        case TCM_SETCURSEL: {
            auto& s = state(h);
            if (wParam >= s.tabs.size()) {
                return -1;
            }
            int old = s.current;
            s.current = static_cast<int>(wParam);
            changed(h);
            return old;
        }
        case TCM_GETITEMW: {
            auto& s = state(h);
            auto* item = reinterpret_cast<TCITEMW*>(lParam);
            if (!item || wParam >= s.tabs.size()) {
                return FALSE;
            }
            if (item->mask & TCIF_TEXT) {
                copyText(s.tabs[wParam].text, item->pszText,
                         static_cast<size_t>(std::max(item->cchTextMax, 0)));
            }
            if (item->mask & TCIF_PARAM) {
                item->lParam = s.tabs[wParam].data;
            }
            return TRUE;
        }
        case TCM_SETITEMW: {
            auto& s = state(h);
            auto* item = reinterpret_cast<const TCITEMW*>(lParam);
            if (!item || wParam >= s.tabs.size()) {
                return FALSE;
            }
            if (item->mask & TCIF_TEXT) {
                s.tabs[wParam].text = item->pszText ? item->pszText : u"";
            }
            if (item->mask & TCIF_PARAM) {
                s.tabs[wParam].data = item->lParam;
            }
            changed(h);
            return TRUE;
        }
        case TCM_ADJUSTRECT: {
            // Between the whole control and the page area below the tabs.
            auto* r = reinterpret_cast<RECT*>(lParam);
            if (!r) {
                return 0;
            }
            if (wParam) {
                r->left -= kBorder;
                r->right += kBorder;
                r->top -= kStripHeight + kBorder;
                r->bottom += kBorder;
            } else {
                r->left += kBorder;
                r->right -= kBorder;
                r->top += kStripHeight + kBorder;
                r->bottom -= kBorder;
            }
            return 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            selectWindowFont(h, dc);
            int x = 0;
            for (const auto& t : state(h).tabs) {
                RECT r{x, 0, x + 80, kStripHeight};
                DrawTextW(dc, t.text.c_str(), static_cast<int>(t.text.size()), &r, DT_CENTER);
                x += 80;
            }
            EndPaint(h, &ps);
            return 0;
        }
        default:
            return DefWindowProcW(h, message, wParam, lParam);
    }
}

}  // namespace nd::win32::detail
