#include "sitefiles/CLumRssRenameFileDlg.h"

#include "editor/EditorHelp.h"
#include "hostapp/files/PathUtil.h"
#include "hostapp/ui/LumMessageBox.h"
#include "mfc/CDataExchange.h"
#include "res/ResourceIds.h"
#include "sitefiles/NameChecks.h"

BEGIN_MESSAGE_MAP(CLumRssRenameFileDlg, CDialog)
ON_EN_CHANGE(IDC_RSS_FILE_NAME, &CLumRssRenameFileDlg::OnNameChange)
END_MESSAGE_MAP()

CLumRssRenameFileDlg::CLumRssRenameFileDlg(CWnd* pParent) : CDialog(IDD_RSS_RENAME_FILE, pParent) {}

void CLumRssRenameFileDlg::setFolder(const CString& folder) {
    m_strFolder = folder;
    addLastYenMark(m_strFolder);
}

CString CLumRssRenameFileDlg::getPath() {
    addLastYenMark(m_strFolder);
    return m_strFolder + m_strFileName;
}

void CLumRssRenameFileDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_RSS_FILE_NAME, m_strFileName);
    DDX_Text(pDX, IDC_RSS_FOLDER, m_strFolder);
}

BOOL CLumRssRenameFileDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    updateOk();
    return TRUE;
}

void CLumRssRenameFileDlg::updateOk() {
    if (CWnd* ok = GetDlgItem(IDOK)) {
        ok->EnableWindow(!m_strFileName.IsEmpty() && !m_strFolder.IsEmpty());
    }
}

void CLumRssRenameFileDlg::OnNameChange() {
    UpdateData(TRUE);
    updateOk();
    UpdateData(FALSE);
}

void CLumRssRenameFileDlg::OnOK() {
    UpdateData(TRUE);
    auto problem = newsdesk::sitefiles::checkFeedName(m_strFolder, m_strFileName, true);
    if (problem != newsdesk::sitefiles::NameProblem::None) {
        lum::afxMessageBox(newsdesk::sitefiles::messageFor(problem), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(IDOK);
}

void CLumRssRenameFileDlg::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (!newsdesk::editor::showEditorHelp(dwData, nCmd)) {
        CDialog::WinHelp(dwData, nCmd);
    }
}
