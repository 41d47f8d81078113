// Feed files a module's command could not save. The command has shown its
// own message; the application collects the paths to tell the user where
// it runs without windows (the host program prints them).
#pragma once

#include "mfc/CString.h"

#include <vector>

namespace lum {

void reportFailedSave(const CString& path);
// The paths reported since the last call, oldest first; the list is emptied.
std::vector<CString> takeFailedSaves();

}  // namespace lum
