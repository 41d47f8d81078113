// Help for the editor's dialogs and pages. Each of them overrides the
// framework's help call and hands it here first.
#pragma once

#include "win32/windows.h"

namespace newsdesk::editor {

// Shows the host help for a framework help call (help context 0x20000 plus
// the template id) when the application object exists, and then answers
// true; false when there is no application, so the caller lets the
// framework's own help run.
bool showEditorHelp(DWORD_PTR dwData, UINT nCmd);

}  // namespace newsdesk::editor
