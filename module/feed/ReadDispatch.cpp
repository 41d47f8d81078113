#include "feed/FeedReaders.h"

#include "hostapp/CLumRdfXmlData.h"
#include "hostapp/CLumRssXmlData.h"
#include "hostapp/CXMLSitemapUtil.h"
#include "hostapp/XmlFile.h"

namespace newsdesk {

namespace {

// The root element of a loaded document, or a null handle.
Element rootOf(const CLumRssAbstract& xml) {
    return xml.IsOK() && xml.Document ? xml.Document->getDocumentElement() : Element();
}

}  // namespace

int detectRssFormat(const CString& path) {
    CLumRssXmlData xml(path, nullptr);
    if (!xml.IsOK()) {
        return kFormatUnreadable;
    }
    Element root = rootOf(xml);
    if (!root || root.getTagName().CompareNoCase(u"rss") != 0) {
        return kFormatRss10;
    }
    return root.getAttribute(u"xmlns:itunes").IsEmpty() ? kFormatRss20 : kFormatPodcast;
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

CTime readRssFileDate(const CString& path) {
    // Each step as the reader readRssFile picks takes it; every failure
    // leaves the date of a reset channel.
    auto root = lum::xml::peekRootElement(path);
    CString text;
    if (!root) {
        return CTime();
    }
    if (root->name.CompareNoCase(u"rss") == 0) {
        // RSS 2.0 and podcast feeds date their channel alike.
        CLumRssXmlData xml(path, nullptr);
        Node channel = xml.getChannelNode();
        if (!channel) {
            return CTime();
        }
        xml.getPubDate(channel, text);
        return channelDate(text);
    }
    if (root->name.CompareNoCase(u"rdf:RDF") == 0) {
        CLumRdfXmlData xml(path, nullptr);
        Node channel = xml.getChannelNode();
        if (!xml.IsOK() || !xml.getRdfNode() || !channel) {
            return CTime();
        }
        xml.getPubDate(channel, text);
        return channelDate(text);
    }
    return CTime();
}

std::int32_t itemDate(const CString& text) {
    CTime time(0);
    if (!CXMLSitemapUtil::getOleDateTimeFromString(text, time, false)) {
        return 0;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(time.GetTime()));
}

CTime channelDate(const CString& text) {
    CTime time(0);
    CXMLSitemapUtil::getOleDateTimeFromString(text, time, false);
    return time;
}

}  // namespace newsdesk
