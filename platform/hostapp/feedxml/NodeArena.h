// Copies of elements held in a few large blocks rather than in one
// allocation for each node, string and attribute. A feed's records keep
// thousands of small elements the readers do not take (every item's guid,
// a podcast item's description beside its summary), and allocating and then
// freeing those one node at a time was most of what keeping them cost.
//
// The arena copies exactly what libxml2's deep copy (xmlDocCopyNode) would,
// but only elements with nothing in a namespace and nothing its copy would
// have to look up elsewhere: elements, texts, CDATA sections, comments and
// processing instructions, attributes holding text. Anything else (a
// namespace, an entity reference, an ID attribute) is left to libxml2.
#pragma once

#include <libxml/tree.h>

#include <cstddef>
#include <memory>
#include <vector>

namespace lum::xml {

class NodeArena {
  public:
    // Copies belong to doc, their names to its dictionary (when it has one).
    explicit NodeArena(xmlDoc* doc) : m_doc(doc) {}
    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;

    // A copy of element and all below it, with no parent; null when the
    // arena does not copy such an element (or no memory could be had). The
    // copy lives as long as the arena and must not be freed or changed.
    const xmlNode* copy(const xmlNode* element);

    // Whether the arena copies element.
    static bool copies(const xmlNode* element);

  private:
    void* allocate(std::size_t bytes);
    xmlNode* copyNode(const xmlNode* node, xmlNode* parent);
    xmlAttr* copyAttribute(const xmlAttr* attribute, xmlNode* parent);
    const xmlChar* name(const xmlChar* name);
    xmlChar* string(const xmlChar* text);

    xmlDoc* m_doc;
    std::vector<std::unique_ptr<std::byte[]>> m_blocks;
    std::byte* m_at = nullptr;
    std::size_t m_left = 0;
    std::size_t m_nextBlock = 4096;
};

}  // namespace lum::xml
