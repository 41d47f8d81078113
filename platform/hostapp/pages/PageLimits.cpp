#include "hostapp/pages/PageLimits.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace lum::page {

namespace {

// Elements that never stay open: empty ones, and those that the next
// element of their kind (or the parser's usual fix-ups) closes.
bool neverNests(const std::string& name) {
    static const std::array<const char*, 40> names = {
        "area",  "base", "basefont", "bgsound", "br",    "col",   "embed",    "frame",
        "hr",    "img",  "input",    "keygen",  "link",  "meta",  "param",    "source",
        "track", "wbr",  "p",        "li",      "dt",    "dd",    "option",   "optgroup",
        "tr",    "td",   "th",       "tbody",   "thead", "tfoot", "colgroup", "rb",
        "rt",    "rp",   "html",     "head",    "body",  "a",     "nobr",     "button"};
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; });
}

// Elements whose content is text up to their end tag.
bool holdsRawText(const std::string& name) {
    return name == "script" || name == "style" || name == "textarea" || name == "title" ||
           name == "xmp" || name == "iframe" || name == "noembed" || name == "noframes";
}

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == ':' || c == '_';
}

}  // namespace

bool withinParseLimits(std::string_view html) {
    const size_t n = html.size();
    int open = 0;
    size_t i = 0;
    while ((i = html.find('<', i)) != std::string_view::npos) {
        ++i;
        if (i >= n) {
            break;
        }
        if (html.substr(i, 3) == "!--") {
            size_t end = html.find("-->", i + 3);
            i = end == std::string_view::npos ? n : end + 3;
            continue;
        }
        bool closing = html[i] == '/';
        if (closing) {
            ++i;
        }
        if (i >= n || !std::isalpha(static_cast<unsigned char>(html[i]))) {
            continue;  // text, a declaration or a processing instruction
        }
        std::string name;
        while (i < n && isNameChar(html[i])) {
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(html[i])));
            ++i;
        }
        // Attributes up to the end of the tag, quoted values skipped.
        int attributes = 0;
        bool inName = false;
        while (i < n && html[i] != '>') {
            char c = html[i];
            if (c == '"' || c == '\'') {
                size_t end = html.find(c, i + 1);
                i = end == std::string_view::npos ? n : end + 1;
                inName = false;
                continue;
            }
            bool space = std::isspace(static_cast<unsigned char>(c)) || c == '/';
            if (!space && c != '=' && !inName) {
                if (++attributes > kMostAttributes) {
                    return false;
                }
            }
            inName = !space && c != '=';
            ++i;
        }
        if (closing) {
            if (!neverNests(name)) {
                open = std::max(0, open - 1);
            }
            continue;
        }
        if (holdsRawText(name)) {
            // Skip to the matching end tag, whatever the text holds.
            std::string end = "</" + name;
            size_t at = i;
            for (;;) {
                at = html.find("</", at);
                if (at == std::string_view::npos) {
                    return true;
                }
                std::string_view tag = html.substr(at, end.size());
                if (std::equal(tag.begin(), tag.end(), end.begin(), end.end(), [](char a, char b) {
                        return std::tolower(static_cast<unsigned char>(a)) == b;
                    })) {
                    break;
                }
                at += 2;
            }
            i = at;
            continue;
        }
        if (!neverNests(name) && ++open > kMostOpenElements) {
            return false;
        }
    }
    return true;
}

}  // namespace lum::page
