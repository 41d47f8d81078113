// RewriteRssFileEntry: writes a channel back to its file for the
// application, leaving a file whose content would not change untouched.
#include "feed/FeedReaders.h"
#include "feed/FeedWriters.h"
#include "host/Entries.h"
#include "hostapp/CRSSChannel.h"
#include "hostapp/PathUtil.h"

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
    // Only the stored feed's date is needed, not its items.
    channel->m_keptTime = readRssFileDate(path);
    bool useKeptTime = channel->m_useKeptTime;
    channel->m_useKeptTime = true;

    // The feed, dated as the stored one, is built and compared with the
    // stored file as it is serialised; equal bytes mean nothing would change
    // and the file is left as it is. Nothing is written for the comparison,
    // so the stored feed never leaves its path, and a feed reached through a
    // symbolic link is compared and replaced where it lies.
    auto trial = buildRssDocument(path, channel);
    if (!trial) {
        // Nothing new would be written (an unknown format, a document that
        // could not be built): the stored file stays.
        return;
    }
    if (trial->savesSameBytes(path)) {
        return;
    }
    trial.reset();
    channel->m_useKeptTime = useKeptTime;
    // A failed save leaves the stored file exactly as it was.
    writeRssFile(path, channel);
}

}  // namespace newsdesk
