#include "hostapp/pages/PageRevision.h"

#include "hostapp/pages/CssUrls.h"
#include "hostapp/pages/PageLimits.h"
#include "hostapp/pages/PageLinks.h"
#include "hostapp/pages/PageReferences.h"
#include "hostapp/pages/PageSource.h"

#include <gumbo.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace lum::page {

namespace {

constexpr size_t kLargestRevisedPage = 64u << 20;

struct Edit {
    size_t begin;  // in the parsed text
    size_t end;
    std::string replacement;          // UTF-8
    std::vector<LinkChange> changes;  // the links this edit changes
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
            visit(node, base);
            for (unsigned i = element.children.length; i > 0; --i) {
                pending.push_back(static_cast<const GumboNode*>(element.children.data[i - 1]));
            }
        }
    }

    std::vector<Edit>& edits() { return m_edits; }

  private:
    // A URL inside an attribute's value, to be replaced by text.
    struct Splice {
        size_t begin;
        size_t end;
        std::string text;
        LinkChange change;
    };

    // An element the parser made up (no tag in the source) has nothing to edit.
    bool inSource(const GumboStringPiece& piece) const {
        return piece.data != nullptr && piece.length > 0;
    }
    size_t offsetOf(const char* p) const { return static_cast<size_t>(p - m_text); }

    void visit(const GumboNode* node, const std::string& base) {
        const GumboElement& element = node->v.element;
        if (!inSource(element.original_tag)) {
            return;
        }
        const char* tag = gumbo_normalized_tagname(element.tag);
        const char* linkAttribute = linkAttributeOf(tag);
        // Parts of one attribute's value change together: it is written once.
        std::vector<std::pair<const GumboAttribute*, std::vector<Splice>>> parts;
        for (const Reference& reference : referencesOf(node)) {
            LinkDecision decision = m_decide(tag, base, reference.url);
            if (decision.action == LinkAction::Keep) {
                continue;
            }
            LinkChange change{tag, reference.url, decision.value};
            switch (reference.form) {
                case ReferenceForm::Value:
                    if (decision.action == LinkAction::Replace) {
                        replaceValue(*reference.attribute, decision.value, std::move(change));
                    } else if (linkAttribute &&
                               std::string_view(reference.attribute->name) == linkAttribute) {
                        removeLink(element, *reference.attribute, std::move(change));
                    } else {
                        removeAttribute(*reference.attribute, std::move(change));
                    }
                    break;
                case ReferenceForm::InValue:
                case ReferenceForm::CssInValue:
                    // A URL among others is not taken out: the value would
                    // no longer read. It stays, and a check finds it.
                    if (decision.action == LinkAction::Replace) {
                        if (parts.empty() || parts.back().first != reference.attribute) {
                            parts.push_back({reference.attribute, {}});
                        }
                        std::string text = reference.form == ReferenceForm::CssInValue
                                               ? cssUrlText(decision.value, reference.cssQuote)
                                               : decision.value;
                        parts.back().second.push_back(
                            {reference.begin, reference.end, std::move(text), std::move(change)});
                    }
                    break;
                case ReferenceForm::CssText:
                    if (decision.action == LinkAction::Replace) {
                        size_t at = offsetOf(reference.text->v.text.original_text.data);
                        m_edits.push_back({at + reference.begin,
                                           at + reference.end,
                                           cssUrlText(decision.value, reference.cssQuote),
                                           {std::move(change)}});
                    }
                    break;
            }
        }
        for (auto& [attribute, splices] : parts) {
            spliceValue(*attribute, std::move(splices));
        }
    }

    void removeLink(const GumboElement& element, const GumboAttribute& attribute,
                    LinkChange change) {
        size_t tagBegin = offsetOf(element.original_tag.data);
        size_t tagEnd = tagBegin + element.original_tag.length;
        if (element.tag == GUMBO_TAG_LINK || element.tag == GUMBO_TAG_AREA) {
            size_t begin = tagBegin;
            size_t end = tagEnd;
            widenToLine(m_page.text(), begin, end);
            m_edits.push_back({begin, end, {}, {std::move(change)}});
        } else if (element.tag == GUMBO_TAG_A) {
            m_edits.push_back({tagBegin, tagEnd, {}, {std::move(change)}});
            if (inSource(element.original_end_tag)) {
                size_t endBegin = offsetOf(element.original_end_tag.data);
                m_edits.push_back({endBegin, endBegin + element.original_end_tag.length, {}, {}});
            }
        } else {
            removeAttribute(attribute, std::move(change));
        }
    }

    void replaceValue(const GumboAttribute& attribute, const std::string& value,
                      LinkChange change) {
        if (attribute.original_value.data == nullptr) {
            return;
        }
        size_t begin = offsetOf(attribute.original_value.data);
        size_t end = begin + attribute.original_value.length;
        char first = attribute.original_value.length > 0 ? attribute.original_value.data[0] : 0;
        char quote = first == '\'' ? '\'' : '"';
        m_edits.push_back({begin, end, quotedAttribute(value, quote), {std::move(change)}});
    }

    void spliceValue(const GumboAttribute& attribute, std::vector<Splice> splices) {
        std::string_view old(attribute.value);
        std::string value;
        std::vector<LinkChange> changes;
        size_t copied = 0;
        for (Splice& splice : splices) {
            value.append(old.substr(copied, splice.begin - copied));
            value += splice.text;
            copied = splice.end;
            changes.push_back(std::move(splice.change));
        }
        value.append(old.substr(copied));
        if (attribute.original_value.data == nullptr) {
            return;
        }
        size_t begin = offsetOf(attribute.original_value.data);
        size_t end = begin + attribute.original_value.length;
        char first = attribute.original_value.length > 0 ? attribute.original_value.data[0] : 0;
        char quote = first == '\'' ? '\'' : '"';
        m_edits.push_back({begin, end, quotedAttribute(value, quote), std::move(changes)});
    }

    void removeAttribute(const GumboAttribute& attribute, LinkChange change) {
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
        m_edits.push_back({begin, end, {}, {std::move(change)}});
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
        revised.links.insert(revised.links.end(), edit.changes.begin(), edit.changes.end());
    }
    revised.bytes.append(bytes.substr(copied));
    return revised;
}

std::optional<RevisedPage> reviseStylesheetLinks(std::string_view bytes, const LinkDecider& decide,
                                                 std::string& error) {
    if (bytes.size() > kLargestRevisedPage) {
        error = "the stylesheet is too large to revise";
        return std::nullopt;
    }
    static const char* hex = "0123456789ABCDEF";
    RevisedPage revised;
    size_t copied = 0;
    for (const CssUrl& url : cssUrls(bytes)) {
        LinkDecision decision = decide(url.import ? "@import" : "url", "", url.url);
        if (decision.action != LinkAction::Replace) {
            continue;
        }
        // Whatever the stylesheet's encoding, ASCII reads the same in it.
        std::string ascii;
        for (char ch : decision.value) {
            auto c = static_cast<unsigned char>(ch);
            if (c >= 0x80) {
                ascii += '%';
                ascii += hex[c >> 4];
                ascii += hex[c & 15];
            } else {
                ascii += ch;
            }
        }
        revised.bytes.append(bytes.substr(copied, url.begin - copied));
        revised.bytes += cssUrlText(ascii, url.quote);
        copied = url.end;
        ++revised.changes;
        revised.links.push_back({url.import ? "@import" : "url", url.url, decision.value});
    }
    revised.bytes.append(bytes.substr(copied));
    return revised;
}

}  // namespace lum::page
