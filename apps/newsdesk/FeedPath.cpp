#include "FeedPath.h"

#include "win32/PathMapping.h"

#include <unistd.h>

#include <filesystem>
#include <ostream>

namespace newsdesk::app {

std::optional<CString> feedPathArgument(const std::string& nativePath, std::ostream& err) {
    auto windows = nd::win32::toWindowsPath(nativePath);
    if (!windows) {
        err << "newsdesk: " << nativePath << ": the path cannot be given to the module\n";
        return std::nullopt;
    }
    return CString(*windows);
}

std::string unreadableReason(const std::string& nativePath, int format) {
    std::error_code ec;
    auto status = std::filesystem::status(nativePath, ec);
    if (!std::filesystem::exists(status)) {
        return "no such file";
    }
    if (std::filesystem::is_directory(status)) {
        return "is a folder";
    }
    if (::access(nativePath.c_str(), R_OK) != 0) {
        return "cannot be read";
    }
    if (format == -1) {
        return "not well-formed XML";
    }
    return "not an RSS 1.0, RSS 2.0 or podcast feed";
}

}  // namespace newsdesk::app
