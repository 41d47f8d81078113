#include "hostapp/feedxml/CLumRssAbstract.h"

#include "hostapp/feedxml/FeedSkeleton.h"
#include "hostapp/feedxml/XmlFile.h"
#include "hostapp/feedxml/XmlText.h"
#include "win32/PathMapping.h"

#include <libxml/dict.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

using lum::xml::sameName;

namespace {

constexpr const char* kRss10NamespaceUri = "http://purl.org/rss/1.0/";

using lum::xml::utf8;

// Whether name is "prefix:local", without regard to case as sameName
// compares. Every child without a namespace is asked this for each
// extension field a reader wants: no string is built for it, and the prefix
// is walked as it stands rather than measured first.
bool isPrefixedName(const xmlChar* name, const char* prefix, const char* local) {
    auto same = [](unsigned char x, unsigned char y) {
        unsigned char lower = x | 0x20;
        return x == y ||
               (x < 0x80 && y < 0x80 && lower == (y | 0x20) && lower >= 'a' && lower <= 'z');
    };
    std::size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (name[i] == 0 || !same(name[i], static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    if (name[i++] != ':') {
        return false;
    }
    return lum::xml::sameName(name + i, local);
}

}  // namespace

std::array<std::uint64_t, 3> CLumRssAbstract::fileStamp(const CString& path) {
    auto native = nd::win32::toNativePath(path.view());
    struct stat st {};
    if (!native || ::stat(native->c_str(), &st) != 0) {
        return {};
    }
    return {static_cast<std::uint64_t>(st.st_size),
            static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                static_cast<std::uint64_t>(st.st_mtim.tv_nsec),
            static_cast<std::uint64_t>(st.st_ino)};
}

CLumRssAbstract::CLumRssAbstract(const CString& path, const char16_t* encoding) {
    if (!path.IsEmpty()) {
        m_path = path;
        m_read = m_treeTried = false;
        return;
    }
    m_encoding = encoding ? encoding : u"";
    xmlDoc* doc = xmlNewDoc(utf8("1.0"));
    // A feed written repeats a few names for every item: held once in the
    // document's dictionary, as a parsed tree holds them, rather than
    // copied for each element. The document frees it.
    if (doc != nullptr) {
        doc->dict = xmlDictCreate();
    }
    m_tree = std::make_unique<::Document>(doc);
}

CLumRssAbstract::~CLumRssAbstract() = default;

void CLumRssAbstract::read() const {
    if (m_read) {
        return;
    }
    m_read = true;
    m_fileStamp = fileStamp(m_path);
    if (streamFile(m_path)) {
        return;
    }
    m_treeTried = true;
    m_treeAnswers = true;
    lum::xml::Repairs repairs;
    if (xmlDoc* loaded = lum::xml::loadFile(m_path, &repairs)) {
        m_tree = std::make_unique<::Document>(loaded);
        m_encoding = lum::xml::toCString(loaded->encoding);
        m_repairs = repairs.names();
    }
}

bool CLumRssAbstract::streamFile(const CString&) const {
    return false;
}

void CLumRssAbstract::streamed(std::unique_ptr<lum::xml::FeedSkeleton> skeleton,
                               const CString& encoding) const {
    m_skeleton = std::move(skeleton);
    m_encoding = encoding;
    m_treeAnswers = m_skeleton == nullptr;
    // A file that does not stream in does not load into a tree either.
    m_treeTried = m_skeleton == nullptr;
}

xmlDoc* CLumRssAbstract::loadedTree() const {
    read();
    if (!m_treeTried) {
        m_treeTried = true;
        // The tree must be the file the records were read from: a file
        // changed since gives no tree, and what needs one fails.
        xmlDoc* loaded = fileStamp(m_path) == m_fileStamp ? lum::xml::loadFile(m_path) : nullptr;
        if (loaded != nullptr) {
            m_tree = std::make_unique<::Document>(loaded);
        }
    }
    return m_tree ? m_tree->raw() : nullptr;
}

::Document* CLumRssAbstract::Tree::get() const {
    // Without a tree (the file changed since it was read) what was read
    // still answers, and what needs the tree fails.
    if (m_owner.loadedTree() != nullptr) {
        m_owner.m_treeAnswers = true;
    }
    return m_owner.m_tree.get();
}

bool CLumRssAbstract::IsOK() const {
    read();
    return m_tree != nullptr || m_skeleton != nullptr;
}

CString CLumRssAbstract::getEncoding() const {
    read();
    return m_encoding;
}

std::vector<CString> CLumRssAbstract::getRepairs() const {
    read();
    return m_repairs;
}

xmlDoc* CLumRssAbstract::doc() const {
    ::Document* tree = Document.get();
    return tree ? tree->raw() : nullptr;
}

bool CLumRssAbstract::lumSxdSaveXmlData(const CString& path) {
    return lum::xml::saveFile(doc(), path, m_encoding);
}

bool CLumRssAbstract::savesSameBytes(const CString& path) {
    return lum::xml::savesSameBytes(doc(), path, m_encoding);
}

Node CLumRssAbstract::root() const {
    read();
    if (!m_treeAnswers) {
        return Node(m_skeleton->root());
    }
    xmlDoc* tree = loadedTree();
    return Node(tree ? xmlDocGetRootElement(tree) : nullptr);
}

Node CLumRssAbstract::inTree(Node node) const {
    if (!m_skeleton || !m_skeleton->holds(node.raw())) {
        return node;
    }
    xmlDoc* tree = loadedTree();
    return Node(tree ? lum::xml::FeedSkeleton::samePlaceIn(node.raw(), xmlDocGetRootElement(tree))
                     : nullptr);
}

std::optional<bool> CLumRssAbstract::recordedField(Node node, int field, CString& out) const {
    lum::xml::ItemRecord* record = m_treeAnswers ? nullptr : m_skeleton->recordOf(node.raw());
    std::uint32_t bit = 1u << field;
    // A text already handed over is asked of the tree the second time.
    if (record == nullptr || (record->fields & bit) == 0 || (record->handedOver & bit) != 0) {
        return std::nullopt;
    }
    return m_skeleton->answer(*record, field, out);
}

bool CLumRssAbstract::recordedKept(Node node, lum::KeptMarkup& out) const {
    const lum::xml::ItemRecord* record = m_treeAnswers ? nullptr : m_skeleton->recordOf(node.raw());
    // Kept markup only grows: a record stands in for the item's own only
    // where there is nothing to add it to.
    if (record == nullptr || !out.empty()) {
        return false;
    }
    out = record->kept;
    return true;
}

Node CLumRssAbstract::withChildren(Node node, bool ownAttributes) const {
    if (m_treeAnswers || !m_skeleton->holds(node.raw())) {
        return inTree(node);
    }
    const lum::xml::ItemRecord* record = m_skeleton->recordOf(node.raw());
    if (record == nullptr || (ownAttributes && !record->part)) {
        return node;
    }
    return forChange(node);
}

Node CLumRssAbstract::withParts(Node node) const {
    if (!m_treeAnswers && m_skeleton->recordOf(node.raw()) != nullptr) {
        return node;
    }
    return withChildren(node, true);
}

Node CLumRssAbstract::withSubtree(Node node) const {
    if (!m_treeAnswers && m_skeleton->holdsItems(node.raw())) {
        Document.get();
    }
    return withChildren(node);
}

Node CLumRssAbstract::forChange(Node node) const {
    Document.get();
    return inTree(node);
}

bool CLumRssAbstract::streamedItems(NodeArray& items) const {
    read();
    if (m_treeAnswers) {
        return false;
    }
    items.reserve(m_skeleton->items().size());
    for (xmlNode* item : m_skeleton->items()) {
        items.emplace_back(item);
    }
    return true;
}

bool CLumRssAbstract::isStreamedChannel(Node node) const {
    return !m_treeAnswers && node.raw() != nullptr && node.raw() == m_skeleton->channel();
}

bool CLumRssAbstract::isNamed(Node node, const FeedName& name) {
    xmlNode* n = node.raw();
    if (n == nullptr || n->type != XML_ELEMENT_NODE) {
        return false;
    }
    // Readers ask every child of an item for each field in turn: most answers
    // are no, and the first letter of the local name says so (two letters
    // equal without regard to case are equal or differ in bit 0x20 alone).
    bool localCompared = name.nsUri == nullptr || n->ns != nullptr;
    auto first = static_cast<unsigned char>(n->name[0]);
    auto wanted = static_cast<unsigned char>(name.local[0]);
    if (localCompared && first != wanted && (first | 0x20) != (wanted | 0x20)) {
        return false;
    }
    if (name.nsUri == nullptr) {
        // The feed's own vocabulary: no namespace, the default one, or RSS
        // 1.0's under whatever prefix a feed gives it ("rss:channel").
        return (n->ns == nullptr || n->ns->prefix == nullptr ||
                sameName(n->ns->href, kRss10NamespaceUri)) &&
               sameName(n->name, name.local);
    }
    if (n->ns == nullptr) {
        // A prefix that was never declared stays part of the name.
        return isPrefixedName(n->name, name.prefix ? name.prefix : "", name.local);
    }
    // A namespace is nearly always written exactly as the reader spells it:
    // compared at once as bytes before letter by letter.
    return sameName(n->name, name.local) &&
           (std::strcmp(lum::xml::chars(n->ns->href), name.nsUri) == 0 ||
            sameName(n->ns->href, name.nsUri) ||
            (n->ns->prefix != nullptr && sameName(n->ns->prefix, name.prefix)));
}

namespace {

// An element child of the listed parent: its name's first letter in lower
// case (for ASCII letters), and whether the name has a namespace.
struct ListedChild {
    xmlNode* node;
    unsigned char first;
    bool inNamespace;
};

struct ListedChildren {
    const xmlNode* parent = nullptr;
    std::vector<ListedChild> children;
};

// Kept from one item to the next, so as to allocate only for the first.
thread_local ListedChildren t_listed;

}  // namespace

CLumRssAbstract::ChildrenListed::ChildrenListed(const xmlNode* parent) {
    if (parent == nullptr || t_listed.parent != nullptr) {
        return;
    }
    t_listed.children.clear();
    for (xmlNode* c = parent->children; c != nullptr; c = c->next) {
        if (c->type == XML_ELEMENT_NODE) {
            t_listed.children.push_back(
                {c, static_cast<unsigned char>(c->name[0] | 0x20), c->ns != nullptr});
        }
    }
    t_listed.parent = parent;
    m_listed = true;
}

CLumRssAbstract::ChildrenListed::~ChildrenListed() {
    if (m_listed) {
        t_listed.parent = nullptr;
    }
}

Node CLumRssAbstract::findChild(Node parent, const FeedName& name) {
    if (!parent) {
        return Node();
    }
    if (parent.raw() == t_listed.parent) {
        // isNamed compares first letters the same way, where it compares
        // local names: an element without a namespace asked for by one has
        // a prefix in its name.
        auto wanted = static_cast<unsigned char>(name.local[0] | 0x20);
        for (const ListedChild& c : t_listed.children) {
            if ((c.first == wanted || (name.nsUri != nullptr && !c.inNamespace)) &&
                isNamed(Node(c.node), name)) {
                return Node(c.node);
            }
        }
        return Node();
    }
    for (xmlNode* c = parent.raw()->children; c != nullptr; c = c->next) {
        if (isNamed(Node(c), name)) {
            return Node(c);
        }
    }
    return Node();
}

NodeArray CLumRssAbstract::findChildren(Node parent, const FeedName& name) {
    NodeArray out;
    if (parent) {
        for (xmlNode* c = parent.raw()->children; c != nullptr; c = c->next) {
            if (isNamed(Node(c), name)) {
                out.emplace_back(c);
            }
        }
    }
    return out;
}

bool CLumRssAbstract::getChildText(Node parent, const FeedName& name, CString& out) {
    Node child = findChild(parent, name);
    out = child.getTextContent();
    return bool(child);
}

bool CLumRssAbstract::getEscapedChildText(Node parent, const FeedName& name, CString& out) {
    bool found = getChildText(parent, name, out);
    out = lum::xml::escapeEntities(std::move(out));
    return found;
}

bool CLumRssAbstract::getChildAttribute(Node parent, const FeedName& name,
                                        const char16_t* attribute, CString& out) {
    return Element(findChild(parent, name)).readAttribute(attribute, out);
}

void CLumRssAbstract::declareNamespace(const char* prefix, const char* uri) {
    xmlNode* r = root().raw();
    if (r == nullptr) {
        return;
    }
    for (xmlNs* ns = r->nsDef; ns != nullptr; ns = ns->next) {
        if (ns->prefix != nullptr && sameName(ns->prefix, prefix)) {
            return;
        }
    }
    xmlNewNs(r, utf8(uri), utf8(prefix));
}

Node CLumRssAbstract::appendChild(Node parent, const FeedName& name) {
    xmlDoc* d = doc();
    if (d == nullptr) {
        return Node();
    }
    xmlNode* p = parent.raw();
    if (p == nullptr && xmlDocGetRootElement(d) != nullptr) {
        return Node();
    }
    xmlNode* node = xmlNewDocNode(d, nullptr, utf8(name.local), nullptr);
    if (p == nullptr) {
        xmlDocSetRootElement(d, node);
    } else {
        xmlAddChild(p, node);
    }
    if (name.nsUri != nullptr) {
        xmlNs* ns = xmlSearchNsByHref(d, node, utf8(name.nsUri));
        if (ns == nullptr) {
            xmlNode* r = xmlDocGetRootElement(d);
            ns = xmlNewNs(r, utf8(name.nsUri), utf8(name.prefix));
        }
        if (ns == nullptr) {
            // Kept markup bound the prefix at the root to another namespace
            // ("dc" to an older Dublin Core): declared where it is used, or
            // the element would lose its namespace, and its field with it.
            ns = xmlNewNs(node, utf8(name.nsUri), utf8(name.prefix));
        }
        xmlSetNs(node, ns);
    }
    return Node(node);
}

Node CLumRssAbstract::setChildText(Node parent, const FeedName& name, const CString& text) {
    if (!parent) {
        return Node();
    }
    Node child = findChild(parent, name);
    if (!child) {
        child = appendChild(parent, name);
    }
    child.setTextContent(text);
    return child;
}

Node CLumRssAbstract::setEscapedChildText(Node parent, const FeedName& name, const CString& text) {
    // Most texts hold no entity: they are set without a copy.
    if (text.view().find(u'&') == std::u16string_view::npos) {
        return setChildText(parent, name, text);
    }
    return setChildText(parent, name, lum::xml::unescapeEntities(text));
}

void CLumRssAbstract::takeFirst(Node host, std::initializer_list<FeedName> names,
                                NodeArray& taken) {
    constexpr std::size_t kMostNames = 16;
    if (names.size() > kMostNames) {
        for (const FeedName& name : names) {
            if (Node child = findChild(host, name)) {
                taken.push_back(child);
            }
        }
        return;
    }
    if (!host) {
        return;
    }
    // One walk for all the names rather than one per name: every item of a
    // feed comes here, and visiting its children is most of what a read
    // costs beyond the parse. Each name still takes the first child it names.
    bool found[kMostNames] = {};
    std::size_t left = names.size();
    for (xmlNode* c = host.raw()->children; c != nullptr && left > 0; c = c->next) {
        if (c->type != XML_ELEMENT_NODE) {
            continue;
        }
        std::size_t i = 0;
        for (const FeedName& name : names) {
            if (!found[i] && isNamed(Node(c), name)) {
                found[i] = true;
                --left;
                taken.emplace_back(c);
            }
            ++i;
        }
    }
}

void CLumRssAbstract::takeAll(Node host, const FeedName& name, NodeArray& taken) {
    if (!host) {
        return;
    }
    for (xmlNode* c = host.raw()->children; c != nullptr; c = c->next) {
        if (isNamed(Node(c), name)) {
            taken.emplace_back(c);
        }
    }
}

void CLumRssAbstract::keepOtherChannels(Node root, Node channel, int family,
                                        lum::KeptMarkup& out) const {
    for (const Node& other : findChildren(root, {"channel"})) {
        if (other.raw() == channel.raw()) {
            continue;
        }
        xmlNode* copy = xmlDocCopyNode(other.raw(), other.raw()->doc, 1);
        if (copy == nullptr) {
            continue;
        }
        for (xmlNode* c = copy->children; c != nullptr;) {
            xmlNode* next = c->next;
            if (isNamed(Node(c), {"item"})) {
                xmlUnlinkNode(c);
                xmlFreeNode(c);
            }
            c = next;
        }
        out.keepElement(m_keptStore, copy, lum::KeptPlace::Root, family);
        xmlFreeNode(copy);
    }
}

void CLumRssAbstract::keepUntaken(Node host, const NodeArray& taken, lum::KeptPlace place,
                                  int family, lum::KeptMarkup& out) const {
    if (!host) {
        return;
    }
    // A channel's taken list holds all its items: looked up, not scanned.
    // An item's holds a few children, scanned where they are.
    constexpr std::size_t kScanned = 16;
    std::vector<const xmlNode*> sorted;
    if (taken.size() > kScanned) {
        sorted.reserve(taken.size());
        for (const Node& t : taken) {
            sorted.push_back(t.raw());
        }
        std::sort(sorted.begin(), sorted.end());
    }
    auto isTaken = [&](const xmlNode* c) {
        if (taken.size() > kScanned) {
            return std::binary_search(sorted.begin(), sorted.end(), c);
        }
        return std::any_of(taken.begin(), taken.end(), [c](const Node& t) { return t.raw() == c; });
    };
    for (xmlNode* c = host.raw()->children; c != nullptr; c = c->next) {
        if (c->type == XML_ELEMENT_NODE && !isTaken(c)) {
            out.keepElement(m_keptStore, c, place, family);
        }
    }
    if (place != lum::KeptPlace::Host) {
        return;
    }
    for (xmlAttr* a = host.raw()->properties; a != nullptr; a = a->next) {
        bool about = a->ns != nullptr && a->ns->href != nullptr &&
                     sameName(a->ns->href, "http://www.w3.org/1999/02/22-rdf-syntax-ns#") &&
                     sameName(a->name, "about");
        if (!about) {
            out.keepAttribute(a, family);
        }
    }
}

void CLumRssAbstract::keepOwnImageParts(Node image, Node channel, int family,
                                        lum::KeptMarkup& out) const {
    if (!image) {
        return;
    }
    constexpr FeedName kUrl{"url"};
    constexpr FeedName kTitle{"title"};
    constexpr FeedName kLink{"link"};
    NodeArray taken;
    takeFirst(image, {kUrl}, taken);
    Node title = findChild(image, kTitle);
    if (title && title.getTextContent() == findChild(channel, kTitle).getTextContent()) {
        taken.push_back(title);
    }
    Node link = findChild(image, kLink);
    if (link && link.getTextContent() == findChild(channel, kLink).getTextContent()) {
        taken.push_back(link);
    }
    keepUntaken(image, taken, lum::KeptPlace::Image, family, out);
}

void CLumRssAbstract::keepRootAttributes(const char* skip, int family, lum::KeptMarkup& out) const {
    xmlNode* r = root().raw();
    if (r == nullptr) {
        return;
    }
    for (xmlAttr* a = r->properties; a != nullptr; a = a->next) {
        if (a->ns != nullptr || !sameName(a->name, skip)) {
            out.keepAttribute(a, family, lum::KeptPlace::Root);
        }
    }
}
