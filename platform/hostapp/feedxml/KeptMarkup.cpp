#include "hostapp/feedxml/KeptMarkup.h"

#include "hostapp/feedxml/XmlText.h"
#include "hostapp/text/FeedDate.h"

#include <libxml/parser.h>

#include <algorithm>
#include <utility>

namespace lum {

namespace {

const xmlChar* utf8(const char* s) {
    return reinterpret_cast<const xmlChar*>(s);
}
const char* chars(const xmlChar* s) {
    return reinterpret_cast<const char*>(s);
}

constexpr const char* kRss10Uri = "http://purl.org/rss/1.0/";
constexpr const char* kItunesUri = "http://www.itunes.com/dtds/podcast-1.0.dtd";

}  // namespace

class KeptStore {
  public:
    KeptStore() : m_doc(xmlNewDoc(utf8("1.0"))) {
        m_root = xmlNewDocNode(m_doc, nullptr, utf8("kept"), nullptr);
        xmlDocSetRootElement(m_doc, m_root);
    }
    ~KeptStore() { xmlFreeDoc(m_doc); }
    KeptStore(const KeptStore&) = delete;
    KeptStore& operator=(const KeptStore&) = delete;

    // A deep copy; copying a node out of its tree declares the namespaces it
    // uses on the copy itself, so each copy stands on its own.
    const xmlNode* copy(const xmlNode* element) {
        xmlNode* copy = xmlDocCopyNode(const_cast<xmlNode*>(element), m_doc, 1);
        if (copy != nullptr) {
            xmlAddChild(m_root, copy);
        }
        return copy;
    }
    xmlNode* adopt(xmlNode* element) {
        xmlAddChild(m_root, element);
        return element;
    }
    xmlDoc* doc() const { return m_doc; }

