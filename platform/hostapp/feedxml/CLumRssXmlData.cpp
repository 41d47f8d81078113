#include "hostapp/feedxml/CLumRssXmlData.h"

#include "hostapp/feedxml/CLumRdfXmlData.h"
#include "hostapp/feedxml/XmlFile.h"
#include "hostapp/feedxml/XmlText.h"

#include <algorithm>
#include <array>
#include <mutex>

namespace {

using FeedName = CLumRssAbstract::FeedName;

constexpr FeedName kRss{"rss"};
constexpr FeedName kChannel{"channel"};
constexpr FeedName kItem{"item"};
constexpr FeedName kTitle{"title"};
constexpr FeedName kLink{"link"};
constexpr FeedName kDescription{"description"};
constexpr FeedName kLanguage{"language"};
constexpr FeedName kCopyright{"copyright"};
constexpr FeedName kPubDate{"pubDate"};
constexpr FeedName kTtl{"ttl"};
constexpr FeedName kAuthor{"author"};
constexpr FeedName kCreator{"creator", kDublinCoreNamespace, "dc"};
constexpr FeedName kComments{"comments"};
constexpr FeedName kCategory{"category"};
constexpr FeedName kImage{"image"};
constexpr FeedName kUrl{"url"};
constexpr FeedName kEnclosure{"enclosure"};

}  // namespace

Node CLumRssXmlData::getChannelNode() const {
    return findChild(root(), kChannel);
}

namespace {

// The channel date of the last file an RSS 2.0 or podcast document streamed
// in, with the stamp the file had then. A rewrite asks for the date of the
// file it has just read, and would otherwise pass over all of it again.
struct StreamedChannelDate {
    std::mutex lock;
    CString path;
    std::array<std::uint64_t, 3> stamp{};
    CString date;
};

StreamedChannelDate& lastStreamedDate() {
    static StreamedChannelDate memo;
    return memo;
}

}  // namespace

void CLumRssXmlData::rememberChannelDate(const CString& path) const {
    Node channel = IsOK() ? getChannelNode() : Node();
    StreamedChannelDate& memo = lastStreamedDate();
    std::lock_guard<std::mutex> hold(memo.lock);
    memo.path.Empty();
    // Only a file with a channel: readChannelPubDate answers for the others
    // from the file.
    if (channel && stampOfRead() != std::array<std::uint64_t, 3>{}) {
        CLumRssXmlData::getPubDate(channel, memo.date);
        memo.path = path;
        memo.stamp = stampOfRead();
    }
}

bool CLumRssXmlData::readChannelPubDate(const CString& path, CString& out) {
    {
        StreamedChannelDate& memo = lastStreamedDate();
        std::lock_guard<std::mutex> hold(memo.lock);
        if (!memo.path.IsEmpty() && memo.path == path && memo.stamp == fileStamp(path)) {
            out = memo.date;
            return true;
        }
    }
    // The first channel among the root's children, then the first date among
    // that channel's children: the elements findChild would find.
    bool channelFound = false;
    bool inChannel = false;
    bool dateFound = false;
    bool loads = lum::xml::scanElements(path, [&](const lum::xml::ScannedElement& scanned) {
        if (scanned.depth() == 0) {
            channelFound = inChannel = dateFound = false;
            out.Empty();
        } else if (scanned.depth() == 1) {
            inChannel = !channelFound && isNamed(scanned.element(), kChannel);
            channelFound = channelFound || inChannel;
        } else if (scanned.depth() == 2 && inChannel && !dateFound &&
                   isNamed(scanned.element(), kPubDate)) {
            out = scanned.textContent();
            dateFound = true;
        }
    });
    if (!loads || !channelFound) {
        out.Empty();
        return false;
    }
    return true;
}

void CLumRssXmlData::getItemNodeArray(NodeArray& items) const {
    items.clear();
    Node r = root();
    if (!r || streamedItems(items)) {
        return;
    }
    for (xmlNode* c = r.raw()->children; c != nullptr; c = c->next) {
        if (isNamed(Node(c), kItem)) {
            items.emplace_back(c);
        } else if (isNamed(Node(c), kChannel)) {
            NodeArray inChannel = findChildren(Node(c), kItem);
            items.insert(items.end(), inChannel.begin(), inChannel.end());
        }
    }
}

void CLumRssXmlData::getCategoryNodeArray(Node node, NodeArray& categories) const {
    categories = findChildren(withParts(node), kCategory);
}

void CLumRssXmlData::getEnclosureNodeArray(Node item, NodeArray& enclosures) const {
    enclosures = findChildren(withParts(item), kEnclosure);
}

