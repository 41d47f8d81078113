#include "hostapp/pages/PageRevision.h"

#include "hostapp/pages/PageLimits.h"
#include "hostapp/pages/PageLinks.h"
#include "hostapp/pages/PageSource.h"

#include <gumbo.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace lum::page {

namespace {

constexpr size_t kLargestRevisedPage = 64u << 20;

struct Edit {
    size_t begin;  // in the parsed text
    size_t end;
    std::string replacement;  // UTF-8
};

std::string trimmed(std::string_view v) {
    const char* space = " \t\n\f\r";
    size_t first = v.find_first_not_of(space);
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(v.substr(first, v.find_last_not_of(space) - first + 1));
}

std::string quotedAttribute(std::string_view value, char quote) {
    std::string out(1, quote);
    for (char c : value) {
        if (c == '&') {
            out += "&amp;";
        } else if (c == quote) {
            out += quote == '"' ? "&quot;" : "&#39;";
        } else {
            out += c;
        }
    }
    out += quote;
    return out;
}

bool isLineSpace(char c) {
    return c == ' ' || c == '\t';
}

// A removed element standing alone on its line takes the line with it, so no
// blank line is left behind.
void widenToLine(const std::string& text, size_t& begin, size_t& end) {
    size_t b = begin;
    while (b > 0 && isLineSpace(text[b - 1])) {
        --b;
    }
    size_t e = end;
    while (e < text.size() && isLineSpace(text[e])) {
        ++e;
    }
    bool lineStart = b == 0 || text[b - 1] == '\n';
    if (!lineStart || e >= text.size()) {
        return;
    }
    if (text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n') {
        e += 2;
    } else if (text[e] == '\n') {
        e += 1;
    } else {
        return;
    }
    begin = b;
    end = e;
}

class Reviser {
  public:
    Reviser(const PageSource& page, const char* text, const LinkDecider& decide)
        : m_page(page), m_text(text), m_decide(decide) {}

    void collect(const GumboNode* root, const std::string& base) {
        // Document order without recursion: deep markup cannot exhaust the stack.
        std::vector<const GumboNode*> pending{root};
        while (!pending.empty()) {
            const GumboNode* node = pending.back();
            pending.pop_back();
            if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE) {
                continue;
            }
            const GumboElement& element = node->v.element;
            visit(element, base);
            for (unsigned i = element.children.length; i > 0; --i) {
                pending.push_back(static_cast<const GumboNode*>(element.children.data[i - 1]));
            }
        }
    }

    std::vector<Edit>& edits() { return m_edits; }

  private:
    // An element the parser made up (no tag in the source) has nothing to edit.
    bool inSource(const GumboStringPiece& piece) const {
        return piece.data != nullptr && piece.length > 0;
    }
    size_t offsetOf(const char* p) const { return static_cast<size_t>(p - m_text); }

    void visit(const GumboElement& element, const std::string& base) {
        if (!inSource(element.original_tag)) {
            return;
        }
        const char* tag = gumbo_normalized_tagname(element.tag);
        const char* attributeName = linkAttributeOf(tag);
        if (!attributeName) {
            return;
        }
        const GumboAttribute* attribute = gumbo_get_attribute(&element.attributes, attributeName);
        if (!attribute) {
            return;
        }
        std::string url = trimmed(attribute->value);
        if (url.empty()) {
            return;
        }
        LinkDecision decision = m_decide(tag, base, url);
        size_t tagBegin = offsetOf(element.original_tag.data);
        size_t tagEnd = tagBegin + element.original_tag.length;
        if (decision.action == LinkAction::Replace) {
            replaceValue(*attribute, decision.value);
        } else if (decision.action == LinkAction::Remove) {
            if (element.tag == GUMBO_TAG_LINK || element.tag == GUMBO_TAG_AREA) {
                size_t begin = tagBegin;
                size_t end = tagEnd;
                widenToLine(m_page.text(), begin, end);
                m_edits.push_back({begin, end, {}});
            } else if (element.tag == GUMBO_TAG_A) {
                m_edits.push_back({tagBegin, tagEnd, {}});
                if (inSource(element.original_end_tag)) {
                    size_t endBegin = offsetOf(element.original_end_tag.data);
                    m_edits.push_back({endBegin, endBegin + element.original_end_tag.length, {}});
                }
            } else {
                removeAttribute(*attribute);
            }
        }
    }

