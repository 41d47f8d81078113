#include "feed/FeedWriters.h"
#include "feed/RewriteFeedLinks.h"

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

std::optional<bool> writesSameFile(const CString& path, const CString& file,
                                   const CRSSChannel* channel) {
    int format = channel != nullptr ? channel->m_format : -1;
    // Links a site rewrites change items after they are built; RSS 1.0
    // lists its items in the channel, before them, once they are all in.
    if ((format == 1 || format == 2) && !rewritesFeedLinks(path)) {
        lum::xml::ItemByItemComparison comparing(file, channel->m_encoding);
        if (comparing.taking()) {
            auto document = format == 1 ? buildRss2Document(path, channel, &comparing)
                                        : buildPodcastDocument(path, channel, &comparing);
            xmlDoc* built = document && document->Document ? document->Document->raw() : nullptr;
            if (auto same = comparing.same(built)) {
                return same;
            }
        }
    }
    auto document = buildRssDocument(path, channel);
    if (!document) {
        return std::nullopt;
    }
    return document->savesSameBytes(file);
}

}  // namespace newsdesk
