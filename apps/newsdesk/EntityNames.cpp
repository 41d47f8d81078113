#include "EntityNames.h"

#include "hostapp/text/HtmlEntities.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>

namespace newsdesk::app {

namespace {

bool nameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// Names the document declares itself (<!ENTITY name ...>): those were never
// repaired, so they are not reported.
std::set<std::string> declaredNames(const std::string& text) {
    std::set<std::string> names;
    const std::string key = "<!ENTITY";
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
        size_t i = at + key.size();
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
        }
        size_t begin = i;
        while (i < text.size() && nameChar(text[i])) {
            ++i;
        }
        if (i > begin) {
            names.insert(text.substr(begin, i - begin));
        }
    }
    return names;
}

}  // namespace

std::vector<std::string> undeclaredHtmlEntityNames(const std::string& native, size_t maxBytes) {
    std::ifstream in(native, std::ios::binary);
    if (!in) {
        return {};
    }
    std::string text(maxBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(maxBytes));
    text.resize(static_cast<size_t>(in.gcount()));

    static const std::set<std::string> predefined = {"amp", "lt", "gt", "quot", "apos"};
    const std::set<std::string> declared = declaredNames(text);
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (size_t at = text.find('&'); at != std::string::npos; at = text.find('&', at + 1)) {
        size_t i = at + 1;
        // HTML's longest name is 31 characters; anything longer is no reference.
        while (i < text.size() && i - at <= 32 && nameChar(text[i])) {
            ++i;
        }
        if (i == at + 1 || i >= text.size() || text[i] != ';') {
            continue;
        }
        std::string name = text.substr(at + 1, i - at - 1);
        if (predefined.count(name) != 0 || declared.count(name) != 0 || seen.count(name) != 0) {
            continue;
        }
        if (lum::xml::htmlNamedCharacter(name)) {
            seen.insert(name);
            names.push_back(std::move(name));
        }
    }
    return names;
}

std::string listEntityNames(const std::vector<std::string>& names, size_t shown) {
    std::string out;
    size_t count = std::min(names.size(), shown);
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) {
            out += (i + 1 == count && names.size() == count) ? " and " : ", ";
        }
        out += "&" + names[i] + ";";
    }
    if (names.size() > count) {
        out += " and " + std::to_string(names.size() - count) + " more";
    }
    return out;
}

}  // namespace newsdesk::app
