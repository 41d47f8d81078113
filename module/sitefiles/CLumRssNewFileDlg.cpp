#include "sitefiles/CLumRssNewFileDlg.h"

#include "editor/EditorHelp.h"
#include "hostapp/files/CLumTktUtil.h"
#include "hostapp/files/PathUtil.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/ui/FileDialogs.h"
#include "hostapp/ui/LumMessageBox.h"
#include "mfc/CDataExchange.h"
#include "res/ResourceIds.h"
#include "sitefiles/NameChecks.h"

namespace {

// The remembered start folder of the chooser of site folders.
constexpr int kSiteFolderKind = 1;

}  // namespace

BEGIN_MESSAGE_MAP(CLumRssNewFileDlg, CDialog)
ON_BN_CLICKED(IDC_RSS_BROWSE_FOLDER, &CLumRssNewFileDlg::OnBrowse)
ON_EN_CHANGE(IDC_RSS_FILE_NAME, &CLumRssNewFileDlg::OnFieldChange)
ON_EN_CHANGE(IDC_RSS_FOLDER, &CLumRssNewFileDlg::OnFieldChange)
END_MESSAGE_MAP()

CLumRssNewFileDlg::CLumRssNewFileDlg(int refuseExisting, CWnd* pParent)
    : CDialog(IDD_RSS_NEW_FILE, pParent), m_bRefuseExisting(refuseExisting) {
    getPath();
    SITE_INFO info;
    if (LumSiteMgr::getCurrentSiteInfo(info)) {
        m_strFolder = info.rootFolder;
    }
}

void CLumRssNewFileDlg::setFolder(const CString& folder) {
    m_strFolder = folder;
    addLastYenMark(m_strFolder);
}

CString CLumRssNewFileDlg::getPath() {
    addLastYenMark(m_strFolder);
    return m_strFolder + m_strFileName;
}

void CLumRssNewFileDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_RSS_FILE_NAME, m_strFileName);
    DDX_Text(pDX, IDC_RSS_FOLDER, m_strFolder);
}

BOOL CLumRssNewFileDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    updateOk();
    return TRUE;
}

void CLumRssNewFileDlg::updateOk() {
    if (CWnd* ok = GetDlgItem(IDOK)) {
        ok->EnableWindow(!m_strFileName.IsEmpty() && !m_strFolder.IsEmpty());
    }
}

void CLumRssNewFileDlg::OnFieldChange() {
    UpdateData(TRUE);
    updateOk();
    UpdateData(FALSE);
}

void CLumRssNewFileDlg::focusOn(int id) {
    if (CWnd* control = GetDlgItem(id)) {
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->GetSafeHwnd()), TRUE);
    }
}

void CLumRssNewFileDlg::OnBrowse() {
    CString remembered = LumSiteMgr::getInitDir(kSiteFolderKind, false);
    LumSiteMgr::setInitDir(m_strFolder, kSiteFolderKind, false);
    CLumDirDlg chooser(remembered.GetString(), nullptr, 1);
    if (chooser.ShowDialog(this) != IDOK) {
        return;
    }
    m_strFolder = chooser.GetDirPath();
    if (!hasEndYenMark(m_strFolder)) {
        addLastYenMark(m_strFolder);
    }
    UpdateData(FALSE);
    LumSiteMgr::setInitDir(remembered, kSiteFolderKind, false);
    updateOk();
}

void CLumRssNewFileDlg::OnOK() {
    UpdateData(TRUE);
    CString path = getPath();
    if (CLumTktUtil::whatKindOfFile(path, false) != CLumTktUtil::kRssFile &&
        lum::afxMessageBox(IDS_RSS_UNUSUAL_EXTENSION, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
        focusOn(IDC_RSS_FILE_NAME);
        return;
    }
    auto problem =
        newsdesk::sitefiles::checkFeedName(m_strFolder, m_strFileName, m_bRefuseExisting != 0);
    if (problem != newsdesk::sitefiles::NameProblem::None) {
        lum::afxMessageBox(newsdesk::sitefiles::messageFor(problem), MB_OK | MB_ICONEXCLAMATION);
        focusOn(problem == newsdesk::sitefiles::NameProblem::OutsideSite ? IDC_RSS_FOLDER
                                                                         : IDC_RSS_FILE_NAME);
        return;
    }
    EndDialog(IDOK);
}

void CLumRssNewFileDlg::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (!newsdesk::editor::showEditorHelp(dwData, nCmd)) {
        CDialog::WinHelp(dwData, nCmd);
    }
}
