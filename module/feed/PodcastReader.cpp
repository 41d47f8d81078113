#include "feed/FeedReaders.h"
#include "feed/HeldFields.h"
#include "feed/TextFunctions.h"

#include "hostapp/feedxml/CLumiTuneXmlData.h"

#include <utility>

namespace newsdesk {

namespace {

bool isYes(const CString& text) {
    return text.CompareNoCase(u"yes") == 0;
}

}  // namespace

int readPodcastFile(const CString& path, CRSSChannel* channel) {
    CLumiTuneXmlData xml(path, nullptr);
    if (!xml.IsOK()) {
        return 0;
    }
    Node channelNode = xml.getChannelNode();
    if (!channelNode) {
        return 0;
    }
    channel->m_filePath = path;

    CString text;
    readTitleAndLink(xml, channelNode, channel->m_title, channel->m_link, channel->m_kept);
    if (!xml.getSummary(channelNode, text)) {
        xml.getDescription(channelNode, text);
    }
    channel->m_description = text;
    xml.getLanguage(channelNode, channel->m_language);
    xml.getCopyright(channelNode, text);
    channel->m_copyright = xmlUnescape(std::move(text));
    xml.getTtl(channelNode, text);
    channel->m_ttl = wtoi(text);
    xml.getImage(channelNode, channel->m_image);
    xml.getPubDate(channelNode, text);
    RecordDate date = readRecordDate(text);
    channel->m_pubDate = CTime(date.time);
    channel->m_pubDateText = date.keptText;
    xml.getSubTitle(channelNode, text);
    channel->m_subTitle = xmlUnescape(std::move(text));
    xml.getArtist(channelNode, text);
    channel->m_author = xmlUnescape(std::move(text));
    xml.getName(channelNode, text);
    channel->m_ownerName = xmlUnescape(std::move(text));
    xml.getEMail(channelNode, text);
    channel->m_ownerEmail = xmlUnescape(std::move(text));
    xml.getBlock(channelNode, text);
    channel->m_block = isYes(text);
    channel->m_encoding = xml.getEncoding();
    channel->m_repaired = xml.getRepairs();

    NodeArray categories;
    xml.getCategoryNodeArray(channelNode, categories);
    for (const Node& node : categories) {
        CRSSCategory category;
        xml.getCategory(node, text);
        category.m_category = xmlUnescape(std::move(text));
        NodeArray subcategories;
        xml.getCategoryNodeArray(node, subcategories);
        if (!subcategories.empty()) {
            xml.getCategory(subcategories[0], text);
            category.m_subCategory = xmlUnescape(std::move(text));
        }
        channel->m_categories.push_back(category);
    }
    xml.getChannelKept(channelNode, channel->m_kept);
    settlePodcastChannel(*channel);

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
        xml.getTitle(itemNode, text);
        item.m_title = xmlUnescape(std::move(text));
        if (!xml.getSummary(itemNode, text)) {
            xml.getDescription(itemNode, text);
        }
        item.m_description = text;
        xml.getArtist(itemNode, text);
        item.m_artist = xmlUnescape(std::move(text));
        xml.getSubTitle(itemNode, text);
        item.m_subTitle = xmlUnescape(std::move(text));
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
        xml.getKeywords(itemNode, text);
        item.m_keywords = xmlUnescape(std::move(text));
        xml.getDuration(itemNode, text);
        item.m_duration = parseDuration(text);
        xml.getBlock(itemNode, text);
        item.m_block = isYes(text);
        xml.getItemKept(itemNode, item.m_kept);
        settlePodcastItem(item);
        channel->addItem(std::move(item));
    }
    channel->m_format = kFormatPodcast;
    return 1;
}

}  // namespace newsdesk
