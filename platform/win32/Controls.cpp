#include "win32/Controls.h"

#include "win32/Dialog.h"
#include "win32/Gdi.h"
#include "win32/MessageLoop.h"
#include "win32/UserInput.h"
#include "win32/Window.h"

#include <unicode/coll.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>

namespace nd::win32::detail {
namespace {

LRESULT plainProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return DefWindowProcW(h, m, w, l);
}

std::u16string fold(std::u16string_view s) {
    std::u16string out(s);
    for (auto& c : out) {
        c = static_cast<char16_t>(u_foldCase(c, U_FOLD_CASE_DEFAULT));
    }
    return out;
}

std::string utf8(std::u16string_view s) {
    std::string out;
    icu::UnicodeString(s.data(), static_cast<int32_t>(s.size())).toUTF8String(out);
    return out;
}

}  // namespace

void ensureBuiltinClasses() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    struct {
        const char16_t* name;
        WNDPROC proc;
    } classes[] = {
        {WC_DIALOG, dialogClassProc()},  {WC_STATIC, staticProc},
        {WC_BUTTON, buttonProc},         {WC_EDIT, editProc},
        {WC_LISTBOX, listBoxProc},       {WC_COMBOBOX, comboBoxProc},
        {WC_LISTVIEW, listViewProc},     {DATETIMEPICK_CLASS, dateTimeProc},
        {WC_TABCONTROL, tabControlProc}, {UPDOWN_CLASS, plainProc},
        {u"ScrollBar", plainProc},       {u"msctls_progress32", progressBarProc},
    };
    for (const auto& c : classes) {
        WNDCLASSW wc;
        wc.lpfnWndProc = c.proc;
        wc.lpszClassName = c.name;
        RegisterClassW(&wc);
    }
}

int compareForSort(std::u16string_view a, std::u16string_view b) {
    static icu::Collator* collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        icu::Collator* c = icu::Collator::createInstance(icu::Locale("ja"), status);
        if (U_FAILURE(status)) {
            delete c;
            return static_cast<icu::Collator*>(nullptr);
        }
        c->setStrength(icu::Collator::SECONDARY);
        return c;
    }();
    if (collator) {
        UErrorCode status = U_ZERO_ERROR;
        auto r = collator->compare(a.data(), static_cast<int32_t>(a.size()), b.data(),
                                   static_cast<int32_t>(b.size()), status);
        if (U_SUCCESS(status)) {
            return r;
        }
    }
    auto fa = fold(a);
    auto fb = fold(b);
    return fa < fb ? -1 : (fa == fb ? 0 : 1);
}

bool startsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && fold(text.substr(0, prefix.size())) == fold(prefix);
}

bool equalsNoCase(std::u16string_view a, std::u16string_view b) {
    return fold(a) == fold(b);
}

void selectWindowFont(HWND control, HDC dc) {
    if (auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0))) {
        SelectObject(dc, font);
    }
}

HBRUSH controlColor(HWND control, HDC dc, UINT message) {
    HWND parent = GetParent(control);
    if (!parent) {
        return nullptr;
    }
    return reinterpret_cast<HBRUSH>(SendMessageW(parent, message, reinterpret_cast<WPARAM>(dc),
                                                 reinterpret_cast<LPARAM>(control)));
}

int copyText(std::u16string_view text, LPWSTR buffer, size_t size) {
    if (!buffer || size == 0) {
        return 0;
    }
    size_t n = std::min(text.size(), size - 1);
    std::copy_n(text.data(), n, buffer);
    buffer[n] = 0;
    return static_cast<int>(n);
}

std::string unusable(HWND control) {
    if (!IsWindow(control)) {
        return "no such control";
    }
    std::string name = "control " + std::to_string(GetDlgCtrlID(control));
    if (!IsWindowVisible(control)) {
        return name + " is hidden";
    }
    for (HWND h = control; h;
         h = (GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr) {
        if (!IsWindowEnabled(h)) {
            return name + " is disabled";
        }
    }
    return {};
}

}  // namespace nd::win32::detail

