#include "ControlHarness.h"
#include "win32/UserInput.h"

#include <gtest/gtest.h>

using ndtest::Note;

TEST(TabControl, TheCurrentPageCanRefuseToBeLeft) {
    ndtest::ControlHarness h;
    HWND tab = h.make(WC_TABCONTROL, 0, 70, u"", RECT{0, 0, 200, 100});
    TCITEMW item;
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(u"one");
    SendMessageW(tab, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.pszText = const_cast<LPWSTR>(u"two");
    SendMessageW(tab, TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(SendMessageW(tab, TCM_GETCURSEL, 0, 0), 0);
    bool refuse = true;
    h.onNotify = [&](NMHDR* n) -> LRESULT { return n->code == TCN_SELCHANGING && refuse; };
    EXPECT_EQ(nd::win32::userSelectTab(tab, 1), "");
    EXPECT_EQ(SendMessageW(tab, TCM_GETCURSEL, 0, 0), 0);
    refuse = false;
    nd::win32::userSelectTab(tab, 1);
    EXPECT_EQ(SendMessageW(tab, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(h.notes.back(), (Note{WM_NOTIFY, 70, TCN_SELCHANGE}));
    EXPECT_EQ(nd::win32::userSelectTab(tab, 2), "tab control 70 has no tab 2");
}

TEST(TabControl, AdjustingTheRectangleBothWaysGivesItBack) {
    ndtest::ControlHarness h;
    HWND tab = h.make(WC_TABCONTROL, 0, 71, u"", RECT{0, 0, 200, 100});
    RECT r{0, 0, 200, 100};
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    EXPECT_GT(r.top, 0);
    EXPECT_LT(r.right, 200);
    SendMessageW(tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 200);
    EXPECT_EQ(r.bottom, 100);
}
