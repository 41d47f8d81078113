#include "hostapp/feedxml/KeptNamespaces.h"

#include "hostapp/feedxml/XmlText.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace lum {

namespace {

using xml::chars;
using xml::utf8;

constexpr const char* kItunesUri = "http://www.itunes.com/dtds/podcast-1.0.dtd";

// What a declaration moved to the root holds as its application data.
char kMovedToRoot;

bool movedToRoot(const xmlNs* ns) {
    return ns != nullptr && ns->_private == &kMovedToRoot;
}

// The prefix of a name that still holds one ("dc:language" read where
// nothing declared "dc"); empty for none.
std::string heldPrefix(const xmlNode* named) {
    const char* colon = std::strchr(chars(named->name), ':');
    return colon != nullptr ? std::string(chars(named->name), colon) : std::string();
}

// What declares that prefix where the name stands; null when nothing does.
xmlNs* declarationAt(const xmlNode* named, const std::string& prefix) {
    const xmlNode* at = named->type == XML_ATTRIBUTE_NODE ? named->parent : named;
    return xmlSearchNs(at->doc, const_cast<xmlNode*>(at), utf8(prefix.c_str()));
}

// Names, node and below, in the order firstUsesOfMoved counts them: its
// name, what is below, its attributes (kept markup puts a host's kept
// attributes after its kept elements). use(named, ns) for each.
template <typename Use>
void eachName(const xmlNode* node, const Use& use, const xmlNode* itemsParent = nullptr,
              const std::function<void()>& goneItems = {}) {
    if (node->type != XML_ELEMENT_NODE) {
        return;
    }
    use(node, node->ns);
    for (const xmlNode* c = node->children; c != nullptr; c = c->next) {
        eachName(c, use, itemsParent, goneItems);
    }
    if (node == itemsParent && goneItems) {
        goneItems();
    }
    for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
        use(reinterpret_cast<const xmlNode*>(a), a->ns);
    }
}

// The declarations moved to the root in the order root and what is below
// it first use them, those of gone items where they stood. A name that
// still holds its prefix uses the declaration that will bind it when the
// feed is read.
void firstUsesOfMoved(const xmlNode* root, const GoneItemUses* gone, std::vector<xmlNs*>& order) {
    auto add = [&](xmlNs* ns) {
        if (movedToRoot(ns) && std::find(order.begin(), order.end(), ns) == order.end()) {
            order.push_back(ns);
        }
    };
    auto use = [&](const xmlNode* named, xmlNs* ns) {
        if (ns == nullptr) {
            std::string prefix = heldPrefix(named);
            if (!prefix.empty()) {
                ns = declarationAt(named, prefix);
            }
        }
        add(ns);
    };
    eachName(root, use, gone != nullptr ? gone->itemsParent() : nullptr, [&] {
        for (const auto& [ns, prefix] : gone->uses()) {
            add(ns != nullptr ? ns : declarationAt(gone->itemsParent(), prefix));
        }
    });
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

// Whether node or anything below it is named in ns.
bool usesNamespace(const xmlNode* node, const xmlNs* ns) {
    if (node->type != XML_ELEMENT_NODE) {
        return false;
    }
    if (node->ns == ns) {
        return true;
    }
    for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
        if (a->ns == ns) {
            return true;
        }
    }
    for (const xmlNode* c = node->children; c != nullptr; c = c->next) {
        if (usesNamespace(c, ns)) {
            return true;
        }
    }
    return false;
}

// The namespace a prefix names at node, looking up through the copy node
// belongs to and then from scope, where the copy is to stand.
xmlNs* namespaceFor(xmlNode* node, xmlNode* scope, const std::string& prefix) {
    if (xmlNs* ns = xmlSearchNs(node->doc, node, utf8(prefix.c_str()))) {
        return ns;
    }
    return scope != nullptr ? xmlSearchNs(scope->doc, scope, utf8(prefix.c_str())) : nullptr;
}

// Binds the names of node and below that hold a prefix the feed never
// declared ("dc:language" with no namespace) where scope declares it, to a
// declaration on top, the copy's own element, so the copy stands on its own
// (the placing drops it again where the same is in scope); whether any was.
bool bindNames(xmlNode* node, xmlNode* top, xmlNode* scope) {
    bool bound = false;
    auto bind = [&](xmlNode* named, xmlNode* at, xmlNs** ns) {
        std::string name = chars(named->name);
        std::size_t colon = name.find(':');
        if (*ns != nullptr || colon == std::string::npos) {
            return;
        }
        xmlNs* found = namespaceFor(at, scope, name.substr(0, colon));
        if (found == nullptr) {
            return;
        }
        xmlNs* own = xmlSearchNs(top->doc, top, found->prefix);
        if (own == nullptr || !xmlStrEqual(own->href, found->href)) {
            own = xmlNewNs(top, found->href, found->prefix);
        }
        if (own != nullptr) {
            xmlNodeSetName(named, utf8(name.substr(colon + 1).c_str()));
            *ns = own;
            bound = true;
        }
    };
    if (node->type != XML_ELEMENT_NODE) {
        return false;
    }
    bind(node, node, &node->ns);
    for (xmlAttr* a = node->properties; a != nullptr; a = a->next) {
        bind(reinterpret_cast<xmlNode*>(a), node, &a->ns);
    }
    for (xmlNode* c = node->children; c != nullptr; c = c->next) {
        bound = bindNames(c, top, scope) || bound;
    }
    return bound;
}

}  // namespace

