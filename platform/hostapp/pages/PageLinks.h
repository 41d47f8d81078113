// The links of an HTML page, found by an HTML5 parser: every URL an element
// refers to (a and area href, link href with the auto-discovery links among
// them, img, script, frame, iframe, embed, source, audio, video and track
// src, object data, input src), with the page's <base href> and its title.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lum::page {

struct PageLink {
    std::string element;  // lower-case tag name
    std::string url;      // the attribute's value, surrounding white space removed
};

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

}  // namespace lum::page
