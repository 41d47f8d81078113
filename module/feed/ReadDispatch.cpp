#include "feed/FeedReaders.h"

#include "hostapp/feedxml/XmlFile.h"
#include "hostapp/text/CXMLSitemapUtil.h"

namespace newsdesk {

int detectRssFormat(const CString& path) {
    // An empty path would make the accessor a new, empty document rather
    // than a file that failed to load.
    if (path.IsEmpty()) {
        return kFormatUnreadable;
    }
    // The answer the RSS 2.0 accessor's tree would give, from one streaming
    // pass: a large feed is never held in memory just to name its format.
    int format = kFormatRss10;
    bool loads = lum::xml::scanFile(path, [&](const Element& root) {
        format = root.getTagName().CompareNoCase(u"rss") != 0   ? kFormatRss10
                 : root.getAttribute(u"xmlns:itunes").IsEmpty() ? kFormatRss20
                                                                : kFormatPodcast;
    });
    return loads ? format : kFormatUnreadable;
}

int readRssFile(const CString& path, CRSSChannel* channel) {
    if (channel == nullptr) {
        return 0;
    }
    channel->resetData();
    // Only the root decides, and every reader parses the whole file again and
    // fails on a malformed one; so the start of the file is enough here, and a
    // large feed is parsed once instead of twice.
    auto root = lum::xml::peekRootElement(path);
    if (!root) {
        return 0;
    }
    if (root->name.CompareNoCase(u"rss") == 0) {
        return root->attribute(u"xmlns:itunes").IsEmpty() ? readRss2File(path, channel)
                                                          : readPodcastFile(path, channel);
    }
    if (root->name.CompareNoCase(u"rdf:RDF") == 0) {
        return readRdfFile(path, channel);
    }
    return 0;
}

RecordDate readRecordDate(const CString& text) {
    // A day of margin on either side: any zone's local year stays in range.
    constexpr std::int64_t kEarliest = -62167219200 + 86400;  // 0000-01-02
    constexpr std::int64_t kLatest = 253402214400 - 1;        // 9999-12-30 23:59:59
    RecordDate date;
    CTime time(0);
    if (CXMLSitemapUtil::getOleDateTimeFromString(text, time, false) && time.GetTime() != 0 &&
        time.GetTime() >= kEarliest && time.GetTime() <= kLatest) {
        date.time = time.GetTime();
        return date;
    }
    CString trimmed = text;
    trimmed.Trim();
    if (!trimmed.IsEmpty()) {
        date.keptText = text;
    }
    return date;
}

}  // namespace newsdesk
