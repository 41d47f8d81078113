#include "ControlHarness.h"
#include "win32/UserInput.h"

#include <gtest/gtest.h>

using ndtest::Note;

namespace {

LRESULT add(HWND list, const char16_t* text) {
    return SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

std::u16string row(HWND list, int i) {
    std::u16string text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, u'\0');
    text.resize(static_cast<size_t>(
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

}  // namespace

TEST(ListBox, InsertingByPositionIgnoresTheSortStyle) {
    ndtest::ControlHarness h;
    HWND list = h.make(WC_LISTBOX, LBS_SORT, 30);
    add(list, u"m");
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"z")), 0);
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(u"a")),
              2);
    EXPECT_EQ(row(list, 0), u"z");
    EXPECT_EQ(row(list, 1), u"m");
    EXPECT_EQ(row(list, 2), u"a");
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(u"x")), LB_ERR);
}

TEST(ListBox, ASingleSelectionListKeepsOneCurrentRowThatFollowsInsertsAndDeletes) {
    ndtest::ControlHarness h;
    HWND list = h.make(WC_LISTBOX, 0, 31);
    for (auto* s : {u"a", u"b", u"c"}) {
        add(list, s);
    }
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), LB_ERR) << "only for multiple selection";
    SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"first"));
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    SendMessageW(list, LB_DELETESTRING, 2, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 7, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 7, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 7, 0), LB_ERR);
    EXPECT_TRUE(h.notes.empty()) << "the program's changes are silent";
}

TEST(ListBox, OnlyAUsersSelectionNotifiesAndOnlyWithTheNotifyStyle) {
    ndtest::ControlHarness h;
    HWND quiet = h.make(WC_LISTBOX, LBS_MULTIPLESEL, 32);
    HWND loud = h.make(WC_LISTBOX, LBS_MULTIPLESEL | LBS_NOTIFY, 33);
    for (HWND l : {quiet, loud}) {
        add(l, u"a");
        add(l, u"b");
        SendMessageW(l, LB_SETSEL, TRUE, 0);
    }
    EXPECT_TRUE(h.notes.empty());
    EXPECT_EQ(nd::win32::userSelectRows(quiet, {1}), "");
    EXPECT_EQ(nd::win32::userSelectRows(loud, {1}), "");
    EXPECT_EQ(h.notes, (std::vector<Note>{{WM_COMMAND, 33, LBN_SELCHANGE}}));
    EXPECT_EQ(SendMessageW(loud, LB_GETSEL, 0, 0), 0) << "the user's choice replaces the old one";
    EXPECT_EQ(nd::win32::userSelectRows(loud, {5}), "list box 33 has no row 5");
}

TEST(ListBox, FindingTextIgnoresCaseAndWrapsAroundFromTheStartRow) {
    ndtest::ControlHarness h;
    HWND list = h.make(WC_LISTBOX, 0, 34);
    for (auto* s : {u"Apple", u"apricot", u"Banana"}) {
        add(list, s);
    }
    EXPECT_EQ(
        SendMessageW(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"AP")),
        0);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, 0, reinterpret_cast<LPARAM>(u"ap")), 1);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, 1, reinterpret_cast<LPARAM>(u"ap")), 0) << "wraps";
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(u"banana")),
              2);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(u"ban")),
              LB_ERR);
}

TEST(ListBox, SortingFollowsTheLocaleRatherThanCodeUnits) {
    ndtest::ControlHarness h;
    HWND list = h.make(WC_LISTBOX, LBS_SORT, 35);
    for (auto* s : {u"b", u"B", u"a", u"Ä", u"10", u"9"}) {
        add(list, s);
    }
    std::vector<std::u16string> rows;
    for (int i = 0; i < 6; ++i) {
        rows.push_back(row(list, i));
    }
    EXPECT_EQ(rows, (std::vector<std::u16string>{u"10", u"9", u"a", u"Ä", u"b", u"B"}));
}

TEST(ListBox, AUserCanPickARowByItsText) {
    ndtest::ControlHarness h;
    HWND list = h.make(WC_LISTBOX, LBS_SORT | LBS_MULTIPLESEL | LBS_NOTIFY, 36);
    for (auto* s : {u"Music", u"Arts", u"News"}) {
        add(list, s);
    }
    SendMessageW(list, LB_SETSEL, TRUE, 0);
    EXPECT_EQ(nd::win32::userSelectText(list, u"news"), "");
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETSEL, 2, 0), 1);
    EXPECT_EQ(nd::win32::userSelectText(list, u"Sports"), "list 36 has no row \"Sports\"");
}
