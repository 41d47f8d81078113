#include "editor/CLumRssCategoryDlg.h"

#include "editor/EditorHelp.h"
#include "hostapp/ui/LumMessageBox.h"
#include "mfc/CDataExchange.h"
#include "res/ResourceIds.h"

#include <algorithm>

CLumRssCategoryDlg::CLumRssCategoryDlg(std::vector<CRSSCategory>& categories, CWnd* pParent)
    : CDialog(IDD_RSS_CATEGORY, pParent), m_pCategories(&categories) {}

BEGIN_MESSAGE_MAP(CLumRssCategoryDlg, CDialog)
ON_EN_CHANGE(IDC_RSS_CATEGORY_NAME, &CLumRssCategoryDlg::OnNameChange)
END_MESSAGE_MAP()

void CLumRssCategoryDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_RSS_CATEGORY_NAME, m_strName);
}

BOOL CLumRssCategoryDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    updateOkButton();
    return FALSE;
}

void CLumRssCategoryDlg::OnNameChange() {
    UpdateData(TRUE);
    updateOkButton();
    UpdateData(FALSE);
}

void CLumRssCategoryDlg::updateOkButton() {
    if (CWnd* ok = GetDlgItem(IDOK)) {
        ok->EnableWindow(!m_strName.IsEmpty());
    }
}

void CLumRssCategoryDlg::OnOK() {
    UpdateData(TRUE);
    // Names alone decide: a name is refused whatever second text the
    // category holding it has.
    bool taken = std::any_of(m_pCategories->begin(), m_pCategories->end(),
                             [&](const CRSSCategory& c) { return c.m_category == m_strName; });
    if (taken) {
        lum::afxMessageBox(IDS_RSS_CATEGORY_EXISTS, MB_OK);
        return;
    }
    CRSSCategory category;
    category.m_category = m_strName;
    m_pCategories->push_back(category);
    EndDialog(IDOK);
}

void CLumRssCategoryDlg::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (!newsdesk::editor::showEditorHelp(dwData, nCmd)) {
        CDialog::WinHelp(dwData, nCmd);
    }
}
