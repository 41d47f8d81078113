// How the framework's dialogs behave in the flows a feed editor relies on:
// a sheet embedded in a dialog whose OK brings a page back to the front and
// focuses a field there, hover tracking over a navigator, and the answers of
// the controls at the edges (empty lists, no selection, silent program changes).
#include "SampleDialog.h"
#include "mfc/AfxMessageBox.h"
#include "mfc/CButton.h"
#include "mfc/CComboBox.h"
#include "mfc/CDC.h"
#include "mfc/CDataExchange.h"
#include "mfc/CDateTimeCtrl.h"
#include "mfc/CDialog.h"
#include "mfc/CGdiObject.h"
#include "mfc/CListBox.h"
#include "mfc/CListCtrl.h"
#include "mfc/CPropertySheet.h"
#include "mfc/CStatic.h"
#include "support/DialogBuilder.h"
#include "support/TestUiDriver.h"
#include "win32/MessageLoop.h"

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

constexpr int kNaviId = 710;
constexpr int kNaviFrame = 3300;
constexpr int kPrompt = 3301;
constexpr int kFirstButton = 3302;
constexpr int kSecondButton = 3303;
constexpr int kExplanation = 3304;
constexpr int kPicture = 3305;
constexpr int kOutside = 3306;
constexpr UINT_PTR kPollTimer = 3407;
constexpr UINT_PTR kSwitchTimer = 3406;

class CNaviDlg : public CDialog {
  public:
    CNaviDlg() : m_fill(RGB(0, 0, 200)), m_back(RGB(0, 200, 0)) {
        ndtest::DialogBuilder b(u"Navi", 300, 160);
        b.font(9, u"\uff2d\uff33 \uff30\u30b4\u30b7\u30c3\u30af")
            .control(u"#0082", u"", kNaviFrame, 5, 5, 200, 100, SS_BLACKFRAME)
            .control(u"#0082", u"Pick one", kPrompt, 10, 10, 100, 10, SS_LEFT)
            .control(u"#0080", u"First", kFirstButton, 10, 25, 90, 40, WS_TABSTOP | BS_OWNERDRAW)
            .control(u"#0080", u"Second", kSecondButton, 105, 25, 90, 40, WS_TABSTOP | BS_OWNERDRAW)
            .control(u"#0082", u"", kExplanation, 210, 10, 80, 60, SS_LEFT)
            .control(u"#0082", u"Outside", kOutside, 210, 80, 80, 10, SS_LEFT)
            .control(u"#0080", u"Close", IDCANCEL, 240, 140, 50, 14, WS_TABSTOP);
        b.picture(kPicture, 0, 210, 100, 32, 32);
        m_bytes = b.bytes();
        m_nIDHelp = kNaviId;
        InitModalIndirect(m_bytes.data());
    }

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        CRect frame;
        GetDlgItem(kNaviFrame)->GetWindowRect(&frame);
        for (CWnd* c = GetTopWindow(); c; c = c->GetWindow(GW_HWNDNEXT)) {
            CRect r;
            c->GetWindowRect(&r);
            POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            if (c->GetDlgCtrlID() != kNaviFrame && PtInRect(&frame, centre)) {
                framed.push_back(c->m_hWnd);
            }
        }
        GetDlgItem(kNaviFrame)->ShowWindow(SW_HIDE);
        show(0);
        SetTimer(kPollTimer, 500, nullptr);
        return TRUE;
    }

    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_MOUSEMOVE) {
            POINT p{GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam)};
            ::ClientToScreen(pMsg->hwnd, &p);
            ScreenToClient(&p);
            hover(p);
        }
        return CDialog::PreTranslateMessage(pMsg);
    }

    void OnTimer(UINT_PTR id) {
        if (id == kPollTimer) {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(&p);
            hover(p);
        } else if (id == kSwitchTimer) {
            KillTimer(kSwitchTimer);
            show(m_pending);
        }
        CDialog::OnTimer(id);
    }

    BOOL OnHelpInfo(HELPINFO*) { return FALSE; }
    void WinHelp(DWORD_PTR, UINT) override { ++helpCalls; }

    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) {
        HBRUSH brush = CDialog::OnCtlColor(dc, wnd, kind);
        if (kind == CTLCOLOR_EDIT || kind == CTLCOLOR_LISTBOX) {
            return brush;
        }
        dc->SetTextColor(RGB(1, 1, 1));
        dc->SetBkMode(TRANSPARENT);
        bool inFrame = std::find(framed.begin(), framed.end(), wnd->m_hWnd) != framed.end();
        return static_cast<HBRUSH>((inFrame ? m_fill : m_back).m_hObject);
    }

    void hover(POINT p) {
        HWND found = ::ChildWindowFromPointEx(
            m_hWnd, p, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT);
        if (!found) {
            found = ::ChildWindowFromPointEx(m_hWnd, p, CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT);
        }
        int index = 0;
        if (found && ::GetParent(found) == m_hWnd) {
            int id = ::GetDlgCtrlID(found);
            index = id == kFirstButton ? 1 : id == kSecondButton ? 2 : 0;
        }
        if (index != m_pending) {
            SetTimer(kSwitchTimer, 100, nullptr);
            m_pending = index;
        }
    }

    void show(int index) {
        static const char16_t* texts[] = {u"Rest on a button", u"Makes one", u"Opens one"};
        SetDlgItemText(kExplanation, texts[index]);
        GetDlgItem(kPicture)->SendMessage(STM_SETIMAGE, IMAGE_BITMAP, 0);
    }

    std::vector<HWND> framed;
    int helpCalls = 0;

  private:
    std::vector<BYTE> m_bytes;
    CBrush m_fill;
    CBrush m_back;
    int m_pending = 0;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNaviDlg, CDialog)
