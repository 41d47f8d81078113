#include "mfc/CTime.h"

#include "TzGuard.h"

#include <gtest/gtest.h>

TEST(CTime, LocalFieldsFollowTheProcessTimeZone) {
    TzGuard tz("JST-9");
    CTime t(1796541146);  // 2026-12-06 07:12:26 UTC
    EXPECT_EQ(t.GetYear(), 2026);
    EXPECT_EQ(t.GetMonth(), 12);
    EXPECT_EQ(t.GetDay(), 6);
    EXPECT_EQ(t.GetHour(), 16);
    EXPECT_EQ(t.GetDayOfWeek(), 1);  // Sunday
    EXPECT_EQ(t.GetLocalUtcOffset(), 9 * 3600);
    EXPECT_EQ(CTime(2026, 12, 6, 16, 12, 26).GetTime(), 1796541146);
}

TEST(CTime, KeepsSixtyFourBitsBeyond2038) {
    TzGuard tz("UTC0");
    CTime t(2100, 1, 1, 0, 0, 0);
    EXPECT_EQ(t.GetTime(), 4102444800LL);
    EXPECT_EQ(t.FormatGmt(u"%Y-%m-%d"), u"2100-01-01");
}
