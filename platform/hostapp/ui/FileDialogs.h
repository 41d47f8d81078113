// The host's file and folder choosers. Each asks the UI driver
// (win32/UiDriver.h) for the path the user picks.
#pragma once

#include "mfc/CString.h"
#include "mfc/CWnd.h"

class SiteIF;

class CLumOpenFileDialog {
  public:
    // The chosen file's full path, empty when the user cancels. `kind` is the
    // host's file-type number (2 pictures, 23 RSS files, 24 media ...).
    static CString GetOpenFile(int kind, SiteIF* site, const CString& initialName, CWnd* parent);
};

class CLumFileDialog {
  public:
    // bOpenFileDialog 0 makes a save dialog.
    CLumFileDialog(BOOL bOpenFileDialog, int fileType, LPCWSTR defaultExt = nullptr,
                   DWORD flags = 0, CWnd* parent = nullptr, SiteIF* site = nullptr);
    void setmysif(SiteIF* site) { m_site = site; }
    // IDOK with a path, IDCANCEL when the user cancels.
    INT_PTR DoModal(int mode = 0, LPCWSTR initialDir = nullptr, LPCWSTR initialName = nullptr);
    CString GetPathName() const { return m_path; }

  private:
    BOOL m_open;
    int m_fileType;
    CWnd* m_parent;
    SiteIF* m_site;
    CString m_path;
};

class CLumDirDlg {
  public:
    CLumDirDlg(LPCWSTR initialDir, LPCWSTR title = nullptr, int kind = 0);
    // IDOK with a folder, IDCANCEL when the user cancels.
    INT_PTR ShowDialog(CWnd* parent = nullptr);
    CString GetDirPath() const { return m_path; }

  private:
    CString m_initialDir;
    CString m_title;
    int m_kind;
    CString m_path;
};
