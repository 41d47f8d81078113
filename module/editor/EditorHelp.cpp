#include "editor/EditorHelp.h"

#include "hostapp/ui/CLumHelp.h"
#include "mfc/CWinApp.h"
#include "mfc/CWnd.h"

namespace newsdesk::editor {

bool showEditorHelp(DWORD_PTR dwData, UINT nCmd) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return false;
    }
    // A help call without the resource base (a command id) is passed as it
    // came rather than wrapped round to a huge topic number.
    DWORD_PTR id = dwData >= HID_BASE_RESOURCE ? dwData - HID_BASE_RESOURCE : dwData;
    CLumHelp help(app->m_pszHelpFilePath, nullptr);
    help.showHelp(id, nCmd);
    return true;
}

}  // namespace newsdesk::editor
