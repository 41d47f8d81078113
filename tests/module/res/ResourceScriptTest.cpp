// The module's compiled resource script as the window system serves it:
// every template with the controls the dialogs' code relies on, laid out so
// that nothing overlaps; every string; both bitmaps. That each template
// becomes a dialog with its controls is checked where the mirror pictures
// every one, and that every caption fits in the real dialog font where the
// front end measures it.
#include "res/CompiledResources.h"
#include "res/ResourceIds.h"
#include "win32/CommCtrl.h"
#include "win32/Dialog.h"
#include "win32/DialogTemplate.h"
#include "win32/Gdi.h"
#include "win32/Resources.h"
#include "win32/TextConv.h"
#include "win32/Window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using nd::win32::DialogItemTemplate;
using nd::win32::DialogTemplate;

namespace {

// Any distinct address serves as the handle under which the tests register
// the module's resources.
const int kModuleAnchor = 0;
HMODULE testModule() {
    return reinterpret_cast<HMODULE>(const_cast<int*>(&kModuleAnchor));
}

class CompiledResources : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        auto bytes = newsdesk::res::compiledResources();
        ASSERT_TRUE(nd::win32::registerModuleResources(testModule(), bytes.data(), bytes.size()));
    }
    static void TearDownTestSuite() { nd::win32::unregisterModuleResources(testModule()); }
};

std::string utf8(std::u16string_view s) {
    return nd::text::toUtf8(s);
}

std::string lower(std::u16string s) {
    for (auto& c : s) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return utf8(s);
}

struct TemplateBytes {
    const void* data = nullptr;
    DWORD size = 0;
};

TemplateBytes templateBytes(int id) {
    HRSRC found = FindResourceW(testModule(), MAKEINTRESOURCEW(id), RT_DIALOG);
    if (found == nullptr) {
        return {};
    }
    return {LockResource(LoadResource(testModule(), found)), SizeofResource(testModule(), found)};
}

DialogTemplate dialog(int id) {
    TemplateBytes bytes = templateBytes(id);
    auto parsed = nd::win32::parseDialogTemplate(bytes.data, bytes.size);
    if (!parsed || !parsed->extended) {
        ADD_FAILURE() << "no DIALOGEX template " << id;
        return {};
    }
    return *parsed;
}

// What a control is, as far as the dialogs' code depends on it: its class
// together with the style bits that change its behaviour.
std::string kindOf(const DialogItemTemplate& item) {
    const std::string cls = lower(item.className);
    const DWORD s = item.style;
    if (cls == "static") {
        switch (s & SS_TYPEMASK) {
            case SS_LEFT:
                if (s & SS_SUNKEN) {  // a separator: a thin empty strip
                    bool line = item.cy <= 2 && !item.title.isOrdinal && item.title.text.empty();
                    return line ? "sunken-line" : "sunken-static?";
                }
                return "label";
            case SS_BLACKFRAME:
                return "black-frame";
            case SS_BITMAP:
                return "bitmap";
            default:
                return "static?";
        }
    }
    if (cls == "button") {
        switch (s & BS_TYPEMASK) {
            case BS_PUSHBUTTON:
                return "button";
            case BS_DEFPUSHBUTTON:
                return "default-button";
            case BS_AUTOCHECKBOX:
                return "auto-check";
            case BS_GROUPBOX:
                return "group-box";
            case BS_AUTORADIOBUTTON:
                return "auto-radio";
            case BS_OWNERDRAW:
                return "owner-drawn-button";
            default:
                return "button?";
        }
    }
    if (cls == "edit") {
        if (s & ES_MULTILINE) {  // Enter must make a new line, long text must scroll
            return ((s & ES_WANTRETURN) && (s & WS_VSCROLL)) ? "multiline-edit" : "multiline-edit?";
        }
        if (!(s & ES_AUTOHSCROLL)) {  // a long path or URL must fit
            return "edit-without-scroll";
        }
        return (s & ES_READONLY) ? "readonly-edit" : "edit";
    }
    if (cls == "listbox") {
        bool ok = (s & LBS_SORT) && (s & LBS_MULTIPLESEL) && (s & LBS_NOTIFY);
        return ok ? "sorted-multi-list" : "listbox?";
    }
    if (cls == "combobox") {
        bool ok = (s & 0x3) == CBS_DROPDOWNLIST && (s & CBS_SORT) && (s & WS_VSCROLL);
        return ok ? "drop-down-list" : "combobox?";
    }
    if (cls == "syslistview32") {
        bool ok = (s & 0x3) == LVS_REPORT && !(s & LVS_SINGLESEL) && !(s & 0x30);  // no sorting
        return ok ? "report-list" : "listview?";
    }
    if (cls == "sysdatetimepick32") {
        if (!(s & DTS_RIGHTALIGN)) {
            return "picker-left-aligned";
        }
        if (s & DTS_SHOWNONE) {  // the dialogs always hold a value
            return "picker-with-none";
        }
        if ((s & DTS_TIMEFORMAT) == DTS_TIMEFORMAT) {
            return (s & DTS_APPCANPARSE) ? "typed-time-picker" : "time-picker";
        }
        // A short date with its drop-down calendar, not an up-down control.
        return (s & (0xC | DTS_UPDOWN)) ? "date-picker?" : "short-date-picker";
    }
    return "unknown " + cls;
}

