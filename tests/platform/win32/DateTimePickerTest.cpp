#include "ControlHarness.h"
#include "win32/UserInput.h"

#include <gtest/gtest.h>

using ndtest::Note;

namespace {

SYSTEMTIME make(WORD y, WORD mo, WORD d, WORD h = 0, WORD mi = 0, WORD s = 0) {
    SYSTEMTIME st;
    st.wYear = y;
    st.wMonth = mo;
    st.wDay = d;
    st.wHour = h;
    st.wMinute = mi;
    st.wSecond = s;
    return st;
}

SYSTEMTIME value(HWND picker) {
    SYSTEMTIME st;
    SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    return st;
}

}  // namespace

TEST(DateTimePicker, TheProgramsValueIsSilentAndTheUsersIsReportedWithIt) {
    ndtest::ControlHarness h;
    HWND picker = h.make(DATETIMEPICK_CLASS, DTS_SHORTDATEFORMAT, 60);
    SYSTEMTIME st = make(2024, 2, 29, 13, 5, 0);
    EXPECT_TRUE(SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)));
    EXPECT_TRUE(h.notes.empty());
    EXPECT_EQ(nd::win32::windowText(picker), u"2024/02/29");
    NMDATETIMECHANGE seen;
    h.onNotify = [&](NMHDR* n) -> LRESULT {
        seen = *reinterpret_cast<NMDATETIMECHANGE*>(n);
        return 0;
    };
    EXPECT_EQ(nd::win32::userSetDateTime(picker, make(2025, 1, 2, 3, 4, 5)), "");
    EXPECT_EQ(h.notes, (std::vector<Note>{{WM_NOTIFY, 60, DTN_DATETIMECHANGE}}));
    EXPECT_EQ(seen.dwFlags, GDT_VALID);
    EXPECT_EQ(seen.st.wDay, 2);
    EXPECT_EQ(value(picker).wSecond, 5);
}

TEST(DateTimePicker, ImpossibleValuesAreRefusedAndTheOldOneKept) {
    ndtest::ControlHarness h;
    HWND picker = h.make(DATETIMEPICK_CLASS, 0, 61);
    SYSTEMTIME good = make(2020, 6, 1);
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&good));
    for (SYSTEMTIME bad :
         {make(2023, 2, 29), make(2020, 13, 1), make(2020, 1, 1, 24), make(99, 1, 1)}) {
        EXPECT_FALSE(
            SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&bad)));
    }
    EXPECT_FALSE(SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_NONE, 0))
        << "no 'none' without its style";
    EXPECT_EQ(value(picker).wYear, 2020);
    EXPECT_EQ(nd::win32::userSetDateTime(picker, make(2020, 2, 30)), "not a valid date and time");
}

TEST(DateTimePicker, TypedInputIsReadInThePickersModeAndKeepsTheOtherPart) {
    ndtest::ControlHarness h;
    HWND date = h.make(DATETIMEPICK_CLASS, 0, 62);
    HWND time = h.make(DATETIMEPICK_CLASS, DTS_TIMEFORMAT, 63);
    SYSTEMTIME st = make(2020, 6, 1, 8, 30, 0);
    SendMessageW(date, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    SendMessageW(time, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    EXPECT_EQ(nd::win32::userType(date, u"2021-12-24"), "");
    EXPECT_EQ(value(date).wMonth, 12);
    EXPECT_EQ(value(date).wHour, 8) << "typing a date keeps the time";
    EXPECT_EQ(nd::win32::userType(time, u"23:59"), "");
    EXPECT_EQ(value(time).wMinute, 59);
    EXPECT_EQ(value(time).wSecond, 0);
    EXPECT_EQ(value(time).wDay, 1) << "typing a time keeps the date";
    EXPECT_EQ(nd::win32::windowText(time), u"23:59:00");
    for (const char16_t* bad : {u"2021/02/30", u"2021/13/01", u"yesterday", u"2021/1"}) {
        EXPECT_NE(nd::win32::userType(date, bad), "");
    }
    EXPECT_NE(nd::win32::userType(time, u"24:00"), "");
}

TEST(DateTimePicker, AnAppParsingPickerLetsTheParentReadTheTypedText) {
    ndtest::ControlHarness h;
    HWND picker = h.make(DATETIMEPICK_CLASS, DTS_TIMEFORMAT | DTS_APPCANPARSE, 64);
    h.onNotify = [](NMHDR* n) -> LRESULT {
        if (n->code == DTN_USERSTRINGW) {
            auto* s = reinterpret_cast<NMDATETIMESTRINGW*>(n);
            if (std::u16string(s->pszUserString) == u"noon") {
                s->st.wHour = 12;
                s->st.wMinute = 0;
                s->st.wSecond = 0;
                s->dwFlags = GDT_VALID;
            }
        }
        return 0;
    };
    EXPECT_EQ(nd::win32::userType(picker, u"noon"), "");
    EXPECT_EQ(value(picker).wHour, 12);
    EXPECT_EQ(nd::win32::userType(picker, u"07:15:30"), "")
        << "the picker reads what the parent does not";
    EXPECT_EQ(value(picker).wHour, 7);
}
