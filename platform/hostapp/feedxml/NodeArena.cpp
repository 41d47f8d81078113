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

bool plainAttribute(const xmlAttr* a) {
    if (a->type != XML_ATTRIBUTE_NODE || a->ns != nullptr) {
        return false;
    }
    for (const xmlNode* c = a->children; c != nullptr; c = c->next) {
        if (c->type != XML_TEXT_NODE || c->children != nullptr) {
            return false;
        }
    }
    // A copy of an ID is listed in the document's IDs.
    return a->doc == nullptr || a->parent == nullptr ||
           xmlIsID(a->doc, a->parent, const_cast<xmlAttr*>(a)) == 0;
}

// Copies of the list from first on, linked as libxml2 links siblings; the
// last of them.
template <typename Node, typename Copy>
Node* copyList(const Node* first, Node*& head, Copy copy) {
    Node* last = nullptr;
    for (const Node* n = first; n != nullptr; n = n->next) {
        Node* made = copy(n);
        made->prev = last;
        (last != nullptr ? last->next : head) = made;
        last = made;
    }
    return last;
}

}  // namespace

bool NodeArena::copies(const xmlNode* element) {
    if (element == nullptr || element->type != XML_ELEMENT_NODE) {
        return false;
    }
    // Walked without recursion: the parser's depth limit is large.
    const xmlNode* node = element;
    while (node != nullptr) {
        if (!plainNodeType(node->type) || node->ns != nullptr || node->nsDef != nullptr) {
            return false;
        }
        if (node->type == XML_ELEMENT_NODE) {
            for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
                if (!plainAttribute(a)) {
                    return false;
                }
            }
            if (node->children != nullptr) {
                node = node->children;
                continue;
            }
        } else if (node->children != nullptr) {
            return false;
        }
        while (node != element && node->next == nullptr) {
            node = node->parent;
        }
        node = node == element ? nullptr : node->next;
    }
    return true;
}

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

xmlAttr* NodeArena::copyAttribute(const xmlAttr* attribute, xmlNode* parent) {
    auto* copy = new (allocate(sizeof(xmlAttr))) xmlAttr{};
    copy->type = XML_ATTRIBUTE_NODE;
    copy->name = name(attribute->name);
    copy->parent = parent;
    copy->doc = m_doc;
    copy->last = copyList(attribute->children, copy->children, [&](const xmlNode* c) {
        return copyNode(c, reinterpret_cast<xmlNode*>(copy));
    });
    return copy;
}

xmlNode* NodeArena::copyNode(const xmlNode* node, xmlNode* parent) {
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
    copyList(node->properties, copy->properties,
             [&](const xmlAttr* a) { return copyAttribute(a, copy); });
    copy->last = copyList(node->children, copy->children,
                          [&](const xmlNode* c) { return copyNode(c, copy); });
    return copy;
}

const xmlNode* NodeArena::copy(const xmlNode* element) {
    if (!copies(element)) {
        return nullptr;
    }
    try {
        return copyNode(element, nullptr);
    } catch (const std::bad_alloc&) {
        // What was taken from the blocks stays there until the arena goes.
        return nullptr;
    }
}

}  // namespace lum::xml
