// The module's entry function for loader notifications.
#pragma once

#include "win32/windows.h"

namespace newsdesk {

// Process attach initialises the extension-module record and registers the
// module's resources; FALSE when the record cannot be initialised. Process
// detach terminates the record. Thread notifications do nothing.
BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

}  // namespace newsdesk
