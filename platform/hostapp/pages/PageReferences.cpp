#include "hostapp/pages/PageReferences.h"

#include "hostapp/pages/CssUrls.h"
#include "hostapp/pages/PageLinks.h"

#include <strings.h>
#include <cctype>
#include <string_view>
#include <utility>

namespace lum::page {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::pair<size_t, size_t> trimmedSpan(std::string_view v, size_t begin, size_t end) {
    while (begin < end && isSpace(v[begin])) {
        ++begin;
    }
    while (end > begin && isSpace(v[end - 1])) {
        --end;
    }
    return {begin, end};
}

void addPart(std::vector<Reference>& out, const GumboAttribute* attribute, size_t begin,
             size_t end) {
    std::string_view value(attribute->value);
    auto [b, e] = trimmedSpan(value, begin, end);
    if (b < e) {
        out.push_back({ReferenceForm::InValue, attribute, nullptr, b, e, 0,
                       std::string(value.substr(b, e - b))});
    }
}

// The image candidates of a srcset: each URL up to white space, a trailing
// comma not its own, descriptors up to the next comma outside parentheses.
void srcsetUrls(std::vector<Reference>& out, const GumboAttribute* attribute) {
    std::string_view v(attribute->value);
    size_t at = 0;
    while (at < v.size()) {
        while (at < v.size() && (isSpace(v[at]) || v[at] == ',')) {
            ++at;
        }
        size_t start = at;
        while (at < v.size() && !isSpace(v[at])) {
            ++at;
        }
        size_t end = at;
        bool commaEnded = false;
        while (end > start && v[end - 1] == ',') {
            --end;
            commaEnded = true;
        }
        addPart(out, attribute, start, end);
        if (commaEnded) {
            continue;
        }
        int depth = 0;
        while (at < v.size() && (v[at] != ',' || depth > 0)) {
            depth += v[at] == '(' ? 1 : v[at] == ')' && depth > 0 ? -1 : 0;
            ++at;
        }
    }
}

// The target of a refresh: "5; url=next.html", "0;'next.html'".
void refreshUrl(std::vector<Reference>& out, const GumboAttribute* attribute) {
    std::string_view v(attribute->value);
    size_t at = 0;
    while (at < v.size() && isSpace(v[at])) {
        ++at;
    }
    while (at < v.size() && (std::isdigit(static_cast<unsigned char>(v[at])) || v[at] == '.')) {
        ++at;
    }
    while (at < v.size() && isSpace(v[at])) {
        ++at;
    }
    if (at < v.size() && (v[at] == ';' || v[at] == ',')) {
        ++at;
    }
    while (at < v.size() && isSpace(v[at])) {
        ++at;
    }
    if (v.size() - at >= 3 && strncasecmp(v.data() + at, "url", 3) == 0) {
        size_t after = at + 3;
        while (after < v.size() && isSpace(v[after])) {
            ++after;
        }
        if (after < v.size() && v[after] == '=') {
            at = after + 1;
            while (at < v.size() && isSpace(v[at])) {
                ++at;
            }
        }
    }
    size_t end = v.size();
    if (at < v.size() && (v[at] == '"' || v[at] == '\'')) {
        size_t close = v.find(v[at], at + 1);
        end = close == std::string_view::npos ? v.size() : close;
        ++at;
    }
    addPart(out, attribute, at, end);
}

void cssReferences(std::vector<Reference>& out, ReferenceForm form, const GumboAttribute* attribute,
                   const GumboNode* text, std::string_view css) {
    for (CssUrl& url : cssUrls(css)) {
        out.push_back({form, attribute, text, url.begin, url.end, url.quote, std::move(url.url)});
    }
}

const GumboAttribute* attributeOf(const GumboElement& element, const char* name) {
    return gumbo_get_attribute(&element.attributes, name);
}

}  // namespace

std::vector<Reference> referencesOf(const GumboNode* node) {
    std::vector<Reference> out;
    if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE) {
        return out;
    }
    const GumboElement& element = node->v.element;
    auto whole = [&](const char* name) {
        if (const GumboAttribute* attribute = attributeOf(element, name)) {
            std::string_view value(attribute->value);
            auto [b, e] = trimmedSpan(value, 0, value.size());
            if (b < e) {
                out.push_back({ReferenceForm::Value, attribute, nullptr, b, e, 0,
                               std::string(value.substr(b, e - b))});
            }
        }
    };
    if (const char* name = linkAttributeOf(gumbo_normalized_tagname(element.tag))) {
        whole(name);
    }
    switch (element.tag) {
        case GUMBO_TAG_FORM:
            whole("action");
            break;
        case GUMBO_TAG_VIDEO:
            whole("poster");
            break;
        case GUMBO_TAG_IMG:
        case GUMBO_TAG_SOURCE:
            if (const GumboAttribute* srcset = attributeOf(element, "srcset")) {
                srcsetUrls(out, srcset);
            }
            break;
        case GUMBO_TAG_META: {
            const GumboAttribute* equiv = attributeOf(element, "http-equiv");
            const GumboAttribute* content = attributeOf(element, "content");
            if (equiv && content && strcasecmp(equiv->value, "refresh") == 0) {
                refreshUrl(out, content);
            }
            break;
        }
        case GUMBO_TAG_STYLE:
            for (unsigned i = 0; i < element.children.length; ++i) {
                auto* child = static_cast<const GumboNode*>(element.children.data[i]);
                if ((child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE) &&
                    child->v.text.original_text.data != nullptr) {
                    cssReferences(out, ReferenceForm::CssText, nullptr, child,
                                  std::string_view(child->v.text.original_text.data,
                                                   child->v.text.original_text.length));
                }
            }
            break;
        default:
            break;
    }
    if (const GumboAttribute* style = attributeOf(element, "style")) {
        cssReferences(out, ReferenceForm::CssInValue, style, nullptr, style->value);
    }
    return out;
}

}  // namespace lum::page
