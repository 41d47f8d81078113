#include "ControlHarness.h"
#include "win32/CommCtrl.h"

#include <gtest/gtest.h>

TEST(ProgressBar, KeepsItsPositionInsideTheRangeAndAnswersThePreviousOne) {
    ndtest::ControlHarness h;
    HWND bar = h.make(PROGRESS_CLASSW, WS_CHILD | WS_VISIBLE, 7);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 0);
    SendMessageW(bar, PBM_SETRANGE32, 10, 50'000);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 10);  // moved into the new range
    EXPECT_EQ(SendMessageW(bar, PBM_SETPOS, 40'000, 0), 10);
    EXPECT_EQ(SendMessageW(bar, PBM_SETPOS, 90'000, 0), 40'000);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 50'000);
    EXPECT_EQ(SendMessageW(bar, PBM_DELTAPOS, static_cast<WPARAM>(-60'000), 0), 50'000);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 10);
    PBRANGE range;
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), 10);
    EXPECT_EQ(range.iHigh, 50'000);
}

TEST(ProgressBar, StepsAndWrapsRoundAtTheEnd) {
    ndtest::ControlHarness h;
    HWND bar = h.make(PROGRESS_CLASSW, WS_CHILD | WS_VISIBLE, 7);
    SendMessageW(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendMessageW(bar, PBM_SETSTEP, 40, 0);
    SendMessageW(bar, PBM_STEPIT, 0, 0);
    SendMessageW(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 80);
    SendMessageW(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 20);
}
