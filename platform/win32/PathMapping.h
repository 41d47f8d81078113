// The one mapping between the Windows paths the module works with and this
// machine's paths. Drive Z: is the file-system root, as under Wine:
// "Z:\home\ann\site\news.rss" is "/home/ann/site/news.rss". Other drives and
// UNC paths have no place on this machine and map to nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nd::win32 {

// Native path for a Windows path; nullopt when the path is not on drive Z:
// (another drive, a UNC or relative path, an empty text). Both separators are
// accepted; runs of separators collapse; a trailing separator is kept.
std::optional<std::string> toNativePath(std::u16string_view windowsPath);

// Windows path for a native path. A relative path is made absolute against the
// current folder first. nullopt when a name holds a backslash, which a Windows
// path cannot carry, or bytes that are not UTF-8: such a name would reach
// another file on its way back.
std::optional<std::u16string> toWindowsPath(std::string_view nativePath);

}  // namespace nd::win32
