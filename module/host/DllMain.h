// The module's entry function for loader notifications.
#pragma once

#include "win32/windows.h"

namespace newsdesk {

// Process attach initialises the extension-module record, hands the window
// system the module's compiled resources and puts the module on the
// framework's resource chain; FALSE when the record cannot be initialised.
// Process detach terminates the record and withdraws the resources. Thread
// notifications do nothing.
BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

}  // namespace newsdesk
