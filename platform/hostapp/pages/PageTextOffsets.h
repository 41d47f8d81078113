// Counting the characters of a page's text the way its nodes hold them: the
// file spells a line break as CR LF and characters as references, the node's
// content has them decoded, and the editor counts UTF-16 units.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lum::page {

// The offset after the UTF-8 character at `at`.
size_t nextCharacter(std::string_view text, size_t at);
// UTF-16 units of decoded content that the file's text [begin, end) holds:
// CR LF counts once, a character reference once (a cursor inside one counts
// it whole).
long unitsBetween(std::string_view text, size_t begin, size_t end);
// The byte offset in UTF-8 content of a UTF-16 unit offset (clamped to the end).
size_t utf8OffsetOfUnits(std::string_view content, long units);
// The offset in the file's text [begin, end), whose decoded content is
// `content`, where the first `units` UTF-16 units of the content end;
// nullopt when the file's spelling and the content do not count alike (a
// reference that is not one, or stands for more than one character).
std::optional<size_t> sourceOffsetOfUnits(std::string_view text, size_t begin, size_t end,
                                          std::string_view content, long units);

}  // namespace lum::page
