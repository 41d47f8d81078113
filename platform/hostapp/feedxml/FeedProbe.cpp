#include "hostapp/feedxml/FeedProbe.h"

#include "hostapp/feedxml/XmlFile.h"

#include <libxml/tree.h>

#include <strings.h>
#include <cctype>
#include <memory>

namespace lum::site {

namespace {

bool nameIs(const xmlNode* node, const char* name) {
    return node && node->type == XML_ELEMENT_NODE &&
           strcasecmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

// The qualified name as written ("rdf:RDF").
std::string qualifiedName(const xmlNode* node) {
    std::string name;
    if (node->ns && node->ns->prefix) {
        name = reinterpret_cast<const char*>(node->ns->prefix);
        name += ':';
    }
    name += reinterpret_cast<const char*>(node->name);
    return name;
}

const xmlNode* firstChild(const xmlNode* parent, const char* name) {
    for (const xmlNode* child = parent ? parent->children : nullptr; child; child = child->next) {
        if (nameIs(child, name)) {
            return child;
        }
    }
    return nullptr;
}

// "xmlns:itunes" as a namespace declaration, or as a plain attribute when
// written in another case (the parser declares namespaces only for "xmlns").
bool declaresItunes(const xmlNode* root) {
    for (const xmlNs* ns = root->nsDef; ns; ns = ns->next) {
        if (ns->prefix && strcasecmp(reinterpret_cast<const char*>(ns->prefix), "itunes") == 0 &&
            ns->href && ns->href[0] != 0) {
            return true;
        }
    }
    for (const xmlAttr* a = root->properties; a; a = a->next) {
        std::string name = qualifiedName(reinterpret_cast<const xmlNode*>(a));
        if (strcasecmp(name.c_str(), "xmlns:itunes") == 0) {
            std::unique_ptr<xmlChar, void (*)(void*)> value(
                xmlNodeListGetString(a->doc, a->children, 1), xmlFree);
            return value && value.get()[0] != 0;
        }
    }
    return false;
}

std::string textOf(const xmlNode* node) {
    if (!node) {
        return {};
    }
    std::unique_ptr<xmlChar, void (*)(void*)> text(xmlNodeGetContent(node), xmlFree);
    std::string s = text ? reinterpret_cast<const char*>(text.get()) : "";
    size_t first = s.find_first_not_of(" \t\r\n");
    size_t last = s.find_last_not_of(" \t\r\n");
    return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
}

}  // namespace

bool mayBeXml(std::string_view bytes) {
    if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
        return true;  // UTF-16
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    for (char c : bytes) {
        if (c == '<') {
            return true;
        }
        if (!std::isspace(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return false;
}

std::optional<FeedFacts> probeFeed(const CString& windowsPath) {
    std::unique_ptr<xmlDoc, void (*)(xmlDoc*)> doc(lum::xml::loadFile(windowsPath), xmlFreeDoc);
    const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (!root) {
        return std::nullopt;
    }
    std::string name = qualifiedName(root);
    FeedFacts facts;
    if (strcasecmp(name.c_str(), "rss") == 0) {
        facts.format = declaresItunes(root) ? 2 : 1;
    } else if (strcasecmp(name.c_str(), "rdf:RDF") == 0) {
        facts.format = 0;
    } else {
        return std::nullopt;
    }
    facts.title = textOf(firstChild(firstChild(root, "channel"), "title"));
    return facts;
}

}  // namespace lum::site
