// Builds a PageDocument's tree from the HTML5 parser's output.
#pragma once

#include "hostapp/pages/PageDocument.h"

#include <gumbo.h>

#include <string>
#include <string_view>
#include <vector>

namespace lum::page {

// An end tag put into the text the parser reads that the file does not
// have: at `at` of the parsed text, `length` bytes long.
struct ParsedInsertion {
    size_t at = 0;
    size_t length = 0;
    size_t shiftBefore = 0;  // the length of the insertions before it
};

class PageTreeBuilder {
  public:
    // text: the page's UTF-8 text, whose offsets are the records'; parsed:
    // what the parser read, the text with the insertions (the text itself
    // when there are none).
    PageTreeBuilder(PageDocument& page, std::string_view text, std::string_view parsed,
                    std::vector<ParsedInsertion> insertions = {});
    // Builds the tree below the html element and makes it the document's root.
    void build(const GumboOutput* output);
    static bool looksLikeXhtml(const GumboOutput* output, std::string_view text);
    // In XHTML "<a id="x"/>" is a whole element, which an HTML parser keeps
    // open: the text with the end tag of each such element put in after it
    // (in `parsed`), and where they went. None when the page has no such
    // element.
    static std::vector<ParsedInsertion> closeSelfClosed(const GumboOutput* output,
                                                        std::string_view text, std::string& parsed);

  private:
    // The text offset of a place in what the parser read; an inserted end
    // tag stands where it was put in.
    size_t offsetOf(const char* p) const;
    bool isInserted(const char* p) const;
    const ParsedInsertion* insertionBefore(size_t parsed) const;
    size_t prologueEnd() const;
    SourceNode& record(xmlNode* node, SourceNode* parent);
    xmlNode* makeElement(const GumboNode* g, SourceNode* parent);
    xmlNode* makeLeaf(const GumboNode* g, SourceNode* parent);
    bool holdsMarkup(const SourceNode& r, std::string_view content) const;

    PageDocument& m_page;
    const char* m_text;
    size_t m_size;
    const char* m_parsed;
    std::vector<ParsedInsertion> m_insertions;
    size_t m_reach = 0;  // the furthest offset the nodes made so far reach
};

}  // namespace lum::page
