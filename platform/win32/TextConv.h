// UTF-8 <-> UTF-16 conversion at the edges of the system (files, terminal,
// JSON). Ill-formed input never fails: each bad sequence becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace nd::text {

std::u16string fromUtf8(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);
// The same into out, whose room is used again: for a caller that converts
// text after text and copies each away.
void toUtf8(std::u16string_view utf16, std::string& out);

// Whether the bytes are well-formed UTF-8, so that fromUtf8 carries them
// without a replacement.
bool isUtf8(std::string_view bytes);

}  // namespace nd::text
