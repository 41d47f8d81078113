#include "hostapp/feedxml/CLumRdfXmlData.h"

#include "hostapp/text/FeedDate.h"

#include <string>
#include <string_view>

namespace {

using FeedName = CLumRssAbstract::FeedName;

constexpr FeedName rdf(const char* local) {
    return FeedName{local, kRdfNamespace, "rdf"};
}
constexpr FeedName dc(const char* local) {
    return FeedName{local, kDublinCoreNamespace, "dc"};
}

constexpr FeedName kRdf = rdf("RDF");
constexpr FeedName kSeq = rdf("Seq");
constexpr FeedName kLi = rdf("li");
constexpr FeedName kChannel{"channel"};
constexpr FeedName kItem{"item"};
constexpr FeedName kItems{"items"};
constexpr FeedName kTitle{"title"};
constexpr FeedName kLink{"link"};
constexpr FeedName kDescription{"description"};
constexpr FeedName kImage{"image"};
constexpr FeedName kUrl{"url"};
constexpr FeedName kCreator = dc("creator");
constexpr FeedName kRights = dc("rights");
constexpr FeedName kDate = dc("date");

// An RDF resource is a URI: characters a URI cannot hold (spaces, letters
// outside ASCII, quotes...) are percent-encoded as UTF-8 bytes.
CString uriText(const CString& text) {
    static constexpr std::string_view kAllowed =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~:/?#[]@!$&'()*+,;=%";
    std::string bytes = text.toUtf8();
    std::string out;
    for (unsigned char c : bytes) {
        if (kAllowed.find(static_cast<char>(c)) != std::string_view::npos) {
            out += static_cast<char>(c);
        } else {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return CString::fromUtf8(out);
}

void setAbout(Node node, const CString& about) {
    if (!about.IsEmpty()) {
        Element(node).setAttribute(u"rdf:about", about);
    } else if (xmlNode* n = node.raw()) {
        // A channel made again from a loaded document drops its old URI.
        for (xmlAttr* a = n->properties; a != nullptr; a = a->next) {
            if (xmlStrEqual(a->name, reinterpret_cast<const xmlChar*>("about")) &&
                a->ns != nullptr &&
                xmlStrEqual(a->ns->href, reinterpret_cast<const xmlChar*>(kRdfNamespace))) {
                xmlRemoveProp(a);
                break;
            }
        }
    }
}

// Whether a is rdf:about or rdf:resource as the file written will read it:
// in the RDF namespace, or kept as read under an "rdf" prefix the feed never
// declared, which the document written declares.
bool isRdfResource(xmlNode* node, const xmlAttr* a) {
    auto named = [&](const char* name) {
        return xmlStrEqual(a->name, reinterpret_cast<const xmlChar*>(name));
    };
    if (a->ns != nullptr) {
        return (named("about") || named("resource")) &&
               xmlStrEqual(a->ns->href, reinterpret_cast<const xmlChar*>(kRdfNamespace));
    }
    if (!named("rdf:about") && !named("rdf:resource")) {
        return false;
    }
    const xmlNs* rdf = xmlSearchNs(node->doc, node, reinterpret_cast<const xmlChar*>("rdf"));
    return rdf != nullptr &&
           xmlStrEqual(rdf->href, reinterpret_cast<const xmlChar*>(kRdfNamespace));
}

void encodeResourcesUnder(xmlNode* node) {
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) {
            continue;
        }
        for (xmlAttr* a = node->properties; a != nullptr; a = a->next) {
            if (!isRdfResource(node, a)) {
                continue;
            }
            xmlChar* value = xmlNodeListGetString(node->doc, a->children, 1);
            CString text =
                CString::fromUtf8(value != nullptr ? reinterpret_cast<const char*>(value) : "");
            xmlFree(value);
            CString encoded = uriText(text);
            if (encoded != text) {
                xmlSetNsProp(node, a->ns, a->name,
                             reinterpret_cast<const xmlChar*>(encoded.toUtf8().c_str()));
            }
        }
        encodeResourcesUnder(node->children);
    }
}

}  // namespace

