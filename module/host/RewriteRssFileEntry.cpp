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
    // Only its date is needed; a large feed's items go before the writes.
    stored.reset();
    bool useKeptTime = channel->m_useKeptTime;
    channel->m_useKeptTime = true;

    // The stored file keeps a second name while a trial copy, dated as the
    // stored one, is written in its place; equal bytes mean nothing would
    // change. With a link the feed is never missing from its path, not even
    // when the process dies meanwhile; where links cannot be made, the file
    // is moved aside instead. The writes go to the path, which places the
    // feed in the site; a feed reached through a symbolic link is kept aside
    // and put back where it lies, so that the symbolic link stays one.
    const CString file = LumGetFinalPathName(path);
    CString aside = LumTempFile::makeUniquePath(getBaseName(file), getBasePath(file), 0, CString());
    bool linked = !aside.IsEmpty() && CreateHardLinkW(aside, file, nullptr);
    bool movedAside = !linked && !aside.IsEmpty() && MoveFileW(file, aside);
    int written = writeRssFile(path, channel);
    if (!linked && !movedAside) {
        return;
    }
    // Puts the stored file back, its bytes and time stamps as they were.
    auto restore = [&] { MoveFileExW(aside, file, MOVEFILE_REPLACE_EXISTING); };
    if (!written) {
        // Nothing new was written (an unknown format, a failed save): the
        // stored file stays, never deleted.
        if (linked) {
            DeleteFileW(aside);
        } else {
            restore();
        }
        return;
    }
    if (cmp_file(file, aside)) {
        restore();
        return;
    }
    channel->m_useKeptTime = useKeptTime;
    if (writeRssFile(path, channel)) {
        DeleteFileW(aside);
    } else {
        restore();
    }
}

}  // namespace newsdesk
