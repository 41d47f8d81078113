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

std::unique_ptr<CLumRssAbstract> buildRssDocument(const CString& path, const CRSSChannel* channel) {
    switch (channel ? channel->m_format : -1) {
        case 0:
            return buildRdfDocument(path, channel);
        case 1:
            return buildRss2Document(path, channel);
        case 2:
            return buildPodcastDocument(path, channel);
        default:
            return nullptr;
    }
}

}  // namespace newsdesk
