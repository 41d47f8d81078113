#include "mfc/CButton.h"
#include "mfc/CDC.h"
#include "mfc/CDialog.h"
#include "support/DialogBuilder.h"
#include "support/TestUiDriver.h"

#include <gtest/gtest.h>

using nd::win32::UiStep;

namespace {

constexpr int kDialogId = 700;
constexpr int kButton = 3000;

// Draws a fill whose colour tells the state it was asked to draw.
class CStateButton : public CButton {
  public:
    void DrawItem(LPDRAWITEMSTRUCT dis) override {
        states.push_back(dis->itemState);
        CDC* dc = CDC::FromHandle(dis->hDC);
        dc->FillSolidRect(&dis->rcItem,
                          (dis->itemState & ODS_SELECTED) ? RGB(255, 0, 0) : RGB(0, 0, 255));
    }
    std::vector<UINT> states;
};

class CButtonDlg : public CDialog {
  public:
    CButtonDlg() {
        ndtest::DialogBuilder b(u"Buttons", 100, 60);
        b.control(u"#0080", u"Go", kButton, 5, 5, 60, 20, WS_TABSTOP | BS_OWNERDRAW);
        m_bytes = b.bytes();
        m_nIDHelp = kDialogId;
        InitModalIndirect(m_bytes.data());
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        button.SubclassDlgItem(kButton, this);
        return TRUE;
    }
    void OnGo() { ++clicks; }
    CStateButton button;
    int clicks = 0;

  private:
    std::vector<BYTE> m_bytes;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CButtonDlg, CDialog)
ON_BN_CLICKED(kButton, &CButtonDlg::OnGo)
END_MESSAGE_MAP()

}  // namespace

TEST(OwnerDrawButton, TheButtonObjectDrawsEachStateItIsAskedFor) {
    ndtest::TestUiDriver ui;
    CButtonDlg dlg;
    ui.expectDialog(kDialogId, {UiStep::run([&](HWND h) {
                                    ASSERT_FALSE(dlg.button.states.empty());
                                    EXPECT_FALSE(dlg.button.states.back() & ODS_SELECTED);
                                    SendMessageW(GetDlgItem(h, kButton), BM_SETSTATE, TRUE, 0);
                                }),
                                UiStep::run([&](HWND h) {
                                    EXPECT_TRUE(dlg.button.states.back() & ODS_SELECTED);
                                    const auto& drawn =
                                        nd::win32::paintRecords(GetDlgItem(h, kButton));
                                    ASSERT_FALSE(drawn.empty());
                                    EXPECT_EQ(drawn.back().brushColor, RGB(255, 0, 0));
                                    SendMessageW(GetDlgItem(h, kButton), BM_SETSTATE, FALSE, 0);
                                }),
                                UiStep::click(kButton), UiStep::escape()});
    dlg.DoModal();
    EXPECT_EQ(dlg.clicks, 1);
    EXPECT_FALSE(dlg.button.states.back() & ODS_SELECTED);
}
