#include "mfc/CWinApp.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp(LPCWSTR appName) {
    if (appName) {
        SetAppName(appName);
    }
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    m_helpRequests.emplace_back(dwData, nCmd);
}

void CWinApp::SetHelpFilePath(const CString& path) {
    m_helpFilePath = path;
    m_pszHelpFilePath = m_helpFilePath.GetString();
}

void CWinApp::SetAppName(const CString& name) {
    m_appName = name;
    m_pszAppName = m_appName.GetString();
}

CWinApp* AfxGetApp() {
    return g_app;
}
