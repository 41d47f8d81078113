// Window styles written out by name, for people reading a control tree.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace newsdesk::app {

// The style's general window bits, then the bits that the class gives a
// meaning (class compared without case), joined by "|"; bits without a name
// are appended in hex.
std::string styleNames(std::u16string_view className, std::uint32_t style);

// A dialog's own style: window bits and DS_ bits.
std::string dialogStyleNames(std::uint32_t style);

}  // namespace newsdesk::app
