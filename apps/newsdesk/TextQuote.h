// Texts of the module shown on one terminal line.
#pragma once

#include <string>
#include <string_view>

namespace newsdesk::app {

// The text in UTF-8 between double quotes, with quotes, backslashes and
// control characters escaped (\n, \t, \r, \", \\, \u00XX).
std::string quoteText(std::u16string_view text);

}  // namespace newsdesk::app