Node CLumRssXmlData::createChannelNode() {
    forChange(Node());
    Node r = root();
    if (!r) {
        r = appendChild(Node(), kRss);
        Element(r).setAttribute(u"version", u"2.0");
    }
    Node channel = findChild(r, kChannel);
    return channel ? channel : appendChild(r, kChannel);
}

Node CLumRssXmlData::createItemNode(Node channel) {
    channel = forChange(channel);
    return channel ? appendChild(channel, kItem) : Node();
}

bool CLumRssXmlData::getTitle(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kTitleField, out)) {
        return *recorded;
    }
    return getEscapedChildText(withChildren(node), kTitle, out);
}
bool CLumRssXmlData::getLink(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kLinkField, out)) {
        return *recorded;
    }
    return getChildText(withChildren(node), kLink, out);
}
bool CLumRssXmlData::getDescription(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kDescriptionField, out)) {
        return *recorded;
    }
    return getChildText(withChildren(node), kDescription, out);
}
bool CLumRssXmlData::getLanguage(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kLanguageField, out)) {
        return *recorded;
    }
    return getChildText(withChildren(node), kLanguage, out);
}
bool CLumRssXmlData::getCopyright(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kCopyrightField, out)) {
        return *recorded;
    }
    return getEscapedChildText(withChildren(node), kCopyright, out);
}
bool CLumRssXmlData::getPubDate(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kPubDateField, out)) {
        return *recorded;
    }
    return getChildText(withChildren(node), kPubDate, out);
}
bool CLumRssXmlData::getTtl(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kTtlField, out)) {
        return *recorded;
    }
    return getChildText(withChildren(node), kTtl, out);
}
bool CLumRssXmlData::getAuthor(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kAuthorField, out)) {
        return *recorded;
    }
    node = withChildren(node);
    // An author named without an address is written as dc:creator, which
    // reads back as the author when there is no author element.
    Node author = findChild(node, kAuthor);
    Node creator = author ? Node() : findChild(node, kCreator);
    Node found = creator ? creator : author;
    out = lum::xml::escapeEntities(found.getTextContent());
    return bool(found);
}
bool CLumRssXmlData::getComments(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kCommentsField, out)) {
        return *recorded;
    }
    return getChildText(withChildren(node), kComments, out);
}

bool CLumRssXmlData::getCategory(Node category, CString& out) const {
    if (auto recorded = recordedField(category, kCategoryPart, out)) {
        return *recorded;
    }
    category = withSubtree(category);
    out = category.getTextContent();
    return isNamed(category, kCategory);
}

bool CLumRssXmlData::getImage(Node node, CString& out) const {
    return getChildText(findChild(withChildren(node), kImage), kUrl, out);
}

bool CLumRssXmlData::getEnclosureAttribute(Node node, PartField field, const char16_t* name,
                                           CString& out) const {
    // An item's own element in a streamed document holds its enclosures,
    // whose records answer.
    Node enclosure = isNamed(node, kEnclosure) ? node : findChild(withParts(node), kEnclosure);
    if (auto recorded = recordedField(enclosure, field, out)) {
        return *recorded;
    }
    return Element(withChildren(enclosure, true)).readAttribute(name, out);
}

bool CLumRssXmlData::getEnclosureUrl(Node node, CString& out) const {
    return getEnclosureAttribute(node, kEnclosureUrlPart, u"url", out);
}
bool CLumRssXmlData::getEnclosureLength(Node node, CString& out) const {
    return getEnclosureAttribute(node, kEnclosureLengthPart, u"length", out);
}
bool CLumRssXmlData::getEnclosureType(Node node, CString& out) const {
    return getEnclosureAttribute(node, kEnclosureTypePart, u"type", out);
}

bool CLumRssXmlData::setTitle(Node node, const CString& text) {
    node = forChange(node);
    return bool(setEscapedChildText(node, kTitle, text));
}
bool CLumRssXmlData::setLink(Node node, const CString& text) {
    node = forChange(node);
    return bool(setChildText(node, kLink, text));
}
bool CLumRssXmlData::setDescription(Node node, const CString& text) {
    node = forChange(node);
    return bool(setChildText(node, kDescription, text));
}
bool CLumRssXmlData::setLanguage(Node node, const CString& text) {
    node = forChange(node);
    return bool(setChildText(node, kLanguage, text));
}
bool CLumRssXmlData::setCopyright(Node node, const CString& text) {
    node = forChange(node);
    return bool(setEscapedChildText(node, kCopyright, text));
}
bool CLumRssXmlData::setPubDate(Node node, const CString& text) {
    node = forChange(node);
    return bool(setChildText(node, kPubDate, text));
}
bool CLumRssXmlData::setTtl(Node node, const CString& text) {
    node = forChange(node);
    return bool(setChildText(node, kTtl, text));
}
bool CLumRssXmlData::setAuthor(Node node, const CString& text) {
    node = forChange(node);
    return bool(setEscapedChildText(node, kAuthor, text));
}

