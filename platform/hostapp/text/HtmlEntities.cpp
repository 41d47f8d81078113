#include "hostapp/text/HtmlEntities.h"

#include <gumbo.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

namespace lum::xml {

namespace {

// HTML's table of over two thousand names lives in its parser; gumbo keeps it
// inside the tokenizer, so a reference is read the way HTML reads it: as an
// attribute value. In an attribute a name that HTML does not know stays as
// written, and so does a known name directly followed by more letters
// ("&notit;" is not "¬it;"), so any other value is the reference decoded.
std::optional<std::string> decodeWithHtmlParser(const std::string& name) {
    std::string reference = "&" + name + ";";
    std::string markup = "<a t=\"" + reference + "\">";
    GumboOutput* output =
        gumbo_parse_with_options(&kGumboDefaultOptions, markup.data(), markup.size());
    if (output == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> value;
    const GumboNode* html = output->root;
    if (html != nullptr && html->type == GUMBO_NODE_ELEMENT) {
        for (unsigned i = 0; i < html->v.element.children.length; ++i) {
            const auto* body = static_cast<const GumboNode*>(html->v.element.children.data[i]);
            if (body->type != GUMBO_NODE_ELEMENT || body->v.element.tag != GUMBO_TAG_BODY ||
                body->v.element.children.length == 0) {
                continue;
            }
            const auto* a = static_cast<const GumboNode*>(body->v.element.children.data[0]);
            if (a->type == GUMBO_NODE_ELEMENT) {
                if (const GumboAttribute* t = gumbo_get_attribute(&a->v.element.attributes, "t");
                    t != nullptr && reference != t->value && t->value[0] != '\0') {
                    value = t->value;
                }
            }
        }
    }
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return value;
}

}  // namespace

std::optional<std::string> htmlNamedCharacter(std::string_view name) {
    // Every HTML name is a letter and then letters and digits, none longer
    // than 32 characters; anything else could only be misread.
    if (name.empty() || name.size() > 32 || !std::isalpha(static_cast<unsigned char>(name[0])) ||
        !std::all_of(name.begin(), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; })) {
        return std::nullopt;
    }
    // A feed repeats the same few names many times.
    static std::mutex lock;
    static std::map<std::string, std::optional<std::string>, std::less<>> known;
    std::lock_guard<std::mutex> guard(lock);
    if (auto it = known.find(name); it != known.end()) {
        return it->second;
    }
    std::string key(name);
    auto value = decodeWithHtmlParser(key);
    if (known.size() < 4096) {
        known.emplace(std::move(key), value);
    }
    return value;
}

}  // namespace lum::xml
