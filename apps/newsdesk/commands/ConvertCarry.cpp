#include "commands/ConvertCarry.h"

#include "check/FeedRules.h"

#include "hostapp/feedxml/CLumItunesCategoryXmlData.h"
#include "hostapp/feedxml/CLumRdfXmlData.h"
#include "hostapp/feedxml/XmlText.h"
#include "hostapp/files/CKmxCommon.h"

#include <set>
#include <string>

namespace newsdesk::app {

namespace {

constexpr const char* kItunes = "http://www.itunes.com/dtds/podcast-1.0.dtd";
constexpr const char* kDublinCore = "http://purl.org/dc/elements/1.1/";

constexpr int kRss10 = 0;
constexpr int kPodcast = 2;

int familyOf(int format) {
    return format == kRss10 ? 0 : 1;
}

// One field into kept markup, as an element of the iTunes, Dublin Core or
// the RSS 2.0 vocabulary (nsUri null); RSS 2.0's own names have no meaning
// in RSS 1.0 and are counted instead.
class Carrier {
  public:
    Carrier(int to, lum::KeptDrops& dropped) : m_to(to), m_dropped(dropped) {}

    void plain(lum::KeptMarkup& kept, const char* name, const CString& text) {
        if (text.IsEmpty()) {
            return;
        }
        if (m_to == kRss10) {
            ++m_dropped[name];
            return;
        }
        kept.addElement(nullptr, nullptr, name, text, familyOf(m_to));
    }
    void itunes(lum::KeptMarkup& kept, const char* local, const CString& text) {
        if (!text.IsEmpty()) {
            kept.addElement(kItunes, "itunes", local, text, familyOf(m_to));
        }
    }
    void dublinCore(lum::KeptMarkup& kept, const char* local, const CString& text) {
        if (!text.IsEmpty()) {
            kept.addElement(kDublinCore, "dc", local, text, familyOf(m_to));
        }
    }
    void xml(lum::KeptMarkup& kept, const std::string& text) {
        kept.addElementXml(text, lum::KeptPlace::Host, familyOf(m_to));
    }
    // Category attributes ("domain") have a place only in RSS 2.0.
    void categoryAttributes(const std::vector<CRSSCategory>& categories) {
        if (m_to == 1) {
            return;
        }
        for (const CRSSCategory& category : categories) {
            for (const auto& attribute : category.m_kept.attributes()) {
                ++m_dropped["@" + attribute.name()];
            }
        }
    }
    void drop(const char* name, bool when) {
        if (when) {
            ++m_dropped[name];
        }
    }

