// The text of an HTML page as UTF-8, whatever the page was saved in: a byte
// order mark first, then the charset its <meta> declares within the first
// 1024 bytes, then UTF-8 when the bytes are valid UTF-8, then ICU's guess.
#pragma once

#include <string>
#include <string_view>

namespace lum::page {

struct DecodedPage {
    std::string text;      // UTF-8
    std::string encoding;  // the encoding the bytes were read in ("UTF-8", "Shift_JIS" ...)
};

DecodedPage decodePage(std::string_view bytes);

// The charset a <meta charset> or <meta http-equiv content="...; charset=">
// declares near the start of the page; empty when none.
std::string declaredCharset(std::string_view bytes);

bool isValidUtf8(std::string_view bytes);

}  // namespace lum::page
