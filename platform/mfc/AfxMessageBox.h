// The framework's message boxes. They go to the UI driver (win32/UiDriver.h),
// which answers for the user; without a driver they answer 0.
#pragma once

#include "win32/windows.h"

int AfxMessageBox(LPCWSTR text, UINT type = MB_OK, UINT helpId = 0);
// The text is the string `id` from the resource chain.
int AfxMessageBox(UINT id, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));
