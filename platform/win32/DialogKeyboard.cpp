// The dialog manager's keyboard interface: Tab and the arrows among the
// controls, Enter and Esc, and Alt with a caption's marked letter.
#include "win32/DialogKeyboard.h"

#include "win32/Controls.h"
#include "win32/Dialog.h"
#include "win32/MessageLoop.h"
#include "win32/UserInput.h"
#include "win32/Window.h"
#include "win32/WindowTree.h"

#include <algorithm>
#include <iterator>
#include <string>

using nd::win32::detail::collectTabOrder;
using nd::win32::detail::find;
using nd::win32::detail::pressButton;

namespace {

bool isTabStop(HWND h) {
    auto* w = find(h);
    return w && (w->style & WS_TABSTOP) && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED);
}

HWND defaultButton(HWND dialog) {
    LRESULT def = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(static_cast<DWORD_PTR>(def)) == DC_HASDEFID) {
        return nd::win32::findDescendant(dialog, LOWORD(static_cast<DWORD_PTR>(def)));
    }
    return nullptr;
}

}  // namespace

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    std::vector<HWND> order;
    collectTabOrder(dialog, order);
    std::vector<HWND> stops;
    std::copy_if(order.begin(), order.end(), std::back_inserter(stops), isTabStop);
    if (stops.empty()) {
        return nullptr;
    }
    auto it = std::find(stops.begin(), stops.end(), control);
    if (it == stops.end()) {
        return previous ? stops.back() : stops.front();
    }
    if (previous) {
        return it == stops.begin() ? stops.back() : *(it - 1);
    }
    return (it + 1 == stops.end()) ? stops.front() : *(it + 1);
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
    std::vector<HWND> order;
    collectTabOrder(dialog, order);
    auto it = std::find(order.begin(), order.end(), control);
    if (it == order.end()) {
        return nullptr;
    }
    // The group runs from the control with WS_GROUP at or before it up to the
    // next control with WS_GROUP.
    auto hasGroup = [](HWND h) { return (GetWindowLongPtrW(h, GWL_STYLE) & WS_GROUP) != 0; };
    auto first = it;
    while (first != order.begin() && !hasGroup(*first)) {
        --first;
    }
    auto last = it + 1;
    while (last != order.end() && !hasGroup(*last)) {
        ++last;
    }
    std::vector<HWND> group(first, last);
    auto usable = [](HWND h) { return IsWindowVisible(h) && IsWindowEnabled(h); };
    auto pos =
        static_cast<std::ptrdiff_t>(std::find(group.begin(), group.end(), control) - group.begin());
    auto n = static_cast<std::ptrdiff_t>(group.size());
    for (std::ptrdiff_t step = 1; step < n; ++step) {
        std::ptrdiff_t i = ((previous ? pos - step : pos + step) % n + n) % n;
        if (usable(group[static_cast<size_t>(i)])) {
            return group[static_cast<size_t>(i)];
        }
    }
    return control;
}

BOOL IsDialogMessageW(HWND dialog, LPMSG msg) {
    if (!msg || !find(dialog) || (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))) {
        return FALSE;
    }
    if (msg->message != WM_KEYDOWN) {
        return FALSE;
    }
    HWND focus = msg->hwnd;
    LRESULT code = SendMessageW(focus, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
    switch (msg->wParam) {
        case VK_RETURN: {
            if (code & DLGC_WANTALLKEYS) {
                return FALSE;
            }
            if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
                if (IsWindowEnabled(focus)) {
                    SendMessageW(focus, BM_CLICK, 0, 0);
                }
                return TRUE;
            }
            HWND def = defaultButton(dialog);
            pressButton(dialog, def ? GetDlgCtrlID(def) : IDOK);
            return TRUE;
        }
        case VK_ESCAPE:
            // Esc cancels even when the Cancel button is disabled or missing.
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(IDCANCEL), BN_CLICKED),
                         reinterpret_cast<LPARAM>(nd::win32::findDescendant(dialog, IDCANCEL)));
            return TRUE;
        case VK_TAB:
            if (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) {
                return FALSE;
            }
            // Shift+Tab walks the tab stops backwards.
            SendMessageW(dialog, WM_NEXTDLGCTL, (GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0, 0);
            return TRUE;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
            if (code & (DLGC_WANTARROWS | DLGC_WANTALLKEYS)) {
                return FALSE;
            }
            bool back = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
            HWND next = GetNextDlgGroupItem(dialog, focus, back ? TRUE : FALSE);
            if (next && next != focus) {
                SetFocus(next);
                // Moving onto a radio button of the group selects it, as a click would.
                if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
                    SendMessageW(next, BM_CLICK, 0, 0);
                }
            }
            return TRUE;
        }
        default:
            return FALSE;
    }
}

namespace nd::win32 {
namespace {

// The letter a caption marks with '&' ("&&" is a plain ampersand), upper
// case; 0 for none.
char16_t accessKeyOf(const std::u16string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'&') {
            if (text[i + 1] != u'&') {
                char16_t c = text[i + 1];
                return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
            }
            ++i;
        }
    }
    return 0;
}

}  // namespace

std::string userAccessKey(HWND dialog, char16_t key) {
    if (!IsWindow(dialog)) {
        return "the dialog is gone";
    }
    if (key >= u'a' && key <= u'z') {
        key = static_cast<char16_t>(key - u'a' + u'A');
    }
    std::vector<HWND> order;
    collectTabOrder(dialog, order);
    for (size_t i = 0; i < order.size(); ++i) {
        HWND c = order[i];
        if (!IsWindowVisible(c) || !IsWindowEnabled(c) || accessKeyOf(windowText(c)) != key) {
            continue;
        }
        std::u16string cls = className(c);
        if (detail::equalsNoCase(cls, WC_BUTTON)) {
            DWORD type = static_cast<DWORD>(GetWindowLongPtrW(c, GWL_STYLE)) & BS_TYPEMASK;
            if (type == BS_GROUPBOX) {
                continue;
            }
            return userClick(c);
        }
        if (!detail::equalsNoCase(cls, WC_STATIC)) {
            continue;
        }
        // A label gives its key to the control after it.
        for (size_t k = i + 1; k < order.size(); ++k) {
            if (isTabStop(order[k])) {
                SetFocus(order[k]);
                if (detail::equalsNoCase(className(order[k]), WC_EDIT)) {
                    SendMessageW(order[k], EM_SETSEL, 0, -1);
                }
                pumpMessages();
                return {};
            }
        }
    }
    std::string letter(1, key < 0x80 ? static_cast<char>(key) : '?');
    return "no control has the access key " + letter;
}

}  // namespace nd::win32
