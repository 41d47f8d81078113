// How the framework's dialogs behave in the flows a feed editor relies on:
// a sheet embedded in a dialog whose OK brings a page back to the front and
// focuses a field there, and the answers of
// the controls at the edges (empty lists, no selection, silent program changes).
#include "SampleDialog.h"
#include "mfc/AfxMessageBox.h"
#include "mfc/CButton.h"
#include "mfc/CComboBox.h"
#include "mfc/CDataExchange.h"
#include "mfc/CDateTimeCtrl.h"
#include "mfc/CDialog.h"
#include "mfc/CListBox.h"
#include "mfc/CListCtrl.h"
#include "mfc/CPropertySheet.h"
#include "support/DialogBuilder.h"
#include "support/TestUiDriver.h"

#include <gtest/gtest.h>

using nd::win32::UiStep;

namespace {

constexpr int kEditorId = 700;
constexpr int kFrame = 3000;
constexpr int kTitle = 3101;
constexpr int kLink = 3102;
constexpr int kRssOne = 3001;
constexpr int kRssTwo = 3002;
constexpr int kItunes = 3003;
constexpr int kItems = 3201;

class CChannelPage;

class CEditorSheet : public CPropertySheet {
  public:
    CEditorSheet(CChannelPage* channel, CPropertyPage* items);
    BOOL OnInitDialog() override {
        CPropertySheet::OnInitDialog();
        SetActivePage(0);
        return FALSE;
    }
};

class CChannelPage : public CPropertyPage {
  public:
    CChannelPage() {
        ndtest::DialogBuilder b(u"Channel", 150, 80, WS_CHILD | DS_CONTROL);
        b.control(u"#0081", u"", kTitle, 5, 5, 100, 12, WS_TABSTOP | ES_AUTOHSCROLL)
            .control(u"#0081", u"", kLink, 5, 25, 100, 12, WS_TABSTOP | ES_AUTOHSCROLL);
        m_bytes = b.bytes();
        m_nIDHelp = 701;
        InitModalIndirect(m_bytes.data());
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, kTitle, m_strTitle);
        DDX_Text(pDX, kLink, m_strLink);
    }
    // True when a field is missing; the page is then in front with the
    // focus in the first empty field.
    bool checkRequiredFields() {
        UpdateData(TRUE);
        int missing = m_strTitle.IsEmpty() ? kTitle : m_strLink.IsEmpty() ? kLink : 0;
        if (!missing) {
            return false;
        }
        auto* sheet = dynamic_cast<CEditorSheet*>(GetParent());
        if (sheet && sheet->GetActivePage() != this) {
            sheet->SetActivePage(this);
        }
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(missing)->m_hWnd), TRUE);
        return true;
    }
    CString m_strTitle;
    CString m_strLink;

  private:
    std::vector<BYTE> m_bytes;
};

class CItemsPage : public CPropertyPage {
  public:
    CItemsPage() {
        ndtest::DialogBuilder b(u"Items", 150, 80, WS_CHILD | DS_CONTROL);
        b.control(u"SysListView32", u"", kItems, 5, 5, 140, 60,
                  WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS);
        m_bytes = b.bytes();
        m_nIDHelp = 702;
        InitModalIndirect(m_bytes.data());
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, kItems, m_list); }
    BOOL OnInitDialog() override {
        CPropertyPage::OnInitDialog();
        CRect r;
        m_list.GetClientRect(&r);
        int width = (r.right - r.left) / 2;
        m_list.InsertColumn(0, u"Title", LVCFMT_LEFT, width);
        m_list.InsertColumn(1, u"Link", LVCFMT_LEFT, width);
        m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
        return TRUE;
    }
    CListCtrl m_list;

  private:
    std::vector<BYTE> m_bytes;
};

CEditorSheet::CEditorSheet(CChannelPage* channel, CPropertyPage* items) : CPropertySheet(u"") {
    AddPage(channel);
    AddPage(items);
}

