#include "feed/FeedReaders.h"

#include "hostapp/feedxml/CLumRdfXmlData.h"
#include "hostapp/feedxml/CLumRssXmlData.h"
#include "hostapp/feedxml/XmlFile.h"

namespace newsdesk {

CTime readChannelDate(const CString& path) {
    // The dispatch and the readers' own tests, in their order; the podcast
    // accessor finds the channel and its date as the RSS 2.0 one does.
    auto root = lum::xml::peekRootElement(path);
    if (!root) {
        return CTime();
    }
    CString text;
    if (root->name.CompareNoCase(u"rss") == 0) {
        // A large feed is passed over once, never held as a tree.
        if (!CLumRssXmlData::readChannelPubDate(path, text)) {
            return CTime();
        }
    } else if (root->name.CompareNoCase(u"rdf:RDF") == 0) {
        CLumRdfXmlData xml(path, nullptr);
        if (!xml.IsOK() || !xml.getRdfNode() || !xml.getChannelNode()) {
            return CTime();
        }
        xml.getPubDate(xml.getChannelNode(), text);
    } else {
        return CTime();
    }
    return CTime(readRecordDate(text).time);
}

}  // namespace newsdesk