std::string textOf(const nd::win32::NameOrOrdinal& text) {
    return text.isOrdinal ? "#" + std::to_string(text.ordinal) : utf8(text.text);
}

// Control ids are DWORDs in a DIALOGEX template; -1 marks the labels.
int idOf(const DialogItemTemplate& item) {
    return static_cast<int>(item.id);
}

std::string kindIn(const DialogTemplate& d, int id) {
    for (const auto& item : d.items) {
        if (idOf(item) == id) {
            return kindOf(item);
        }
    }
    return "missing";
}

// The help button's id, as the framework numbers it.
constexpr int kHelpId = 57670;

// Controls a user types into or picks from.
bool isField(const DialogItemTemplate& item) {
    static const std::set<std::string> fields = {"edit", "listbox", "combobox", "syslistview32",
                                                 "sysdatetimepick32"};
    return fields.count(lower(item.className)) != 0;
}

bool hasMnemonic(const nd::win32::NameOrOrdinal& text) {
    if (text.isOrdinal) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < text.text.size(); ++i) {
        if (text.text[i] == u'&') {
            if (text.text[i + 1] != u'&') {
                return true;
            }
            ++i;
        }
    }
    return false;
}

bool isContainer(const DialogItemTemplate& item) {
    std::string kind = kindOf(item);
    return kind == "group-box" || kind == "black-frame";
}

// Combo boxes carry the height of their dropped-down list; closed they are
// one line high, and only that part sits in the dialog's layout.
int layoutHeight(const DialogItemTemplate& item) {
    return kindOf(item) == "drop-down-list" ? std::min<int>(item.cy, 14) : item.cy;
}

bool overlaps(const DialogItemTemplate& a, const DialogItemTemplate& b) {
    return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + layoutHeight(b) &&
           b.y < a.y + layoutHeight(a);
}

bool contains(const DialogItemTemplate& outer, const DialogItemTemplate& inner) {
    return outer.x <= inner.x && outer.y <= inner.y && inner.x + inner.cx <= outer.x + outer.cx &&
           inner.y + layoutHeight(inner) <= outer.y + outer.cy;
}

std::string describe(const DialogItemTemplate& item) {
    return std::to_string(idOf(item)) + " \"" + textOf(item.title) + "\"";
}

}  // namespace