bool CLumRssXmlData::setCreator(Node node, const CString& text) {
    node = forChange(node);
    declareNamespace("dc", kDublinCoreNamespace);
    return bool(setEscapedChildText(node, kCreator, text));
}
bool CLumRssXmlData::setComments(Node node, const CString& text) {
    node = forChange(node);
    return bool(setChildText(node, kComments, text));
}

bool CLumRssXmlData::setCategory(Node node, const CString& text) {
    node = forChange(node);
    Node category = node ? appendChild(node, kCategory) : Node();
    category.setTextContent(text);
    return bool(category);
}

bool CLumRssXmlData::setImage(Node node, const CString& url, const CString& title,
                              const CString& link) {
    node = forChange(node);
    if (!node) {
        return false;
    }
    Node image = findChild(node, kImage);
    if (!image) {
        image = appendChild(node, kImage);
    }
    setChildText(image, kUrl, url);
    setChildText(image, kTitle, title);
    // An empty address is no address: a channel without a link gives its
    // image none.
    if (!link.IsEmpty()) {
        setChildText(image, kLink, link);
    }
    return true;
}

bool CLumRssXmlData::setEnclosure(Node node, const CString& url, const CString& length,
                                  const CString& type) {
    node = forChange(node);
    if (!node) {
        return false;
    }
    Node enclosure = findChild(node, kEnclosure);
    if (!enclosure) {
        enclosure = appendChild(node, kEnclosure);
    }
    Element e(enclosure);
    e.setAttribute(u"url", url);
    e.setAttribute(u"length", length);
    // No type is better than an empty one, which no reader can use.
    if (!type.IsEmpty()) {
        e.setAttribute(u"type", type);
    }
    return true;
}

void CLumRssXmlData::keepBesideChannel(Node channel, lum::KeptMarkup& out) const {
    NodeArray taken;
    takeAll(root(), kItem, taken);
    takeAll(root(), kChannel, taken);
    keepUntaken(root(), taken, lum::KeptPlace::Root, 1, out);
    keepOtherChannels(root(), channel, 1, out);
    keepRootAttributes("version", 1, out);
}

void CLumRssXmlData::getChannelKept(Node channel, lum::KeptMarkup& out) const {
    // What stands beside the channel is looked for in the same document as
    // the channel: in the skeleton for its channel, else in the tree.
    if (!isStreamedChannel(channel)) {
        channel = forChange(channel);
    }
    if (!channel) {
        return;
    }
    NodeArray taken;
    takeFirst(channel, {kTitle, kLink, kDescription, kLanguage, kCopyright, kTtl, kImage, kPubDate},
              taken);
    takeAll(channel, kCategory, taken);
    takeAll(channel, kItem, taken);
    keepUntaken(channel, taken, lum::KeptPlace::Host, 1, out);
    keepOwnImageParts(findChild(channel, kImage), channel, 1, out);
    keepBesideChannel(channel, out);
}

void CLumRssXmlData::getItemKept(Node item, lum::KeptMarkup& out) const {
    if (recordedKept(item, out)) {
        return;
    }
    item = withSubtree(item);
    // Room for what an item usually holds, so that it is made once.
    NodeArray taken;
    taken.reserve(12);
    takeFirst(item, {kTitle, kLink, kDescription, kAuthor, kComments, kEnclosure, kPubDate}, taken);
    // The first author, where there is one, is among the children taken: no
    // second walk to look for it.
    bool hasAuthor =
        std::any_of(taken.begin(), taken.end(), [](const Node& n) { return isNamed(n, kAuthor); });
    if (!hasAuthor) {
        takeFirst(item, {kCreator}, taken);
    }
    takeAll(item, kCategory, taken);
    keepUntaken(item, taken, lum::KeptPlace::Host, 1, out);
}

void CLumRssXmlData::getCategoryKept(Node category, lum::KeptMarkup& out) const {
    if (recordedKept(category, out)) {
        return;
    }
    category = withChildren(category, true);
    if (!isNamed(category, kCategory)) {
        return;
    }
    for (xmlAttr* a = category.raw()->properties; a != nullptr; a = a->next) {
        out.keepAttribute(a, 1);
    }
}
