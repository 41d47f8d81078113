#include "hostapp/feedxml/FeedSkeleton.h"

#include <libxml/dict.h>

#include <algorithm>
#include <string_view>
#include <utility>

namespace lum::xml {

namespace {

// Copies that are given properties and namespace declarations but no
// children (libxml2's "extended" argument).
constexpr int kWithoutChildren = 2;
constexpr int kWhole = 1;
// The field of an answer whose text was handed over.
constexpr std::uint8_t kHandedOverField = 0xFF;
// The stand-ins' blocks: from a few, so that a small feed takes little,
// each next one twice as large, up to half a megabyte.
constexpr std::size_t kFirstStandIns = 16;
constexpr std::size_t kMostStandIns = 4096;
// The parts' texts' blocks, in characters.
constexpr std::size_t kPartTextBlock = 16384;

std::size_t standInBlockSize(std::size_t block) {
    return block >= 8 ? kMostStandIns : std::min(kFirstStandIns << block, kMostStandIns);
}

bool endsWithNoCase(std::string_view name, std::string_view tail) {
    if (name.size() < tail.size()) {
        return false;
    }
    const char* start = name.data() + (name.size() - tail.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if ((start[i] | 0x20) != tail[i]) {
            return false;
        }
    }
    return true;
}

std::string_view nameOf(const xmlNode* node) {
    return reinterpret_cast<const char*>(node->name);
}

// Whether an item's child is among those its element keeps: every element a
// document may list as a category or an enclosure of an item, under any
// prefix, even one never declared, which stays part of the name. Every child
// of every item is asked: the name is measured once for both.
bool keptUnderItem(const xmlNode* child) {
    if (child->type != XML_ELEMENT_NODE) {
        return false;
    }
    std::string_view name = nameOf(child);
    return endsWithNoCase(name, "category") || endsWithNoCase(name, "enclosure");
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
    // Items stand apart from the tree, and what their elements hold may
    // have its names in the document's dictionary: freed first.
    for (xmlNode* standIn : m_standInsHolding) {
        xmlFreePropList(standIn->properties);
        xmlFreeNsList(standIn->nsDef);
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
    xmlNode* standIn =
        this->standIn(xmlDocCopyNode(const_cast<xmlNode*>(item), m_doc, kWithoutChildren));
    if (standIn == nullptr) {
        return record;
    }
    noteHolding(standIn);
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
    xmlNode* bare = standIn(xmlNewDocNode(m_doc, nullptr, element->name, nullptr));
    if (bare == nullptr || element->ns == nullptr) {
        return bare;
    }
    bare->ns = xmlNewNs(bare, element->ns->href, element->ns->prefix);
    if (bare->ns == nullptr) {
        // The xml prefix is never declared: the document holds it bound.
        bare->ns = xmlSearchNs(m_doc, bare, element->ns->prefix);
    }
    noteHolding(bare);
    return bare;
}

xmlNode* FeedSkeleton::standIn(xmlNode* made) {
    if (made == nullptr) {
        return nullptr;
    }
    if (m_standInsLeft == 0) {
        std::size_t size = standInBlockSize(m_standInBlocks.size());
        try {
            m_standInBlocks.push_back(std::make_unique_for_overwrite<xmlNode[]>(size));
        } catch (...) {
            xmlFreeNode(made);
            throw;
        }
        m_standInsLeft = size;
    }
    xmlNode* element =
        &m_standInBlocks.back()[standInBlockSize(m_standInBlocks.size() - 1) - m_standInsLeft];
    --m_standInsLeft;
    *element = *made;
    for (xmlAttr* a = element->properties; a != nullptr; a = a->next) {
        a->parent = element;
    }
    // Only made itself: its name is the dictionary's, what it held is
    // element's now.
    xmlFree(made);
    return element;
}

void FeedSkeleton::noteHolding(xmlNode* standIn) {
    if (standIn->properties != nullptr || standIn->nsDef != nullptr) {
        try {
            m_standInsHolding.push_back(standIn);
        } catch (...) {
            xmlFreePropList(std::exchange(standIn->properties, nullptr));
            xmlFreeNsList(std::exchange(standIn->nsDef, nullptr));
            standIn->ns = nullptr;
            throw;
        }
    }
}

void FeedSkeleton::setAnswers(ItemRecord& record, std::vector<Answer>& answers) {
    record.answerCount = static_cast<std::uint8_t>(answers.size());
    if (record.part) {
        record.firstAnswer = static_cast<std::uint32_t>(m_partAnswers.size());
        for (const Answer& answer : answers) {
            std::u16string_view text = answer.text.view();
            m_partAnswers.push_back({answer.field, answer.result,
                                     static_cast<std::uint32_t>(text.size()), keepPartText(text)});
        }
        return;
    }
    record.firstAnswer = static_cast<std::uint32_t>(m_itemAnswers.size() + m_itemAnswersDropped);
    for (Answer& answer : answers) {
        m_itemAnswers.push_back(std::move(answer));
    }
}

const char16_t* FeedSkeleton::keepPartText(std::u16string_view text) {
    if (text.empty()) {
        return nullptr;
    }
    if (text.size() > m_partTextLeft) {
        // A text longer than a block has one of its own.
        std::size_t size = std::max(text.size(), kPartTextBlock);
        m_partTexts.push_back(std::make_unique_for_overwrite<char16_t[]>(size));
        m_partTextAt = m_partTexts.back().get();
        m_partTextLeft = size;
    }
    char16_t* kept = m_partTextAt;
    std::copy(text.begin(), text.end(), kept);
    m_partTextAt += text.size();
    m_partTextLeft -= text.size();
    return kept;
}

std::optional<bool> FeedSkeleton::answer(ItemRecord& record, int field, CString& out) {
    const std::size_t end = std::size_t{record.firstAnswer} + record.answerCount;
    if (record.part) {
        for (std::size_t i = record.firstAnswer; i < end; ++i) {
            const PartAnswer& answer = m_partAnswers[i];
            if (answer.field == field) {
                out = CString(std::u16string_view(answer.text, answer.length));
                return answer.result;
            }
        }
        out.Empty();
        return false;
    }
    dropItemAnswersBefore(record.firstAnswer);
    for (std::size_t i = std::max<std::size_t>(record.firstAnswer, m_itemAnswersDropped); i < end;
         ++i) {
        Answer& answer = m_itemAnswers[i - m_itemAnswersDropped];
        if (answer.field == field) {
            record.handedOver |= 1u << field;
            out = std::move(answer.text);
            bool result = answer.result;
            answer.field = kHandedOverField;
            dropItemAnswersBefore(record.firstAnswer);
            return result;
        }
    }
    // The one asked may be among those that went unasked.
    auto unasked =
        std::lower_bound(m_unaskedDropped.begin(), m_unaskedDropped.end(), record.firstAnswer);
    if (unasked != m_unaskedDropped.end() && *unasked < end) {
        return std::nullopt;
    }
    out.Empty();
    return false;
}

void FeedSkeleton::dropItemAnswersBefore(std::size_t first) {
    while (!m_itemAnswers.empty() &&
           (m_itemAnswersDropped < first || m_itemAnswers.front().field == kHandedOverField)) {
        if (m_itemAnswers.front().field != kHandedOverField) {
            m_unaskedDropped.push_back(static_cast<std::uint32_t>(m_itemAnswersDropped));
        }
        m_itemAnswers.pop_front();
        ++m_itemAnswersDropped;
    }
}

bool FeedSkeleton::nameEndsWith(const xmlNode* element, std::string_view tail) {
    return endsWithNoCase(nameOf(element), tail);
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