// Kinds ending in '?' or naming a missing style are controls that would not
// behave as their dialog's code expects (a path that cannot scroll, a picker
// that may hold no value, a list that keeps one selection).
TEST_F(CompiledResources, EveryControlHasTheStylesItsBehaviourNeeds) {
    for (int id = IDD_RSS_CATEGORY; id <= IDD_RSS_BEGINAVI; ++id) {
        for (const auto& item : dialog(id).items) {
            std::string kind = kindOf(item);
            EXPECT_TRUE(kind.back() != '?' && kind.find(' ') == std::string::npos &&
                        kind != "edit-without-scroll" && kind.rfind("picker-", 0) != 0)
                << id << ": " << describe(item) << " is " << kind;
        }
    }
    // Controls whose kind the dialogs' code depends on beyond the rules above.
    const std::tuple<int, int, const char*> distinct[] = {
        {IDD_RSS_FILE_CONFIG, IDC_RSS_FILE_NAME, "readonly-edit"},
        {IDD_RSS_FILE_CONFIG, IDC_RSS_SHEET_FRAME, "black-frame"},
        {IDD_RSS_RENAME_FILE, IDC_RSS_FOLDER, "readonly-edit"},
        {IDD_RSS_NEW_FILE, IDC_RSS_FOLDER, "edit"},
        {IDD_RSS_ITEM_CONFIG, IDC_RSS_ITEM_DATE, "short-date-picker"},
        {IDD_RSS_ITEM_CONFIG, IDC_RSS_ITEM_TIME, "typed-time-picker"},
        {IDD_RSS_ITEM_CONFIG, IDC_RSS_ITEM_DURATION, "time-picker"},
        {IDD_RSS_ITEM_CONFIG, IDC_RSS_ITEM_DESCRIPTION, "multiline-edit"},
        {IDD_RSS_FILE_PAGE1, IDC_RSS_CHANNEL_CATEGORIES, "sorted-multi-list"},
        {IDD_RSS_FILE_PAGE2, IDC_RSS_ITEM_LIST, "report-list"},
        {IDD_RSS_ITUNES_CATEGORY, IDC_RSS_ITUNES_SUBCATEGORY, "drop-down-list"},
        {IDD_RSS_INSERT_LINK, IDC_RSS_LINK_DEFAULT_ICON_PICTURE, "bitmap"},
        {IDD_RSS_BEGINAVI, 32187, "owner-drawn-button"},
        {IDD_RSS_BEGINAVI, 32193, "bitmap"},
    };
    for (const auto& [templ, control, kind] : distinct) {
        EXPECT_EQ(kindIn(dialog(templ), control), kind) << templ << ": " << control;
    }
}

TEST_F(CompiledResources, PagesAreCaptionedChildrenAndOnlyTheFileListIsResizable) {
    for (int id = IDD_RSS_CATEGORY; id <= IDD_RSS_BEGINAVI; ++id) {
        DialogTemplate d = dialog(id);
        bool page = id == IDD_RSS_FILE_PAGE1 || id == IDD_RSS_FILE_PAGE2;
        EXPECT_EQ((d.style & WS_CHILD) != 0, page) << id;
        EXPECT_EQ(d.style & WS_CAPTION, WS_CAPTION) << id;
        EXPECT_EQ((d.style & WS_THICKFRAME) != 0, id == IDD_RSS_FILE_LIST) << id;
    }
}

TEST_F(CompiledResources, ControlsAreVisibleChildrenWithUniqueIds) {
    for (int id = IDD_RSS_CATEGORY; id <= IDD_RSS_BEGINAVI; ++id) {
        std::set<int> seen;
        for (const auto& item : dialog(id).items) {
            EXPECT_EQ(item.style & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE)
                << id << ": " << describe(item);
            if (idOf(item) != -1) {
                EXPECT_TRUE(seen.insert(idOf(item)).second) << id << ": " << describe(item);
            }
        }
    }
}

// An auto radio button clears the others of its group: the group runs from a
// control with WS_GROUP to the next one.
TEST_F(CompiledResources, RadioButtonsFormExactlyTheirChoiceGroups) {
    auto groupsOf = [](const DialogTemplate& d) {
        std::vector<std::set<int>> groups;
        std::set<int> current;
        for (const auto& item : d.items) {
            if (item.style & WS_GROUP) {
                if (!current.empty()) {
                    groups.push_back(current);
                }
                current.clear();
            }
            if (kindOf(item) == "auto-radio") {
                current.insert(idOf(item));
            }
        }
        if (!current.empty()) {
            groups.push_back(current);
        }
        return groups;
    };
    EXPECT_EQ(groupsOf(dialog(IDD_RSS_FILE_CONFIG)),
              (std::vector<std::set<int>>{
                  {IDC_RSS_FORMAT_RSS10, IDC_RSS_FORMAT_RSS20, IDC_RSS_FORMAT_ITUNES}}));
    EXPECT_EQ(
        groupsOf(dialog(IDD_RSS_INSERT_LINK)),
        (std::vector<std::set<int>>{{IDC_RSS_LINK_DEFAULT_ICON, IDC_RSS_LINK_ICON_FROM_FILE}}));
}

