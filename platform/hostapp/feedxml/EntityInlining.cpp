#include "hostapp/feedxml/EntityInlining.h"

#include <libxml/entities.h>

namespace lum::xml {

namespace {

// What a reference stands for, as new nodes of doc (a list linked by next),
// or null for nothing.
xmlNode* contentOf(xmlDoc* doc, const xmlNode* reference) {
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

void inlineUnder(xmlDoc* doc, xmlNode* node) {
    while (node != nullptr) {
        if (node->type == XML_ENTITY_REF_NODE) {
            xmlNode* first = nullptr;
            xmlNode* copy = contentOf(doc, node);
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
                inlineUnder(doc, a->children);
            }
        }
        if (node->type == XML_ELEMENT_NODE || node->type == XML_DOCUMENT_NODE) {
            inlineUnder(doc, node->children);
        }
        node = node->next;
    }
}

}  // namespace

void inlineEntityReferences(xmlDoc* doc) {
    if (doc == nullptr) {
        return;
    }
    for (xmlNode* node = doc->children; node != nullptr; node = node->next) {
        if (node->type == XML_ELEMENT_NODE) {
            inlineUnder(doc, node);
            return;
        }
    }
}

}  // namespace lum::xml
