// The host's help: the topic of a dialog in the application's help file,
// shown through HTML Help (win32/HtmlHelp.h).
#pragma once

#include "mfc/CString.h"
#include "win32/windows.h"

class CLumHelp {
  public:
    explicit CLumHelp(LPCWSTR helpFile, HWND owner = nullptr);

    // id is a dialog's template id (the framework's help id less 0x20000),
    // command the framework's help command: HELP_CONTEXT shows that dialog's
    // topic, HELP_QUIT closes the help, anything else shows the contents.
    // FALSE when there is no help file to show.
    BOOL showHelp(DWORD_PTR id, UINT command);

  private:
    CString m_file;
    HWND m_owner;
};
