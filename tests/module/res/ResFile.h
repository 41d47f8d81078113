// A reader of the standard 32-bit .res format and of the resources the module
// keeps in it (DIALOGEX templates, string tables, device-independent
// bitmaps), written independently of the window system so that the tests can
// check what the resource compiler produced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace restest {

// A resource type, name or control class/text: a number or a string.
struct NameOrId {
    bool isId = false;
    std::uint16_t id = 0;
    std::u16string name;
};

struct ResEntry {
    NameOrId type;
    NameOrId name;
    std::uint16_t language = 0;
    std::span<const std::byte> data;
};

struct DialogItem {
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::int32_t id = 0;
    NameOrId
        windowClass;  // atoms 0x80..0x85 for Button, Edit, Static, ListBox, ScrollBar, ComboBox
    NameOrId text;
};

struct DialogTemplate {
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    int cx = 0, cy = 0;
    std::u16string caption;
    int pointSize = 0;
    std::u16string typeface;
    std::vector<DialogItem> items;
};

struct BitmapInfo {
    int width = 0;
    int height = 0;  // negative for top-down rows
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::span<const std::byte> bits;  // rows follow the header and any colour table
};

// Every entry of the file except the leading empty one; nullopt when the
// headers run past the end or are malformed.
std::optional<std::vector<ResEntry>> parseResFile(std::span<const std::byte> file);

const ResEntry* findResource(const std::vector<ResEntry>& entries, std::uint16_t type,
                             std::uint16_t id);

std::optional<DialogTemplate> parseDialogEx(std::span<const std::byte> data);
// The string with the id from the table blocks; nullopt when it has none.
std::optional<std::u16string> findString(const std::vector<ResEntry>& entries, std::uint16_t id);
std::optional<BitmapInfo> parseBitmap(std::span<const std::byte> data);

// The class of an item as a name ("Button", "SysListView32", ...).
std::u16string className(const NameOrId& windowClass);

}  // namespace restest
