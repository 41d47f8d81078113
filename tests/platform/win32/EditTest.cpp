#include "ControlHarness.h"
#include "win32/UserInput.h"

#include <gtest/gtest.h>

using ndtest::Note;

TEST(Edit, SettingTheTextOfASingleLineEditNotifiesUpdateThenChange) {
    ndtest::ControlHarness h;
    HWND edit = h.make(WC_EDIT, ES_AUTOHSCROLL, 20);
    SetWindowTextW(edit, u"abc");
    EXPECT_EQ(h.notes,
              (std::vector<Note>{{WM_COMMAND, 20, EN_UPDATE}, {WM_COMMAND, 20, EN_CHANGE}}));
    EXPECT_EQ(SendMessageW(edit, EM_GETMODIFY, 0, 0), FALSE);
}

TEST(Edit, AMultiLineEditStaysSilentWhenTheProgramSetsItsText) {
    ndtest::ControlHarness h;
    HWND edit = h.make(WC_EDIT, ES_MULTILINE, 21);
    SetWindowTextW(edit, u"one\r\ntwo");
    EXPECT_TRUE(h.notes.empty());
    EXPECT_EQ(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 2);
}

TEST(Edit, TypingReplacesTheTextMarksItModifiedAndNotifiesOnce) {
    ndtest::ControlHarness h;
    HWND edit = h.make(WC_EDIT, 0, 22);
    EXPECT_EQ(nd::win32::userType(edit, u"hello"), "");
    EXPECT_EQ(nd::win32::windowText(edit), u"hello");
    EXPECT_EQ(SendMessageW(edit, EM_GETMODIFY, 0, 0), TRUE);
    std::vector<Note> expected{
        {WM_COMMAND, 22, EN_SETFOCUS}, {WM_COMMAND, 22, EN_UPDATE}, {WM_COMMAND, 22, EN_CHANGE}};
    EXPECT_EQ(h.notes, expected);
    h.notes.clear();
    EXPECT_EQ(nd::win32::userType(edit, u"hello"), "");
    EXPECT_TRUE(h.notes.empty()) << "the same text is no change";
}

TEST(Edit, ReadOnlyEditsRefuseTypingButTakeTheProgramsText) {
    ndtest::ControlHarness h;
    HWND edit = h.make(WC_EDIT, ES_READONLY, 23);
    EXPECT_EQ(nd::win32::userType(edit, u"x"), "edit 23 is read-only");
    SetWindowTextW(edit, u"path");
    EXPECT_EQ(nd::win32::windowText(edit), u"path");
    SendMessageW(edit, EM_SETREADONLY, FALSE, 0);
    EXPECT_EQ(nd::win32::userType(edit, u"x"), "");
}

TEST(Edit, TypedTextIsFilteredAndLimitedAsTheStylesSay) {
    ndtest::ControlHarness h;
    HWND number = h.make(WC_EDIT, ES_NUMBER, 24);
    nd::win32::userType(number, u"1a2-3");
    EXPECT_EQ(nd::win32::windowText(number), u"123");
    HWND limited = h.make(WC_EDIT, 0, 25);
    SendMessageW(limited, EM_LIMITTEXT, 4, 0);
    h.notes.clear();
    nd::win32::userType(limited, u"abcdef");
    EXPECT_EQ(nd::win32::windowText(limited), u"abcd");
    EXPECT_EQ(h.notes.back(), (Note{WM_COMMAND, 25, EN_MAXTEXT}));
    HWND single = h.make(WC_EDIT, 0, 26);
    nd::win32::userType(single, u"first\r\nsecond");
    EXPECT_EQ(nd::win32::windowText(single), u"first") << "one line only";
}

TEST(Edit, ReplaceSelectionWorksOnTheSelectedRange) {
    ndtest::ControlHarness h;
    HWND edit = h.make(WC_EDIT, 0, 27);
    SetWindowTextW(edit, u"abcdef");
    SendMessageW(edit, EM_SETSEL, 2, 4);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"XY Z"));
    EXPECT_EQ(nd::win32::windowText(edit), u"abXY Zef");
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 6u);
    EXPECT_EQ(end, 6u);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u""));
    EXPECT_EQ(nd::win32::windowText(edit), u"");
    SendMessageW(edit, EM_SETSEL, 50, 99);  // beyond the end is clamped
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"q"));
    EXPECT_EQ(nd::win32::windowText(edit), u"q");
}
