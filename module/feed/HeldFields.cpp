#include "feed/HeldFields.h"

#include "feed/FeedReaders.h"
#include "feed/WrittenFields.h"
#include "hostapp/feedxml/CLumRdfXmlData.h"
#include "hostapp/feedxml/CLumRssAbstract.h"
#include "hostapp/feedxml/CLumiTuneXmlData.h"
#include "hostapp/feedxml/DomNode.h"
#include "hostapp/feedxml/XmlText.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <type_traits>
#include <vector>

namespace newsdesk {

namespace {

using FeedName = CLumRssAbstract::FeedName;

constexpr FeedName itunes(const char* local) {
    return {local, kItunesNamespace, "itunes"};
}
constexpr FeedName dc(const char* local) {
    return {local, kDublinCoreNamespace, "dc"};
}

Node nodeOf(const xmlNode* node) {
    return Node(const_cast<xmlNode*>(node));
}

CString textOf(const xmlNode* node) {
    return nodeOf(node).getTextContent();
}

// What a reader that unescapes the four entities makes of an element's text.
CString unescapedTextOf(const xmlNode* node) {
    return xmlUnescape(lum::xml::escapeEntities(textOf(node)));
}

CString attributeOf(const xmlNode* node, const char16_t* name) {
    return Element(const_cast<xmlNode*>(node)).getAttribute(name);
}

template <class Record>
struct SingleField {
    FeedName name;
    // Whether the record holds the field as a writer writes it.
    bool (*holds)(const Record&);
    // Reads the element into the record when it reads; false, with the
    // record as it was, when it does not.
    bool (*take)(Record&, const xmlNode*);
    // Where its later ones are kept: beside the record, or beside an RSS 1.0
    // channel under the root.
    lum::KeptPlace place = lum::KeptPlace::Host;
};

template <class Record>
void settle(Record& record, const SingleField<Record>& field) {
    auto named = [&](const lum::KeptMarkup::Element& e) {
        return e.place == field.place && CLumRssAbstract::isNamed(nodeOf(e.node), field.name);
    };
    // Nearly always nothing kept is so named: asked first, as whether the
    // record holds a date means writing it.
    const std::vector<lum::KeptMarkup::Element>& kept = record.m_kept.elements();
    if (std::none_of(kept.begin(), kept.end(), named)) {
        return;
    }
    if (field.holds(record)) {
        // A later one beside a field the writer writes is a second one, which
        // the writer leaves out.
        return;
    }
    bool taken = record.m_kept.takeFirstElement([&](const lum::KeptMarkup::Element& e) {
        return named(e) && field.take(record, e.node);
    }) != nullptr;
    if (!taken) {
        record.m_kept.removeElements(named);
    }
}

// The bit of a name's first letter in the masks below: the same for a
// letter in either case, as isNamed compares first letters.
std::uint32_t letterBit(const char* name) {
    return 1u << ((static_cast<unsigned char>(name[0]) | 0x20) & 31);
}

template <class Record>
void settleAll(Record& record, std::initializer_list<SingleField<Record>> fields) {
    const std::vector<lum::KeptMarkup::Element>& kept = record.m_kept.elements();
    if (kept.empty()) {
        return;
    }
    // Every record of a feed comes here, most keeping an element or two
    // that no field names: a field is looked for only among elements whose
    // name starts as its own, or, for a field in a namespace, among elements
    // in none, whose prefix is part of their name.
    std::uint32_t letters = 0;
    bool someWithoutNamespace = false;
    for (const lum::KeptMarkup::Element& e : kept) {
        letters |= letterBit(reinterpret_cast<const char*>(e.node->name));
        someWithoutNamespace = someWithoutNamespace || e.node->ns == nullptr;
    }
    for (const SingleField<Record>& field : fields) {
        if ((letters & letterBit(field.name.local)) != 0 ||
            (field.name.nsUri != nullptr && someWithoutNamespace)) {
            settle(record, field);
        }
    }
}

template <class Record, CString Record::*member>
bool holdsText(const Record& record) {
    return !(record.*member).IsEmpty();
}

template <class Record, CString Record::*member, bool unescaped>
bool takeText(Record& record, const xmlNode* node) {
    CString text = unescaped ? unescapedTextOf(node) : textOf(node);
    if (text.IsEmpty()) {
        return false;
    }
    record.*member = text;
    return true;
}

// A field of text, read as it stands or unescaped as the reader does.
template <class Record, CString Record::*member, bool unescaped = false>
constexpr SingleField<Record> text(FeedName name) {
    return {name, holdsText<Record, member>, takeText<Record, member, unescaped>};
}
template <class Record, CString Record::*member>
constexpr SingleField<Record> escapedText(FeedName name) {
    return text<Record, member, true>(name);
}

template <class Record>
bool holdsDate(const Record& record) {
    return !record.getModifiedTimeStr().IsEmpty();
}

template <class Record>
bool takeDate(Record& record, const xmlNode* node) {
    RecordDate date = readRecordDate(textOf(node));
    if (date.time == 0 && date.keptText.IsEmpty()) {
        return false;
    }
    if constexpr (std::is_same_v<Record, CRSSChannel>) {
        record.m_pubDate = CTime(date.time);
    } else {
        record.m_pubDate = date.time;
    }
    record.m_pubDateText = date.keptText;
    return true;
}

template <class Record>
constexpr SingleField<Record> date(FeedName name) {
    return {name, holdsDate<Record>, takeDate<Record>};
}

template <class Record>
bool holdsBlock(const Record& record) {
    return record.m_block;
}

template <class Record>
bool takeBlock(Record& record, const xmlNode* node) {
    record.m_block = textOf(node).CompareNoCase(u"yes") == 0;
    return record.m_block;
}

// A count the writer writes only when above zero (a channel's ttl, an
// item's duration), read by parse.
template <class Record, int Record::*member>
bool holdsCount(const Record& record) {
    return record.*member > 0;
}
template <class Record, int Record::*member, int (*parse)(const CString&)>
bool takeCount(Record& record, const xmlNode* node) {
    int count = parse(textOf(node));
    if (count <= 0) {
        return false;
    }
    record.*member = count;
    return true;
}
template <class Record, int Record::*member, int (*parse)(const CString&)>
constexpr SingleField<Record> count(FeedName name) {
    return {name, holdsCount<Record, member>, takeCount<Record, member, parse>};
}

// The fields of channels.

bool holdsImage(const CRSSChannel& channel) {
    return !channel.m_image.IsEmpty();
}
// An RSS 2.0 image: its url.
bool takeImageUrl(CRSSChannel& channel, const xmlNode* node) {
    CString url = CLumRssAbstract::findChild(nodeOf(node), {"url"}).getTextContent();
    if (url.IsEmpty()) {
        return false;
    }
    channel.m_image = url;
    return true;
}
bool takeImageHref(CRSSChannel& channel, const xmlNode* node) {
    CString href = attributeOf(node, u"href");
    if (href.IsEmpty()) {
        return false;
    }
    channel.m_image = href;
    return true;
}

// An RSS 1.0 image beside the channel: its url, else the resource it is.
bool takeRdfImage(CRSSChannel& channel, const xmlNode* node) {
    Node url = CLumRssAbstract::findChild(nodeOf(node), {"url"});
    CString address = url ? url.getTextContent() : attributeOf(node, u"rdf:resource");
    if (!url && address.IsEmpty()) {
        address = attributeOf(node, u"rdf:about");
    }
    if (address.IsEmpty()) {
        return false;
    }
    channel.m_image = address;
    return true;
}
// The channel's own image element names the one beside it, which the
// record reads: it stands for nothing of its own.
bool takeNothing(CRSSChannel&, const xmlNode*) {
    return false;
}

bool holdsOwner(const CRSSChannel& channel) {
    return !channel.m_ownerName.IsEmpty() || !channel.m_ownerEmail.IsEmpty();
}
bool takeOwner(CRSSChannel& channel, const xmlNode* node) {
    auto part = [&](const char* local) {
        Node child = CLumRssAbstract::findChild(nodeOf(node), itunes(local));
        return xmlUnescape(lum::xml::escapeEntities(child.getTextContent()));
    };
    CString name = part("name");
    CString email = part("email");
    if (name.IsEmpty() && email.IsEmpty()) {
        return false;
    }
    channel.m_ownerName = name;
    channel.m_ownerEmail = email;
    return true;
}

// The fields of items.

bool holdsEnclosure(const CRSSItem& item) {
    return !item.m_enclosureUrl.IsEmpty();
}
bool takeEnclosure(CRSSItem& item, const xmlNode* node) {
    CString url = attributeOf(node, u"url");
    if (url.IsEmpty()) {
        return false;
    }
    item.m_enclosureUrl = url;
    CString length = attributeOf(node, u"length");
    item.m_enclosureLength = length.IsEmpty() ? 0 : wtoi64(length);
    item.m_enclosureType = attributeOf(node, u"type");
    return true;
}

// An RSS 2.0 author goes back as an author when it is an address, and as
// dc:creator otherwise, which reads back as the author where the item has
// no author element: a later author that is an address stands for one that
// is not.
bool holdsAuthorAddress(const CRSSItem& item) {
    return isEmailAddress(item.m_author);
}
bool takeAuthorAddress(CRSSItem& item, const xmlNode* node) {
    CString text = unescapedTextOf(node);
    if (!isEmailAddress(text)) {
        return false;
    }
    item.m_author = text;
    return true;
}

// A podcast's description is its itunes:summary, else its description.
template <class Record>
void settlePodcastDescription(Record& record) {
    settleAll(record, {text<Record, &Record::m_description>(itunes("summary")),
                       text<Record, &Record::m_description>({"description"})});
}

}  // namespace

void settleRss2Channel(CRSSChannel& c) {
    using C = CRSSChannel;
    settleAll(c, {escapedText<C, &C::m_title>({"title"}),
                  text<C, &C::m_link>({"link"}),
                  text<C, &C::m_description>({"description"}),
                  text<C, &C::m_language>({"language"}),
                  escapedText<C, &C::m_copyright>({"copyright"}),
                  date<C>({"pubDate"}),
                  count<C, &C::m_ttl, wtoi>({"ttl"}),
                  {{"image"}, holdsImage, takeImageUrl}});
}

void settleRss2Item(CRSSItem& item) {
    using I = CRSSItem;
    settleAll(item, {escapedText<I, &I::m_title>({"title"}),
                     text<I, &I::m_link>({"link"}),
                     text<I, &I::m_description>({"description"}),
                     text<I, &I::m_author, true>({"author"}),
                     {{"author"}, holdsAuthorAddress, takeAuthorAddress},
                     escapedText<I, &I::m_author>(dc("creator")),
                     text<I, &I::m_comments>({"comments"}),
                     date<I>({"pubDate"}),
                     {{"enclosure"}, holdsEnclosure, takeEnclosure}});
}

void settlePodcastChannel(CRSSChannel& c) {
    using C = CRSSChannel;
    // The channel's date stays beside the record: the writer writes none of
    // its own but puts that one back.
    settleAll(c, {escapedText<C, &C::m_title>({"title"}), text<C, &C::m_link>({"link"})});
    settlePodcastDescription(c);
    settleAll(c, {text<C, &C::m_language>({"language"}),
                  escapedText<C, &C::m_copyright>({"copyright"}),
                  count<C, &C::m_ttl, wtoi>({"ttl"}),
                  {itunes("image"), holdsImage, takeImageHref},
                  escapedText<C, &C::m_subTitle>(itunes("subtitle")),
                  escapedText<C, &C::m_author>(itunes("author")),
                  {itunes("owner"), holdsOwner, takeOwner},
                  {itunes("block"), holdsBlock<C>, takeBlock<C>}});
}

void settlePodcastItem(CRSSItem& item) {
    using I = CRSSItem;
    settleAll(item, {escapedText<I, &I::m_title>({"title"})});
    settlePodcastDescription(item);
    settleAll(item, {escapedText<I, &I::m_artist>(itunes("author")),
                     escapedText<I, &I::m_subTitle>(itunes("subtitle")),
                     text<I, &I::m_comments>({"comments"}),
                     date<I>({"pubDate"}),
                     {{"enclosure"}, holdsEnclosure, takeEnclosure},
                     escapedText<I, &I::m_keywords>(itunes("keywords")),
                     count<I, &I::m_duration, parseDuration>(itunes("duration")),
                     {itunes("block"), holdsBlock<I>, takeBlock<I>}});
}

void settleRdfChannel(CRSSChannel& c) {
    using C = CRSSChannel;
    settleAll(c, {escapedText<C, &C::m_title>({"title"}),
                  text<C, &C::m_link>({"link"}),
                  text<C, &C::m_description>({"description"}),
                  escapedText<C, &C::m_author>(dc("creator")),
                  escapedText<C, &C::m_copyright>(dc("rights")),
                  date<C>(dc("date")),
                  {{"image"}, holdsImage, takeRdfImage, lum::KeptPlace::Root},
                  {{"image"}, holdsImage, takeNothing}});
}

void settleRdfItem(CRSSItem& item) {
    using I = CRSSItem;
    settleAll(item, {escapedText<I, &I::m_title>({"title"}), text<I, &I::m_link>({"link"}),
                     text<I, &I::m_description>({"description"}),
                     escapedText<I, &I::m_author>(dc("creator")), date<I>(dc("date"))});
}

}  // namespace newsdesk
