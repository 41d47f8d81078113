#include "hostapp/feedxml/FeedSkeleton.h"

#include <libxml/dict.h>

#include <cstring>
#include <string_view>

namespace lum::xml {

namespace {

// Copies that are given properties and namespace declarations but no
// children (libxml2's "extended" argument).
constexpr int kWithoutChildren = 2;
constexpr int kWhole = 1;

bool endsWithNoCase(const xmlChar* name, std::string_view tail) {
    std::size_t length = std::strlen(reinterpret_cast<const char*>(name));
    if (length < tail.size()) {
        return false;
    }
    const xmlChar* start = name + (length - tail.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if ((start[i] | 0x20) != tail[i]) {
            return false;
        }
    }
    return true;
}

// Whether an item's child is among those its element keeps: every element a
// document may list as a category or an enclosure of an item, under any
// prefix, even one never declared, which stays part of the name.
bool keptUnderItem(const xmlNode* child) {
    return child->type == XML_ELEMENT_NODE &&
           (endsWithNoCase(child->name, "category") || endsWithNoCase(child->name, "enclosure"));
}

xmlNode* copyUnder(xmlDoc* doc, xmlNode* parent, const xmlNode* element, int extended) {
    xmlNode* copy = xmlDocCopyNode(const_cast<xmlNode*>(element), doc, extended);
    if (copy != nullptr) {
        xmlAddChild(parent, copy);
    }
    return copy;
}

// Which element child of its parent node is: the elements under the root
// and the channel, and an item's parts, carry their place among all the
// children of the parent in the file, which the skeleton does not all hold.
std::size_t placeOf(const xmlNode* node) {
    if (node->psvi != nullptr) {
        return reinterpret_cast<std::uintptr_t>(node->psvi) - 1;
    }
    std::size_t place = 0;
    for (const xmlNode* s = node->prev; s != nullptr; s = s->prev) {
        place += s->type == XML_ELEMENT_NODE ? 1 : 0;
    }
    return place;
}

void setPlace(xmlNode* node, std::size_t place) {
    if (node != nullptr) {
        node->psvi = reinterpret_cast<void*>(static_cast<std::uintptr_t>(place) + 1);
    }
}

}  // namespace

FeedSkeleton::FeedSkeleton() : m_doc(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"))) {
    // Every item's element and its parts repeat a few names: held once in
    // the document's dictionary rather than copied for each, as the parser
    // does for its own trees. The document frees it.
    m_doc->dict = xmlDictCreate();
}

FeedSkeleton::~FeedSkeleton() {
    // Items stand apart from the tree, and their names are in its
    // dictionary: freed first.
    for (xmlNode* item : m_items) {
        xmlFreeNode(item);
    }
    xmlFreeDoc(m_doc);
}

void FeedSkeleton::setRoot(const xmlNode* element) {
    xmlNode* copy = xmlDocCopyNode(const_cast<xmlNode*>(element), m_doc, kWithoutChildren);
    if (copy != nullptr) {
        xmlFreeNode(xmlDocSetRootElement(m_doc, copy));
    }
    m_channel = nullptr;
}

void FeedSkeleton::setChannel(const xmlNode* element, std::size_t place) {
    if (root() != nullptr) {
        m_channel = copyUnder(m_doc, root(), element, kWithoutChildren);
        setPlace(m_channel, place);
    }
}

void FeedSkeleton::addWhole(xmlNode* parent, const xmlNode* element, std::size_t place) {
    if (parent != nullptr && element != nullptr) {
        setPlace(copyUnder(m_doc, parent, element, kWhole), place);
    }
}

ItemRecord& FeedSkeleton::addItem(
    xmlNode* parent, const xmlNode* item, std::size_t place,
    const std::function<void(const xmlNode*, ItemRecord&)>& recordPart) {
    ItemRecord& record = m_records.emplace_back();
    if (parent == nullptr) {
        return record;
    }
    // Not among parent's children: what reads the root or the channel walks
    // past the items without visiting each, and the items list comes from
    // here. The parent still leads up to the root.
    xmlNode* standIn = xmlDocCopyNode(const_cast<xmlNode*>(item), m_doc, kWithoutChildren);
    if (standIn == nullptr) {
        return record;
    }
    m_items.push_back(standIn);
    standIn->parent = parent;
    setPlace(standIn, place);
    standIn->_private = &record;
    addParts(standIn, item, recordPart);
    return record;
}

void FeedSkeleton::addParts(xmlNode* host, const xmlNode* element,
                            const std::function<void(const xmlNode*, ItemRecord&)>& recordPart) {
    std::uintptr_t place = 0;
    for (const xmlNode* c = element->children; c != nullptr; c = c->next) {
        if (c->type != XML_ELEMENT_NODE) {
            continue;
        }
        ++place;
        if (!keptUnderItem(c)) {
            continue;
        }
        xmlNode* part = namedLike(c);
        if (part == nullptr) {
            continue;
        }
        xmlAddChild(host, part);
        setPlace(part, place - 1);
        ItemRecord& partRecord = m_records.emplace_back();
        partRecord.part = true;
        part->_private = &partRecord;
        recordPart(c, partRecord);
        // A podcast's categories hold their subcategories. The parser's
        // depth limit bounds the nesting.
        addParts(part, c, recordPart);
    }
}

xmlNode* FeedSkeleton::namedLike(const xmlNode* element) {
    // The name from the document's dictionary, the namespace declared on
    // the element itself; nothing else of the element is copied.
    xmlNode* bare = xmlNewDocNode(m_doc, nullptr, element->name, nullptr);
    if (bare == nullptr || element->ns == nullptr) {
        return bare;
    }
    bare->ns = xmlNewNs(bare, element->ns->href, element->ns->prefix);
    if (bare->ns == nullptr) {
        // The xml prefix is never declared: the document holds it bound.
        bare->ns = xmlSearchNs(m_doc, bare, element->ns->prefix);
    }
    return bare;
}

void FeedSkeleton::setAnswers(ItemRecord& record, std::vector<Answer>& answers) {
    record.firstAnswer = static_cast<std::uint32_t>(m_answers.size());
    record.answerCount = static_cast<std::uint8_t>(answers.size());
    for (Answer& answer : answers) {
        m_answers.push_back(std::move(answer));
    }
}

Answer* FeedSkeleton::answerOf(const ItemRecord& record, int field) {
    for (std::size_t i = record.firstAnswer; i < record.firstAnswer + record.answerCount; ++i) {
        if (m_answers[i].field == field) {
            return &m_answers[i];
        }
    }
    return nullptr;
}

bool FeedSkeleton::nameEndsWith(const xmlNode* element, std::string_view tail) {
    return endsWithNoCase(element->name, tail);
}

ItemRecord* FeedSkeleton::recordOf(const xmlNode* node) const {
    return holds(node) && node->type == XML_ELEMENT_NODE ? static_cast<ItemRecord*>(node->_private)
                                                         : nullptr;
}

xmlNode* FeedSkeleton::samePlaceIn(const xmlNode* node, xmlNode* treeRoot) {
    std::vector<std::size_t> path;
    for (; node != nullptr && node->parent != nullptr && node->parent->type == XML_ELEMENT_NODE;
         node = node->parent) {
        path.push_back(placeOf(node));
    }
    xmlNode* at = treeRoot;
    for (auto step = path.rbegin(); at != nullptr && step != path.rend(); ++step) {
        std::size_t left = *step;
        xmlNode* c = at->children;
        for (; c != nullptr; c = c->next) {
            if (c->type == XML_ELEMENT_NODE && left-- == 0) {
                break;
            }
        }
        at = c;
    }
    return at;
}

}  // namespace lum::xml
