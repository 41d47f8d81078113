// RewriteRssFileEntry: writes a channel back to its file for the
// application, leaving a file whose content would not change untouched.
#include "feed/FeedReaders.h"
#include "feed/FeedWriters.h"
#include "host/Entries.h"
#include "hostapp/CRSSChannel.h"
#include "hostapp/PathUtil.h"
#include "win32/FileApi.h"

#include <memory>

namespace newsdesk {

void RewriteRssFileEntry(CString& path, CRSSChannel* channel) {
    if (channel == nullptr) {
        return;
    }
    if (!is_file(path)) {
        writeRssFile(path, channel);
        return;
    }
    auto stored = std::make_unique<CRSSChannel>();
    readRssFile(path, stored.get());
    channel->m_keptTime = stored->m_pubDate;
    bool useKeptTime = channel->m_useKeptTime;
    channel->m_useKeptTime = true;

    // The stored file steps aside while a trial copy, dated as the stored
    // one, is written in its place; equal bytes mean nothing would change.
    CString aside = LumTempFile::makeUniquePath(getBaseName(path), getBasePath(path), 0, CString());
    bool movedAside = !aside.IsEmpty() && MoveFileW(path, aside);
    int written = writeRssFile(path, channel);
    if (!movedAside) {
        return;
    }
    if (!written || !is_file(path)) {
        // Nothing new was written (an unknown format, a failed save): the
        // stored file goes back, never deleted.
        MoveFileExW(aside, path, MOVEFILE_REPLACE_EXISTING);
        return;
    }
    if (cmp_file(path, aside)) {
        // One rename puts the old bytes and time stamps back over the trial copy.
        MoveFileExW(aside, path, MOVEFILE_REPLACE_EXISTING);
        return;
    }
    channel->m_useKeptTime = useKeptTime;
    if (writeRssFile(path, channel)) {
        DeleteFileW(aside);
    } else {
        MoveFileExW(aside, path, MOVEFILE_REPLACE_EXISTING);
    }
}

}  // namespace newsdesk
