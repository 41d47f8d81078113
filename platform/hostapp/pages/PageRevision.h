// Revising the links of a page in place: each link is offered to a decider,
// which keeps it, gives it a new value or removes it. Only the attributes and
// tags that change are rewritten; every other byte of the page stays.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lum::page {

enum class LinkAction { Keep, Replace, Remove };

struct LinkDecision {
    LinkAction action = LinkAction::Keep;
    std::string value;  // the new URL for Replace (UTF-8)
};

// element: lower-case tag name; base: the page's <base href> ("" if none).
using LinkDecider = std::function<LinkDecision(std::string_view element, std::string_view base,
                                               std::string_view url)>;

// One link the revision changed: its value before and after ("" after: the
// link was removed).
struct LinkChange {
    std::string element;
    std::string from;
    std::string to;
};

struct RevisedPage {
    std::string bytes;
    size_t changes = 0;
    std::vector<LinkChange> links;  // in the order of the page
};

// Remove takes out a <link> or <area> element whole, an <a> element's tags
// with its content kept, and the link attribute of any other element.
// nullopt, with the reason in error, when the page cannot be read.
std::optional<RevisedPage> revisePageLinks(std::string_view bytes, const LinkDecider& decide,
                                           std::string& error);

// The same for a stylesheet: its url() and @import URLs, offered with the
// element "url" or "@import" and no base. Remove leaves a URL as it is (a
// rule without its image still reads; a check finds it).
std::optional<RevisedPage> reviseStylesheetLinks(std::string_view bytes, const LinkDecider& decide,
                                                 std::string& error);

}  // namespace lum::page