void CLumRdfXmlData::encodeResources() {
    forChange(Node());
    encodeResourcesUnder(root().raw());
}

Node CLumRdfXmlData::getRdfNode() const {
    Node r = root();
    return isNamed(r, kRdf) ? r : Node();
}

Node CLumRdfXmlData::getChannelNode() const {
    return findChild(getRdfNode(), kChannel);
}

void CLumRdfXmlData::getItemNodeArray(NodeArray& items) const {
    items.clear();
    Node r = getRdfNode();
    if (!r || streamedItems(items)) {
        return;
    }
    // Some feeds nest their items in the channel; take them where they are.
    for (xmlNode* c = r.raw()->children; c != nullptr; c = c->next) {
        if (isNamed(Node(c), kItem)) {
            items.emplace_back(c);
        } else if (isNamed(Node(c), kChannel)) {
            NodeArray inChannel = findChildren(Node(c), kItem);
            items.insert(items.end(), inChannel.begin(), inChannel.end());
        }
    }
}

Node CLumRdfXmlData::createRdfNode() {
    forChange(Node());
    if (Node r = getRdfNode()) {
        return r;
    }
    if (root()) {
        return Node();
    }
    Node r = appendChild(Node(), kRdf);
    xmlNewNs(r.raw(), reinterpret_cast<const xmlChar*>(kRss10Namespace), nullptr);
    declareNamespace("dc", kDublinCoreNamespace);
    return r;
}

Node CLumRdfXmlData::createChannelNode(const CString& about) {
    forChange(Node());
    Node r = getRdfNode();
    if (!r) {
        return Node();
    }
    Node channel = findChild(r, kChannel);
    if (!channel) {
        channel = appendChild(r, kChannel);
    }
    setAbout(channel, about);
    return channel;
}

Node CLumRdfXmlData::createItemNode(const CString& about) {
    forChange(Node());
    Node r = getRdfNode();
    if (!r) {
        return Node();
    }
    Node item = appendChild(r, kItem);
    setAbout(item, about);
    return item;
}

bool CLumRdfXmlData::setItemSeq(Node channel, const std::vector<CString>& links) {
    channel = forChange(channel);
    if (!channel) {
        return false;
    }
    Node items = findChild(channel, kItems);
    if (!items) {
        items = appendChild(channel, kItems);
    }
    items.setTextContent(CString());
    Node seq = appendChild(items, kSeq);
    for (const CString& link : links) {
        // An item without an address cannot be named in the sequence.
        if (link.IsEmpty()) {
            continue;
        }
        Element(appendChild(seq, kLi)).setAttribute(u"rdf:resource", link);
    }
    return true;
}

bool CLumRdfXmlData::getAbout(Node node, CString& out) const {
    return Element(withChildren(node, true)).readAttribute(u"rdf:about", out);
}

bool CLumRdfXmlData::getTitle(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kTitleField, out)) {
        return *recorded;
    }
    return getEscapedChildText(withChildren(node), kTitle, out);
}
bool CLumRdfXmlData::getLink(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kLinkField, out)) {
        return *recorded;
    }
    return getChildText(withChildren(node), kLink, out);
}
bool CLumRdfXmlData::getDescription(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kDescriptionField, out)) {
        return *recorded;
    }
    return getChildText(withChildren(node), kDescription, out);
}
bool CLumRdfXmlData::getCreator(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kCreatorField, out)) {
        return *recorded;
    }
    return getEscapedChildText(withChildren(node), kCreator, out);
}
bool CLumRdfXmlData::getCopyright(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kCopyrightField, out)) {
        return *recorded;
    }
    return getEscapedChildText(withChildren(node), kRights, out);
}
bool CLumRdfXmlData::getPubDate(Node node, CString& out) const {
    if (auto recorded = recordedField(node, kPubDateField, out)) {
        return *recorded;
    }
    return getChildText(withChildren(node), kDate, out);
}

