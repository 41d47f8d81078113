// Where in a file's text something was found, as an editor shows it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lum {

// "line 3, column 14" for the byte at offset byte (counted from 1, as JSON
// parsers report it) of text; columns count bytes. A byte past the end is
// the place just after the last one.
std::string placeInText(std::string_view text, std::size_t byte);

}  // namespace lum
