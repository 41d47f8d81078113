// Asks for the name and folder of a new feed file of the open site.
#pragma once

#include "mfc/CDialog.h"
#include "mfc/CString.h"

class CLumRssNewFileDlg : public CDialog {
  public:
    // refuseExisting non-zero: OK refuses a path where a file already is.
    CLumRssNewFileDlg(int refuseExisting, CWnd* pParent);

    void setFolder(const CString& folder);
    // The folder (given a trailing backslash) followed by the name.
    CString getPath();

    CString m_strFileName;
    CString m_strFolder;
    int m_bRefuseExisting;

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override;
    void OnBrowse();
    void OnFieldChange();
    DECLARE_MESSAGE_MAP()

  private:
    void updateOk();
    void focusOn(int id);
};
