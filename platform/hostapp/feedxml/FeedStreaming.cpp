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
    // In the order of PartField; getCategory is the podcast's own in a
    // podcast document.
    StreamedFields fields{
        itemFieldGetters(),
        [this](Node item, lum::KeptMarkup& out) { getItemKept(item, out); },
        {{static_cast<FieldGetter>(&CLumRssXmlData::getCategory), "category"},
         {static_cast<FieldGetter>(&CLumRssXmlData::getEnclosureUrl), "enclosure"},
         {static_cast<FieldGetter>(&CLumRssXmlData::getEnclosureLength), "enclosure"},
         {static_cast<FieldGetter>(&CLumRssXmlData::getEnclosureType), "enclosure"}},
        [this](Node part, lum::KeptMarkup& out) { getCategoryKept(part, out); }};
    if (!streamFeed(path, fields)) {
        return false;
    }
    rememberChannelDate(path);
    return true;
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
    // RSS 1.0 reads nothing of an item's parts: the file answers for them.
    StreamedFields fields{itemFieldGetters(),
                          [this](Node item, lum::KeptMarkup& out) { getItemKept(item, out); },
                          {},
                          nullptr};
    return streamFeed(path, fields);
}

// RSS 1.0 and 2.0 place their items alike: under the root, or under the
// first channel among the root's children (getItemNodeArray).
bool CLumRssAbstract::streamFeed(const CString& path, const StreamedFields& fields) const {
    auto skeleton = std::make_unique<lum::xml::FeedSkeleton>();
    int channels = 0;
    bool inChannel = false;
    // Which element child of the root, and of the channel, each one is.
    std::size_t rootPlace = 0;
    std::size_t channelPlace = 0;
    bool ownEntities = false;
    // The getters answer on the item as the parser built it, before it is
    // freed: a node of no skeleton, so as they answer on the tree.
    std::vector<lum::xml::Answer> answers;
    auto answer = [&](const xmlNode* node, FieldGetter getter, int field,
                      lum::xml::ItemRecord& record) {
        CString text;
        bool result = (this->*getter)(Node(const_cast<xmlNode*>(node)), text);
        record.fields |= 1u << field;
        if (result || !text.IsEmpty()) {
            answers.push_back({static_cast<std::uint8_t>(field), result, std::move(text)});
        }
    };
    auto recordItem = [&](const xmlNode* item, lum::xml::ItemRecord& record) {
        ChildrenListed listed(item);
        answers.clear();
        for (std::size_t i = 0; i < fields.item.size(); ++i) {
            answer(item, fields.item[i], static_cast<int>(i), record);
        }
        skeleton->setAnswers(record, answers);
        fields.keepOfItem(Node(const_cast<xmlNode*>(item)), record.kept);
    };
    // A part answers the getters of its kind: a category is not asked for
    // an enclosure's address. Asked all the same, it asks the file.
    auto recordPart = [&](const xmlNode* part, lum::xml::ItemRecord& record) {
        answers.clear();
        for (std::size_t i = 0; i < fields.part.size(); ++i) {
            if (lum::xml::FeedSkeleton::nameEndsWith(part, fields.part[i].kind)) {
                answer(part, fields.part[i].getter, kFirstPartField + static_cast<int>(i), record);
            }
        }
        skeleton->setAnswers(record, answers);
        if (fields.keepOfPart) {
            fields.keepOfPart(Node(const_cast<xmlNode*>(part)), record.kept);
        }
    };
    auto addItem = [&](xmlNode* parent, const xmlNode* item, std::size_t place) {
        if (item == nullptr) {
            return;
        }
        recordItem(item, skeleton->addItem(parent, item, place, recordPart));
    };
    // The root and the first channel are met with their children; every
    // other element is met whole. Asked on the parse's own thread.
    int channelsOpened = 0;
    auto opensUp = [&channelsOpened](const xmlNode* element, int depth) {
        return depth == 1 && isNamed(Node(const_cast<xmlNode*>(element)), kChannel) &&
               ++channelsOpened == 1;
    };
    auto onElement = [&](const lum::xml::ScannedElement& scanned) {
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
            std::size_t place = rootPlace++;
            inChannel = isNamed(element, kChannel) && ++channels == 1;
            if (inChannel) {
                skeleton->setChannel(element.raw(), place);
            } else if (isNamed(element, kItem)) {
                addItem(skeleton->root(), scanned.subtree(), place);
            } else if (!isNamed(element, kChannel)) {
                skeleton->addWhole(skeleton->root(), scanned.subtree(), place);
            }
        } else if (scanned.depth() == 2 && inChannel) {
            std::size_t place = channelPlace++;
            if (isNamed(element, kItem)) {
                addItem(skeleton->channel(), scanned.subtree(), place);
            } else {
                skeleton->addWhole(skeleton->channel(), scanned.subtree(), place);
            }
        }
    };
    auto scan = lum::xml::scanStrictly(path, onElement, opensUp);
    // The tree answers for a file only a repair may read, for one whose
    // entities the tree inlines, for the rare feed of several channels,
    // whose items the skeleton of one channel cannot place, and for one in
    // UTF-16 whose line ends the pass may have left as they stand.
    if (!scan || ownEntities || scan->declaresEntities || channels > 1 ||
        scan->carriageReturnsLeft) {
        return false;
    }
    streamed(scan->loads ? std::move(skeleton) : nullptr, scan->encoding);
    return true;
}
