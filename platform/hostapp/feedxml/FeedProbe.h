// Tells whether a file of a site is a feed by what it holds, not by its
// name, with the rule the RSS module reads feeds by: an XML document whose
// root element is "rss" (RSS 2.0; a podcast when it declares a non-empty
// "xmlns:itunes") or "rdf:RDF" (RSS 1.0), names compared without case.
#pragma once

#include "mfc/CString.h"

#include <optional>
#include <string>
#include <string_view>

namespace lum::site {

struct FeedFacts {
    int format = -1;    // 0 RSS 1.0, 1 RSS 2.0, 2 podcast
    std::string title;  // the channel's title, UTF-8
};

// Cheap first look at the bytes: could this be XML at all? Lets the scan skip
// images and other files without parsing them.
bool mayBeXml(std::string_view bytes);

// nullopt when the file at windowsPath is not a feed.
std::optional<FeedFacts> probeFeed(const CString& windowsPath);

}  // namespace lum::site
