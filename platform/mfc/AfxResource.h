// Finding resources through the framework: the modules on the resource chain
// in order, then the application's own resource module.
#pragma once

#include "win32/windows.h"

// The module whose resources hold (name, type): the first on the chain that
// has it, else the application's resource module (which may be null).
HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type);
// The application's own resource module; null until one is set.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE instance);
HINSTANCE AfxGetInstanceHandle();
