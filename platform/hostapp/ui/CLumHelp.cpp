#include "hostapp/ui/CLumHelp.h"

#include "win32/HtmlHelp.h"

CLumHelp::CLumHelp(LPCWSTR helpFile, HWND owner)
    : m_file(helpFile ? helpFile : u""), m_owner(owner) {}

BOOL CLumHelp::showHelp(DWORD_PTR id, UINT command) {
    if (m_file.IsEmpty()) {
        return FALSE;
    }
    switch (command) {
        case HELP_CONTEXT:
            HtmlHelpW(m_owner, m_file.GetString(), HH_HELP_CONTEXT, id);
            break;
        case HELP_QUIT:
            HtmlHelpW(nullptr, nullptr, HH_CLOSE_ALL, 0);
            break;
        default:
            HtmlHelpW(m_owner, m_file.GetString(), HH_DISPLAY_TOC, 0);
            break;
    }
    return TRUE;
}
