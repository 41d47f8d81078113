#include "feed/FeedReaders.h"
#include "feed/HeldFields.h"
#include "feed/TextFunctions.h"

#include "hostapp/feedxml/CLumRssXmlData.h"

#include <utility>

namespace newsdesk {

int readRss2File(const CString& path, CRSSChannel* channel) {
    CLumRssXmlData xml(path, nullptr);
    Node channelNode = xml.getChannelNode();
    if (!channelNode) {
        return 0;
    }
    channel->m_filePath = path;

    CString text;
    readTitleAndLink(xml, channelNode, channel->m_title, channel->m_link, channel->m_kept);
    xml.getDescription(channelNode, channel->m_description);
    xml.getLanguage(channelNode, channel->m_language);
    xml.getCopyright(channelNode, text);
    channel->m_copyright = xmlUnescape(std::move(text));
    xml.getTtl(channelNode, text);
    channel->m_ttl = wtoi(text);
    xml.getImage(channelNode, channel->m_image);
    // The image links to the channel's link; an empty one stays as it was.
    Node imageLink = channel->m_link.IsEmpty()
                         ? CLumRssAbstract::findChild(
                               CLumRssAbstract::findChild(channelNode, {"image"}), {"link"})
                         : Node();
    if (imageLink && imageLink.getTextContent().IsEmpty()) {
        channel->m_kept.noteHeldEmpty("image link");
    }
    xml.getPubDate(channelNode, text);
    RecordDate date = readRecordDate(text);
    channel->m_pubDate = CTime(date.time);
    channel->m_pubDateText = date.keptText;
    channel->m_encoding = xml.getEncoding();
    channel->m_repaired = xml.getRepairs();

    NodeArray nodes;
    xml.getCategoryNodeArray(channelNode, nodes);
    for (const Node& node : nodes) {
        CRSSCategory category;
        xml.getCategory(node, category.m_category);
        xml.getCategoryKept(node, category.m_kept);
        channel->m_categories.push_back(category);
    }
    xml.getChannelKept(channelNode, channel->m_kept);
    settleRss2Channel(*channel);

    NodeArray items;
    xml.getItemNodeArray(items);
    // Grown one item at a time, the list would hold up to twice its items
    // while it moves them.
    channel->m_items.reserve(channel->m_items.size() + items.size());
    for (const Node& itemNode : items) {
        if (!itemNode) {
            continue;
        }
        CRSSItem item;
        readTitleAndLink(xml, itemNode, item.m_title, item.m_link, item.m_kept);
        xml.getDescription(itemNode, item.m_description);
        xml.getAuthor(itemNode, text);
        item.m_author = xmlUnescape(std::move(text));
        xml.getComments(itemNode, item.m_comments);

        NodeArray enclosures;
        xml.getEnclosureNodeArray(itemNode, enclosures);
        if (!enclosures.empty()) {
            xml.getEnclosureUrl(enclosures[0], item.m_enclosureUrl);
            xml.getEnclosureLength(enclosures[0], text);
            item.m_enclosureLength = text.IsEmpty() ? 0 : wtoi64(text);
            xml.getEnclosureType(enclosures[0], item.m_enclosureType);
        }

        xml.getPubDate(itemNode, text);
        RecordDate itemDate = readRecordDate(text);
        item.m_pubDate = itemDate.time;
        item.m_pubDateText = itemDate.keptText;

        NodeArray categories;
        xml.getCategoryNodeArray(itemNode, categories);
        for (const Node& node : categories) {
            CRSSCategory category;
            xml.getCategory(node, category.m_category);
            xml.getCategoryKept(node, category.m_kept);
            item.addCategory(category);
        }
        xml.getItemKept(itemNode, item.m_kept);
        settleRss2Item(item);
        channel->addItem(std::move(item));
    }
    channel->m_format = kFormatRss20;
    return 1;
}

}  // namespace newsdesk
