// The RSS 2.0 writer.
#include "feed/FeedWriters.h"
#include "feed/RewriteFeedLinks.h"
#include "feed/TextFunctions.h"
#include "feed/WrittenFields.h"
#include "hostapp/feedxml/CLumRssXmlData.h"

#include <cstdint>
#include <memory>
#include <string>

namespace newsdesk {

namespace {

// Plain digits, as "%d" gives them, without the cost of Format for every item.
CString decimal(std::int64_t value) {
    std::string digits = std::to_string(value);
    return CString(std::u16string(digits.begin(), digits.end()));
}

}  // namespace

std::unique_ptr<CLumRssAbstract> buildRss2Document(const CString& path, const CRSSChannel* channel,
                                                   lum::xml::ItemByItemComparison* comparing) {
    if (channel == nullptr) {
        return nullptr;
    }
    lum::keptDropsOfLastWrite().clear();
    auto owner = std::make_unique<CLumRssXmlData>(CString(), channel->m_encoding);
    CLumRssXmlData& document = *owner;
    Node node = document.createChannelNode();
    if (!node) {
        return nullptr;
    }
    if (writesField(channel->m_title, channel->m_kept, "title")) {
        document.setTitle(node, xmlEscape(channel->m_title));
    }
    if (writesField(channel->m_link, channel->m_kept, "link")) {
        document.setLink(node, channel->m_link);
    }
    document.setDescription(node, channel->m_description);
    if (!channel->m_language.IsEmpty()) {
        document.setLanguage(node, channel->m_language);
    }
    if (!channel->m_copyright.IsEmpty()) {
        document.setCopyright(node, xmlEscape(channel->m_copyright));
    }
    if (CString date = channel->getModifiedTimeStr(); !date.IsEmpty()) {
        document.setPubDate(node, date);
    }
    if (channel->m_ttl > 0) {
        document.setTtl(node, decimal(channel->m_ttl));
    }
    if (!channel->m_image.IsEmpty()) {
        document.setImage(node, channel->m_image, channel->m_title, channel->m_link);
        if (channel->m_link.IsEmpty() && channel->m_kept.heldEmpty("image link")) {
            xmlNewChild(CLumRssAbstract::findChild(node, {"image"}).raw(), nullptr,
                        reinterpret_cast<const xmlChar*>("link"), nullptr);
        }
    }
    for (const CRSSCategory& category : channel->getCategory()) {
        if (!category.m_category.IsEmpty()) {
            document.setCategory(node, category.m_category);
            lum::putKeptMarkup(xmlGetLastChild(node.raw()), nullptr, category.m_kept, 1);
        }
    }
    // What the feed carried beyond the record goes after the channel's own
    // elements, before the items.
    lum::putKeptMarkup(node.raw(), CLumRssAbstract::findChild(node, {"image"}).raw(),
                       channel->m_kept, 1);
    for (const CRSSItem& item : channel->m_items) {
        Node itemNode = document.createItemNode(node);
        document.setTitle(itemNode, xmlEscape(item.m_title));
        if (writesField(item.m_link, item.m_kept, "link")) {
            document.setLink(itemNode, item.m_link);
        }
        document.setDescription(itemNode, item.m_description);
        if (isEmailAddress(item.m_author)) {
            document.setAuthor(itemNode, xmlEscape(item.m_author));
        } else if (!item.m_author.IsEmpty()) {
            document.setCreator(itemNode, xmlEscape(item.m_author));
        }
        if (!item.m_comments.IsEmpty()) {
            document.setComments(itemNode, item.m_comments);
        }
        if (CString date = item.getModifiedTimeStr(); !date.IsEmpty()) {
            document.setPubDate(itemNode, date);
        }
        if (!item.m_enclosureUrl.IsEmpty()) {
            document.setEnclosure(itemNode, item.m_enclosureUrl, decimal(item.m_enclosureLength),
                                  enclosureTypeOf(item));
        }
        for (const CRSSCategory& category : item.m_categories) {
            if (!category.m_category.IsEmpty()) {
                document.setCategory(itemNode, category.m_category);
                lum::putKeptMarkup(xmlGetLastChild(itemNode.raw()), nullptr, category.m_kept, 1);
            }
        }
        lum::putKeptMarkup(itemNode.raw(), nullptr, item.m_kept, 1);
        if (comparing != nullptr && !comparing->take(itemNode.raw())) {
            return nullptr;
        }
    }
    lum::orderKeptDeclarations(xmlDocGetRootElement(node.raw()->doc),
                               comparing != nullptr ? &comparing->goneItemUses() : nullptr);
    rewriteFeedLinks(path, document, 1);
    return owner;
}

int writeRss2File(const CString& path, const CRSSChannel* channel) {
    auto document = buildRss2Document(path, channel);
    // A failed save leaves the old file as it was; say so rather than claim it.
    return document && document->lumSxdSaveXmlData(path) ? 1 : 0;
}

}  // namespace newsdesk