  private:
    xmlDoc* m_doc;
    xmlNode* m_root;
};

struct KeptMarkup::Data {
    // Where new elements go; the elements may also live in stores held
    // below (the markup of one record can gather copies from several
    // documents), which must live as long as they are listed.
    std::shared_ptr<KeptStore> store;
    std::vector<std::shared_ptr<KeptStore>> earlierStores;
    std::vector<Element> elements;
    std::vector<Attribute> attributes;
    std::vector<std::string> heldEmpty;
};

const std::vector<KeptMarkup::Element>& KeptMarkup::elements() const {
    static const std::vector<Element> none;
    return m_data ? m_data->elements : none;
}

const std::vector<KeptMarkup::Attribute>& KeptMarkup::attributes() const {
    static const std::vector<Attribute> none;
    return m_data ? m_data->attributes : none;
}

KeptMarkup::Data& KeptMarkup::change() {
    // Copies share the data; the first change after a copy makes it its own.
    std::shared_ptr<Data> own = m_data ? std::make_shared<Data>(*m_data) : std::make_shared<Data>();
    Data& data = *own;
    m_data = std::move(own);
    return data;
}

void KeptMarkup::keepElement(std::shared_ptr<KeptStore>& store, const xmlNode* element,
                             KeptPlace place, int family) {
    if (element == nullptr || element->type != XML_ELEMENT_NODE) {
        return;
    }
    if (!store) {
        store = std::make_shared<KeptStore>();
    }
    if (const xmlNode* copy = store->copy(element)) {
        Data& data = change();
        if (data.store && data.store != store &&
            std::find(data.earlierStores.begin(), data.earlierStores.end(), data.store) ==
                data.earlierStores.end()) {
            data.earlierStores.push_back(data.store);
        }
        data.store = store;
        data.elements.push_back({copy, place, family});
    }
}

void KeptMarkup::keepAttribute(const xmlAttr* attribute, int family, KeptPlace place) {
    if (attribute == nullptr) {
        return;
    }
    Attribute kept;
    if (attribute->ns != nullptr) {
        kept.prefix = attribute->ns->prefix ? chars(attribute->ns->prefix) : "";
        kept.nsUri = attribute->ns->href ? chars(attribute->ns->href) : "";
    }
    kept.local = chars(attribute->name);
    xmlChar* value = xmlNodeListGetString(attribute->doc, attribute->children, 1);
    kept.value = value ? chars(value) : "";
    xmlFree(value);
    kept.family = family;
    kept.place = place;
    addAttribute(std::move(kept));
}

void KeptMarkup::addAttribute(Attribute attribute) {
    change().attributes.push_back(std::move(attribute));
}

void KeptMarkup::addElement(const char* nsUri, const char* prefix, const char* local,
                            const CString& text, int family) {
    Data& data = change();
    if (!data.store) {
        data.store = std::make_shared<KeptStore>();
    }
    xmlNode* element = xmlNewDocNode(data.store->doc(), nullptr, utf8(local), nullptr);
    if (nsUri != nullptr) {
        xmlSetNs(element, xmlNewNs(element, utf8(nsUri), utf8(prefix)));
    }
    std::string value = xml::toXmlUtf8(text);
    if (!value.empty()) {
        xmlAddChild(element, xmlNewDocTextLen(data.store->doc(), utf8(value.c_str()),
                                              static_cast<int>(value.size())));
    }
    data.elements.push_back({data.store->adopt(element), KeptPlace::Host, family});
}

bool KeptMarkup::addElementXml(std::string_view xml, KeptPlace place, int family) {
    if (xml.size() > static_cast<size_t>(INT32_MAX)) {
        return false;
    }
    xmlDoc* parsed = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, "UTF-8",
                                   XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (parsed == nullptr) {
        return false;
    }
    // One element and nothing more: a document type could declare entities.
    xmlNode* root = xmlDocGetRootElement(parsed);
    bool ok = root != nullptr && parsed->intSubset == nullptr;
    if (ok) {
        std::shared_ptr<KeptStore> store = m_data ? m_data->store : nullptr;
        keepElement(store, root, place, family);
    }
    xmlFreeDoc(parsed);
    return ok;
}

void KeptMarkup::noteHeldEmpty(const char* local) {
    if (!heldEmpty(local)) {
        change().heldEmpty.emplace_back(local);
    }
}

bool KeptMarkup::heldEmpty(const char* local) const {
    return m_data && std::find(m_data->heldEmpty.begin(), m_data->heldEmpty.end(), local) !=
                         m_data->heldEmpty.end();
}

void KeptMarkup::removeElements(const char* nsUri, const char* local) {
    if (!m_data) {
        return;
    }
    auto matches = [&](const Element& e) {
        const xmlNs* ns = e.node->ns;
        bool sameNs =
            nsUri == nullptr ? ns == nullptr : ns != nullptr && xml::sameName(ns->href, nsUri);
        return sameNs && xml::sameName(e.node->name, local);
    };
    bool any = false;
    for (const Element& e : m_data->elements) {
        any = any || matches(e);
    }
    if (!any) {
        return;
    }
    Data& data = change();
    std::erase_if(data.elements, matches);
    if (data.elements.empty() && data.attributes.empty() && data.heldEmpty.empty()) {
        m_data.reset();
    }
}

std::vector<CString> KeptMarkup::takeElements(const char* local) {
    std::vector<CString> texts;
    for (const Element& e : elements()) {
        if (e.node->ns == nullptr && xml::sameName(e.node->name, local)) {
            xmlChar* text = xmlNodeGetContent(e.node);
            texts.push_back(xml::toCString(text));
            xmlFree(text);
        }
    }
    if (!texts.empty()) {
        removeElements(nullptr, local);
    }
    return texts;
}

const xmlNode* KeptMarkup::takeFirstElement(const char* nsUri, const char* local,
                                            const std::function<bool(const xmlNode*)>& accept) {
    const std::vector<Element>& all = elements();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const xmlNode* node = all[i].node;
        bool sameNs = nsUri == nullptr
                          ? node->ns == nullptr
                          : node->ns != nullptr && xml::sameName(node->ns->href, nsUri);
        if (!sameNs || !xml::sameName(node->name, local) || !accept(node)) {
            continue;
        }
        // The stores stay with the data; only the listing goes.
        Data& data = change();
        data.elements.erase(data.elements.begin() + static_cast<std::ptrdiff_t>(i));
        return node;
    }
    return nullptr;
}

std::string KeptMarkup::toXml(const xmlNode* element) {
    std::string out;
    xmlBuffer* buffer = xmlBufferCreate();
    if (buffer == nullptr) {
        return out;
    }
    if (xmlNodeDump(buffer, element->doc, const_cast<xmlNode*>(element), 0, 0) >= 0) {
        out.assign(chars(xmlBufferContent(buffer)), static_cast<size_t>(xmlBufferLength(buffer)));
    }
    xmlBufferFree(buffer);
    return out;
}

std::string KeptMarkup::nameOf(const xmlNode* element) {
    return xml::qualifiedName(element);
}

KeptDrops& keptDropsOfLastWrite() {
    thread_local KeptDrops drops;
    return drops;
}

