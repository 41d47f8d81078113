// The shell's file operation. Only deletion is offered: the lists are paths
// each ended by a NUL, with one more NUL closing the list.
#pragma once

#include "win32/windows.h"

constexpr UINT FO_MOVE = 0x0001;
constexpr UINT FO_COPY = 0x0002;
constexpr UINT FO_DELETE = 0x0003;
constexpr UINT FO_RENAME = 0x0004;

constexpr WORD FOF_SILENT = 0x0004;
constexpr WORD FOF_NOCONFIRMATION = 0x0010;
constexpr WORD FOF_ALLOWUNDO = 0x0040;
constexpr WORD FOF_NOERRORUI = 0x0400;

struct SHFILEOPSTRUCTW {
    HWND hwnd = nullptr;
    UINT wFunc = 0;
    LPCWSTR pFrom = nullptr;
    LPCWSTR pTo = nullptr;
    WORD fFlags = 0;
    BOOL fAnyOperationsAborted = FALSE;
    void* hNameMappings = nullptr;
    LPCWSTR lpszProgressTitle = nullptr;
};

// 0 when every file of pFrom is gone; otherwise an error code, the files
// that could be deleted being deleted. Folders are not deleted. Without
// FOF_NOCONFIRMATION the operation is refused (there is nobody to ask).
int SHFileOperationW(SHFILEOPSTRUCTW* operation);
