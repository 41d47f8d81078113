// Asks for a feed file's new name; its folder stays.
#pragma once

#include "mfc/CDialog.h"
#include "mfc/CString.h"

class CLumRssRenameFileDlg : public CDialog {
  public:
    explicit CLumRssRenameFileDlg(CWnd* pParent);

    void setFolder(const CString& folder);
    // The folder (given a trailing backslash) followed by the name.
    CString getPath();

    CString m_strFileName;
    CString m_strFolder;

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override;
    void OnNameChange();
    DECLARE_MESSAGE_MAP()

  private:
    void updateOk();
};
