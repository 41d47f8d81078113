// The podcast writer: RSS 2.0 with the iTunes tags.
#include "feed/FeedWriters.h"
#include "feed/RewriteFeedLinks.h"
#include "feed/TextFunctions.h"
#include "feed/WrittenFields.h"
#include "hostapp/feedxml/CLumiTuneXmlData.h"
#include "hostapp/feedxml/KeptNamespaces.h"

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

// "01:02:05"; the hours are not limited to two digits.
CString durationText(int seconds) {
    CString text;
    text.Format(u"%02d:%02d:%02d", seconds / 3600, (seconds % 3600) / 60, (seconds % 3600) % 60);
    return text;
}

}  // namespace

std::unique_ptr<CLumRssAbstract> buildPodcastDocument(const CString& path,
                                                      const CRSSChannel* channel,
                                                      lum::xml::ItemByItemComparison* comparing) {
    if (channel == nullptr) {
        return nullptr;
    }
    lum::keptDropsOfLastWrite().clear();
    auto owner = std::make_unique<CLumiTuneXmlData>(CString(), channel->m_encoding);
    CLumiTuneXmlData& document = *owner;
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
    if (channel->m_ttl > 0) {
        document.setTtl(node, decimal(channel->m_ttl));
    }
    if (!channel->m_image.IsEmpty()) {
        document.setImage(node, channel->m_image);
    }
    if (!channel->m_description.IsEmpty()) {
        document.setSummary(node, channel->m_description);
    }
    if (!channel->m_author.IsEmpty()) {
        document.setArtist(node, xmlEscape(channel->m_author));
    }
    if (!channel->m_subTitle.IsEmpty()) {
        document.setSubTitle(node, xmlEscape(channel->m_subTitle));
    }
    if (!channel->m_ownerName.IsEmpty() || !channel->m_ownerEmail.IsEmpty()) {
        Node owner = document.createOwnerNode(node);
        if (!channel->m_ownerName.IsEmpty()) {
            document.setName(owner, xmlEscape(channel->m_ownerName));
        }
        if (!channel->m_ownerEmail.IsEmpty()) {
            document.setEMail(owner, xmlEscape(channel->m_ownerEmail));
        }
    }
    for (const CRSSCategory& category : channel->getCategory()) {
        if (!category.m_category.IsEmpty()) {
            document.setCategory(node, xmlEscape(category.m_category),
                                 xmlEscape(category.m_subCategory));
        }
    }
    if (channel->m_block) {
        document.setBlock(node, u"yes");
    }
    // No RSS 2.0 image is written here, so an image's own parts have no place.
    lum::putKeptMarkup(node.raw(), nullptr, channel->m_kept, 2);
    // A channel date the feed had is kept, since this format's writer writes
    // none; it still tells the record's date, which an edit moves on.
    if (Node date = CLumRssAbstract::findChild(node, {"pubDate"})) {
        if (CString text = channel->getModifiedTimeStr(); !text.IsEmpty()) {
            date.setTextContent(text);
            // What the kept date held beside its text is gone, and with it
            // the use of its own namespace declarations: read again, it
            // would not carry them.
            lum::tidyNamespaces(date.raw(), xmlDocGetRootElement(date.raw()->doc), 2);
        }
    }
    for (const CRSSItem& item : channel->m_items) {
        Node itemNode = document.createItemNode(node);
        document.setTitle(itemNode, xmlEscape(item.m_title));
        if (!item.m_artist.IsEmpty()) {
            document.setArtist(itemNode, xmlEscape(item.m_artist));
        }
        if (!item.m_subTitle.IsEmpty()) {
            document.setSubTitle(itemNode, xmlEscape(item.m_subTitle));
        }
        if (!item.m_description.IsEmpty()) {
            document.setSummary(itemNode, item.m_description);
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
        if (item.m_duration > 0) {
            document.setDuration(itemNode, durationText(item.m_duration));
        }
        if (!item.m_keywords.IsEmpty()) {
            document.setKeywords(itemNode, xmlEscape(item.m_keywords));
        }
        if (item.m_block) {
            document.setBlock(itemNode, u"yes");
        }
        lum::putKeptMarkup(itemNode.raw(), nullptr, item.m_kept, 2);
        if (comparing != nullptr && !comparing->take(itemNode.raw())) {
            return nullptr;
        }
    }
    lum::orderKeptDeclarations(xmlDocGetRootElement(node.raw()->doc),
                               comparing != nullptr ? &comparing->goneItemUses() : nullptr);
    rewriteFeedLinks(path, document, 2);
    return owner;
}

int writePodcastFile(const CString& path, const CRSSChannel* channel) {
    auto document = buildPodcastDocument(path, channel);
    return document && document->lumSxdSaveXmlData(path) ? 1 : 0;
}

}  // namespace newsdesk
