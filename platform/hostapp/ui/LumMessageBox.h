// The host's message box for texts of a module's string table.
#pragma once

#include "win32/windows.h"

namespace lum {

// Shows string `id` (found along the resource chain) with the given box type
// and answers the button the user pressed (through the UI driver).
int afxMessageBox(UINT id, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));

}  // namespace lum
