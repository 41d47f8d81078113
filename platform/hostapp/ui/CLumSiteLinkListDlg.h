// Lists the pages that link to files about to be renamed or deleted, so the
// user sees what will be revised before saying OK.
#pragma once

#include "hostapp/site/CLumSiteDDNode.h"
#include "mfc/CDialog.h"

class CLumSiteLinkListDlg : public CDialog {
  public:
    // mode 1: the files are to be deleted.
    CLumSiteLinkListDlg(CWnd* owner, int mode);
    void SetList(CLumSiteDDList* nodes) { m_pNodes = nodes; }
    BOOL OnInitDialog() override;

  private:
    int m_mode;
    CLumSiteDDList* m_pNodes = nullptr;
};
