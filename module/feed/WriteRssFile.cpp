#include "feed/FeedWriters.h"

namespace newsdesk {

int writeRssFile(const CString& path, const CRSSChannel* channel) {
    switch (channel ? channel->m_format : -1) {
        case 0:
            return writeRdfFile(path, channel);
        case 1:
            return writeRss2File(path, channel);
        case 2:
            return writePodcastFile(path, channel);
        default:
            return 0;
    }
}

}  // namespace newsdesk