  private:
    int m_to;
    lum::KeptDrops& m_dropped;
};

std::string attributeText(const CString& text) {
    return lum::xml::escapeEntities(text).toUtf8();
}

std::string itunesCategory(const CRSSCategory& category) {
    return "<itunes:category xmlns:itunes=\"" + std::string(kItunes) + "\" text=\"" +
           attributeText(category.m_category) + "\"><itunes:category text=\"" +
           attributeText(category.m_subCategory) + "\"/></itunes:category>";
}

std::string itunesOwner(const CRSSChannel& channel) {
    std::string xml = "<itunes:owner xmlns:itunes=\"" + std::string(kItunes) + "\">";
    if (!channel.m_ownerName.IsEmpty()) {
        xml += "<itunes:name>" + attributeText(channel.m_ownerName) + "</itunes:name>";
    }
    if (!channel.m_ownerEmail.IsEmpty()) {
        xml += "<itunes:email>" + attributeText(channel.m_ownerEmail) + "</itunes:email>";
    }
    return xml + "</itunes:owner>";
}

void carryChannel(CRSSChannel& channel, int from, int to, Carrier& carry) {
    lum::KeptMarkup& kept = channel.m_kept;
    carry.categoryAttributes(channel.m_categories);
    if (from == kPodcast) {
        // The podcast reader keeps the channel date that its writer never
        // writes; the other writers write it from the record.
        kept.removeElements(nullptr, "pubDate");
        // Beside a summary the reader keeps the description, which other
        // writers write from the record again.
        for (const CString& text : kept.takeElements("description")) {
            if (text != channel.m_description) {
                carry.plain(kept, "description", text);
            }
        }
        carry.itunes(kept, "subtitle", channel.m_subTitle);
        if (!channel.m_ownerName.IsEmpty() || !channel.m_ownerEmail.IsEmpty()) {
            carry.xml(kept, itunesOwner(channel));
        }
        carry.itunes(kept, "block", channel.m_block ? CString(u"yes") : CString());
        if (to != kRss10) {
            carry.itunes(kept, "author", channel.m_author);
            for (const CRSSCategory& category : channel.m_categories) {
                if (!category.m_category.IsEmpty() && !category.m_subCategory.IsEmpty()) {
                    carry.xml(kept, itunesCategory(category));
                }
            }
        }
    }
    if (from == kRss10 && to != kPodcast) {
        carry.dublinCore(kept, "creator", channel.m_author);
    }
    if (to == kPodcast) {
        carry.plain(kept, "pubDate", channel.getModifiedTimeStr());
    }
    if (to == kRss10) {
        carry.dublinCore(kept, "language", channel.m_language);
        carry.drop("ttl", channel.m_ttl > 0);
        for (const CRSSCategory& category : channel.m_categories) {
            carry.dublinCore(kept, "subject", category.m_category);
            if (from == kPodcast) {
                carry.dublinCore(kept, "subject", category.m_subCategory);
            }
        }
    }
}

// A podcast item's link, author and categories, which its reader leaves in
// the kept markup, become the record's own where the new format has them.
void promotePodcastItemFields(CRSSItem& item) {
    lum::KeptMarkup& kept = item.m_kept;
    if (item.m_link.IsEmpty()) {
        if (auto links = kept.takeElements("link"); !links.empty()) {
            item.m_link = links.front();
        }
    }
    if (item.m_author.IsEmpty()) {
        if (auto authors = kept.takeElements("author"); !authors.empty()) {
            item.m_author = authors.front();
        }
    }
    if (item.m_categories.empty()) {
        for (const CString& name : kept.takeElements("category")) {
            CRSSCategory category;
            category.m_category = name;
            item.m_categories.push_back(category);
        }
    }
}

void carryItem(CRSSItem& item, int from, int to, Carrier& carry) {
    lum::KeptMarkup& kept = item.m_kept;
    carry.categoryAttributes(item.m_categories);
    if (from == kPodcast) {
        promotePodcastItemFields(item);
        carry.itunes(kept, "author", item.m_artist);
        carry.itunes(kept, "subtitle", item.m_subTitle);
        carry.itunes(kept, "keywords", item.m_keywords);
        if (item.m_duration > 0) {
            CString text;
            text.Format(u"%02d:%02d:%02d", item.m_duration / 3600, item.m_duration % 3600 / 60,
                        item.m_duration % 60);
            carry.itunes(kept, "duration", text);
        }
        carry.itunes(kept, "block", item.m_block ? CString(u"yes") : CString());
    }
    if (to == kPodcast) {
        carry.plain(kept, "link", item.m_link);
        // RSS 2.0's author is an e-mail address; a name is a dc:creator.
        if (from == kRss10 || !check::hasForm(check::Form::Email, item.m_author.toUtf8())) {
            carry.dublinCore(kept, "creator", item.m_author);
        } else {
            carry.plain(kept, "author", item.m_author);
        }
        for (const CRSSCategory& category : item.m_categories) {
            carry.plain(kept, "category", category.m_category);
        }
    }
    if (to == kRss10) {
        carry.drop("comments", !item.m_comments.IsEmpty());
        carry.drop("enclosure", !item.m_enclosureUrl.IsEmpty());
        for (const CRSSCategory& category : item.m_categories) {
            carry.dublinCore(kept, "subject", category.m_category);
        }
    }
}

}  // namespace

void carryUnwrittenFields(CRSSChannel& channel, int from, int to, lum::KeptDrops& dropped) {
    if (from == to) {
        return;
    }
    Carrier carry(to, dropped);
    carryChannel(channel, from, to, carry);
    for (CRSSItem& item : channel.m_items) {
        carryItem(item, from, to, carry);
    }
}

int keepPlainCategories(CRSSChannel& channel) {
    // The table the category dialog offers, from the product folder.
    std::set<std::string> names;
    CLumItunesCategoryXmlData table(CKmxCommon::getProductFolder(0, 0) + u"itunescategory.xml");
    if (!table.IsOK()) {
        return 0;
    }
    NodeArray nodes;
    table.getCategoryNodeArray(table.getTopNode(), nodes);
    for (const Node& node : nodes) {
        CString name;
        if (table.getCategoryName(node, name)) {
            names.insert(name.toUtf8());
        }
    }
    int plain = 0;
    std::vector<CRSSCategory> itunes;
    for (CRSSCategory& category : channel.m_categories) {
        if (category.m_category.IsEmpty() || names.count(category.m_category.toUtf8()) != 0) {
            itunes.push_back(std::move(category));
            continue;
        }
        channel.m_kept.addElement(nullptr, nullptr, "category", category.m_category, 1);
        ++plain;
    }
    channel.m_categories = std::move(itunes);
    return plain;
}

void carryItemNames(const CString& path, CRSSChannel& channel) {
    CLumRdfXmlData xml(path, nullptr);
    NodeArray nodes;
    xml.getItemNodeArray(nodes);
    std::erase_if(nodes, [](const Node& node) { return !node; });
    if (nodes.size() != channel.m_items.size()) {
        return;
    }
    for (size_t i = 0; i < nodes.size(); ++i) {
        CString about = Element(nodes[i]).getAttribute(u"rdf:about");
        CRSSItem& item = channel.m_items[i];
        bool hasGuid = false;
        for (const auto& kept : item.m_kept.elements()) {
            hasGuid = hasGuid || lum::KeptMarkup::nameOf(kept.node) == "guid";
        }
        if (!about.IsEmpty() && !hasGuid) {
            std::string permalink = about == item.m_link ? "true" : "false";
            item.m_kept.addElementXml(
                "<guid isPermaLink=\"" + permalink + "\">" + attributeText(about) + "</guid>",
                lum::KeptPlace::Host, 1);
        }
    }
}

}  // namespace newsdesk::app