    void replaceValue(const GumboAttribute& attribute, const std::string& value) {
        if (attribute.original_value.data == nullptr) {
            return;
        }
        size_t begin = offsetOf(attribute.original_value.data);
        size_t end = begin + attribute.original_value.length;
        char first = attribute.original_value.length > 0 ? attribute.original_value.data[0] : 0;
        char quote = first == '\'' ? '\'' : '"';
        m_edits.push_back({begin, end, quotedAttribute(value, quote)});
    }

    void removeAttribute(const GumboAttribute& attribute) {
        if (attribute.original_name.data == nullptr || attribute.original_value.data == nullptr) {
            return;
        }
        size_t begin = offsetOf(attribute.original_name.data);
        size_t end = offsetOf(attribute.original_value.data) + attribute.original_value.length;
        // The space in front of the attribute goes with it.
        while (begin > 0 &&
               std::string_view(" \t\r\n\f").find(m_text[begin - 1]) != std::string_view::npos) {
            --begin;
        }
        m_edits.push_back({begin, end, {}});
    }

    const PageSource& m_page;
    const char* m_text;
    const LinkDecider& m_decide;
    std::vector<Edit> m_edits;
};

// The first <base href> of the page, as the links are resolved against it.
std::string baseOf(const GumboNode* root) {
    std::vector<const GumboNode*> pending{root};
    while (!pending.empty()) {
        const GumboNode* node = pending.back();
        pending.pop_back();
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE) {
            continue;
        }
        const GumboElement& element = node->v.element;
        if (element.tag == GUMBO_TAG_BASE) {
            if (const GumboAttribute* href = gumbo_get_attribute(&element.attributes, "href")) {
                return trimmed(href->value);
            }
        }
        for (unsigned i = element.children.length; i > 0; --i) {
            pending.push_back(static_cast<const GumboNode*>(element.children.data[i - 1]));
        }
    }
    return {};
}

}  // namespace

std::optional<RevisedPage> revisePageLinks(std::string_view bytes, const LinkDecider& decide,
                                           std::string& error) {
    std::optional<PageSource> page = PageSource::read(bytes, error);
    if (!page) {
        return std::nullopt;
    }
    const std::string& text = page->text();
    // The scan skips such pages too, so their links were never recorded;
    // one that grew past the limits since is left alone rather than parsed
    // for hours.
    if (bytes.size() > kLargestRevisedPage || !withinParseLimits(text)) {
        error = "the page is too large or too deeply nested to revise";
        return std::nullopt;
    }
    std::unique_ptr<GumboOutput, void (*)(GumboOutput*)> output(
        gumbo_parse_with_options(&kGumboDefaultOptions, text.data(), text.size()),
        [](GumboOutput* o) { gumbo_destroy_output(&kGumboDefaultOptions, o); });
    if (!output) {
        error = "the page cannot be parsed";
        return std::nullopt;
    }
    Reviser reviser(*page, text.data(), decide);
    reviser.collect(output->root, baseOf(output->root));
    std::vector<Edit>& edits = reviser.edits();
    std::sort(edits.begin(), edits.end(),
              [](const Edit& a, const Edit& b) { return a.begin < b.begin; });

    RevisedPage revised;
    size_t copied = 0;  // bytes of the original taken over so far
    for (const Edit& edit : edits) {
        size_t begin = page->byteOffset(edit.begin);
        size_t end = page->byteOffset(edit.end);
        if (begin < copied) {
            continue;  // overlaps an edit already made
        }
        revised.bytes.append(bytes.substr(copied, begin - copied));
        revised.bytes += page->encode(edit.replacement);
        copied = end;
        ++revised.changes;
    }
    revised.bytes.append(bytes.substr(copied));
    return revised;
}

}  // namespace lum::page
