// How the framework's dialogs behave in the flows a feed editor relies on:
// data exchange next to change handlers, a dialog object run twice, and the
// answers of the controls at the edges (empty lists, no selection, silent
// program changes). The settings dialog's own tests walk its embedded sheet.
#include "SampleDialog.h"
#include "mfc/CDataExchange.h"
#include "mfc/CDialog.h"
#include "support/DialogBuilder.h"
#include "support/TestUiDriver.h"

#include <gtest/gtest.h>

using nd::win32::UiStep;

namespace {

constexpr int kNameDlgId = 720;
constexpr int kFileName = 3401;
constexpr int kFolder = 3402;

// A name dialog whose change handler pulls both fields, decides OK and
// pushes them back, as the file-name dialogs do.
class CNameDlg : public CDialog {
  public:
    CNameDlg() {
        ndtest::DialogBuilder b(u"Name", 200, 60);
        b.control(u"#0081", u"", kFileName, 5, 5, 150, 12, WS_TABSTOP | ES_AUTOHSCROLL)
            .control(u"#0081", u"", kFolder, 5, 20, 150, 12, WS_TABSTOP | ES_AUTOHSCROLL)
            .control(u"#0080", u"OK", IDOK, 90, 40, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON)
            .control(u"#0080", u"Cancel", IDCANCEL, 145, 40, 50, 14, WS_TABSTOP);
        m_bytes = b.bytes();
        m_nIDHelp = kNameDlgId;
        InitModalIndirect(m_bytes.data());
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        okRule();
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, kFileName, m_strName);
        DDX_Text(pDX, kFolder, m_strFolder);
    }
    void OnChange() {
        ++changes;
        UpdateData(TRUE);
        okRule();
        UpdateData(FALSE);
    }
    void okRule() {
        GetDlgItem(IDOK)->EnableWindow(!m_strName.IsEmpty() && !m_strFolder.IsEmpty());
    }

    CString m_strName;
    CString m_strFolder;
    int changes = 0;

  private:
    std::vector<BYTE> m_bytes;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNameDlg, CDialog)
ON_EN_CHANGE(kFileName, &CNameDlg::OnChange)
ON_EN_CHANGE(kFolder, &CNameDlg::OnChange)
END_MESSAGE_MAP()

}  // namespace

TEST(DataExchange, ChangesCausedByFillingTheControlsDoNotReachTheHandlers) {
    ndtest::TestUiDriver ui;
    CNameDlg dlg;
    dlg.m_strName = u"feed.rss";
    dlg.m_strFolder = u"Z:\\site\\";
    ui.expectDialog(kNameDlgId,
                    {UiStep::run([&](HWND h) {
                         EXPECT_EQ(dlg.changes, 0);
                         EXPECT_EQ(nd::win32::windowText(GetDlgItem(h, kFolder)), u"Z:\\site\\")
                             << "the folder survives the name being filled first";
                         EXPECT_TRUE(IsWindowEnabled(GetDlgItem(h, IDOK)));
                     }),
                     UiStep::type(kFileName, u""), UiStep::run([&](HWND h) {
                         EXPECT_EQ(dlg.changes, 1) << "typing still notifies";
                         EXPECT_FALSE(IsWindowEnabled(GetDlgItem(h, IDOK)));
                         dlg.SetDlgItemText(kFileName, u"other.rss");
                         EXPECT_EQ(dlg.changes, 2) << "so does the program outside data exchange";
                     }),
                     UiStep::click(IDOK)});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strName, u"other.rss");
    EXPECT_EQ(dlg.m_strFolder, u"Z:\\site\\");
}

TEST(DataExchange, TheSameDialogObjectRunsTwiceWithItsControlsAttachedAfresh) {
    ndtest::TestUiDriver ui;
    sample::CSampleDlg dlg;
    for (int run = 0; run < 2; ++run) {
        ui.expectDialog(
            sample::kTemplateId,
            {UiStep::run([&](HWND h) {
                 EXPECT_EQ(dlg.m_list.m_hWnd, GetDlgItem(h, sample::kList));
                 EXPECT_EQ(dlg.m_list.GetCount(), 4);
                 EXPECT_EQ(dlg.m_rows.GetItemCount(), 3);
             }),
             UiStep::type(sample::kName, run ? u"second" : u"first"), UiStep::click(IDOK)});
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_list.m_hWnd, nullptr) << "the control object lets go of its window";
    }
    EXPECT_EQ(dlg.m_strName, u"second");
}

TEST(DataExchange, EmptyControlsAnswerNoSelectionAndTheProgramsChoicesAreSilent) {
    ndtest::TestUiDriver ui;
    sample::CSampleDlg dlg;
    ui.expectDialog(sample::kTemplateId,
                    {UiStep::run([&](HWND) {
                         dlg.m_combo.ResetContent();
                         dlg.m_list.ResetContent();
                         dlg.m_rows.DeleteAllItems();
                         EXPECT_EQ(dlg.m_combo.GetCurSel(), CB_ERR);
                         EXPECT_EQ(dlg.m_combo.SetCurSel(0), CB_ERR) << "row 0 of an empty combo";
                         EXPECT_EQ(dlg.m_combo.GetItemData(dlg.m_combo.GetCurSel()),
                                   static_cast<DWORD_PTR>(CB_ERR));
                         int rows[4] = {-1, -1, -1, -1};
                         EXPECT_EQ(dlg.m_list.GetSelCount(), 0);
                         EXPECT_EQ(dlg.m_list.GetSelItems(4, rows), 0);
                         EXPECT_EQ(dlg.m_rows.GetSelectedCount(), 0u);
                         EXPECT_EQ(dlg.m_rows.GetNextItem(-1, LVNI_SELECTED), -1);
                         EXPECT_EQ(dlg.m_rows.GetFirstSelectedItemPosition(), nullptr);
                         EXPECT_EQ(dlg.m_rows.GetItemData(0), 0u);
                         dlg.m_combo.InsertString(-1, u"b");
                         dlg.m_combo.InsertString(-1, u"a");
                         dlg.m_list.AddString(u"b");
                         EXPECT_EQ(dlg.m_list.AddString(u"a"), 0);
                         dlg.m_list.SetSel(1);
                         int before = dlg.comboChanges + dlg.listChanges;
                         EXPECT_EQ(dlg.m_combo.SetCurSel(1), 1);
                         dlg.m_list.SetSel(0);
                         EXPECT_EQ(dlg.comboChanges + dlg.listChanges, before) << "no notification";
                         EXPECT_EQ(dlg.m_list.GetSelItems(4, rows), 2);
                         EXPECT_EQ(rows[0], 0);
                         EXPECT_EQ(rows[1], 1);
                     }),
                     UiStep::click(IDCANCEL)});
    dlg.DoModal();
}
