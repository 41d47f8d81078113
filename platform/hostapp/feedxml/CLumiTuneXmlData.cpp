#include "hostapp/feedxml/CLumiTuneXmlData.h"

#include "hostapp/feedxml/XmlText.h"

namespace {

using FeedName = CLumRssAbstract::FeedName;

constexpr FeedName itunes(const char* local) {
    return FeedName{local, kItunesNamespace, "itunes"};
}

constexpr FeedName kOwner = itunes("owner");
constexpr FeedName kName = itunes("name");
constexpr FeedName kEmail = itunes("email");
constexpr FeedName kCategory = itunes("category");
constexpr FeedName kImage = itunes("image");
constexpr FeedName kSummary = itunes("summary");
constexpr FeedName kAuthor = itunes("author");
constexpr FeedName kSubtitle = itunes("subtitle");
constexpr FeedName kKeywords = itunes("keywords");
constexpr FeedName kDuration = itunes("duration");
constexpr FeedName kBlock = itunes("block");
constexpr FeedName kTitle{"title"};
constexpr FeedName kLink{"link"};
constexpr FeedName kDescription{"description"};
constexpr FeedName kLanguage{"language"};
constexpr FeedName kCopyright{"copyright"};
constexpr FeedName kTtl{"ttl"};
constexpr FeedName kPubDate{"pubDate"};
constexpr FeedName kComments{"comments"};
constexpr FeedName kEnclosure{"enclosure"};
constexpr FeedName kItem{"item"};

}  // namespace

Node CLumiTuneXmlData::createChannelNode() {
    Node channel = CLumRssXmlData::createChannelNode();
    declareNamespace("itunes", kItunesNamespace);
    return channel;
}

Node CLumiTuneXmlData::createOwnerNode(Node channel) {
    channel = forChange(channel);
    return channel ? appendChild(channel, kOwner) : Node();
}

void CLumiTuneXmlData::getCategoryNodeArray(Node node, NodeArray& categories) const {
    categories = findChildren(withParts(node), kCategory);
}

bool CLumiTuneXmlData::getCategory(Node category, CString& out) const {
    if (auto recorded = recordedField(category, kCategoryPart, out)) {
        return *recorded;
    }
    category = withChildren(category, true);
    Element e(category);
    out = lum::xml::escapeEntities(e.getAttribute(u"text"));
    return isNamed(category, kCategory) && e.hasAttribute(u"text");
}

bool CLumiTuneXmlData::getImage(Node node, CString& out) const {
    if (getChildAttribute(withChildren(node), kImage, u"href", out)) {
        return true;
    }
    return CLumRssXmlData::getImage(node, out);
}

bool CLumiTuneXmlData::getSummary(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kSummaryField, out)) {
        return *recorded;
    }
    return getChildText(withChildren(node), kSummary, out) && !out.IsEmpty();
}
bool CLumiTuneXmlData::getArtist(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kArtistField, out)) {
        return *recorded;
    }
    return getEscapedChildText(withChildren(node), kAuthor, out);
}
bool CLumiTuneXmlData::getSubTitle(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kSubTitleField, out)) {
        return *recorded;
    }
    return getEscapedChildText(withChildren(node), kSubtitle, out);
}

Node CLumiTuneXmlData::ownerOf(Node node) {
    return isNamed(node, kOwner) ? node : findChild(node, kOwner);
}

bool CLumiTuneXmlData::getName(Node node, CString& out) const {
    return getEscapedChildText(ownerOf(withChildren(node)), kName, out);
}
bool CLumiTuneXmlData::getEMail(Node node, CString& out) const {
    return getEscapedChildText(ownerOf(withChildren(node)), kEmail, out);
}
bool CLumiTuneXmlData::getKeywords(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kKeywordsField, out)) {
        return *recorded;
    }
    return getEscapedChildText(withChildren(node), kKeywords, out);
}
bool CLumiTuneXmlData::getDuration(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kDurationField, out)) {
        return *recorded;
    }
    return getChildText(withChildren(node), kDuration, out);
}
bool CLumiTuneXmlData::getBlock(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kBlockField, out)) {
        return *recorded;
    }
    return getChildText(withChildren(node), kBlock, out);
}

