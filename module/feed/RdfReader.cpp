#include "feed/FeedReaders.h"
#include "feed/HeldFields.h"
#include "feed/TextFunctions.h"

#include "hostapp/feedxml/CLumRdfXmlData.h"
#include "hostapp/urls/UrlUtil.h"

#include <utility>

namespace newsdesk {

int readRdfFile(const CString& path, CRSSChannel* channel) {
    CLumRdfXmlData xml(path, nullptr);
    if (!xml.IsOK()) {
        return 0;
    }
    Node root = xml.getRdfNode();
    Node channelNode = xml.getChannelNode();
    if (!root || !channelNode) {
        return 0;
    }
    channel->m_filePath = path;

    CString text;
    readTitleAndLink(xml, channelNode, channel->m_title, channel->m_link, channel->m_kept);
    xml.getDescription(channelNode, channel->m_description);
    xml.getCreator(channelNode, text);
    channel->m_author = xmlUnescape(std::move(text));
    xml.getCopyright(channelNode, text);
    channel->m_copyright = xmlUnescape(std::move(text));
    // The image description of RSS 1.0 stands beside the channel.
    xml.getImage(root, channel->m_image);
    xml.getPubDate(channelNode, text);
    RecordDate date = readRecordDate(text);
    channel->m_pubDate = CTime(date.time);
    channel->m_pubDateText = date.keptText;
    channel->m_encoding = xml.getEncoding();
    channel->m_repaired = xml.getRepairs();
    // The channel's own URI. A path of this machine, as saves outside a site
    // once wrote there, names no place a reader could go.
    xml.getAbout(channelNode, text);
    channel->m_about = isDrivePath(text) ? CString() : text;
    xml.getChannelKept(channelNode, channel->m_kept);
    settleRdfChannel(*channel);

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
        xml.getCreator(itemNode, text);
        item.m_author = xmlUnescape(std::move(text));
        xml.getPubDate(itemNode, text);
        RecordDate itemDate = readRecordDate(text);
        item.m_pubDate = itemDate.time;
        item.m_pubDateText = itemDate.keptText;
        xml.getItemKept(itemNode, item.m_kept);
        settleRdfItem(item);
        channel->addItem(std::move(item));
    }
    channel->m_format = kFormatRss10;
    return 1;
}

}  // namespace newsdesk
