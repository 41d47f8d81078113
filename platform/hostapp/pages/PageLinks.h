// The links of an HTML page, found by an HTML5 parser: every URL an element
// refers to (a and area href, link href with the auto-discovery links among
// them, img, script, frame, iframe, embed, source, audio, video and track
// src, object data, input src, form action, video poster, srcset, a refresh's
// target, url() in style attributes and <style> elements), with the page's
// <base href> and its title.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lum::page {

struct PageLink {
    std::string element;  // lower-case tag name
    std::string url;      // the attribute's value, surrounding white space removed
    size_t offset = 0;    // where the URL is written in the text (its attribute's value)
};

// The 1-based line and column (in characters) of a UTF-8 text's offset, as
// a person's editor counts them: LF, CR LF and CR end a line.
std::pair<long, long> lineAndColumn(std::string_view text, size_t offset);

struct PageLinks {
    std::string base;  // the first <base href>, empty when none
    std::string title;
    std::vector<PageLink> links;
};

// The attribute that holds the URL of elements of the tag (lower case), or
// nullptr for tags that link nowhere.
const char* linkAttributeOf(std::string_view tag);

// html is UTF-8 (see PageText.h).
PageLinks extractLinks(std::string_view html);

// The url() and @import references of a stylesheet, as the elements "url"
// and "@import".
std::vector<PageLink> stylesheetLinks(std::string_view css);

}  // namespace lum::page
