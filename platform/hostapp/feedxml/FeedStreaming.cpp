// The feed documents read in one streaming pass: the skeleton of the file
// and a record for each item, gathered by the same getters that answer on
// the tree, called on each item while the parser holds it.
#include "hostapp/feedxml/CLumRdfXmlData.h"
#include "hostapp/feedxml/CLumRssXmlData.h"
#include "hostapp/feedxml/EntityExpansion.h"
#include "hostapp/feedxml/FeedSkeleton.h"
#include "hostapp/feedxml/XmlFile.h"

#include <utility>

namespace {

using FeedName = CLumRssAbstract::FeedName;

constexpr FeedName kChannel{"channel"};
constexpr FeedName kItem{"item"};

}  // namespace

std::vector<CLumRssAbstract::FieldGetter> CLumRssXmlData::itemFieldGetters() const {
    // In the order of ItemField.
    return {
        static_cast<FieldGetter>(&CLumRssXmlData::getTitle),
        static_cast<FieldGetter>(&CLumRssXmlData::getLink),
        static_cast<FieldGetter>(&CLumRssXmlData::getDescription),
        static_cast<FieldGetter>(&CLumRssXmlData::getLanguage),
        static_cast<FieldGetter>(&CLumRssXmlData::getCopyright),
        static_cast<FieldGetter>(&CLumRssXmlData::getPubDate),
        static_cast<FieldGetter>(&CLumRssXmlData::getTtl),
        static_cast<FieldGetter>(&CLumRssXmlData::getAuthor),
        static_cast<FieldGetter>(&CLumRssXmlData::getComments),
    };
}

bool CLumRssXmlData::streamFile(const CString& path) const {
    return streamFeed(path, itemFieldGetters(),
                      [this](Node item, lum::KeptMarkup& out) { getItemKept(item, out); });
}

std::vector<CLumRssAbstract::FieldGetter> CLumRdfXmlData::itemFieldGetters() const {
    // In the order of ItemField.
    return {
        static_cast<FieldGetter>(&CLumRdfXmlData::getTitle),
        static_cast<FieldGetter>(&CLumRdfXmlData::getLink),
        static_cast<FieldGetter>(&CLumRdfXmlData::getDescription),
        static_cast<FieldGetter>(&CLumRdfXmlData::getCreator),
        static_cast<FieldGetter>(&CLumRdfXmlData::getCopyright),
        static_cast<FieldGetter>(&CLumRdfXmlData::getPubDate),
    };
}

bool CLumRdfXmlData::streamFile(const CString& path) const {
    return streamFeed(path, itemFieldGetters(),
                      [this](Node item, lum::KeptMarkup& out) { getItemKept(item, out); });
}

// RSS 1.0 and 2.0 place their items alike: under the root, or under the
// first channel among the root's children (getItemNodeArray).
bool CLumRssAbstract::streamFeed(
    const CString& path, const std::vector<FieldGetter>& getters,
    const std::function<void(Node, lum::KeptMarkup&)>& keepOfItem) const {
    auto skeleton = std::make_unique<lum::xml::FeedSkeleton>();
    int channels = 0;
    bool inChannel = false;
    bool ownEntities = false;
    auto addItem = [&](xmlNode* parent, const xmlNode* item) {
        if (item == nullptr) {
            return;
        }
        lum::xml::ItemRecord& record = skeleton->addItem(parent, item);
        // The getters answer on the item as the parser built it, before it
        // is freed: a node of no skeleton, so as they answer on the tree.
        for (std::size_t field = 0; field < getters.size(); ++field) {
            CString text;
            bool result = (this->*getters[field])(Node(const_cast<xmlNode*>(item)), text);
            if (result || !text.IsEmpty()) {
                record.answers.push_back({static_cast<std::uint8_t>(field), result, text});
            }
        }
        keepOfItem(Node(const_cast<xmlNode*>(item)), record.kept);
    };
    auto scan = lum::xml::scanStrictly(path, [&](const lum::xml::ScannedElement& scanned) {
        const Element& element = scanned.element();
        // The declarations come before the root. A file with entities of its
        // own is left to the tree, which measures what they expand to
        // before any text is read: the getters would expand them here.
        if (scanned.depth() == 0) {
            ownEntities =
                element.raw()->doc != nullptr && lum::xml::declaresEntities(element.raw()->doc);
        }
        if (ownEntities) {
            return;
        }
        if (scanned.depth() == 0) {
            skeleton->setRoot(element.raw());
        } else if (scanned.depth() == 1) {
            inChannel = isNamed(element, kChannel) && ++channels == 1;
            if (inChannel) {
                skeleton->setChannel(element.raw());
            } else if (isNamed(element, kItem)) {
                addItem(skeleton->root(), scanned.subtree());
            } else if (!isNamed(element, kChannel)) {
                skeleton->addWhole(skeleton->root(), scanned.subtree());
            }
        } else if (scanned.depth() == 2 && inChannel) {
            if (isNamed(element, kItem)) {
                addItem(skeleton->channel(), scanned.subtree());
            } else {
                skeleton->addWhole(skeleton->channel(), scanned.subtree());
            }
        }
    });
    // The tree answers for a file only a repair may read, for one whose
    // entities the tree inlines, and for the rare feed of several channels,
    // whose items the skeleton of one channel cannot place.
    if (!scan || ownEntities || scan->declaresEntities || channels > 1) {
        return false;
    }
    streamed(scan->loads ? std::move(skeleton) : nullptr, scan->encoding);
    return true;
}