namespace {

// Names without a namespace (or in RSS 1.0's own) belong to one format family.
bool isFormatVocabulary(const xmlNode* node) {
    return node->ns == nullptr || node->ns->href == nullptr ||
           xml::sameName(node->ns->href, kRss10Uri);
}

bool sameElementName(const xmlNode* a, const xmlNode* b) {
    if (!xml::sameName(a->name, chars(b->name))) {
        return false;
    }
    bool aPlain = isFormatVocabulary(a);
    bool bPlain = isFormatVocabulary(b);
    if (aPlain || bPlain) {
        return aPlain && bPlain;
    }
    return xml::sameName(a->ns->href, chars(b->ns->href));
}

// Elements a feed may hold more than one of, beside the writer's own.
bool repeats(const xmlNode* node) {
    return xml::sameName(node->name, "enclosure") || xml::sameName(node->name, "category");
}

// Whether two elements of one name say the same: the same attributes in
// the same order and the same text.
bool sameContent(const xmlNode* a, const xmlNode* b) {
    const xmlAttr* x = a->properties;
    const xmlAttr* y = b->properties;
    for (; x != nullptr && y != nullptr; x = x->next, y = y->next) {
        xmlChar* xv = xmlNodeListGetString(a->doc, x->children, 1);
        xmlChar* yv = xmlNodeListGetString(b->doc, y->children, 1);
        bool same = xmlStrEqual(x->name, y->name) && xmlStrEqual(xv, yv);
        xmlFree(xv);
        xmlFree(yv);
        if (!same) {
            return false;
        }
    }
    if (x != nullptr || y != nullptr) {
        return false;
    }
    xmlChar* at = xmlNodeGetContent(a);
    xmlChar* bt = xmlNodeGetContent(b);
    bool same = xmlStrEqual(at, bt);
    xmlFree(at);
    xmlFree(bt);
    return same;
}

bool isEmptyElement(const xmlNode* node) {
    if (node->properties != nullptr) {
        return false;
    }
    for (const xmlNode* c = node->children; c != nullptr; c = c->next) {
        if (c->type != XML_TEXT_NODE || (c->content != nullptr && c->content[0] != '\0')) {
            return false;
        }
    }
    return true;
}

std::vector<xmlNode*> elementChildren(xmlNode* parent) {
    std::vector<xmlNode*> out;
    if (parent != nullptr) {
        for (xmlNode* c = parent->children; c != nullptr; c = c->next) {
            if (c->type == XML_ELEMENT_NODE) {
                out.push_back(c);
            }
        }
    }
    return out;
}

void retarget(xmlNode* node, const xmlNs* from, xmlNs* to) {
    if (node->type != XML_ELEMENT_NODE) {
        return;
    }
    if (node->ns == from) {
        node->ns = to;
    }
    for (xmlAttr* a = node->properties; a != nullptr; a = a->next) {
        if (a->ns == from) {
            a->ns = to;
        }
    }
    for (xmlNode* c = node->children; c != nullptr; c = c->next) {
        retarget(c, from, to);
    }
}

// The copy's own declarations: dropped where the same one is in scope,
// moved to the root where its prefix is free, so that a rewritten feed
// declares its namespaces once, as feeds do.
void tidyNamespaces(xmlNode* copy, xmlNode* root, int format) {
    xmlNs** link = &copy->nsDef;
    while (*link != nullptr) {
        xmlNs* ns = *link;
        xmlNs* inScope = xmlSearchNs(copy->doc, copy->parent, ns->prefix);
        if (inScope != nullptr && xmlStrEqual(inScope->href, ns->href)) {
            *link = ns->next;
            retarget(copy, ns, inScope);
            xmlFreeNs(ns);
            continue;
        }
        bool hoist = inScope == nullptr && ns->prefix != nullptr && root != nullptr &&
                     (format == 2 || !xml::sameName(ns->href, kItunesUri));
        if (hoist) {
            *link = ns->next;
            ns->next = nullptr;
            xmlNs** end = &root->nsDef;
            while (*end != nullptr) {
                end = &(*end)->next;
            }
            *end = ns;
            continue;
        }
        link = &ns->next;
    }
}

xmlNode* copyInto(xmlDoc* doc, const xmlNode* kept) {
    return xmlDocCopyNode(const_cast<xmlNode*>(kept), doc, 1);
}

enum class Placed { Yes, AlreadyThere, No };

// Puts a copy of kept under parent, standing in for an empty element of the
// same name the writer wrote, or after the rest.
Placed place(xmlNode* parent, std::vector<xmlNode*>& written, const xmlNode* kept, bool replaces,
             xmlNode* root, int format, xmlNode** placed) {
    xmlNode* same = nullptr;
    if (!repeats(kept)) {
        for (xmlNode* w : written) {
            if (sameElementName(w, kept)) {
                same = w;
                break;
            }
        }
    }
    if (same != nullptr && !replaces && !isEmptyElement(same)) {
        return sameContent(same, kept) ? Placed::AlreadyThere : Placed::No;
    }
    xmlNode* copy = copyInto(parent->doc, kept);
    if (copy == nullptr) {
        return Placed::No;
    }
    if (same != nullptr) {
        xmlReplaceNode(same, copy);
        std::erase(written, same);
        xmlFreeNode(same);
    } else {
        xmlAddChild(parent, copy);
    }
    tidyNamespaces(copy, root, format);
    *placed = copy;
    return Placed::Yes;
}

// What a format cannot hold validly, whichever feed a kept element came from.
enum class Fit : std::uint8_t { Drop, Once, W3cDate };
struct FitRule {
    unsigned formats;  // bit 1 << format
    const char* nsUri;
    const char* local;  // null: every element of the namespace
    Fit fit;
};
constexpr unsigned kInRss1 = 1u << 0;
constexpr unsigned kInRss2 = 1u << 1;
constexpr unsigned kInPodcast = 1u << 2;
constexpr const char* kContentUri = "http://purl.org/rss/1.0/modules/content/";
constexpr const char* kRss09Uri = "http://my.netscape.com/rdf/simple/0.9/";
constexpr const char* kDublinCoreUri = "http://purl.org/dc/elements/1.1/";

constexpr FitRule kFitRules[] = {
    // RSS 1.0's list of an item's content formats is RDF, undefined in RSS 2.0.
    {kInRss2 | kInPodcast, kContentUri, "items", Fit::Drop},
    // RSS 0.9's vocabulary is neither RSS 1.0's nor RSS 2.0's.
    {kInRss1 | kInRss2 | kInPodcast, kRss09Uri, nullptr, Fit::Drop},
    // RSS 1.0 takes one language and one date per channel or item.
    {kInRss1, kDublinCoreUri, "language", Fit::Once},
    {kInRss1, kDublinCoreUri, "date", Fit::Once},
    // A Dublin Core date is a W3C-DTF date in every format.
    {kInRss1 | kInRss2 | kInPodcast, kDublinCoreUri, "date", Fit::W3cDate},
};

bool ruleMatches(const FitRule& rule, const xmlNode* node, int format) {
    return (rule.formats & (1u << format)) != 0 && node->ns != nullptr &&
           xml::sameName(node->ns->href, rule.nsUri) &&
           (rule.local == nullptr || xml::sameName(node->name, rule.local));
}

bool holdsElementLike(const xmlNode* parent, const xmlNode* node) {
    for (const xmlNode* c = parent->children; c != nullptr; c = c->next) {
        if (c->type == XML_ELEMENT_NODE && c->ns != nullptr &&
            xmlStrEqual(c->ns->href, node->ns->href) && xmlStrEqual(c->name, node->name)) {
            return true;
        }
    }
    return false;
}

// Whether kept may go under parent in format; a date it holds in another
// form is given to fix as the W3C-DTF text it is to hold instead.
bool fits(const xmlNode* parent, const xmlNode* kept, int format, std::string& fixedDate) {
    fixedDate.clear();
    for (const FitRule& rule : kFitRules) {
        if (!ruleMatches(rule, kept, format)) {
            continue;
        }
        switch (rule.fit) {
            case Fit::Drop:
                return false;
            case Fit::Once:
                if (parent != nullptr && holdsElementLike(parent, kept)) {
                    return false;
                }
                break;
            case Fit::W3cDate: {
                xmlChar* raw = xmlNodeGetContent(kept);
                CString text = xml::toCString(raw);
                xmlFree(raw);
                text.Trim();
                if (parseW3cDtfDate(text.view())) {
                    break;
                }
                auto date = parseRfc822Date(text.view());
                if (!date) {
                    return false;
                }
                fixedDate = CString(formatW3cDtf(*date)).toUtf8();
                break;
            }
        }
    }
    return true;
}

// Whether the element already carries an attribute written as `name`. A kept
// attribute whose prefix the feed never declared ("rdf:about" under a
// misspelt xmlns) has no namespace and that whole name: beside the writer's
// own rdf:about it would be the same attribute twice.
bool holdsAttributeWrittenAs(const xmlNode* owner, const std::string& name) {
    for (const xmlAttr* a = owner->properties; a != nullptr; a = a->next) {
        std::string written = reinterpret_cast<const char*>(a->name);
        if (a->ns != nullptr && a->ns->prefix != nullptr) {
            written = std::string(reinterpret_cast<const char*>(a->ns->prefix)) + ":" + written;
        }
        if (written == name) {
            return true;
        }
    }
    return false;
}

void putAttribute(xmlNode* host, const KeptMarkup::Attribute& kept, int format) {
    xmlNs* ns = nullptr;
    if (!kept.nsUri.empty()) {
        ns = xmlSearchNsByHref(host->doc, host, utf8(kept.nsUri.c_str()));
        if (ns == nullptr) {
            xmlNode* root = xmlDocGetRootElement(host->doc);
            std::string prefix = kept.prefix.empty() ? "ns" : kept.prefix;
            bool free = xmlSearchNs(host->doc, host, utf8(prefix.c_str())) == nullptr;
            // A prefix the document already binds to another namespace (a
            // feed's "rdf" off by one character) would turn the writer's own
            // attributes of that prefix into this one's, twice on one element.
            for (int n = 1; !free; ++n) {
                prefix = (kept.prefix.empty() ? "ns" : kept.prefix) + std::to_string(n);
                free = xmlSearchNs(host->doc, host, utf8(prefix.c_str())) == nullptr;
            }
            // Declared once at the root, renamed or not: where the feed is
            // read again its declaration is at the root, and the second
            // write must give the same bytes as the first.
            bool onRoot = !kept.prefix.empty() && (format == 2 || kept.nsUri != kItunesUri);
            ns = xmlNewNs(onRoot ? root : host, utf8(kept.nsUri.c_str()), utf8(prefix.c_str()));
        }
    }
    xmlNewNsProp(host, ns, utf8(kept.local.c_str()), utf8(kept.value.c_str()));
}

}  // namespace

