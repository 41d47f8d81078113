// Loaded modules. A module's handle is the base address at which the loader
// mapped it, as on Windows.
#pragma once

#include "win32/windows.h"

namespace nd::win32 {

// The handle of the module (shared object or program) that holds the address;
// null when no loaded module does.
HMODULE moduleHandleFor(const void* address);

}  // namespace nd::win32

// Only the program's own handle (name null) is answered; null otherwise.
HMODULE GetModuleHandleW(LPCWSTR name);

// The module's file as a Windows path; 0 on failure, else the length copied.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);
