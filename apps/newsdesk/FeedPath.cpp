#include "FeedPath.h"

#include "XmlDiagnosis.h"
#include "win32/PathMapping.h"
#include "win32/TextConv.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ostream>

namespace newsdesk::app {

std::string printableName(const std::string& name) {
    if (nd::text::isUtf8(name)) {
        return name;
    }
    std::string shown;
    for (std::size_t i = 0; i < name.size();) {
        // The longest well-formed sequence at i is kept; a stray byte is escaped.
        std::size_t length = 1;
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c >= 0xC0) {
            length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        }
        if (c >= 0x80 && (i + length > name.size() || !nd::text::isUtf8(name.substr(i, length)))) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            shown += escaped;
            ++i;
        } else {
            shown += name.substr(i, length);
            i += length;
        }
    }
    return shown;
}

std::optional<CString> feedPathArgument(const std::string& nativePath, std::ostream& err) {
    if (!nd::text::isUtf8(nativePath)) {
        err << "newsdesk: " << printableName(nativePath)
            << ": the name is not UTF-8 and cannot be carried exactly; refused\n";
        return std::nullopt;
    }
    auto windows = nd::win32::toWindowsPath(nativePath);
    if (!windows) {
        err << "newsdesk: " << nativePath << ": the path cannot be given to the module\n";
        return std::nullopt;
    }
    return CString(*windows);
}

std::string unopenableReason(const std::string& nativePath) {
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0) {
        return "no such file";
    }
    if (S_ISDIR(st.st_mode)) {
        return "is a folder";
    }
    if (!S_ISREG(st.st_mode)) {
        return "not a regular file";
    }
    if (::access(nativePath.c_str(), R_OK) != 0) {
        return "cannot be read";
    }
    return {};
}

std::string unreadableReason(const std::string& nativePath, int format) {
    std::string reason = unopenableReason(nativePath);
    if (!reason.empty()) {
        return reason;
    }
    if (format == -1) {
        return whyNotReadableXml(nativePath);
    }
    return "not an RSS 1.0, RSS 2.0 or podcast feed";
}

std::string displayPath(const CString& windowsPath, const std::string& given,
                        const CString& givenWindows) {
    if (windowsPath.IsEmpty()) {
        return {};
    }
    if (windowsPath == givenWindows) {
        return given;
    }
    auto native = nd::win32::toNativePath(windowsPath.view());
    return native ? *native : windowsPath.toUtf8();
}

}  // namespace newsdesk::app