bool CLumRdfXmlData::getImage(Node node, CString& out) const {
    Node image = findChild(withChildren(node), kImage);
    if (getChildText(image, kUrl, out)) {
        return true;
    }
    Element e(image);
    out = e.getAttribute(u"rdf:resource");
    if (out.IsEmpty()) {
        out = e.getAttribute(u"rdf:about");
    }
    return bool(image);
}

bool CLumRdfXmlData::setTitle(Node node, const CString& text) {
    node = forChange(node);
    return bool(setEscapedChildText(node, kTitle, text));
}
bool CLumRdfXmlData::setLink(Node node, const CString& text) {
    node = forChange(node);
    return bool(setChildText(node, kLink, text));
}
bool CLumRdfXmlData::setDescription(Node node, const CString& text) {
    node = forChange(node);
    return bool(setChildText(node, kDescription, text));
}
bool CLumRdfXmlData::setCreator(Node node, const CString& text) {
    node = forChange(node);
    return bool(setEscapedChildText(node, kCreator, text));
}
bool CLumRdfXmlData::setCopyright(Node node, const CString& text) {
    node = forChange(node);
    return bool(setEscapedChildText(node, kRights, text));
}

bool CLumRdfXmlData::setPubDate(Node node, const CString& text) {
    node = forChange(node);
    CString value = text;
    if (auto date = lum::parseRfc822Date(text.view())) {
        value = CString(lum::formatW3cDtf(*date));
    }
    return bool(setChildText(node, kDate, value));
}

bool CLumRdfXmlData::setImage(Node channel, const CString& url) {
    channel = forChange(channel);
    if (!channel) {
        return false;
    }
    Node image = findChild(channel, kImage);
    if (!image) {
        image = appendChild(channel, kImage);
    }
    Element(image).setAttribute(u"rdf:resource", url);
    return true;
}

bool CLumRdfXmlData::setImage(Node root, const CString& title, const CString& link,
                              const CString& url) {
    root = forChange(root);
    if (!root) {
        return false;
    }
    Node image = findChild(root, kImage);
    if (!image) {
        image = appendChild(root, kImage);
    }
    Element(image).setAttribute(u"rdf:about", url);
    setEscapedChildText(image, kTitle, title);
    if (!link.IsEmpty()) {
        setChildText(image, kLink, link);
    }
    setChildText(image, kUrl, url);
    return true;
}

void CLumRdfXmlData::getChannelKept(Node channel, lum::KeptMarkup& out) const {
    if (!isStreamedChannel(channel)) {
        channel = forChange(channel);
    }
    Node r = getRdfNode();
    if (!channel || !r) {
        return;
    }
    NodeArray taken;
    takeFirst(channel, {kTitle, kLink, kDescription, kCreator, kRights, kDate, kImage, kItems},
              taken);
    takeAll(channel, kItem, taken);
    keepUntaken(channel, taken, lum::KeptPlace::Host, 0, out);
    Node image = findChild(r, kImage);
    keepOwnImageParts(image, channel, 0, out);
    NodeArray besides{channel};
    takeAll(r, kItem, besides);
    if (image) {
        besides.push_back(image);
    }
    takeAll(r, kChannel, besides);
    keepUntaken(r, besides, lum::KeptPlace::Root, 0, out);
    keepOtherChannels(r, channel, 0, out);
    keepRootAttributes("", 0, out);
}

void CLumRdfXmlData::getItemKept(Node item, lum::KeptMarkup& out) const {
    if (recordedKept(item, out)) {
        return;
    }
    item = withSubtree(item);
    NodeArray taken;
    takeFirst(item, {kTitle, kLink, kDescription, kCreator, kDate}, taken);
    keepUntaken(item, taken, lum::KeptPlace::Host, 0, out);
}
