#include "hostapp/feedxml/NodeArena.h"

#include <libxml/dict.h>
#include <libxml/parserInternals.h>
#include <libxml/valid.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace lum::xml {

namespace {

// Blocks grow from a few kilobytes, so that a small feed takes little, to
// this; a string larger than a quarter of it has a block of its own.
constexpr std::size_t kMostBlock = std::size_t{64} << 10;

// Thrown where the copy is libxml2's to make.
struct LeftToLibxml2 {};

bool plainNodeType(xmlElementType type) {
    switch (type) {
        case XML_ELEMENT_NODE:
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
        case XML_COMMENT_NODE:
        case XML_PI_NODE:
            return true;
        default:
            return false;
    }
}

bool xmlPrefix(const xmlChar* prefix) {
    return prefix != nullptr && xmlStrEqual(prefix, reinterpret_cast<const xmlChar*>("xml"));
}

// Copies of the list from first on, linked as libxml2 links siblings (a
// namespace declaration only to the next); the last of them.
template <typename Node, typename Copy>
Node* copyList(const Node* first, Node*& head, Copy copy) {
    Node* last = nullptr;
    for (const Node* n = first; n != nullptr; n = n->next) {
        Node* made = copy(n);
        if constexpr (requires { made->prev; }) {
            made->prev = last;
        }
        (last != nullptr ? last->next : head) = made;
        last = made;
    }
    return last;
}

}  // namespace

void* NodeArena::allocate(std::size_t bytes) {
    constexpr std::size_t kAlign = alignof(std::max_align_t);
    bytes = (bytes + kAlign - 1) & ~(kAlign - 1);
    if (bytes > m_left) {
        if (bytes > kMostBlock / 4) {
            // Its own block, kept before the current one so that the rest of
            // that one still serves.
            auto own = std::make_unique<std::byte[]>(bytes);
            void* at = own.get();
            m_blocks.insert(m_blocks.end() - (m_blocks.empty() ? 0 : 1), std::move(own));
            return at;
        }
        std::size_t size = std::max(m_nextBlock, bytes);
        m_blocks.push_back(std::make_unique_for_overwrite<std::byte[]>(size));
        m_at = m_blocks.back().get();
        m_left = size;
        m_nextBlock = std::min(m_nextBlock * 2, kMostBlock);
    }
    void* at = m_at;
    m_at += bytes;
    m_left -= bytes;
    return at;
}

const xmlChar* NodeArena::name(const xmlChar* name) {
    if (name == nullptr || name == xmlStringText || name == xmlStringTextNoenc ||
        name == xmlStringComment) {
        return name;
    }
    if (m_doc != nullptr && m_doc->dict != nullptr) {
        const xmlChar* held = xmlDictLookup(m_doc->dict, name, -1);
        if (held == nullptr) {
            throw std::bad_alloc();
        }
        return held;
    }
    return string(name);
}

xmlChar* NodeArena::string(const xmlChar* text) {
    std::size_t length = std::strlen(reinterpret_cast<const char*>(text));
    auto* copy = static_cast<xmlChar*>(allocate(length + 1));
    std::memcpy(copy, text, length + 1);
    return copy;
}

xmlNs* NodeArena::copyNamespace(const xmlNs* ns) {
    if (ns->type != XML_NAMESPACE_DECL || ns->href == nullptr || xmlPrefix(ns->prefix)) {
        throw LeftToLibxml2{};
    }
    auto* copy = new (allocate(sizeof(xmlNs))) xmlNs{};
    copy->type = XML_LOCAL_NAMESPACE;
    copy->href = string(ns->href);
    copy->prefix = ns->prefix != nullptr ? string(ns->prefix) : nullptr;
    return copy;
}

xmlNs* NodeArena::namespaceOf(xmlNode* copy, const xmlNode* original, const xmlNs* ns) {
    if (xmlPrefix(ns->prefix)) {
        throw LeftToLibxml2{};
    }
    // Declared in the copy: its own declarations or one an earlier name
    // needed. libxml2 takes whatever the prefix finds.
    if (xmlNs* found = xmlSearchNs(m_doc, copy, ns->prefix)) {
        if (!xmlStrEqual(found->href, ns->href)) {
            throw LeftToLibxml2{};
        }
        return found;
    }
    // Declared outside it: declared again on the copy's root, after those
    // it had.
    const xmlNs* declared = xmlSearchNs(original->doc, const_cast<xmlNode*>(original), ns->prefix);
    if (declared == nullptr || !xmlStrEqual(declared->href, ns->href)) {
        throw LeftToLibxml2{};
    }
    xmlNs* made = copyNamespace(declared);
    xmlNs** end = &m_copyRoot->nsDef;
    while (*end != nullptr) {
        end = &(*end)->next;
    }
    *end = made;
    return made;
}

xmlAttr* NodeArena::copyAttribute(const xmlAttr* attribute, xmlNode* parent) {
    // A copy of an ID is listed in the document's IDs.
    if (attribute->type != XML_ATTRIBUTE_NODE ||
        (attribute->doc != nullptr && attribute->parent != nullptr &&
         xmlIsID(attribute->doc, attribute->parent, const_cast<xmlAttr*>(attribute)) != 0)) {
        throw LeftToLibxml2{};
    }
    auto* copy = new (allocate(sizeof(xmlAttr))) xmlAttr{};
    copy->type = XML_ATTRIBUTE_NODE;
    copy->name = name(attribute->name);
    copy->parent = parent;
    copy->doc = m_doc;
    if (attribute->ns != nullptr) {
        copy->ns = namespaceOf(parent, attribute->parent, attribute->ns);
    }
    copy->last = copyList(attribute->children, copy->children, [&](const xmlNode* c) {
        if (c->type != XML_TEXT_NODE) {
            throw LeftToLibxml2{};
        }
        return copyNode(c, reinterpret_cast<xmlNode*>(copy));
    });
    return copy;
}

xmlNode* NodeArena::copyNode(const xmlNode* node, xmlNode* parent) {
    if (!plainNodeType(node->type) ||
        (node->type != XML_ELEMENT_NODE && node->children != nullptr)) {
        throw LeftToLibxml2{};
    }
    auto* copy = new (allocate(sizeof(xmlNode))) xmlNode{};
    copy->type = node->type;
    copy->name = name(node->name);
    copy->parent = parent;
    copy->doc = m_doc;
    if (node->type != XML_ELEMENT_NODE) {
        if (node->content != nullptr) {
            copy->content = string(node->content);
        }
        return copy;
    }
    copy->line = node->line;
    if (parent == nullptr) {
        m_copyRoot = copy;
    }
    // In libxml2's order: the element's declarations, its name, its
    // attributes, its children.
    copyList(node->nsDef, copy->nsDef, [&](const xmlNs* ns) { return copyNamespace(ns); });
    if (node->ns != nullptr) {
        copy->ns = namespaceOf(copy, node, node->ns);
    }
    copyList(node->properties, copy->properties,
             [&](const xmlAttr* a) { return copyAttribute(a, copy); });
    copy->last = copyList(node->children, copy->children,
                          [&](const xmlNode* c) { return copyNode(c, copy); });
    return copy;
}

const xmlNode* NodeArena::copy(const xmlNode* element) {
    if (element == nullptr || element->type != XML_ELEMENT_NODE) {
        return nullptr;
    }
    // What was taken from the blocks for a copy given up stays there until
    // the arena goes.
    try {
        return copyNode(element, nullptr);
    } catch (const LeftToLibxml2&) {
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace lum::xml
