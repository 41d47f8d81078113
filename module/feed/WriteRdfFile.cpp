// The RSS 1.0 writer.
#include "feed/FeedWriters.h"
#include "feed/RewriteFeedLinks.h"
#include "feed/TextFunctions.h"
#include "feed/WrittenFields.h"
#include "hostapp/feedxml/CLumRdfXmlData.h"
#include "hostapp/site/CLumUrlManSiteAdapter.h"

#include <memory>
#include <vector>

namespace newsdesk {

std::unique_ptr<CLumRssAbstract> buildRdfDocument(const CString& path, const CRSSChannel* channel) {
    if (channel == nullptr) {
        return nullptr;
    }
    lum::keptDropsOfLastWrite().clear();
    auto owner = std::make_unique<CLumRdfXmlData>(CString(), channel->m_encoding);
    CLumRdfXmlData& document = *owner;
    Node root = document.createRdfNode();
    // Inside a site the file's path becomes its public URL when links are
    // rewritten; outside one it is no address at all, so the channel keeps
    // the URI the feed had, or takes its link.
    CString about = channel->m_filePath;
    if (!CLumUrlManSiteAdapter().inSite(path)) {
        about = !channel->m_about.IsEmpty() ? channel->m_about : channel->m_link;
    }
    Node node = root ? document.createChannelNode(about) : Node();
    if (!root || !node) {
        return nullptr;
    }
    if (writesField(channel->m_title, channel->m_kept, "title")) {
        document.setTitle(node, xmlEscape(channel->m_title));
    }
    if (writesField(channel->m_link, channel->m_kept, "link")) {
        document.setLink(node, channel->m_link);
    }
    document.setDescription(node, channel->m_description);
    if (!channel->m_image.IsEmpty()) {
        document.setImage(node, channel->m_image);
        document.setImage(root, xmlEscape(channel->m_title), channel->m_link, channel->m_image);
    }
    if (!channel->m_author.IsEmpty()) {
        document.setCreator(node, xmlEscape(channel->m_author));
    }
    if (!channel->m_copyright.IsEmpty()) {
        document.setCopyright(node, xmlEscape(channel->m_copyright));
    }
    if (CString date = channel->getModifiedTimeStr(); !date.IsEmpty()) {
        document.setPubDate(node, date);
    }
    std::vector<CString> links;
    for (const CRSSItem& item : channel->m_items) {
        Node itemNode = document.createItemNode(item.m_link);
        links.push_back(item.m_link);
        if (writesField(item.m_title, item.m_kept, "title")) {
            document.setTitle(itemNode, xmlEscape(item.m_title));
        }
        if (writesField(item.m_link, item.m_kept, "link")) {
            document.setLink(itemNode, item.m_link);
        }
        document.setDescription(itemNode, item.m_description);
        if (!item.m_author.IsEmpty()) {
            document.setCreator(itemNode, xmlEscape(item.m_author));
        }
        if (CString date = item.getModifiedTimeStr(); !date.IsEmpty()) {
            document.setPubDate(itemNode, date);
        }
        lum::putKeptMarkup(itemNode.raw(), nullptr, item.m_kept, 0);
    }
    document.setItemSeq(node, links);
    // The channel's kept elements after its item sequence; those that stood
    // beside the channel after the items.
    lum::putKeptMarkup(node.raw(), CLumRssAbstract::findChild(root, {"image"}).raw(),
                       channel->m_kept, 0);
    lum::orderKeptDeclarations(xmlDocGetRootElement(node.raw()->doc));
    rewriteFeedLinks(path, document, 0);
    document.encodeResources();
    return owner;
}

int writeRdfFile(const CString& path, const CRSSChannel* channel) {
    auto document = buildRdfDocument(path, channel);
    return document && document->lumSxdSaveXmlData(path) ? 1 : 0;
}

}  // namespace newsdesk
