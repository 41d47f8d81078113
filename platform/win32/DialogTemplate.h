// Dialog templates in their binary forms (DLGTEMPLATE and DLGTEMPLATEEX),
// parsed into plain structs before any window is created.
#pragma once

#include "win32/windows.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace nd::win32 {

// A name that is either a text or a 16-bit ordinal (0xFFFF prefix).
struct NameOrOrdinal {
    std::u16string text;
    WORD ordinal = 0;
    bool isOrdinal = false;
};

struct DialogItemTemplate {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
    DWORD id = 0;
    std::u16string className;  // predefined atoms resolved to their names
    NameOrOrdinal title;
    std::vector<BYTE> creationData;
};

struct DialogTemplate {
    bool extended = false;
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;  // empty: the dialog class
    std::u16string title;
    bool hasFont = false;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::u16string typeface;
    std::vector<DialogItemTemplate> items;
};

// nullopt when the bytes are not a well-formed template (truncated, a text
// without its terminator, an item count the bytes cannot hold).
std::optional<DialogTemplate> parseDialogTemplate(const void* data, size_t size);

// Dialog base units for a template's font: horizontal and vertical pixels per
// 4 and 8 dialog units.
struct BaseUnits {
    int x = 6;
    int y = 13;
};
BaseUnits baseUnitsFor(const DialogTemplate& dialog);

}  // namespace nd::win32
