// The category dialog of RSS 2.0 feeds: one free category name, appended to
// the caller's vector on OK unless a category of that name is there already.
#pragma once

#include "hostapp/records/CRSSCategory.h"
#include "mfc/CDialog.h"
#include "mfc/CString.h"

#include <vector>

class CLumRssCategoryDlg : public CDialog {
  public:
    CLumRssCategoryDlg(std::vector<CRSSCategory>& categories, CWnd* pParent);

    CString m_strName;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override;

    void OnNameChange();
    void updateOkButton();

    std::vector<CRSSCategory>* m_pCategories;

    DECLARE_MESSAGE_MAP()
};
