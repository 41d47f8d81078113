// The application's function table: a block of function pointers addressed by
// byte offset, owned by the application. Feature modules write their entry
// points into it through their exported FSetFunctionAddress.
#pragma once

#include "mfc/CString.h"
#include "win32/windows.h"

#include <array>
#include <cstddef>
#include <cstring>

class CWnd;
class CRSSChannel;
class PageEditIF;
class CLumRssFileConfigDlg;
class CLumRssBeginaviPage;

namespace lum {

// Entry points of the RSS module, as the application calls them.
using RssFileListEntryFn = void (*)();
using InsertRssLinkEntryFn = void (*)(PageEditIF* page);
using EditRssFileEntryFn = bool (*)(CWnd* parent, CString& path, bool report,
                                    CLumRssFileConfigDlg** dialog);
using GetRssFormatEntryFn = void (*)(CString& path, int* format);
using ReadRssFileEntryFn = int (*)(CString& path, CRSSChannel* channel);
// Leaves the outcome in the thread's last error (GetLastError): ERROR_SUCCESS
// when the file holds the channel afterwards, else why the save failed.
using RewriteRssFileEntryFn = void (*)(CString& path, CRSSChannel* channel);
using RssWelcomeEntryFn = bool (*)(void* reserved, CLumRssBeginaviPage** dialog, HICON icon);

// Byte offsets of the RSS module's slots.
namespace slot {
constexpr std::size_t RssFileList = 0x460;
constexpr std::size_t InsertRssLink = 0x468;
constexpr std::size_t EditRssFile = 0x4c8;
constexpr std::size_t GetRssFormat = 0x4e0;
constexpr std::size_t ReadRssFile = 0x500;
constexpr std::size_t RewriteRssFile = 0x508;
constexpr std::size_t RssWelcome = 0x840;
}  // namespace slot

struct RssSlot {
    std::size_t offset;
    const char* entryName;
};

// The seven slots in the order the module writes them.
inline constexpr std::array<RssSlot, 7> kRssSlots = {{
    {slot::RssFileList, "RssFileListEntry"},
    {slot::InsertRssLink, "InsertRssLinkEntry"},
    {slot::EditRssFile, "EditRssFileEntry"},
    {slot::GetRssFormat, "GetRssFormatEntry"},
    {slot::ReadRssFile, "ReadRssFileEntry"},
    {slot::RewriteRssFile, "RewriteRssFileEntry"},
    {slot::RssWelcome, "RssWelcomeEntry"},
}};

// The table's revision as this application builds it. Modules refuse 140 and below.
constexpr int kFunctionTableRevision = 150;

// Size of the table in bytes: room beyond the highest slot for the
// application's other entries.
constexpr std::size_t kFunctionTableSize = 0x1000;

// Reads and writes of pointer slots by byte offset. memcpy keeps them free of
// alignment and aliasing assumptions about the block.
template <typename Fn>
Fn readSlot(const void* table, std::size_t offset) {
    Fn fn = nullptr;
    std::memcpy(&fn, static_cast<const unsigned char*>(table) + offset, sizeof fn);
    return fn;
}

template <typename Fn>
void writeSlot(void* table, std::size_t offset, Fn fn) {
    std::memcpy(static_cast<unsigned char*>(table) + offset, &fn, sizeof fn);
}

}  // namespace lum

// The module's export: C linkage, the only symbol a feature module shows.
using FSetFunctionAddressFn = int (*)(void* table, void* reserved, int kind, int revision);
