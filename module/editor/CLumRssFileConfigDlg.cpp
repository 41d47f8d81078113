#include "editor/CLumRssFileConfigDlg.h"

#include "editor/CLumRssFilePage1.h"
#include "editor/CLumRssFilePage2.h"
#include "editor/CLumRssFileSheet.h"
#include "editor/EditorHelp.h"
#include "feed/FeedReaders.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/site/SIFUtil.h"
#include "hostapp/ui/LumMessageBox.h"
#include "mfc/CDataExchange.h"
#include "res/ResourceIds.h"

namespace {
// The sheet sits this far left of its frame, so that the pages line up
// with the dialog's own controls.
constexpr int kSheetLeftShift = 10;
}  // namespace

CLumRssFileConfigDlg::CLumRssFileConfigDlg(CRSSChannel* channel, CWnd* pParent)
    : CDialog(IDD_RSS_FILE_CONFIG, pParent), m_pChannel(channel) {}

// The sheet and its pages go with the dialog; the channel was never owned.
CLumRssFileConfigDlg::~CLumRssFileConfigDlg() {
    m_pSheet.reset();
    m_pChannel = nullptr;
}

BEGIN_MESSAGE_MAP(CLumRssFileConfigDlg, CDialog)
ON_BN_CLICKED(IDC_RSS_FORMAT_RSS10, &CLumRssFileConfigDlg::OnFormatRss10)
ON_BN_CLICKED(IDC_RSS_FORMAT_RSS20, &CLumRssFileConfigDlg::OnFormatRss20)
ON_BN_CLICKED(IDC_RSS_FORMAT_ITUNES, &CLumRssFileConfigDlg::OnFormatItunes)
END_MESSAGE_MAP()

void CLumRssFileConfigDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_RSS_FILE_NAME, m_strFileName);
}

void CLumRssFileConfigDlg::selectFormatButton(int buttonId) {
    for (int id : {IDC_RSS_FORMAT_RSS10, IDC_RSS_FORMAT_RSS20, IDC_RSS_FORMAT_ITUNES}) {
        CheckDlgButton(id, id == buttonId ? BST_CHECKED : BST_UNCHECKED);
    }
}

CString CLumRssFileConfigDlg::defaultChannelUrl() const {
    CString url = SIFUtil::PCPathtoURL(m_strFileName);
    if (url.IsEmpty()) {
        url = m_strFileName;
    }
    SiteIF* site = LumSiteMgr::getOutStandingSiteIF();
    CString siteUrl = LumSiteMgr::getMySiteUrl(site, url);
    if (site != nullptr) {
        site->release();
    }
    return siteUrl;
}

BOOL CLumRssFileConfigDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CString url;
    if (m_pChannel != nullptr) {
        m_strFileName = m_pChannel->m_filePath;
        m_nFormat = m_pChannel->m_format;
        // An unknown stored format shows as RSS 1.0 but is kept unless the
        // user picks a format.
        int button = IDC_RSS_FORMAT_RSS10;
        if (m_nFormat == newsdesk::kFormatRss20) {
            button = IDC_RSS_FORMAT_RSS20;
        } else if (m_nFormat == newsdesk::kFormatPodcast) {
            button = IDC_RSS_FORMAT_ITUNES;
        }
        selectFormatButton(button);
    } else {
        selectFormatButton(IDC_RSS_FORMAT_RSS10);
        if (!m_strFileName.IsEmpty()) {
            url = defaultChannelUrl();
        }
    }
    m_pSheet = std::make_unique<CLumRssFileSheet>(m_pChannel, this);
    if (!url.IsEmpty() && m_pSheet->m_pChannelPage) {
        m_pSheet->m_pChannelPage->m_strLink = url;
    }
    m_pSheet->Create(this, WS_CHILD | WS_VISIBLE, 0);
    m_pSheet->ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    m_pSheet->ModifyStyle(0, WS_TABSTOP);
    if (CWnd* frame = GetDlgItem(IDC_RSS_SHEET_FRAME)) {
        RECT r;
        frame->GetWindowRect(&r);
        ScreenToClient(&r);
        m_pSheet->SetWindowPos(nullptr, r.left - kSheetLeftShift, r.top, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    UpdateData(FALSE);
    return FALSE;
}

void CLumRssFileConfigDlg::changeFormat(int buttonId, int format) {
    selectFormatButton(buttonId);
    m_nFormat = format;
    if (m_pSheet && m_pSheet->m_pChannelPage) {
        m_pSheet->m_pChannelPage->setFormat(format);
    }
    if (m_pSheet && m_pSheet->m_pItemsPage) {
        m_pSheet->m_pItemsPage->m_nFormat = format;
    }
}

void CLumRssFileConfigDlg::OnFormatRss10() {
    changeFormat(IDC_RSS_FORMAT_RSS10, newsdesk::kFormatRss10);
}

void CLumRssFileConfigDlg::OnFormatRss20() {
    changeFormat(IDC_RSS_FORMAT_RSS20, newsdesk::kFormatRss20);
}

void CLumRssFileConfigDlg::OnFormatItunes() {
    changeFormat(IDC_RSS_FORMAT_ITUNES, newsdesk::kFormatPodcast);
}

void CLumRssFileConfigDlg::OnOK() {
    UpdateData(TRUE);
    if (m_pSheet && m_pSheet->m_pChannelPage) {
        CLumRssFilePage1* page = m_pSheet->m_pChannelPage.get();
        page->UpdateData(TRUE);
        if (page->checkRequiredFields()) {
            m_pSheet->SetActivePage(page);
            lum::afxMessageBox(IDS_RSS_CHANNEL_REQUIRED, MB_OK);
            return;
        }
    }
    EndDialog(IDOK);
}

void CLumRssFileConfigDlg::applyToChannel(CRSSChannel* target) const {
    if (target == nullptr) {
        return;
    }
    target->m_filePath = m_strFileName;
    target->m_format = m_nFormat;
    if (m_pSheet) {
        m_pSheet->applyToChannel(target);
    }
}

void CLumRssFileConfigDlg::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (!newsdesk::editor::showEditorHelp(dwData, nCmd)) {
        CDialog::WinHelp(dwData, nCmd);
    }
}
