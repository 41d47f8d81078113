#include "mfc/COleDateTime.h"
#include "win32/SysTime.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(COleDateTime, TheZeroDateIsDay0AndTimesOfDayAreItsFraction) {
    COleDateTime t;
    EXPECT_EQ(t.SetTime(6, 0, 0), 0);
    EXPECT_EQ(t.GetStatus(), COleDateTime::valid);
    EXPECT_DOUBLE_EQ(t.m_dt, 0.25);
    EXPECT_EQ(t.GetYear(), 1899);
    EXPECT_EQ(t.GetMonth(), 12);
    EXPECT_EQ(t.GetDay(), 30);
    EXPECT_EQ(t.GetHour(), 6);
    EXPECT_EQ(COleDateTime(2000, 1, 1, 0, 0, 0).m_dt, 36526.0);
}

TEST(COleDateTime, FieldsOutsideTheCalendarMakeTheValueInvalid) {
    struct Case {
        int y, mo, d, h, mi, s;
        bool valid;
    } cases[] = {
        {2024, 2, 29, 0, 0, 0, true},     {2023, 2, 29, 0, 0, 0, false},
        {1900, 2, 29, 0, 0, 0, false},    {2000, 2, 29, 0, 0, 0, true},
        {100, 1, 1, 0, 0, 0, true},       {99, 12, 31, 23, 59, 59, false},
        {9999, 12, 31, 23, 59, 59, true}, {10000, 1, 1, 0, 0, 0, false},
        {2024, 13, 1, 0, 0, 0, false},    {2024, 0, 1, 0, 0, 0, false},
        {2024, 1, 0, 0, 0, 0, false},     {2024, 4, 31, 0, 0, 0, false},
        {2024, 1, 1, 24, 0, 0, false},    {2024, 1, 1, 23, 60, 0, false},
        {2024, 1, 1, 23, 59, 60, false},  {2024, 1, 1, -1, 0, 0, false},
    };
    for (const auto& c : cases) {
        COleDateTime t;
        int r = t.SetDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s);
        EXPECT_EQ(t.GetStatus() == COleDateTime::valid, c.valid)
            << c.y << "-" << c.mo << "-" << c.d << " " << c.h << ":" << c.mi << ":" << c.s;
        EXPECT_EQ(r == 0, c.valid);
        if (!c.valid) {
            EXPECT_EQ(t.GetHour(), AFX_OLE_DATETIME_ERROR);
        }
    }
}

TEST(COleDateTime, SystemTimeConversionsRoundTripAndRefuseTheImpossible) {
    SYSTEMTIME st;
    st.wYear = 1899;
    st.wMonth = 12;
    st.wDay = 29;
    st.wHour = 18;
    DOUBLE v = 0;
    ASSERT_TRUE(SystemTimeToVariantTime(&st, &v));
    EXPECT_DOUBLE_EQ(v, -1.75) << "before the zero date the fraction counts forward";
    SYSTEMTIME back;
    ASSERT_TRUE(VariantTimeToSystemTime(v, &back));
    EXPECT_EQ(back.wDay, 29);
    EXPECT_EQ(back.wHour, 18);
    EXPECT_FALSE(VariantTimeToSystemTime(3000000.0, &back));
    EXPECT_FALSE(VariantTimeToSystemTime(std::nan(""), &back));
    EXPECT_TRUE(VariantTimeToSystemTime(2958465.999988, &back));
    EXPECT_EQ(back.wYear, 9999);
    EXPECT_EQ(back.wSecond, 59);
}
