// Builds a PageDocument's tree from the HTML5 parser's output.
#pragma once

#include "hostapp/pages/PageDocument.h"

#include <gumbo.h>

#include <string_view>

namespace lum::page {

class PageTreeBuilder {
  public:
    // text: the UTF-8 text the parser read; its offsets are the records'.
    PageTreeBuilder(PageDocument& page, std::string_view text);
    // Builds the tree below the html element and makes it the document's root.
    void build(const GumboOutput* output);
    static bool looksLikeXhtml(const GumboOutput* output, std::string_view text);

  private:
    size_t offsetOf(const char* p) const;
    size_t prologueEnd() const;
    SourceNode& record(xmlNode* node, SourceNode* parent);
    xmlNode* makeElement(const GumboNode* g, SourceNode* parent);
    xmlNode* makeLeaf(const GumboNode* g, SourceNode* parent);
    bool holdsMarkup(const SourceNode& r, std::string_view content) const;

    PageDocument& m_page;
    const char* m_text;
    size_t m_size;
    size_t m_reach = 0;  // the furthest offset the nodes made so far reach
};

}  // namespace lum::page
