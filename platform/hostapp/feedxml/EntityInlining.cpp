#include "hostapp/feedxml/EntityInlining.h"

#include "hostapp/text/HtmlEntities.h"

#include <libxml/entities.h>

#include <string>

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
            break;
        }
    }
    return undeclared;
}

}  // namespace lum::xml
