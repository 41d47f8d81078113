// A feed read in one streaming pass, as the documents answer from it: the
// root, the channel and everything in them but the items, copied as they
// were met, and for each item an element that stands for it (below its
// parent, but not among its children), with a record of what the
// document's getters answered for the item. Its
// categories and enclosures (its parts) stand under it the same way: an
// element of their name alone, with a record of what the getters answered
// for them. A large feed is mostly items, so this is a small part of its
// tree.
#pragma once

#include "hostapp/feedxml/KeptMarkup.h"
#include "mfc/CString.h"

#include <libxml/tree.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace lum::xml {

// What a getter answered, when it was not false with an empty text.
struct Answer {
    std::uint8_t field;
    bool result;
    CString text;
};

// What a document's getters answered for an item or a part of one.
struct ItemRecord {
    // Its answers among the skeleton's, in the order of their fields: one
    // store for all records rather than a list for each, as a feed has as
    // many records as items and parts.
    std::uint32_t firstAnswer = 0;
    std::uint8_t answerCount = 0;
    // A part's element holds neither its attributes nor its children: what
    // its record does not answer, the file does.
    bool part = false;
    // The fields (bit 1 << field) whose text was handed over to the one who
    // asked: readers ask each once, and the text is theirs without a copy.
    std::uint32_t handedOver = 0;
    // The fields (bit 1 << field) the record answers; the getters of other
    // fields read the file.
    std::uint32_t fields = 0;
    KeptMarkup kept;
};

class FeedSkeleton {
  public:
    FeedSkeleton();
    ~FeedSkeleton();
    FeedSkeleton(const FeedSkeleton&) = delete;
    FeedSkeleton& operator=(const FeedSkeleton&) = delete;

    // The copy of the file's root element, null until setRoot.
    xmlNode* root() const { return xmlDocGetRootElement(m_doc); }
    // The copy of the channel the items are read from, null when none.
    xmlNode* channel() const { return m_channel; }

    // The root element with its attributes and namespace declarations.
    void setRoot(const xmlNode* element);
    // Below, place is which element child of its parent in the file
    // element is. The channel the same way as the root, under the root.
    void setChannel(const xmlNode* element, std::size_t place);
    // A copy of element and all below it, under parent.
    void addWhole(xmlNode* parent, const xmlNode* element, std::size_t place);
    // The element that stands for item below parent, and its record; the
    // elements that stand for its parts under it (and for their parts under
    // them), each record handed to recordPart with the part as the parser
    // built it.
    ItemRecord& addItem(xmlNode* parent, const xmlNode* item, std::size_t place,
                        const std::function<void(const xmlNode*, ItemRecord&)>& recordPart);
    // The answers of record, moved from answers.
    void setAnswers(ItemRecord& record, std::vector<Answer>& answers);
    // record's answer for field into out, false with an empty text when it
    // holds none; nothing when the file must answer. An item's text is
    // handed over (asked again, the file answers); a part's is copied, as it
    // is asked again where an item's first enclosure stands for the item.
    std::optional<bool> answer(ItemRecord& record, int field, CString& out);
    // Whether element's name ends in tail ("category"), without regard to
    // case and with any prefix.
    static bool nameEndsWith(const xmlNode* element, std::string_view tail);
    // The items' elements, in the order of the file.
    const std::vector<xmlNode*>& items() const { return m_items; }

    // Whether node is one of the skeleton's.
    bool holds(const xmlNode* node) const { return node != nullptr && node->doc == m_doc; }
    // The record of the item node stands for; null when it stands for none.
    ItemRecord* recordOf(const xmlNode* node) const;
    // Whether node holds items below it (the root, the channel).
    bool holdsItems(const xmlNode* node) const { return node == root() || node == m_channel; }
    // The element at node's place in the file's own tree (tree's root
    // element there): null when that tree has no such place.
    static xmlNode* samePlaceIn(const xmlNode* node, xmlNode* treeRoot);

  private:
    // The parts among element's children, under host, each with its record.
    void addParts(xmlNode* host, const xmlNode* element,
                  const std::function<void(const xmlNode*, ItemRecord&)>& recordPart);
    // An element of element's name and namespace, with nothing in it.
    xmlNode* namedLike(const xmlNode* element);
    // made (an element without children) moved to the stand-ins' blocks;
    // null when made is.
    xmlNode* standIn(xmlNode* made);

    xmlDoc* m_doc;
    xmlNode* m_channel = nullptr;
    std::vector<xmlNode*> m_items;
    // A feed has an element for each item and part, which all live as long
    // as the skeleton: they are kept in blocks, and freed with them rather
    // than one by one. Their names are in the document's dictionary; what
    // else an element holds (attributes, namespace declarations) is its own.
    std::vector<std::unique_ptr<xmlNode[]>> m_standInBlocks;
    std::size_t m_standInsLeft = 0;
    // The few stand-ins that hold attributes or namespace declarations.
    std::vector<xmlNode*> m_standInsHolding;
    void noteHolding(xmlNode* standIn);
    // Drops the items' answers before first, and those at the front that
    // were handed over.
    void dropItemAnswersBefore(std::size_t first);

    std::deque<ItemRecord> m_records;
    // Readers take the items in turn, each text once: the items' answers
    // are let go from the front as they are handed over, and those of the
    // items before the one asked (a podcast's reader never asks an item's
    // link), so that their room serves the records being filled. What is
    // asked of an item after that, the file answers. Parts' answers stay.
    std::deque<Answer> m_itemAnswers;
    std::size_t m_itemAnswersDropped = 0;
    // Where answers went unasked, in order.
    std::vector<std::uint32_t> m_unaskedDropped;
    // Parts' answers stay as long as the skeleton, and are copied each time
    // they are asked: their texts are held one after another in blocks,
    // which go at once, rather than each in a string of its own.
    struct PartAnswer {
        std::uint8_t field;
        bool result;
        std::uint32_t length;
        const char16_t* text;
    };
    std::deque<PartAnswer> m_partAnswers;
    std::vector<std::unique_ptr<char16_t[]>> m_partTexts;
    char16_t* m_partTextAt = nullptr;
    std::size_t m_partTextLeft = 0;
    // A copy of text among the parts' texts.
    const char16_t* keepPartText(std::u16string_view text);
};

}  // namespace lum::xml
