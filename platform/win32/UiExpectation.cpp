#include "win32/UiExpectation.h"

#include "win32/CommCtrl.h"
#include "win32/Controls.h"
#include "win32/TextConv.h"
#include "win32/Window.h"

#include <algorithm>

namespace nd::win32 {
namespace {

std::string quoted(std::u16string_view s) {
    return "\"" + nd::text::toUtf8(s) + "\"";
}

std::string listOfTexts(const std::vector<std::u16string>& rows) {
    std::string out = "[";
    for (size_t i = 0; i < rows.size(); ++i) {
        out += (i ? ", " : "") + quoted(rows[i]);
    }
    return out + "]";
}

std::string listOfNumbers(const std::vector<int>& rows) {
    std::string out = "[";
    for (size_t i = 0; i < rows.size(); ++i) {
        out += (i ? ", " : "") + std::to_string(rows[i]);
    }
    return out + "]";
}

bool isClass(HWND h, const char16_t* name) {
    return detail::equalsNoCase(className(h), name);
}

DWORD styleOf(HWND h) {
    return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
}

bool isCheckable(HWND h) {
    DWORD type = styleOf(h) & BS_TYPEMASK;
    return isClass(h, WC_BUTTON) &&
           (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
            type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE);
}

bool isRadio(HWND h) {
    DWORD type = styleOf(h) & BS_TYPEMASK;
    return isClass(h, WC_BUTTON) && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

std::u16string listViewCell(HWND h, int row, int column) {
    WCHAR buf[1024];
    LVITEMW item;
    item.iSubItem = column;
    item.pszText = buf;
    item.cchTextMax = 1024;
    buf[0] = 0;
    SendMessageW(h, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buf;
}

// The rows of a list; for a list view each expected row says how many of its
// columns are compared, and the row found shows as many.
std::optional<std::vector<std::u16string>> rowsOf(HWND h,
                                                  const std::vector<std::u16string>& expected) {
    std::vector<std::u16string> out;
    auto rowText = [&](UINT lenMsg, UINT textMsg, int i) {
        LRESULT n = SendMessageW(h, lenMsg, static_cast<WPARAM>(i), 0);
        std::u16string text(static_cast<size_t>(std::max<LRESULT>(n, 0)) + 1, u'\0');
        SendMessageW(h, textMsg, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::max<LRESULT>(n, 0)));
        return text;
    };
    if (isClass(h, WC_LISTBOX)) {
        int count = static_cast<int>(SendMessageW(h, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            out.push_back(rowText(LB_GETTEXTLEN, LB_GETTEXT, i));
        }
    } else if (isClass(h, WC_COMBOBOX)) {
        int count = static_cast<int>(SendMessageW(h, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            out.push_back(rowText(CB_GETLBTEXTLEN, CB_GETLBTEXT, i));
        }
    } else if (isClass(h, WC_LISTVIEW)) {
        int count = static_cast<int>(SendMessageW(h, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            size_t columns = 1;
            if (static_cast<size_t>(i) < expected.size()) {
                columns +=
                    static_cast<size_t>(std::count(expected[i].begin(), expected[i].end(), u'\t'));
            }
            std::u16string row;
            for (size_t c = 0; c < columns; ++c) {
                row += (c ? u"\t" : u"") + listViewCell(h, i, static_cast<int>(c));
            }
            out.push_back(std::move(row));
        }
    } else {
        return std::nullopt;
    }
    return out;
}

std::optional<std::vector<int>> selectionOf(HWND h) {
    std::vector<int> out;
    if (isClass(h, WC_LISTBOX)) {
        if (styleOf(h) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
            int count = static_cast<int>(SendMessageW(h, LB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                if (SendMessageW(h, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) {
                    out.push_back(i);
                }
            }
        } else if (LRESULT r = SendMessageW(h, LB_GETCURSEL, 0, 0); r >= 0) {
            out.push_back(static_cast<int>(r));
        }
    } else if (isClass(h, WC_COMBOBOX)) {
        if (LRESULT r = SendMessageW(h, CB_GETCURSEL, 0, 0); r >= 0) {
            out.push_back(static_cast<int>(r));
        }
    } else if (isClass(h, WC_LISTVIEW)) {
        int count = static_cast<int>(SendMessageW(h, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            if (SendMessageW(h, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) &
                LVIS_SELECTED) {
                out.push_back(i);
            }
        }
    } else {
        return std::nullopt;
    }
    return out;
}

// The radio buttons of the group the control belongs to: from the sibling
// that starts the group (WS_GROUP) to the one before the next group starts.
std::vector<HWND> groupOf(HWND control) {
    HWND parent = GetParent(control);
    std::vector<HWND> siblings;
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        siblings.push_back(h);
    }
    auto at = std::find(siblings.begin(), siblings.end(), control);
    if (at == siblings.end()) {
        return {control};
    }
    auto first = at;
    while (first != siblings.begin() && !(styleOf(*first) & WS_GROUP)) {
        --first;
    }
    auto last = at + 1;
    while (last != siblings.end() && !(styleOf(*last) & WS_GROUP)) {
        ++last;
    }
    std::vector<HWND> group;
    std::copy_if(first, last, std::back_inserter(group), isRadio);
    return group;
}

std::string boolWord(bool on, const char* yes, const char* no) {
    return on ? yes : no;
}

}  // namespace

UiCheck UiCheck::textIs(std::u16string text) {
    UiCheck c;
    c.what = What::Text;
    c.text = std::move(text);
    return c;
}

UiCheck UiCheck::enabled(bool on) {
    UiCheck c;
    c.what = What::Enabled;
    c.flag = on;
    return c;
}

UiCheck UiCheck::visible(bool on) {
    UiCheck c;
    c.what = What::Visible;
    c.flag = on;
    return c;
}

UiCheck UiCheck::checked(bool on) {
    UiCheck c;
    c.what = What::Checked;
    c.flag = on;
    return c;
}

UiCheck UiCheck::radioIs(int id) {
    UiCheck c;
    c.what = What::Radio;
    c.radio = id;
    return c;
}

UiCheck UiCheck::rowsAre(std::vector<std::u16string> rows) {
    UiCheck c;
    c.what = What::Rows;
    c.rows = std::move(rows);
    return c;
}

UiCheck UiCheck::selectionIs(std::vector<int> rows) {
    UiCheck c;
    c.what = What::Selection;
    c.selection = std::move(rows);
    std::sort(c.selection.begin(), c.selection.end());
    return c;
}

std::string UiCheck::property() const {
    switch (what) {
        case What::Text:
            return "text";
        case What::Enabled:
            return "enabled";
        case What::Visible:
            return "visible";
        case What::Checked:
            return "checked";
        case What::Radio:
            return "selected radio button";
        case What::Rows:
            return "rows";
        case What::Selection:
            return "selected rows";
    }
    return "state";
}

std::string checkControl(HWND dialog, int id, const UiCheck& check) {
    std::string name = "control " + std::to_string(id);
    HWND h = IsWindow(dialog) ? findDescendant(dialog, id) : nullptr;
    if (!h) {
        return "there is no " + name;
    }
    auto mismatch = [&](const std::string& expected, const std::string& found) {
        return name + " " + check.property() + ": expected " + expected + ", found " + found;
    };
    switch (check.what) {
        case UiCheck::What::Text: {
            std::u16string found = windowText(h);
            return found == check.text ? std::string()
                                       : mismatch(quoted(check.text), quoted(found));
        }
        case UiCheck::What::Enabled: {
            bool found = IsWindowEnabled(h) != FALSE;
            return found == check.flag ? std::string()
                                       : mismatch(boolWord(check.flag, "enabled", "disabled"),
                                                  boolWord(found, "enabled", "disabled"));
        }
        case UiCheck::What::Visible: {
            bool found = IsWindowVisible(h) != FALSE;
            return found == check.flag ? std::string()
                                       : mismatch(boolWord(check.flag, "visible", "hidden"),
                                                  boolWord(found, "visible", "hidden"));
        }
        case UiCheck::What::Checked: {
            if (!isCheckable(h)) {
                return name + " is not a check box or radio button";
            }
            LRESULT state = SendMessageW(h, BM_GETCHECK, 0, 0);
            bool found = state == BST_CHECKED;
            std::string foundWord =
                state == BST_INDETERMINATE ? "indeterminate" : boolWord(found, "checked", "clear");
            return found == check.flag && state != BST_INDETERMINATE
                       ? std::string()
                       : mismatch(boolWord(check.flag, "checked", "clear"), foundWord);
        }
        case UiCheck::What::Radio: {
            if (!isRadio(h)) {
                return name + " is not a radio button";
            }
            int found = 0;
            for (HWND r : groupOf(h)) {
                if (SendMessageW(r, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                    found = GetDlgCtrlID(r);
                    break;
                }
            }
            auto word = [](int v) { return v ? std::to_string(v) : std::string("none"); };
            return found == check.radio ? std::string() : mismatch(word(check.radio), word(found));
        }
        case UiCheck::What::Rows: {
            auto found = rowsOf(h, check.rows);
            if (!found) {
                return name + " has no rows";
            }
            return *found == check.rows ? std::string()
                                        : mismatch(listOfTexts(check.rows), listOfTexts(*found));
        }
        case UiCheck::What::Selection: {
            auto found = selectionOf(h);
            if (!found) {
                return name + " has no rows";
            }
            return *found == check.selection
                       ? std::string()
                       : mismatch(listOfNumbers(check.selection), listOfNumbers(*found));
        }
    }
    return {};
}

namespace {

struct Named {
    UINT value;
    const char* name;
};

constexpr Named kIcons[] = {{0, "none"},
                            {MB_ICONSTOP, "stop"},
                            {MB_ICONQUESTION, "question"},
                            {MB_ICONEXCLAMATION, "warning"},
                            {MB_ICONINFORMATION, "information"}};

constexpr Named kButtons[] = {{MB_OK, "ok"},
                              {MB_OKCANCEL, "ok-cancel"},
                              {MB_ABORTRETRYIGNORE, "abort-retry-ignore"},
                              {MB_YESNOCANCEL, "yes-no-cancel"},
                              {MB_YESNO, "yes-no"},
                              {MB_RETRYCANCEL, "retry-cancel"}};

}  // namespace

std::string iconName(UINT style) {
    for (const auto& icon : kIcons) {
        if ((style & MB_ICONMASK) == icon.value) {
            return icon.name;
        }
    }
    return "icon " + std::to_string(style & MB_ICONMASK);
}

std::string buttonsName(UINT style) {
    for (const auto& buttons : kButtons) {
        if ((style & MB_TYPEMASK) == buttons.value) {
            return buttons.name;
        }
    }
    return "buttons " + std::to_string(style & MB_TYPEMASK);
}

std::optional<UINT> iconFromName(const std::string& name) {
    for (const auto& icon : kIcons) {
        if (name == icon.name) {
            return icon.value;
        }
    }
    if (name == "error" || name == "hand") {
        return MB_ICONSTOP;
    }
    if (name == "exclamation") {
        return MB_ICONEXCLAMATION;
    }
    return std::nullopt;
}

std::optional<UINT> buttonsFromName(const std::string& name) {
    for (const auto& buttons : kButtons) {
        if (name == buttons.name) {
            return buttons.value;
        }
    }
    return std::nullopt;
}

}  // namespace nd::win32