class CEditorDlg : public CDialog {
  public:
    CEditorDlg() : m_sheet(&m_channel, &m_items) {
        ndtest::DialogBuilder b(u"Editor", 220, 150);
        b.control(u"#0080", u"RSS 1.0", kRssOne, 5, 5, 50, 10,
                  WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON)
            .control(u"#0080", u"RSS 2.0", kRssTwo, 60, 5, 50, 10, BS_AUTORADIOBUTTON)
            .control(u"#0080", u"iTunes", kItunes, 115, 5, 50, 10, BS_AUTORADIOBUTTON)
            .control(u"#0082", u"", kFrame, 10, 20, 200, 100, SS_BLACKFRAME)
            .control(u"#0080", u"OK", IDOK, 110, 130, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON)
            .control(u"#0080", u"Cancel", IDCANCEL, 165, 130, 50, 14, WS_TABSTOP);
        m_bytes = b.bytes();
        m_nIDHelp = kEditorId;
        InitModalIndirect(m_bytes.data());
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        CheckRadioButton(kRssOne, kItunes, kRssTwo);
        m_sheet.Create(this, WS_CHILD | WS_VISIBLE, 0);
        m_sheet.ModifyStyleEx(0, WS_EX_CONTROLPARENT);
        m_sheet.ModifyStyle(0, WS_TABSTOP);
        return FALSE;
    }
    void OnOK() override {
        UpdateData(TRUE);
        if (m_channel.checkRequiredFields()) {
            m_sheet.SetActivePage(&m_channel);
            AfxMessageBox(u"required", MB_OK);
            return;
        }
        EndDialog(IDOK);
    }
    CChannelPage m_channel;
    CItemsPage m_items;
    CEditorSheet m_sheet;

  private:
    std::vector<BYTE> m_bytes;
};

}  // namespace

TEST(EmbeddedSheet, OkWithAMissingFieldBringsItsPageBackAndFocusesTheField) {
    ndtest::TestUiDriver ui;
    CEditorDlg dlg;
    ui.answerText(u"required", IDOK);
    ui.answerText(u"required", IDOK);
    ui.expectDialog(
        kEditorId,
        {UiStep::run([&](HWND h) {
             EXPECT_EQ(IsDlgButtonChecked(h, kRssTwo), BST_CHECKED);
             EXPECT_EQ(IsDlgButtonChecked(h, kRssOne), BST_UNCHECKED);
             EXPECT_EQ(dlg.m_channel.GetParent(), &dlg.m_sheet)
                 << "a page's parent is the sheet object itself";
         }),
         UiStep::click(kItunes), UiStep::run([&](HWND h) {
             EXPECT_EQ(IsDlgButtonChecked(h, kItunes), BST_CHECKED);
             EXPECT_EQ(IsDlgButtonChecked(h, kRssTwo), BST_UNCHECKED);
         }),
         UiStep::type(kTitle, u"News"), UiStep::selectTab(1), UiStep::click(IDOK),
         UiStep::run([&](HWND) {
             EXPECT_EQ(dlg.m_sheet.GetActivePage(), &dlg.m_channel);
             EXPECT_TRUE(dlg.m_channel.IsWindowVisible());
             EXPECT_FALSE(dlg.m_items.IsWindowVisible());
             EXPECT_EQ(GetFocus(), GetDlgItem(dlg.m_channel.m_hWnd, kLink));
         }),
         UiStep::run([&](HWND) { dlg.m_channel.SetDlgItemText(kTitle, u""); }), UiStep::click(IDOK),
         UiStep::run(
             [&](HWND) { EXPECT_EQ(GetFocus(), GetDlgItem(dlg.m_channel.m_hWnd, kTitle)); }),
         UiStep::type(kTitle, u"News"), UiStep::type(kLink, u"http://x/"), UiStep::click(IDOK)});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_channel.m_strLink, u"http://x/") << "the page keeps its data after the run";
    EXPECT_EQ(dlg.m_channel.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_items.m_hWnd, nullptr);
}

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
