// Copies of elements held in a few large blocks rather than in one
// allocation for each node, string and attribute. A feed's records keep
// thousands of small elements the readers do not take (every item's guid,
// a podcast item's description beside its summary), and allocating and then
// freeing those one node at a time was most of what keeping them cost.
//
// The arena copies exactly what libxml2's deep copy (xmlDocCopyNode) would:
// the same nodes, and the same namespace declarations on the copy, found the
// way libxml2 finds them. It leaves to libxml2 whatever its copy would treat
// in a way of its own: an entity reference, an ID attribute, the xml prefix,
// a name whose prefix means something else inside the copy than outside it.
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
    // arena leaves such an element to libxml2 (or no memory could be had).
    // The copy lives as long as the arena and must not be freed or changed.
    const xmlNode* copy(const xmlNode* element);

  private:
    void* allocate(std::size_t bytes);
    xmlNode* copyNode(const xmlNode* node, xmlNode* parent);
    xmlAttr* copyAttribute(const xmlAttr* attribute, xmlNode* parent);
    xmlNs* copyNamespace(const xmlNs* ns);
    xmlNs* namespaceOf(xmlNode* copy, const xmlNode* original, const xmlNs* ns);
    const xmlChar* name(const xmlChar* name);
    xmlChar* string(const xmlChar* text);

    xmlDoc* m_doc;
    // The root of the copy being made, where it declares the namespaces
    // its names use from outside it.
    xmlNode* m_copyRoot = nullptr;
    std::vector<std::unique_ptr<std::byte[]>> m_blocks;
    std::byte* m_at = nullptr;
    std::size_t m_left = 0;
    std::size_t m_nextBlock = 4096;
};

}  // namespace lum::xml
