// Failed file operations (a rename, a deletion): the system's reason as one
// phrase a person can act on, and the record of what a module's command
// could not do. The command has shown its own message; the application
// collects them to tell the user where it runs without windows (the host
// program prints them and exits with status 1).
#pragma once

#include "mfc/CString.h"
#include "win32/windows.h"

#include <string>
#include <vector>

namespace lum {

// "no such folder", "permission denied" ... for the thread's last error.
std::string fileErrorReason(DWORD error);

struct FailedFileOperation {
    std::string message;  // one line: what was not done and why
};

void reportFailedFileOperation(std::string message);
// The failures reported since the last call, oldest first; the list is emptied.
std::vector<FailedFileOperation> takeFailedFileOperations();

}  // namespace lum
