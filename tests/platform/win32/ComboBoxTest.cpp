#include "ControlHarness.h"
#include "win32/UserInput.h"

#include <gtest/gtest.h>

using ndtest::Note;

TEST(ComboBox, ADropDownListShowsItsSelectedRowAndRefusesFreeText) {
    ndtest::ControlHarness h;
    HWND combo = h.make(WC_COMBOBOX, CBS_DROPDOWNLIST, 40);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"one"));
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"two"));
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(nd::win32::windowText(combo), u"two");
    EXPECT_EQ(SetWindowTextW(combo, u"free"), CB_ERR);
    EXPECT_EQ(nd::win32::windowText(combo), u"two");
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 5, 0), CB_ERR);
    EXPECT_EQ(nd::win32::windowText(combo), u"") << "an impossible row clears the selection";
    EXPECT_TRUE(h.notes.empty());
}

TEST(ComboBox, DeletingTheSelectedRowClearsTheSelectionAndShiftsLaterRows) {
    ndtest::ControlHarness h;
    HWND combo = h.make(WC_COMBOBOX, CBS_DROPDOWNLIST, 41);
    for (auto* s : {u"a", u"b", u"c"}) {
        SendMessageW(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s));
    }
    SendMessageW(combo, CB_SETCURSEL, 2, 0);
    SendMessageW(combo, CB_DELETESTRING, 0, 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    SendMessageW(combo, CB_DELETESTRING, 1, 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(nd::win32::windowText(combo), u"");
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
}

TEST(ComboBox, AUsersChoiceNotifiesSelectionChangeThenSelectionEnd) {
    ndtest::ControlHarness h;
    HWND combo = h.make(WC_COMBOBOX, CBS_DROPDOWNLIST, 42);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"x"));
    EXPECT_EQ(nd::win32::userSelectRows(combo, {0}), "");
    EXPECT_EQ(h.notes,
              (std::vector<Note>{{WM_COMMAND, 42, CBN_SELCHANGE}, {WM_COMMAND, 42, CBN_SELENDOK}}));
    EXPECT_EQ(nd::win32::userSelectText(combo, u"y"), "combo box 42 has no row \"y\"");
    EXPECT_EQ(nd::win32::userSelectRows(combo, {0, 0}), "a combo box takes exactly one row");
}

TEST(ComboBox, TextTypedIntoItsEditFieldIsTheValueAndNotARowsChoice) {
    ndtest::ControlHarness h;
    HWND combo = h.make(WC_COMBOBOX, CBS_DROPDOWN, 43);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"one"));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    EXPECT_EQ(nd::win32::userType(combo, u"free text"), "");
    EXPECT_EQ(nd::win32::windowText(combo), u"free text");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(h.notes, (std::vector<Note>{{WM_COMMAND, 43, CBN_EDITUPDATE},
                                          {WM_COMMAND, 43, CBN_EDITCHANGE}}));
    // Spelling a row is still typing: the list is closed.
    EXPECT_EQ(nd::win32::userType(combo, u"one"), "");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(nd::win32::windowText(combo), u"one");
    HWND list = h.make(WC_COMBOBOX, CBS_DROPDOWNLIST, 44);
    EXPECT_EQ(nd::win32::userType(list, u"free"), "combo box 44 has no row \"free\"");
}