namespace nd::win32 {

using detail::unusable;

std::string userType(HWND control, std::u16string_view text) {
    if (auto why = unusable(control); !why.empty()) {
        return why;
    }
    auto cls = className(control);
    if (detail::equalsNoCase(cls, WC_EDIT)) {
        return detail::editUserType(control, text);
    }
    if (detail::equalsNoCase(cls, DATETIMEPICK_CLASS)) {
        return detail::dateTimeUserType(control, text);
    }
    if (detail::equalsNoCase(cls, WC_COMBOBOX)) {
        // A drop-down list takes typing as the choice of the row spelt; a
        // combo box with an edit field takes the text itself.
        auto type = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)) & 0x3;
        if (type == CBS_DROPDOWNLIST) {
            return userSelectText(control, text);
        }
        auto r = detail::comboUserType(control, text);
        pumpMessages();
        return r;
    }
    return "control " + std::to_string(GetDlgCtrlID(control)) + " (" + detail::utf8(cls) +
           ") does not take typing";
}

std::string userClick(HWND control) {
    if (auto why = unusable(control); !why.empty()) {
        return why;
    }
    if (!detail::equalsNoCase(className(control), WC_BUTTON)) {
        return "control " + std::to_string(GetDlgCtrlID(control)) + " is not a button";
    }
    SetFocus(control);
    SendMessageW(control, BM_CLICK, 0, 0);
    pumpMessages();
    return {};
}

std::string userCheck(HWND control, bool checked) {
    if (auto why = unusable(control); !why.empty()) {
        return why;
    }
    DWORD type = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)) & BS_TYPEMASK;
    if (!detail::equalsNoCase(className(control), WC_BUTTON) ||
        (type != BS_CHECKBOX && type != BS_AUTOCHECKBOX && type != BS_RADIOBUTTON &&
         type != BS_AUTORADIOBUTTON && type != BS_3STATE && type != BS_AUTO3STATE)) {
        return "control " + std::to_string(GetDlgCtrlID(control)) + " is not a check box";
    }
    bool now = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (now == checked) {
        return {};
    }
    return userClick(control);
}

std::string userSelectRows(HWND control, const std::vector<int>& rows) {
    if (auto why = unusable(control); !why.empty()) {
        return why;
    }
    auto cls = className(control);
    std::string result;
    if (detail::equalsNoCase(cls, WC_LISTBOX)) {
        result = detail::listBoxUserSelect(control, rows);
    } else if (detail::equalsNoCase(cls, WC_LISTVIEW)) {
        result = detail::listViewUserSelect(control, rows);
    } else if (detail::equalsNoCase(cls, WC_COMBOBOX)) {
        if (rows.size() != 1) {
            return "a combo box takes exactly one row";
        }
        result = detail::comboUserSelect(control, rows.front());
    } else {
        return "control " + std::to_string(GetDlgCtrlID(control)) + " has no rows";
    }
    pumpMessages();
    return result;
}

std::string userDoubleClickRow(HWND control, int row) {
    if (auto why = unusable(control); !why.empty()) {
        return why;
    }
    auto cls = className(control);
    bool listView = detail::equalsNoCase(cls, WC_LISTVIEW);
    if (!listView && !detail::equalsNoCase(cls, WC_LISTBOX)) {
        return "control " + std::to_string(GetDlgCtrlID(control)) + " has no rows";
    }
    // The first click of the two selects the row.
    std::string result = listView ? detail::listViewUserSelect(control, {row})
                                  : detail::listBoxUserSelect(control, {row});
    if (!result.empty()) {
        return result;
    }
    pumpMessages();
    if (listView) {
        NMITEMACTIVATE activate;
        activate.iItem = row;
        detail::notifyParent(control, activate.hdr, NM_DBLCLK);
    } else if (GetWindowLongPtrW(control, GWL_STYLE) & LBS_NOTIFY) {
        detail::notifyParentCommand(control, LBN_DBLCLK);
    }
    pumpMessages();
    return {};
}

