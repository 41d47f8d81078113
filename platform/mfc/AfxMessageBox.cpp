#include "mfc/AfxMessageBox.h"

#include "mfc/CString.h"
#include "mfc/CWinApp.h"
#include "win32/UiDriver.h"
#include "win32/Window.h"

namespace {

int show(const CString& text, UINT type, UINT stringId) {
    nd::win32::MessageBoxRequest request;
    request.owner = GetActiveWindow();
    request.text = text.str();
    CWinApp* app = AfxGetApp();
    request.caption = app && app->m_pszAppName ? app->m_pszAppName : u"";
    request.style = type;
    request.stringId = stringId;
    return nd::win32::showMessageBox(request);
}

}  // namespace

int AfxMessageBox(LPCWSTR text, UINT type, UINT) {
    return show(CString(text), type, 0);
}

int AfxMessageBox(UINT id, UINT type, UINT) {
    CString text;
    text.LoadString(id);
    return show(text, type, id);
}
