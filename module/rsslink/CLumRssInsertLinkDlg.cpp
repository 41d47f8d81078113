#include "rsslink/CLumRssInsertLinkDlg.h"

#include "editor/EditorHelp.h"
#include "feed/PrepareImage.h"
#include "hostapp/files/CKmxCommon.h"
#include "hostapp/pages/COrvHTMLDocUtil.h"
#include "hostapp/pages/PageEditIF.h"
#include "hostapp/urls/CLumUrlString.h"
#include "mfc/CDataExchange.h"
#include "res/ResourceIds.h"
#include "rsslink/FeedLinkForms.h"
#include "sitefiles/CLumRssFileListDlg.h"

#include <memory>

namespace {

// The host's file kinds for its open-file chooser, and its product folder
// of data files.
constexpr int kPictureFileKind = 2;
constexpr int kRssFileKind = 23;
constexpr int kProductDataFolder = 54;
constexpr int kSampleRssIcons = 0;

constexpr int kIconFileGroup[] = {IDC_RSS_LINK_ICON_FILE, IDC_RSS_LINK_BROWSE_ICON,
                                  IDC_RSS_LINK_SAMPLE_ICON, IDC_RSS_LINK_ICON_FILE_LABEL};

}  // namespace

BEGIN_MESSAGE_MAP(CLumRssInsertLinkDlg, CDialog)
ON_BN_CLICKED(IDC_RSS_LINK_PICK_SITE_RSS, &CLumRssInsertLinkDlg::OnPickSiteRss)
ON_BN_CLICKED(IDC_RSS_LINK_BROWSE_RSS, &CLumRssInsertLinkDlg::OnBrowseRss)
ON_BN_CLICKED(IDC_RSS_LINK_ICON_FROM_FILE, &CLumRssInsertLinkDlg::OnChooseIconFromFile)
ON_BN_CLICKED(IDC_RSS_LINK_DEFAULT_ICON, &CLumRssInsertLinkDlg::OnChooseDefaultIcon)
ON_BN_CLICKED(IDC_RSS_LINK_BROWSE_ICON, &CLumRssInsertLinkDlg::OnBrowseIcon)
ON_BN_CLICKED(IDC_RSS_LINK_SAMPLE_ICON, &CLumRssInsertLinkDlg::OnSampleIcon)
ON_BN_CLICKED(IDC_RSS_LINK_INCLUDE_ICON, &CLumRssInsertLinkDlg::OnIncludeIcon)
ON_BN_CLICKED(IDC_RSS_LINK_INCLUDE_TEXT, &CLumRssInsertLinkDlg::OnIncludeText)
ON_BN_CLICKED(IDC_RSS_LINK_AUTO_DISCOVERY, &CLumRssInsertLinkDlg::OnAutoDiscovery)
ON_EN_CHANGE(IDC_RSS_LINK_FILE, &CLumRssInsertLinkDlg::OnFieldChange)
ON_EN_CHANGE(IDC_RSS_LINK_ICON_FILE, &CLumRssInsertLinkDlg::OnFieldChange)
ON_EN_CHANGE(IDC_RSS_LINK_TEXT, &CLumRssInsertLinkDlg::OnFieldChange)
END_MESSAGE_MAP()

CLumRssInsertLinkDlg::CLumRssInsertLinkDlg(PageEditIF* page, COrvHTMLDocUtil* docUtil,
                                           CWnd* pParent)
    : CDialog(IDD_RSS_INSERT_LINK, pParent), m_pDocUtil(docUtil), m_pPage(page) {}

void CLumRssInsertLinkDlg::presetForEdit(const CString& rssFile, const CString& iconFile,
                                         bool defaultIcon, const CString& linkText) {
    m_strRssFile = rssFile;
    readAutoDiscovery();
    if (defaultIcon) {
        m_nDefaultIcon = 1;
        m_bIncludeIcon = 1;
    } else if (!iconFile.IsEmpty()) {
        m_nDefaultIcon = 0;
        m_bIncludeIcon = 1;
        m_strIconFile = iconFile;
    } else {
        m_bIncludeIcon = 0;
    }
    if (!linkText.IsEmpty()) {
        m_bIncludeText = 1;
        m_strLinkText = linkText;
    }
}

void CLumRssInsertLinkDlg::readAutoDiscovery() {
    m_bAutoDiscovery =
        m_pPage != nullptr && newsdesk::rsslink::pageHasFeedLink(*m_pPage, m_strRssFile) ? 1 : 0;
}

void CLumRssInsertLinkDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_RSS_LINK_INCLUDE_TEXT, m_bIncludeText);
    DDX_Check(pDX, IDC_RSS_LINK_INCLUDE_ICON, m_bIncludeIcon);
    DDX_Text(pDX, IDC_RSS_LINK_FILE, m_strRssFile);
    DDX_Text(pDX, IDC_RSS_LINK_ICON_FILE, m_strIconFile);
    DDX_Text(pDX, IDC_RSS_LINK_TEXT, m_strLinkText);
    DDX_Check(pDX, IDC_RSS_LINK_AUTO_DISCOVERY, m_bAutoDiscovery);
}

