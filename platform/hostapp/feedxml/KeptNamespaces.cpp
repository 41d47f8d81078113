#include "hostapp/feedxml/KeptNamespaces.h"

#include "hostapp/feedxml/XmlText.h"

#include <strings.h>

#include <algorithm>
#include <string>
#include <vector>

namespace lum {

namespace {

using xml::chars;
using xml::utf8;

constexpr const char* kItunesUri = "http://www.itunes.com/dtds/podcast-1.0.dtd";

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

// The copy's own declarations that node and what is below it use, in the
// order of first use: the element's name, its attributes, its children.
void firstUses(const xmlNode* node, const xmlNode* copy, std::vector<xmlNs*>& order) {
    if (node->type != XML_ELEMENT_NODE) {
        return;
    }
    auto note = [&](xmlNs* ns) {
        bool own = false;
        for (const xmlNs* d = copy->nsDef; d != nullptr && !own; d = d->next) {
            own = d == ns;
        }
        if (own && std::find(order.begin(), order.end(), ns) == order.end()) {
            order.push_back(ns);
        }
    };
    note(node->ns);
    for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
        note(a->ns);
    }
    for (const xmlNode* c = node->children; c != nullptr; c = c->next) {
        firstUses(c, copy, order);
    }
}

// A copy of an element that declared its namespaces itself has them in the
// file's order; one read from a feed whose root declared them has them in
// the order of first use. Put into that order, the declarations moved to the
// root come out in the same order on every write.
void orderByFirstUse(xmlNode* copy) {
    std::vector<xmlNs*> order;
    firstUses(copy, copy, order);
    for (xmlNs* d = copy->nsDef; d != nullptr; d = d->next) {
        if (std::find(order.begin(), order.end(), d) == order.end()) {
            order.push_back(d);
        }
    }
    xmlNs** link = &copy->nsDef;
    for (xmlNs* ns : order) {
        *link = ns;
        link = &ns->next;
    }
    *link = nullptr;
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

// The copy's own declarations: dropped where nothing in the copy uses one
// (read again, the copy would not carry it) or the same one is in scope,
// moved to the root where its prefix is free, so that a rewritten feed
// declares its namespaces once, as feeds do.
void tidyNamespaces(xmlNode* copy, xmlNode* root, int format) {
    orderByFirstUse(copy);
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