// Whether a kept declaration may move to the root of a feed written in
// format. Outside a podcast it may not when it is iTunes' namespace, or the
// prefix "itunes" in any case and namespace: a root that declares either
// makes the next read take the feed for a podcast.
bool mayDeclareAtRoot(const xmlChar* prefix, const xmlChar* href, int format) {
    return format == 2 || (!xml::sameName(href, kItunesUri) &&
                           (prefix == nullptr || strcasecmp(chars(prefix), "itunes") != 0));
}

void markMovedToRoot(xmlNs* ns) {
    if (ns != nullptr) {
        ns->_private = &kMovedToRoot;
    }
}

void GoneItemUses::note(const xmlNode* item) {
    m_parent = item->parent;
    auto add = [&](xmlNs* ns, std::string prefix) {
        for (const Use& use : m_uses) {
            if (use.ns == ns && use.prefix == prefix) {
                return;
            }
        }
        m_uses.push_back({ns, std::move(prefix)});
    };
    eachName(item, [&](const xmlNode* named, xmlNs* ns) {
        if (ns == nullptr) {
            std::string prefix = heldPrefix(named);
            if (prefix.empty()) {
                return;
            }
            // Declared in the item, or above it already: that stays what
            // binds the name.
            ns = declarationAt(named, prefix);
            if (ns == nullptr) {
                add(nullptr, std::move(prefix));
                return;
            }
        }
        if (movedToRoot(ns)) {
            add(ns, std::string());
        }
    });
}

void orderKeptDeclarations(xmlNode* root, const GoneItemUses* gone) {
    if (root == nullptr) {
        return;
    }
    std::vector<xmlNs*> own;
    std::vector<xmlNs*> moved;
    for (xmlNs* ns = root->nsDef; ns != nullptr; ns = ns->next) {
        (movedToRoot(ns) ? moved : own).push_back(ns);
    }
    if (moved.empty()) {
        return;
    }
    std::vector<xmlNs*> order;
    if (moved.size() > 1) {
        firstUsesOfMoved(root, gone, order);
    }
    for (xmlNs* ns : moved) {
        if (std::find(order.begin(), order.end(), ns) == order.end()) {
            order.push_back(ns);
        }
    }
    own.insert(own.end(), order.begin(), order.end());
    xmlNs** link = &root->nsDef;
    for (xmlNs* ns : own) {
        *link = ns;
        link = &ns->next;
    }
    *link = nullptr;
}

// The copy's own declarations: dropped where nothing in the copy uses one
// (read again, the copy would not carry it) or the same one is in scope,
// moved to the root where its prefix is free, so that a rewritten feed
// declares its namespaces once, as feeds do.
void tidyNamespaces(xmlNode* copy, xmlNode* root, int format) {
    xmlNs** link = &copy->nsDef;
    while (*link != nullptr) {
        xmlNs* ns = *link;
        if (!usesNamespace(copy, ns)) {
            *link = ns->next;
            xmlFreeNs(ns);
            continue;
        }
        xmlNs* inScope = xmlSearchNs(copy->doc, copy->parent, ns->prefix);
        if (inScope != nullptr && xmlStrEqual(inScope->href, ns->href)) {
            *link = ns->next;
            retarget(copy, ns, inScope);
            xmlFreeNs(ns);
            continue;
        }
        bool hoist = inScope == nullptr && ns->prefix != nullptr && root != nullptr &&
                     mayDeclareAtRoot(ns->prefix, ns->href, format);
        if (hoist) {
            *link = ns->next;
            ns->next = nullptr;
            xmlNs** end = &root->nsDef;
            while (*end != nullptr) {
                end = &(*end)->next;
            }
            *end = ns;
            markMovedToRoot(ns);
            continue;
        }
        link = &ns->next;
    }
}

// A kept element read under a prefix the feed never declared keeps the
// prefix in its name; where the file written declares it, the element will
// read as that namespace's. A copy with its names so bound, to judge and
// place it as such; null when nothing needs binding.
xmlNode* boundCopy(const xmlNode* kept, xmlNode* parent) {
    if (parent == nullptr) {
        return nullptr;
    }
    xmlNode* copy = xmlDocCopyNode(const_cast<xmlNode*>(kept), parent->doc, 1);
    if (copy != nullptr && !bindNames(copy, copy, parent)) {
        xmlFreeNode(copy);
        copy = nullptr;
    }
    return copy;
}

}  // namespace lum
