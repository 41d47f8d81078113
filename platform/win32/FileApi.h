// File functions of the system, on Windows paths. Every path goes through the
// drive mapping of PathMapping.h; a path that maps to nothing fails with
// ERROR_PATH_NOT_FOUND. Failures set the thread's last error.
#pragma once

#include "win32/windows.h"

DWORD GetLastError();
void SetLastError(DWORD error);

// INVALID_FILE_ATTRIBUTES when nothing is at the path.
DWORD GetFileAttributesW(LPCWSTR path);

// Fails when the target exists (as on Windows); MOVEFILE_REPLACE_EXISTING
// replaces a file atomically.
BOOL MoveFileW(LPCWSTR from, LPCWSTR to);
BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags);
BOOL DeleteFileW(LPCWSTR path);
BOOL CopyFileW(LPCWSTR from, LPCWSTR to, BOOL failIfExists);
// A second name for an existing file; fails when newLink exists.
BOOL CreateHardLinkW(LPCWSTR newLink, LPCWSTR existing, void* securityAttributes);
BOOL CreateDirectoryW(LPCWSTR path, void* securityAttributes);
BOOL RemoveDirectoryW(LPCWSTR path);

namespace nd::win32 {

// The Windows error code for an errno value.
DWORD errorFromErrno(int err);

}  // namespace nd::win32