void putKeptMarkup(xmlNode* host, xmlNode* image, const KeptMarkup& kept, int format) {
    if (kept.empty() || host == nullptr) {
        return;
    }
    KeptDrops& drops = keptDropsOfLastWrite();
    xmlNode* root = xmlDocGetRootElement(host->doc);
    int family = format == 0 ? 0 : 1;
    std::vector<xmlNode*> written = elementChildren(host);
    std::vector<xmlNode*> writtenInImage = elementChildren(image);
    for (const KeptMarkup::Element& e : kept.elements()) {
        Placed placed = Placed::No;
        xmlNode* copy = nullptr;
        xmlNode* parent = e.place == KeptPlace::Host    ? host
                          : e.place == KeptPlace::Image ? image
                                                        : root;
        std::string fixedDate;
        if (!(e.family != family && isFormatVocabulary(e.node)) && format >= 0 && format <= 2 &&
            fits(parent, e.node, format, fixedDate)) {
            switch (e.place) {
                case KeptPlace::Host:
                    placed = place(host, written, e.node, false, root, format, &copy);
                    break;
                case KeptPlace::Image:
                    if (image != nullptr) {
                        placed = place(image, writtenInImage, e.node, true, root, format, &copy);
                    }
                    break;
                case KeptPlace::Root:
                    if (root != nullptr) {
                        std::vector<xmlNode*> none;
                        placed = place(root, none, e.node, false, root, format, &copy);
                    }
                    break;
            }
        }
        if (copy != nullptr && !fixedDate.empty()) {
            xmlNodeSetContent(copy, nullptr);
            xmlNodeAddContent(copy, utf8(fixedDate.c_str()));
        }
        if (placed == Placed::No) {
            ++drops[KeptMarkup::nameOf(e.node)];
        }
    }
    for (const KeptMarkup::Attribute& a : kept.attributes()) {
        xmlNode* owner = a.place == KeptPlace::Root ? root : host;
        bool taken =
            owner == nullptr || (a.nsUri.empty() ? holdsAttributeWrittenAs(owner, a.local)
                                                 : xmlHasNsProp(owner, utf8(a.local.c_str()),
                                                                utf8(a.nsUri.c_str())) != nullptr);
        if (taken || (a.family != family && a.nsUri.empty())) {
            ++drops["@" + a.name()];
            continue;
        }
        putAttribute(owner, a, format);
    }
}

}  // namespace lum
