#include "hostapp/pages/PageLinks.h"

#include "hostapp/pages/CssUrls.h"
#include "hostapp/pages/PageReferences.h"

#include <gumbo.h>

#include <memory>

namespace lum::page {

namespace {

struct LinkAttribute {
    GumboTag tag;
    const char* attribute;
};

constexpr LinkAttribute kLinkAttributes[] = {
    {GUMBO_TAG_A, "href"},      {GUMBO_TAG_AREA, "href"},  {GUMBO_TAG_LINK, "href"},
    {GUMBO_TAG_IMG, "src"},     {GUMBO_TAG_SCRIPT, "src"}, {GUMBO_TAG_FRAME, "src"},
    {GUMBO_TAG_IFRAME, "src"},  {GUMBO_TAG_EMBED, "src"},  {GUMBO_TAG_SOURCE, "src"},
    {GUMBO_TAG_AUDIO, "src"},   {GUMBO_TAG_VIDEO, "src"},  {GUMBO_TAG_TRACK, "src"},
    {GUMBO_TAG_OBJECT, "data"}, {GUMBO_TAG_INPUT, "src"},  {GUMBO_TAG_BODY, "background"},
};

std::string trimmed(const char* value) {
    std::string_view v(value);
    const char* space = " \t\n\f\r";
    size_t first = v.find_first_not_of(space);
    if (first == std::string_view::npos) {
        return {};
    }
    size_t last = v.find_last_not_of(space);
    return std::string(v.substr(first, last - first + 1));
}

std::string textOf(const GumboNode* node) {
    std::string text;
    const GumboVector& children = node->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE) {
            text += child->v.text.text;
        }
    }
    return trimmed(text.c_str());
}

// Where a reference is written: a <style>'s URL exactly, an attribute's at
// its value (a value with references decoded counts from its start).
size_t offsetIn(std::string_view html, const Reference& reference) {
    if (reference.form == ReferenceForm::CssText) {
        return static_cast<size_t>(reference.text->v.text.original_text.data - html.data()) +
               reference.begin;
    }
    const GumboStringPiece& value = reference.attribute->original_value;
    if (value.data == nullptr) {
        return 0;
    }
    size_t at = static_cast<size_t>(value.data - html.data());
    bool quoted = value.length >= 2 && (value.data[0] == '"' || value.data[0] == '\'');
    std::string_view written(value.data + (quoted ? 1 : 0), value.length - (quoted ? 2 : 0));
    at += quoted ? 1 : 0;
    return written == reference.attribute->value ? at + reference.begin : at;
}

}  // namespace

std::pair<long, long> lineAndColumn(std::string_view text, size_t offset) {
    long line = 1;
    long column = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i) {
        char c = text[i];
        if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++line;
            column = 1;
        } else if (c != '\r' && (static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return {line, column};
}

const char* linkAttributeOf(std::string_view tag) {
    for (const auto& la : kLinkAttributes) {
        if (tag == gumbo_normalized_tagname(la.tag)) {
            return la.attribute;
        }
    }
    return nullptr;
}

PageLinks extractLinks(std::string_view html) {
    PageLinks result;
    std::unique_ptr<GumboOutput, void (*)(GumboOutput*)> output(
        gumbo_parse_with_options(&kGumboDefaultOptions, html.data(), html.size()),
        [](GumboOutput* o) { gumbo_destroy_output(&kGumboDefaultOptions, o); });
    if (!output) {
        return result;
    }
    // Document order, without recursion: deep markup cannot exhaust the stack.
    std::vector<const GumboNode*> pending{output->root};
    bool haveTitle = false;
    while (!pending.empty()) {
        const GumboNode* node = pending.back();
        pending.pop_back();
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE) {
            continue;
        }
        const GumboElement& element = node->v.element;
        if (element.tag == GUMBO_TAG_BASE && result.base.empty()) {
            if (const GumboAttribute* href = gumbo_get_attribute(&element.attributes, "href")) {
                result.base = trimmed(href->value);
            }
        } else if (element.tag == GUMBO_TAG_TITLE && !haveTitle &&
                   element.tag_namespace == GUMBO_NAMESPACE_HTML) {
            result.title = textOf(node);
            haveTitle = true;
        }
        for (Reference& reference : referencesOf(node)) {
            result.links.push_back({gumbo_normalized_tagname(element.tag), std::move(reference.url),
                                    offsetIn(html, reference)});
        }
        for (unsigned i = element.children.length; i > 0; --i) {
            pending.push_back(static_cast<const GumboNode*>(element.children.data[i - 1]));
        }
    }
    return result;
}

std::vector<PageLink> stylesheetLinks(std::string_view css) {
    std::vector<PageLink> links;
    for (CssUrl& url : cssUrls(css)) {
        links.push_back({url.import ? "@import" : "url", std::move(url.url), url.begin});
    }
    return links;
}

}  // namespace lum::page
