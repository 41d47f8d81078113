// The characters HTML's named character references stand for ("nbsp",
// "eacute", "NewLine"): feeds copy them from pages into XML that never
// declares them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lum::xml {

// The UTF-8 text of the named reference &name; as HTML reads it (one or two
// characters); nullopt when HTML has no such name. Names are case-sensitive,
// as in HTML.
std::optional<std::string> htmlNamedCharacter(std::string_view name);

}  // namespace lum::xml