bool CLumiTuneXmlData::setSummary(Node node, const CString& text) {
    node = forChange(node);
    return bool(setChildText(node, kSummary, text));
}
bool CLumiTuneXmlData::setArtist(Node node, const CString& text) {
    node = forChange(node);
    return bool(setEscapedChildText(node, kAuthor, text));
}
bool CLumiTuneXmlData::setSubTitle(Node node, const CString& text) {
    node = forChange(node);
    return bool(setEscapedChildText(node, kSubtitle, text));
}
bool CLumiTuneXmlData::setName(Node owner, const CString& text) {
    owner = forChange(owner);
    return bool(setEscapedChildText(owner, kName, text));
}
bool CLumiTuneXmlData::setEMail(Node owner, const CString& text) {
    owner = forChange(owner);
    return bool(setEscapedChildText(owner, kEmail, text));
}
bool CLumiTuneXmlData::setKeywords(Node node, const CString& text) {
    node = forChange(node);
    return bool(setEscapedChildText(node, kKeywords, text));
}
bool CLumiTuneXmlData::setDuration(Node node, const CString& text) {
    node = forChange(node);
    return bool(setChildText(node, kDuration, text));
}
bool CLumiTuneXmlData::setBlock(Node node, const CString& text) {
    node = forChange(node);
    return bool(setChildText(node, kBlock, text));
}

bool CLumiTuneXmlData::setImage(Node node, const CString& url) {
    node = forChange(node);
    if (!node) {
        return false;
    }
    Node image = findChild(node, kImage);
    if (!image) {
        image = appendChild(node, kImage);
    }
    Element(image).setAttribute(u"href", url);
    return true;
}

bool CLumiTuneXmlData::setCategory(Node node, const CString& name, const CString& subCategory) {
    node = forChange(node);
    if (!node) {
        return false;
    }
    Element category(appendChild(node, kCategory));
    category.setAttribute(u"text", lum::xml::unescapeEntities(name));
    if (!subCategory.IsEmpty()) {
        Element(appendChild(category, kCategory))
            .setAttribute(u"text", lum::xml::unescapeEntities(subCategory));
    }
    return true;
}

Node CLumiTuneXmlData::descriptionOf(Node node) {
    Node summary = findChild(node, kSummary);
    return summary && summary.hasTextContent() ? summary : findChild(node, kDescription);
}

void CLumiTuneXmlData::getChannelKept(Node channel, lum::KeptMarkup& out) const {
    if (!isStreamedChannel(channel)) {
        channel = forChange(channel);
    }
    if (!channel) {
        return;
    }
    NodeArray taken;
    takeFirst(
        channel,
        {kTitle, kLink, kLanguage, kCopyright, kTtl, kImage, kSubtitle, kAuthor, kOwner, kBlock},
        taken);
    if (Node description = descriptionOf(channel)) {
        taken.push_back(description);
    }
    takeAll(channel, kCategory, taken);
    takeAll(channel, kItem, taken);
    keepUntaken(channel, taken, lum::KeptPlace::Host, 1, out);
    keepBesideChannel(channel, out);
}

void CLumiTuneXmlData::getItemKept(Node item, lum::KeptMarkup& out) const {
    if (recordedKept(item, out)) {
        return;
    }
    item = withSubtree(item);
    NodeArray taken;
    takeFirst(
        item,
        {kTitle, kAuthor, kSubtitle, kComments, kEnclosure, kPubDate, kKeywords, kDuration, kBlock},
        taken);
    if (Node description = descriptionOf(item)) {
        taken.push_back(description);
    }
    keepUntaken(item, taken, lum::KeptPlace::Host, 1, out);
}

std::vector<CLumRssAbstract::FieldGetter> CLumiTuneXmlData::itemFieldGetters() const {
    std::vector<FieldGetter> getters = CLumRssXmlData::itemFieldGetters();
    // In the order of PodcastField, after RSS 2.0's.
    for (auto getter : {&CLumiTuneXmlData::getSummary, &CLumiTuneXmlData::getArtist,
                        &CLumiTuneXmlData::getSubTitle, &CLumiTuneXmlData::getKeywords,
                        &CLumiTuneXmlData::getDuration, &CLumiTuneXmlData::getBlock}) {
        getters.push_back(static_cast<FieldGetter>(getter));
    }
    return getters;
}
