// The application object. The host creates one; AfxGetApp answers it (or
// null when there is none, which the module's help calls test for).
#pragma once

#include "mfc/CCmdTarget.h"
#include "mfc/CString.h"

#include <utility>
#include <vector>

class CWinApp : public CCmdTarget {
  public:
    explicit CWinApp(LPCWSTR appName = nullptr);
    ~CWinApp() override;

    LPCWSTR m_pszAppName = nullptr;
    LPCWSTR m_pszHelpFilePath = nullptr;

    // The framework's help call. This application keeps each request so the
    // host (and tests) can see what was asked.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
    const std::vector<std::pair<DWORD_PTR, UINT>>& helpRequests() const { return m_helpRequests; }

    void SetHelpFilePath(const CString& path);
    void SetAppName(const CString& name);

  private:
    CString m_appName;
    CString m_helpFilePath;
    std::vector<std::pair<DWORD_PTR, UINT>> m_helpRequests;
};

CWinApp* AfxGetApp();
