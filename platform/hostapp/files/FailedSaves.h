// Feed files a module's command could not save. The command has shown its
// own message; the application collects them to tell the user where it runs
// without windows (the host program prints them).
#pragma once

#include "mfc/CString.h"
#include "win32/windows.h"

#include <vector>

namespace lum {

struct FailedSave {
    CString path;
    DWORD error = 0;  // the thread's last error when the save failed
};

void reportFailedSave(const CString& path, DWORD error);
// The saves reported since the last call, oldest first; the list is emptied.
std::vector<FailedSave> takeFailedSaves();

}  // namespace lum
