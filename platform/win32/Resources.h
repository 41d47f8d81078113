// Resources of loaded modules. A module hands the window system its compiled
// resource file (the standard 32-bit .res layout a resource compiler writes);
// dialogs, strings and bitmaps are then found by module handle, type and
// name as on the system.
#pragma once

#include "win32/windows.h"

#include <cstddef>

namespace nd::win32 {

// data = a compiled .res file in the standard 32-bit binary format (as windres
// writes it); the bytes are copied. false when not well-formed (nothing is
// registered then). Registering a module again replaces its resources.
bool registerModuleResources(HMODULE module, const void* data, size_t size);
// Adds a further resource file to a module, searched with its own; a later
// registerModuleResources leaves it in place. Adding the same bytes again
// changes nothing. unregisterModuleResources drops both.
bool addModuleResources(HMODULE module, const void* data, size_t size);
void unregisterModuleResources(HMODULE module);

// true when `p` points into the bytes of a registered resource; `remaining`
// is then the number of bytes from p to the end of that resource.
bool resourceBytesAfter(const void* p, size_t& remaining);

inline const LPCWSTR RT_BITMAP_NAME = MAKEINTRESOURCEW(2);
inline const LPCWSTR RT_DIALOG_NAME = MAKEINTRESOURCEW(5);
inline const LPCWSTR RT_STRING_NAME = MAKEINTRESOURCEW(6);

}  // namespace nd::win32

#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)
#define RT_VERSION MAKEINTRESOURCEW(16)

// A null module is the program's own (GetModuleHandleW(nullptr)).
// Names and types are ordinals (MAKEINTRESOURCE) or texts compared without case;
// "#123" is the ordinal 123. The first language found is used.
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL data);
// The string's length; with size 0 the buffer receives a read-only pointer to
// the (unterminated) text. 0 when there is no such string.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size);
// A device-independent bitmap resource as a bitmap object; null when missing
// or not a bitmap the loader can read (1, 4, 8, 16, 24 or 32 bits, uncompressed).
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);
