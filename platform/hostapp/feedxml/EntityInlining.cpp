#include "hostapp/feedxml/EntityInlining.h"

#include "hostapp/feedxml/XmlText.h"
#include "hostapp/text/HtmlEntities.h"

#include <libxml/entities.h>

#include <cstring>
#include <string>
#include <string_view>

namespace lum::xml {

namespace {

// What a reference stands for, as new nodes of doc (a list linked by next),
// or null for nothing. A name no declaration resolves (the file names a
// document type that is never loaded) stands for HTML's character of that
// name, as the repair of a file without a document type reads it, or for
// nothing, as its text reads.
xmlNode* contentOf(xmlDoc* doc, const xmlNode* reference, InlinedUndeclared& undeclared) {
    if (reference->children == nullptr) {
        auto character = htmlNamedCharacter(reinterpret_cast<const char*>(reference->name));
        if (!character) {
            undeclared.dropped = true;
            return nullptr;
        }
        undeclared.htmlNamed = true;
        return xmlNewDocTextLen(doc, reinterpret_cast<const xmlChar*>(character->data()),
                                static_cast<int>(character->size()));
    }
    const auto* entity = reinterpret_cast<const xmlEntity*>(reference->children);
    if (entity == nullptr || entity->etype != XML_INTERNAL_GENERAL_ENTITY) {
        return nullptr;
    }
    if (entity->children != nullptr) {
        return xmlDocCopyNodeList(doc, entity->children);
    }
    // An entity the parser never had to read in content: its text is parsed
    // here, character references and further entities included.
    return entity->content != nullptr ? xmlStringGetNodeList(doc, entity->content) : nullptr;
}

// A namespace declaration's value is kept as the file spells it, references
// and all: a name in it is put as its characters, as in any attribute value,
// or the declaration written back would refer to what the file written does
// not declare. Character references and the five XML names stay: they read
// back the same.
std::string hrefWithoutNames(xmlDoc* doc, std::string_view href, InlinedUndeclared& undeclared) {
    std::string out;
    for (std::size_t at = 0; at < href.size();) {
        std::size_t end = href[at] == '&' ? href.find(';', at) : std::string_view::npos;
        if (end == std::string_view::npos) {
            out += href[at++];
            continue;
        }
        std::string name(href.substr(at + 1, end - at - 1));
        const xmlEntity* entity = xmlGetDocEntity(doc, utf8(name.c_str()));
        if (name.empty() || name[0] == '#' ||
            (entity != nullptr && entity->etype == XML_INTERNAL_PREDEFINED_ENTITY)) {
            out.append(href.substr(at, end + 1 - at));
        } else if (entity != nullptr && entity->etype == XML_INTERNAL_GENERAL_ENTITY) {
            out += entity->content != nullptr ? chars(entity->content) : "";
        } else if (auto character = htmlNamedCharacter(name)) {
            undeclared.htmlNamed = true;
            out += *character;
        } else {
            undeclared.dropped = true;
        }
        at = end + 1;
    }
    return out;
}

void inlineInHrefs(xmlDoc* doc, xmlNode* node, InlinedUndeclared& undeclared) {
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) {
            continue;
        }
        for (xmlNs* ns = node->nsDef; ns != nullptr; ns = ns->next) {
            if (ns->href != nullptr && std::strchr(chars(ns->href), '&') != nullptr) {
                std::string href = hrefWithoutNames(doc, chars(ns->href), undeclared);
                xmlFree(const_cast<xmlChar*>(ns->href));
                ns->href = xmlStrdup(utf8(href.c_str()));
            }
        }
        inlineInHrefs(doc, node->children, undeclared);
    }
}

void inlineUnder(xmlDoc* doc, xmlNode* node, InlinedUndeclared& undeclared) {
    while (node != nullptr) {
        if (node->type == XML_ENTITY_REF_NODE) {
            xmlNode* first = nullptr;
            xmlNode* copy = contentOf(doc, node, undeclared);
            while (copy != nullptr) {
                xmlNode* following = copy->next;
                copy->next = nullptr;
                copy->prev = nullptr;
                // Text merges into a text before it; the walk goes on from
                // what was added, so that references inside it go too.
                xmlNode* added = xmlAddPrevSibling(node, copy);
                if (first == nullptr) {
                    first = added;
                }
                copy = following;
            }
            xmlNode* next = node->next;
            xmlUnlinkNode(node);
            xmlFreeNode(node);
            node = first != nullptr ? first : next;
            continue;
        }
        if (node->type == XML_ELEMENT_NODE) {
            for (xmlAttr* a = node->properties; a != nullptr; a = a->next) {
                inlineUnder(doc, a->children, undeclared);
            }
        }
        if (node->type == XML_ELEMENT_NODE || node->type == XML_DOCUMENT_NODE) {
            inlineUnder(doc, node->children, undeclared);
        }
        node = node->next;
    }
}

}  // namespace

InlinedUndeclared inlineEntityReferences(xmlDoc* doc) {
    InlinedUndeclared undeclared;
    if (doc == nullptr) {
        return undeclared;
    }
    for (xmlNode* node = doc->children; node != nullptr; node = node->next) {
        if (node->type == XML_ELEMENT_NODE) {
            inlineUnder(doc, node, undeclared);
            inlineInHrefs(doc, node, undeclared);
            break;
        }
    }
    return undeclared;
}

}  // namespace lum::xml
