// Pages the HTML parser would take far too long on. The parser's work grows
// with the square of the depth of open elements and of the attributes of one
// tag, so a page of a few megabytes nesting thousands of elements keeps it
// busy for hours. A linear look at the markup tells such pages apart before
// they are parsed; real pages are nowhere near the limits.
#pragma once

#include <string_view>

namespace lum::page {

inline constexpr int kMostOpenElements = 2000;
inline constexpr int kMostAttributes = 1000;

// true when the page can be parsed in time: at no point more than
// kMostOpenElements elements left open (not counting those closed by the
// next of their kind, like p or li, and empty ones like img), and no tag
// with more than kMostAttributes attributes.
bool withinParseLimits(std::string_view html);

}  // namespace lum::page
