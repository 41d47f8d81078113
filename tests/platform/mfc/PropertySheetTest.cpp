#include "SheetDialog.h"
#include "support/TestUiDriver.h"

#include <gtest/gtest.h>

using nd::win32::UiStep;
using sheet::CHostDlg;

using sheet::kHostId;
using sheet::kPageEdit;

TEST(PropertySheet, PagesAreCreatedWhenFirstShownAndActivatedOnRequest) {
    ndtest::TestUiDriver ui;
    CHostDlg dlg;
    ui.expectDialog(
        kHostId, {UiStep::run([&](HWND h) {
                      EXPECT_TRUE(IsChild(h, dlg.sheet.m_hWnd));
                      EXPECT_EQ(dlg.sheet.GetActiveIndex(), 0);
                      EXPECT_TRUE(dlg.sheet.first.m_hWnd) << "the first page is shown";
                      EXPECT_EQ(dlg.sheet.second.m_hWnd, nullptr) << "not shown yet, not made";
                      EXPECT_EQ(dlg.sheet.first.activations, 1);
                      CTabCtrl* tab = dlg.sheet.GetTabControl();
                      ASSERT_TRUE(tab);
                      EXPECT_EQ(tab->GetItemCount(), 2);
                      RECT r;
                      dlg.sheet.GetWindowRect(&r);
                      POINT p{r.left, r.top};
                      ScreenToClient(h, &p);
                      EXPECT_EQ(p.x, 15 - 10) << "placed at the frame, 10 pixels to the left";
                      EXPECT_EQ(GetParent(dlg.sheet.first.m_hWnd), dlg.sheet.m_hWnd);
                  }),
                  UiStep::type(kPageEdit + 1, u"one"), UiStep::selectTab(1), UiStep::run([&](HWND) {
                      EXPECT_TRUE(dlg.sheet.second.m_hWnd);
                      EXPECT_EQ(dlg.sheet.GetActivePage(), &dlg.sheet.second);
                      EXPECT_FALSE(dlg.sheet.first.IsWindowVisible());
                      EXPECT_EQ(dlg.sheet.first.m_strText, u"one") << "leaving a page saves it";
                  }),
                  UiStep::type(kPageEdit + 2, u"two"),
                  UiStep::run([&](HWND) { EXPECT_TRUE(dlg.sheet.SetActivePage(0)); }),
                  UiStep::run([&](HWND) {
                      EXPECT_EQ(dlg.sheet.first.activations, 2);
                      EXPECT_TRUE(dlg.sheet.first.IsWindowVisible());
                      EXPECT_EQ(dlg.sheet.GetTabControl()->GetCurSel(), 0);
                  }),
                  UiStep::click(IDOK)});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.sheet.second.m_strText, u"two");
    EXPECT_EQ(dlg.sheet.first.m_hWnd, nullptr) << "page windows go with the dialog";
}