ON_WM_TIMER()
ON_WM_HELPINFO()
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CString textOf(HWND dialog, int id) {
    CString s;
    CWnd::FromHandle(dialog)->GetDlgItemText(id, s);
    return s;
}

}  // namespace

TEST(Navigator, TheExplanationFollowsTheCursorAfterItRestsAndWhenItLeaves) {
    ndtest::TestUiDriver ui;
    CNaviDlg dlg;
    auto centreOf = [](HWND h, int id) {
        RECT r;
        GetWindowRect(GetDlgItem(h, id), &r);
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ScreenToClient(h, &p);
        return p;
    };
    POINT second{};
    POINT first{};
    ui.expectDialog(
        kNaviId, {UiStep::run([&](HWND h) {
                      second = centreOf(h, kSecondButton);
                      first = centreOf(h, kFirstButton);
                      EXPECT_EQ(textOf(h, kExplanation), u"Rest on a button");
                      EXPECT_EQ(dlg.framed.size(), 3u) << "the prompt and both buttons";
                      EXPECT_FALSE(IsWindowVisible(GetDlgItem(h, kNaviFrame)));
                  }),
                  UiStep::run([&](HWND h) {
                      // moveMouse takes client points; steps are fixed when the script is made.
                      nd::win32::performUiStep(h, UiStep::moveMouse(second.x, second.y));
                      nd::win32::performUiStep(h, UiStep::advance(99));
                      EXPECT_EQ(textOf(h, kExplanation), u"Rest on a button") << "not rested yet";
                      nd::win32::performUiStep(h, UiStep::advance(1));
                      EXPECT_EQ(textOf(h, kExplanation), u"Opens one");
                      nd::win32::performUiStep(h, UiStep::moveMouse(first.x, first.y));
                      nd::win32::performUiStep(h, UiStep::advance(50));
                      nd::win32::performUiStep(h, UiStep::moveMouse(second.x, second.y + 1));
                      nd::win32::performUiStep(h, UiStep::advance(20));
                      nd::win32::performUiStep(h, UiStep::moveMouse(first.x, first.y));
                      nd::win32::performUiStep(h, UiStep::advance(100));
                      EXPECT_EQ(textOf(h, kExplanation), u"Makes one");
                      nd::win32::performUiStep(h, UiStep::moveMouse(-500, -500));
                      nd::win32::performUiStep(h, UiStep::advance(600));
                      EXPECT_EQ(textOf(h, kExplanation), u"Rest on a button")
                          << "the poll timer notices the cursor has gone";
                  }),
                  UiStep::press(VK_F1), UiStep::run([&](HWND h) {
                      const auto& prompt = nd::win32::paintRecords(GetDlgItem(h, kPrompt));
                      ASSERT_FALSE(prompt.empty());
                      EXPECT_EQ(prompt[0].brushColor, RGB(0, 0, 200)) << "inside the frame";
                      const auto& outside = nd::win32::paintRecords(GetDlgItem(h, kOutside));
                      ASSERT_FALSE(outside.empty());
                      EXPECT_EQ(outside[0].brushColor, RGB(0, 200, 0));
                      EXPECT_EQ(
                          SendMessageW(GetDlgItem(h, kPicture), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
                  }),
                  UiStep::click(IDCANCEL)});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.helpCalls, 0) << "a help handler answering FALSE swallows F1";
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
