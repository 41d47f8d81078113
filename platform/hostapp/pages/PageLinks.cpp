#include "hostapp/pages/PageLinks.h"

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

}  // namespace

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
        for (const auto& la : kLinkAttributes) {
            if (la.tag != element.tag) {
                continue;
            }
            if (const GumboAttribute* a = gumbo_get_attribute(&element.attributes, la.attribute)) {
                std::string url = trimmed(a->value);
                if (!url.empty()) {
                    result.links.push_back({gumbo_normalized_tagname(element.tag), std::move(url)});
                }
            }
        }
        for (unsigned i = element.children.length; i > 0; --i) {
            pending.push_back(static_cast<const GumboNode*>(element.children.data[i - 1]));
        }
    }
    return result;
}

}  // namespace lum::page
