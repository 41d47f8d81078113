// Putting kept markup back into a feed being written: in its place, never
// doubling what the writer wrote, dropped and counted where the format
// written does not define it.
#include "hostapp/feedxml/KeptMarkup.h"
#include "hostapp/feedxml/KeptNamespaces.h"
#include "hostapp/feedxml/XmlText.h"
#include "hostapp/text/FeedDate.h"

#include <libxml/tree.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace lum {

namespace {

using xml::chars;
using xml::utf8;

constexpr const char* kRss10Uri = "http://purl.org/rss/1.0/";

}  // namespace

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
    // An element read under a prefix the feed never declared keeps the
    // prefix in its name; written where the prefix is declared it is that
    // namespace's element, the same as the writer's of that spelling.
    if (b->ns == nullptr && a->ns != nullptr && a->ns->prefix != nullptr &&
        std::string(chars(b->name)) == std::string(chars(a->ns->prefix)) + ":" + chars(a->name)) {
        return true;
    }
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

// Whether a name read under a prefix the feed never declared ("rdf:aboUt"
// beside no xmlns:rdf) has a prefix the document written declares: written
// there it would become an attribute of that namespace, which no read of the
// feed had.
bool bindsItsPrefix(const xmlNode* owner, const std::string& name) {
    std::size_t colon = name.find(':');
    return colon != std::string::npos &&
           xmlSearchNs(owner->doc, const_cast<xmlNode*>(owner),
                       utf8(name.substr(0, colon).c_str())) != nullptr;
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
            bool onRoot = !kept.prefix.empty() &&
                          mayDeclareAtRoot(utf8(prefix.c_str()), utf8(kept.nsUri.c_str()), format);
            ns = xmlNewNs(onRoot ? root : host, utf8(kept.nsUri.c_str()), utf8(prefix.c_str()));
            if (onRoot) {
                markMovedToRoot(ns);
            }
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
        xmlNode* bound = boundCopy(e.node, parent);
        const xmlNode* node = bound != nullptr ? bound : e.node;
        if (!(e.family != family && isFormatVocabulary(node)) && format >= 0 && format <= 2 &&
            fits(parent, node, format, fixedDate)) {
            switch (e.place) {
                case KeptPlace::Host:
                    placed = place(host, written, node, false, root, format, &copy);
                    break;
                case KeptPlace::Image:
                    if (image != nullptr) {
                        placed = place(image, writtenInImage, node, true, root, format, &copy);
                    }
                    break;
                case KeptPlace::Root:
                    if (root != nullptr) {
                        std::vector<xmlNode*> none;
                        placed = place(root, none, node, false, root, format, &copy);
                    }
                    break;
            }
        }
        if (bound != nullptr) {
            xmlFreeNode(bound);
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
        if (taken || (a.family != family && a.nsUri.empty()) ||
            (a.nsUri.empty() && bindsItsPrefix(owner, a.local))) {
            ++drops["@" + a.name()];
            continue;
        }
        putAttribute(owner, a, format);
    }
}

}  // namespace lum
