// Basic types and constants of the window system, as the module's code expects
// them. Wide characters are UTF-16 code units (char16_t), whatever wchar_t is
// on this machine.
#pragma once

#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using LONGLONG = std::int64_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using DWORD_PTR = std::uintptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using WCHAR = char16_t;
using TCHAR = char16_t;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPTSTR = TCHAR*;
using LPCTSTR = const TCHAR*;
using LPVOID = void*;
using LPCVOID = const void*;
using HANDLE = void*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Wide literals are UTF-16 literals here.
#define _T(x) u##x
#define L_(x) u##x

// Opaque handle types. Each is a distinct pointer type so that the compiler
// catches a window handle passed where an icon is expected.
#define ND_DECLARE_HANDLE(name) \
    struct name##__ {           \
        int unused;             \
    };                          \
    using name = name##__*
ND_DECLARE_HANDLE(HWND);
ND_DECLARE_HANDLE(HINSTANCE);
ND_DECLARE_HANDLE(HICON);
ND_DECLARE_HANDLE(HBITMAP);
ND_DECLARE_HANDLE(HBRUSH);
ND_DECLARE_HANDLE(HPEN);
ND_DECLARE_HANDLE(HFONT);
ND_DECLARE_HANDLE(HDC);
ND_DECLARE_HANDLE(HMENU);
ND_DECLARE_HANDLE(HRSRC);
ND_DECLARE_HANDLE(HGLOBAL);
ND_DECLARE_HANDLE(HKEY);
ND_DECLARE_HANDLE(HCURSOR);
#undef ND_DECLARE_HANDLE
using HMODULE = HINSTANCE;

// Dialog results.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Loader notifications passed to a module's entry function.
constexpr DWORD DLL_PROCESS_DETACH = 0;
constexpr DWORD DLL_PROCESS_ATTACH = 1;
constexpr DWORD DLL_THREAD_ATTACH = 2;
constexpr DWORD DLL_THREAD_DETACH = 3;

constexpr UINT MAX_PATH = 260;

// Error codes reported by GetLastError.
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_BAD_PATHNAME = 161;
constexpr DWORD ERROR_INVALID_DATA = 13;
constexpr DWORD ERROR_NOT_SAME_DEVICE = 17;
constexpr DWORD ERROR_WRITE_FAULT = 29;
constexpr DWORD ERROR_NOT_SUPPORTED = 50;
constexpr DWORD ERROR_FILE_TOO_LARGE = 223;

constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;

#include "win32/CommCtrl.h"  // IWYU pragma: export
#include "win32/WinUser.h"   // IWYU pragma: export