TEST_F(CompiledResources, NoControlOverlapsAnotherOrLeavesItsDialog) {
    for (int id = IDD_RSS_CATEGORY; id <= IDD_RSS_BEGINAVI; ++id) {
        DialogTemplate d = dialog(id);
        for (std::size_t i = 0; i < d.items.size(); ++i) {
            const auto& a = d.items[i];
            EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.cx > 0 && a.cy > 0 && a.x + a.cx <= d.cx &&
                        a.y + layoutHeight(a) <= d.cy)
                << id << ": " << describe(a) << " lies outside the dialog";
            for (std::size_t k = i + 1; k < d.items.size(); ++k) {
                const auto& b = d.items[k];
                if (!overlaps(a, b)) {
                    continue;
                }
                bool nested =
                    (isContainer(a) && contains(a, b)) || (isContainer(b) && contains(b, a));
                EXPECT_TRUE(nested) << id << ": " << describe(a) << " overlaps " << describe(b);
            }
        }
    }
}

// A label names the control that follows it, since its mnemonic moves the
// focus there; a reader finds it on the same line to the field's left, or
// right above a list.
TEST_F(CompiledResources, EveryLabelSitsBesideTheFieldItNames) {
    for (int id = IDD_RSS_CATEGORY; id <= IDD_RSS_BEGINAVI; ++id) {
        DialogTemplate d = dialog(id);
        for (std::size_t i = 0; i < d.items.size(); ++i) {
            const auto& label = d.items[i];
            if (kindOf(label) != "label") {
                continue;
            }
            bool followed = i + 1 < d.items.size() && isField(d.items[i + 1]);
            EXPECT_TRUE(followed || !hasMnemonic(label.title))
                << id << ": " << describe(label) << " is not followed by its field";
            if (!followed) {
                continue;
            }
            const auto& field = d.items[i + 1];
            EXPECT_TRUE(field.style & WS_TABSTOP) << id << ": " << describe(field);
            int right = label.x + label.cx;
            int middle = label.y + label.cy / 2;
            bool beside = right <= field.x && field.x - right <= 8 && field.y <= middle &&
                          middle < field.y + layoutHeight(field);
            bool above =
                label.x == field.x && label.y + label.cy <= field.y && field.y - label.y <= 14;
            EXPECT_TRUE(beside || above)
                << id << ": " << describe(label) << " is away from " << describe(field);
        }
    }
}

// OK, cancel and help sit on one line in that order at the right margin, with
// nothing beside them on their right and nothing below them but the frame the
// settings dialog's sheet covers.
TEST_F(CompiledResources, DialogButtonsLineUpAtTheRightInTheirUsualOrder) {
    for (int id = IDD_RSS_CATEGORY; id <= IDD_RSS_BEGINAVI; ++id) {
        DialogTemplate d = dialog(id);
        std::vector<const DialogItemTemplate*> buttons;
        for (int want : {IDOK, IDCANCEL, kHelpId}) {
            for (const auto& item : d.items) {
                if (static_cast<int>(item.id) == want) {
                    buttons.push_back(&item);
                }
            }
        }
        if (buttons.empty()) {  // the property pages
            continue;
        }
        SCOPED_TRACE("template " + std::to_string(id));
        const DialogItemTemplate& first = *buttons.front();
        for (std::size_t i = 1; i < buttons.size(); ++i) {
            EXPECT_EQ(buttons[i]->y, first.y);
            EXPECT_GT(buttons[i]->x, buttons[i - 1]->x + buttons[i - 1]->cx);
        }
        EXPECT_EQ(buttons.back()->x + buttons.back()->cx, d.cx - 7);
        for (const auto& item : d.items) {
            if (std::find(buttons.begin(), buttons.end(), &item) != buttons.end() ||
                idOf(item) == IDC_RSS_SHEET_FRAME) {
                continue;
            }
            bool onTheRow = item.y < first.y + first.cy && first.y < item.y + layoutHeight(item);
            EXPECT_TRUE(onTheRow ? item.x + item.cx < first.x : item.y < first.y) << describe(item);
        }
    }
}