BOOL CLumRssInsertLinkDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!m_strRssFile.IsEmpty()) {
        CString title;
        title.LoadString(IDS_RSS_EDIT_LINK_TITLE);
        SetWindowText(title);
    }
    enable(IDC_RSS_LINK_DEFAULT_ICON, m_bIncludeIcon != 0);
    enable(IDC_RSS_LINK_ICON_FROM_FILE, m_bIncludeIcon != 0);
    CheckDlgButton(IDC_RSS_LINK_DEFAULT_ICON, m_nDefaultIcon == 1 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_RSS_LINK_ICON_FROM_FILE, m_nDefaultIcon == 0 ? BST_CHECKED : BST_UNCHECKED);
    updateIconControls(m_nDefaultIcon);
    enable(IDC_RSS_LINK_TEXT, m_bIncludeText != 0);
    enable(IDC_RSS_LINK_TEXT_LABEL, m_bIncludeText != 0);
    updateOk();
    return FALSE;
}

void CLumRssInsertLinkDlg::enable(int id, bool on) {
    if (CWnd* control = GetDlgItem(id)) {
        control->EnableWindow(on ? TRUE : FALSE);
    }
}

void CLumRssInsertLinkDlg::updateOk() {
    bool ok = !m_strRssFile.IsEmpty() &&
              !(m_bIncludeIcon != 0 && m_nDefaultIcon == 0 && m_strIconFile.IsEmpty()) &&
              !(m_bIncludeText != 0 && m_strLinkText.IsEmpty());
    enable(IDOK, ok);
}

void CLumRssInsertLinkDlg::updateIconControls(int defaultIcon) {
    bool on = m_bIncludeIcon != 0 && defaultIcon == 0;
    for (int id : kIconFileGroup) {
        enable(id, on);
    }
}

void CLumRssInsertLinkDlg::OnFieldChange() {
    UpdateData(TRUE);
    updateOk();
}

void CLumRssInsertLinkDlg::OnIncludeIcon() {
    UpdateData(TRUE);
    enable(IDC_RSS_LINK_DEFAULT_ICON, m_bIncludeIcon != 0);
    enable(IDC_RSS_LINK_ICON_FROM_FILE, m_bIncludeIcon != 0);
    updateIconControls(m_nDefaultIcon);
    updateOk();
}

void CLumRssInsertLinkDlg::OnChooseDefaultIcon() {
    UpdateData(TRUE);
    m_nDefaultIcon = 1;
    updateIconControls(m_nDefaultIcon);
    updateOk();
}

void CLumRssInsertLinkDlg::OnChooseIconFromFile() {
    UpdateData(TRUE);
    m_nDefaultIcon = 0;
    updateIconControls(m_nDefaultIcon);
    updateOk();
}

void CLumRssInsertLinkDlg::OnIncludeText() {
    UpdateData(TRUE);
    enable(IDC_RSS_LINK_TEXT, m_bIncludeText != 0);
    enable(IDC_RSS_LINK_TEXT_LABEL, m_bIncludeText != 0);
    updateOk();
}

void CLumRssInsertLinkDlg::OnAutoDiscovery() {
    UpdateData(TRUE);
    updateOk();
}

void CLumRssInsertLinkDlg::OnPickSiteRss() {
    UpdateData(TRUE);
    auto list = std::make_unique<CLumRssFileListDlg>(1, nullptr);
    if (list->DoModal() == IDOK) {
        m_strRssFile = list->m_strSelectedPath;
        readAutoDiscovery();
        m_strRssFile = CLumUrlString(m_strRssFile, true).getURL();
        UpdateData(FALSE);
    }
    updateOk();
}

void CLumRssInsertLinkDlg::OnBrowseRss() {
    UpdateData(TRUE);
    if (m_pPage == nullptr) {
        return;
    }
    CString path = m_pPage->queryOpenFile(kRssFileKind, 0, CString(), this);
    if (path.IsEmpty()) {
        return;
    }
    m_strRssFile = CLumUrlString(path, true).getURL();
    UpdateData(FALSE);
    updateOk();
}

void CLumRssInsertLinkDlg::OnBrowseIcon() {
    UpdateData(TRUE);
    if (m_pPage == nullptr) {
        return;
    }
    CString path = m_pPage->queryOpenFile(kPictureFileKind, 0, CString(), this);
    if (path.IsEmpty()) {
        return;
    }
    CString url = CLumUrlString(path, true).getURL();
    CString prepared;
    // Only whether the picture loads matters here: a picture that does not
    // is still named by the plain URL of the file the user chose.
    std::unique_ptr<pixImage> picture(newsdesk::prepareImage(url, prepared));
    m_strIconFile = picture ? prepared : url;
    UpdateData(FALSE);
    updateOk();
}

void CLumRssInsertLinkDlg::OnSampleIcon() {
    UpdateData(TRUE);
    if (m_pDocUtil == nullptr) {
        return;
    }
    CString path = m_pDocUtil->GetSampleFile(kSampleRssIcons, this);
    if (path.IsEmpty()) {
        return;
    }
    m_strIconFile = CLumUrlString(path, true).getURL();
    UpdateData(FALSE);
    updateOk();
}

void CLumRssInsertLinkDlg::OnOK() {
    UpdateData(TRUE);
    if (m_nDefaultIcon == 1) {
        CString folder = CKmxCommon::getProductFolder(kProductDataFolder, 0);
        if (!folder.IsEmpty()) {
            m_strIconFile = CLumUrlString(folder + u"rss_icon.gif", true).getURL();
            UpdateData(FALSE);
        } else {
            m_strIconFile.Empty();
        }
    }
    EndDialog(IDOK);
}

void CLumRssInsertLinkDlg::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (!newsdesk::editor::showEditorHelp(dwData, nCmd)) {
        CDialog::WinHelp(dwData, nCmd);
    }
}
