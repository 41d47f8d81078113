// What the entity references of a parsed document expand to, measured
// without expanding them: the guard against files that are small on disk and
// enormous once read.
#pragma once

#include <libxml/entities.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace lum::xml {

// Guards against documents that are small on disk but enormous once read:
// without entity substitution the parser measures each entity only once,
// so a 200 KB entity referenced from a thousand items passes its checks and
// becomes 200 MB of text in the fields that read it. What all references
// together expand to is measured here, and the document is refused when
// that is out of all proportion to the file.
class EntityExpansion {
  public:
    // The characters the references under node stand for.
    std::uint64_t underNode(const xmlNode* node) {
        std::uint64_t total = 0;
        for (; node != nullptr && total <= kCeiling; node = node->next) {
            if (node->type == XML_ENTITY_REF_NODE) {
                total += ofEntity(reinterpret_cast<const xmlEntity*>(node->children));
                continue;
            }
            if (node->type == XML_ELEMENT_NODE) {
                for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
                    total += underNode(a->children);
                }
            }
            total += underNode(node->children);
        }
        return total;
    }

    // The characters the references in an element's attributes stand for.
    std::uint64_t inAttributes(const xmlNode* element) {
        std::uint64_t total = 0;
        for (const xmlAttr* a = element->properties; a != nullptr && total <= kCeiling;
             a = a->next) {
            total += underNode(a->children);
        }
        return total;
    }

    // The characters one entity reference stands for.
    std::uint64_t ofReference(const xmlNode* reference) {
        return ofEntity(reinterpret_cast<const xmlEntity*>(reference->children));
    }

  private:
    static constexpr std::uint64_t kCeiling = std::uint64_t{1} << 40;

    // All the text of an entity's content, its own references expanded.
    std::uint64_t ofEntity(const xmlEntity* entity) {
        if (entity == nullptr || entity->type != XML_ENTITY_DECL) {
            return 0;
        }
        auto known = m_sizes.find(entity);
        if (known != m_sizes.end()) {
            return known->second;
        }
        m_sizes[entity] = 0;  // a loop, which the parser refuses anyway, counts nothing
        std::uint64_t size = 0;
        if (entity->children == nullptr) {
            size = static_cast<std::uint64_t>(std::max(entity->length, 0));
        } else {
            for (const xmlNode* c = entity->children; c != nullptr && size <= kCeiling;
                 c = c->next) {
                size += textOf(c);
            }
        }
        m_sizes[entity] = std::min(size, kCeiling);
        return m_sizes[entity];
    }

    std::uint64_t textOf(const xmlNode* node) {
        switch (node->type) {
            case XML_TEXT_NODE:
            case XML_CDATA_SECTION_NODE:
                return node->content ? static_cast<std::uint64_t>(xmlStrlen(node->content)) : 0;
            case XML_ENTITY_REF_NODE:
                return ofEntity(reinterpret_cast<const xmlEntity*>(node->children));
            case XML_ELEMENT_NODE: {
                std::uint64_t size = 0;
                for (const xmlNode* c = node->children; c != nullptr && size <= kCeiling;
                     c = c->next) {
                    size += textOf(c);
                }
                return size;
            }
            default:
                return 0;
        }
    }

    std::unordered_map<const xmlEntity*, std::uint64_t> m_sizes;
};

// Text that entities may add to a document of this many bytes.
inline std::uint64_t entityBudget(std::uint64_t fileSize) {
    return (std::uint64_t{1} << 20) + 10 * fileSize;
}

inline bool declaresEntities(const xmlDoc* doc) {
    return (doc->intSubset != nullptr && doc->intSubset->entities != nullptr) ||
           (doc->extSubset != nullptr && doc->extSubset->entities != nullptr);
}

}  // namespace lum::xml
