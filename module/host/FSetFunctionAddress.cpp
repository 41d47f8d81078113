// The module's only export: hands the seven entry points to the application.
#include "host/Entries.h"
#include "hostapp/records/FunctionTable.h"

namespace {
constexpr int kRequiredKind = 1;
constexpr int kOldestRefusedRevision = 140;
}  // namespace

extern "C" __attribute__((visibility("default"))) int FSetFunctionAddress(void* table, void*,
                                                                          int kind, int revision) {
    // The order of the checks is part of the contract: a caller with the wrong
    // kind learns that first, even when it also passed no table.
    if (kind != kRequiredKind) {
        return 1;
    }
    if (table == nullptr) {
        return 2;
    }
    if (revision <= kOldestRefusedRevision) {
        return 3;
    }
    using namespace lum;
    writeSlot<RssFileListEntryFn>(table, slot::RssFileList, &newsdesk::RssFileListEntry);
    writeSlot<InsertRssLinkEntryFn>(table, slot::InsertRssLink, &newsdesk::InsertRssLinkEntry);
    writeSlot<EditRssFileEntryFn>(table, slot::EditRssFile, &newsdesk::EditRssFileEntry);
    writeSlot<GetRssFormatEntryFn>(table, slot::GetRssFormat, &newsdesk::GetRssFormatEntry);
    writeSlot<ReadRssFileEntryFn>(table, slot::ReadRssFile, &newsdesk::ReadRssFileEntry);
    writeSlot<RewriteRssFileEntryFn>(table, slot::RewriteRssFile, &newsdesk::RewriteRssFileEntry);
    writeSlot<RssWelcomeEntryFn>(table, slot::RssWelcome, &newsdesk::RssWelcomeEntry);
    return 0;
}