// Every id in the range loads; the texts below stand for the forms the
// compiler must carry through: a format the code fills in, escaped new lines,
// full-width digits.
TEST_F(CompiledResources, EveryStringIdHasItsText) {
    const std::map<int, const char*> texts = {
        {11902, "%s : %s"},
        {11921, "iTunesで指定できるカテゴリの数は３つまでです。"},
        {11922,
         "保存されていないページがあります。\nすべてのページを保存してから操作を行ってください。"},
        {11925,
         "RSS ファイルの拡張子は一般的に.RSS, .RDF, .XMLなどが使われます。\n"
         "異なる拡張子が指定されていますがよろしいですか？"},
    };
    for (UINT id = 11900; id <= 11934; ++id) {
        WCHAR buffer[256] = {};
        int length = LoadStringW(testModule(), id, buffer, 256);
        ASSERT_GT(length, 0) << "string " << id;
        std::string text = utf8(std::u16string_view(buffer, static_cast<std::size_t>(length)));
        auto want = texts.find(static_cast<int>(id));
        if (want != texts.end()) {
            EXPECT_EQ(text, want->second) << "string " << id;
        }
    }
    WCHAR buffer[8] = {};
    EXPECT_EQ(LoadStringW(testModule(), 11899, buffer, 8), 0);
    EXPECT_EQ(LoadStringW(testModule(), 11935, buffer, 8), 0);
}

TEST_F(CompiledResources, BitmapsHaveTheirSizesAndTheNavigatorCellsAreDistinctIcons) {
    HBITMAP icon = LoadBitmapW(testModule(), MAKEINTRESOURCEW(IDB_RSS_ICON));
    HBITMAP cells = LoadBitmapW(testModule(), MAKEINTRESOURCEW(IDB_RSS_NAVI_ICONS));
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(cells, nullptr);
    BITMAP info{};
    ASSERT_NE(GetObjectW(icon, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 16);
    EXPECT_EQ(info.bmHeight, 16);
    // A picture control shows the default icon as it is, light grey included.
    const nd::win32::BitmapData* iconPixels = nd::win32::bitmapData(icon);
    ASSERT_NE(iconPixels, nullptr);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            EXPECT_NE(iconPixels->at(x, y), RGB(0xC0, 0xC0, 0xC0)) << x << "," << y;
        }
    }
    ASSERT_NE(GetObjectW(cells, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 128);
    EXPECT_EQ(info.bmHeight, 32);

    const nd::win32::BitmapData* pixels = nd::win32::bitmapData(cells);
    ASSERT_NE(pixels, nullptr);
    const COLORREF transparent = RGB(0xC0, 0xC0, 0xC0);
    std::set<std::vector<COLORREF>> distinct;
    for (int cell = 0; cell < 4; ++cell) {
        SCOPED_TRACE("cell " + std::to_string(cell));
        std::vector<COLORREF> cellPixels;
        int drawn = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                cellPixels.push_back(pixels->at(cell * 32 + x, y));
                drawn += cellPixels.back() != transparent;
            }
        }
        EXPECT_EQ(pixels->at(cell * 32, 0), transparent);
        EXPECT_GT(drawn, 150);
        EXPECT_LT(drawn, 32 * 32 - 100);
        distinct.insert(cellPixels);
    }
    EXPECT_EQ(distinct.size(), 4u);

    // The navigator cuts the strip into its button icons.
    HIMAGELIST list = ImageList_Create(32, 32, ILC_COLORDDB | ILC_MASK, 0, 4);
    EXPECT_EQ(ImageList_AddMasked(list, cells, transparent), 0);
    EXPECT_EQ(ImageList_GetImageCount(list), 4);
    ImageList_Destroy(list);
    DeleteObject(icon);
    DeleteObject(cells);
}