std::string userSelectText(HWND control, std::u16string_view text) {
    if (auto why = unusable(control); !why.empty()) {
        return why;
    }
    auto cls = className(control);
    std::u16string t(text);
    if (detail::equalsNoCase(cls, WC_LISTBOX) || detail::equalsNoCase(cls, WC_LISTVIEW)) {
        // The row whose (first column's) text it is, ignoring case.
        int row = -1;
        if (detail::equalsNoCase(cls, WC_LISTBOX)) {
            row =
                static_cast<int>(SendMessageW(control, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(t.c_str())));
        } else {
            int count = static_cast<int>(SendMessageW(control, LVM_GETITEMCOUNT, 0, 0));
            for (int i = 0; i < count && row < 0; ++i) {
                WCHAR buf[1024];
                LVITEMW item;
                item.pszText = buf;
                item.cchTextMax = 1024;
                SendMessageW(control, LVM_GETITEMTEXTW, static_cast<WPARAM>(i),
                             reinterpret_cast<LPARAM>(&item));
                if (detail::equalsNoCase(buf, t)) {
                    row = i;
                }
            }
        }
        if (row < 0) {
            return "list " + std::to_string(GetDlgCtrlID(control)) + " has no row \"" +
                   detail::utf8(text) + "\"";
        }
        return userSelectRows(control, {row});
    }
    if (!detail::equalsNoCase(cls, WC_COMBOBOX)) {
        return "control " + std::to_string(GetDlgCtrlID(control)) + " has no rows";
    }
    LRESULT row = SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(t.c_str()));
    if (row == CB_ERR) {
        return "combo box " + std::to_string(GetDlgCtrlID(control)) + " has no row \"" +
               detail::utf8(text) + "\"";
    }
    auto r = detail::comboUserSelect(control, static_cast<int>(row));
    pumpMessages();
    return r;
}

std::string userSetDateTime(HWND control, const SYSTEMTIME& value) {
    if (auto why = unusable(control); !why.empty()) {
        return why;
    }
    if (!detail::equalsNoCase(className(control), DATETIMEPICK_CLASS)) {
        return "control " + std::to_string(GetDlgCtrlID(control)) + " is not a date-time picker";
    }
    auto r = detail::dateTimeUserSet(control, value);
    pumpMessages();
    return r;
}

std::string userSelectTab(HWND control, int index) {
    if (auto why = unusable(control); !why.empty()) {
        return why;
    }
    if (!detail::equalsNoCase(className(control), WC_TABCONTROL)) {
        return "control " + std::to_string(GetDlgCtrlID(control)) + " is not a tab control";
    }
    auto r = detail::tabUserSelect(control, index);
    pumpMessages();
    return r;
}

namespace {

HWND findTabControl(HWND parent) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (detail::equalsNoCase(className(c), WC_TABCONTROL) && IsWindowVisible(c)) {
            return c;
        }
        if (HWND inner = findTabControl(c)) {
            return inner;
        }
    }
    return nullptr;
}

}  // namespace

std::string userNextTab(HWND dialog, bool back) {
    HWND tabs = findTabControl(dialog);
    if (!tabs) {
        return "the dialog has no tabs";
    }
    int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    if (count <= 0) {
        return "the dialog has no tabs";
    }
    int now = static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
    return userSelectTab(tabs, ((now < 0 ? 0 : now) + (back ? count - 1 : 1)) % count);
}

std::string userKey(HWND window, UINT virtualKey, bool shift) {
    HWND target = GetFocus();
    if (!target || (window && target != window && !IsChild(window, target))) {
        target = window;
    }
    if (!IsWindow(target)) {
        return "no window for the key";
    }
    // A disabled window cannot be active, so no key reaches anything in it.
    HWND top = target;
    while (GetWindowLongPtrW(top, GWL_STYLE) & WS_CHILD) {
        top = GetParent(top);
    }
    if (!IsWindowEnabled(top)) {
        return "the dialog is disabled";
    }
    if (shift) {
        setKeyDown(VK_SHIFT, true);
    }
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(target, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
    pumpMessages();
    if (shift) {
        setKeyDown(VK_SHIFT, false);
    }
    return {};
}

std::string userMoveMouse(HWND window, POINT point) {
    if (!IsWindow(window)) {
        return "no window for the mouse";
    }
    POINT screen = point;
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    // The deepest visible, enabled window under the cursor gets the move.
    HWND target = nullptr;
    POINT local = point;
    for (HWND h = window; h;) {
        HWND child = ChildWindowFromPointEx(h, local, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
        if (!child) {
            break;
        }
        target = child;
        if (child == h) {
            break;
        }
        local = screen;
        ScreenToClient(child, &local);
        h = child;
    }
    if (HWND capture = GetCapture()) {
        target = capture;  // a captured mouse reports to its captor
    }
    // A window that asked to hear of it learns the cursor has left.
    if (HWND tracked = mouseTracked(); tracked && tracked != target) {
        clearMouseTracking();
        PostMessageW(tracked, WM_MOUSELEAVE, 0, 0);
    }
    if (target) {
        POINT p = screen;
        ScreenToClient(target, &p);
        PostMessageW(target, WM_MOUSEMOVE, 0,
                     MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    }
    pumpMessages();
    return {};
}

}  // namespace nd::win32
