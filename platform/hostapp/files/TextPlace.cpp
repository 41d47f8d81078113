#include "hostapp/files/TextPlace.h"

#include <algorithm>

namespace lum {

std::string placeInText(std::string_view text, std::size_t byte) {
    std::size_t at = std::min(byte == 0 ? 0 : byte - 1, text.size());
    std::string_view before = text.substr(0, at);
    std::size_t line = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
    std::size_t lineStart = before.rfind('\n');
    std::size_t column = lineStart == std::string_view::npos ? at + 1 : at - lineStart;
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace lum
