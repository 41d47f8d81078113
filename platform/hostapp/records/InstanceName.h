// The application's instance names: the text a window property or a lock is
// known by while one of the application's editors is open. Feature modules
// format it with the application's major version and their feature word.
#pragma once

namespace lum {

// %d: the application's major version; %s: the feature word ("Rss").
inline constexpr const char16_t* kInstanceNamePattern =
    u"Hoshizora Works Luminea %d Lum%s Editor Mutex";
inline constexpr int kMajorVersion = 15;

}  // namespace lum
