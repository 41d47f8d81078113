#include "mfc/CButton.h"
#include "mfc/CDataExchange.h"
#include "mfc/CDialog.h"
#include "mfc/CPropertySheet.h"
#include "support/DialogBuilder.h"
#include "support/TestUiDriver.h"

#include <gtest/gtest.h>

using nd::win32::UiStep;

namespace {

constexpr int kHostId = 600;
constexpr int kFrame = 2000;
constexpr int kPageEdit = 2100;

class CTextPage : public CPropertyPage {
  public:
    CTextPage(int id, std::u16string title) {
        // Drawn disabled, as page templates usually are: the sheet enables them.
        ndtest::DialogBuilder b(std::move(title), 150, 80, WS_CHILD | WS_DISABLED | DS_CONTROL);
        b.control(u"#0081", u"", kPageEdit + id, 5, 5, 100, 12, WS_TABSTOP);
        m_bytes = b.bytes();
        m_nIDHelp = static_cast<UINT>(id);
        InitModalIndirect(m_bytes.data());
        m_id = id;
    }
    BOOL OnSetActive() override {
        ++activations;
        return CPropertyPage::OnSetActive();
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kPageEdit + m_id, m_strText); }

    CString m_strText;
    int activations = 0;

  private:
    std::vector<BYTE> m_bytes;
    int m_id;
};

class CSheet : public CPropertySheet {
  public:
    CSheet() : CPropertySheet(u""), first(1, u"First"), second(2, u"Second") {
        AddPage(&first);
        AddPage(&second);
    }
    BOOL OnInitDialog() override {
        CPropertySheet::OnInitDialog();
        SetActivePage(0);
        return FALSE;
    }
    CTextPage first;
    CTextPage second;
};

class CHostDlg : public CDialog {
  public:
    CHostDlg() {
        ndtest::DialogBuilder b(u"Host", 200, 140);
        b.control(u"#0082", u"", kFrame, 10, 10, 180, 100, SS_BLACKFRAME)
            .control(u"#0080", u"OK", IDOK, 140, 120, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON);
        m_bytes = b.bytes();
        m_nIDHelp = kHostId;
        InitModalIndirect(m_bytes.data());
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        sheet.Create(this, WS_CHILD | WS_VISIBLE, 0);
        sheet.ModifyStyleEx(0, WS_EX_CONTROLPARENT);
        sheet.ModifyStyle(0, WS_TABSTOP);
        CRect frame;
        GetDlgItem(kFrame)->GetWindowRect(&frame);
        ScreenToClient(&frame);
        sheet.SetWindowPos(nullptr, frame.left - 10, frame.top, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return FALSE;
    }
    CSheet sheet;

  private:
    std::vector<BYTE> m_bytes;
};

}  // namespace

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
