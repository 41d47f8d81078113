#include "win32/PathMapping.h"

#include "win32/TextConv.h"

#include <filesystem>

namespace nd::win32 {

namespace {

bool isSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

bool isDriveZ(std::u16string_view p) {
    return p.size() >= 2 && (p[0] == u'Z' || p[0] == u'z') && p[1] == u':';
}

}  // namespace

std::optional<std::string> toNativePath(std::u16string_view windowsPath) {
    if (!isDriveZ(windowsPath)) {
        return std::nullopt;
    }
    std::u16string_view rest = windowsPath.substr(2);
    if (!rest.empty() && !isSeparator(rest.front())) {
        return std::nullopt;  // "Z:foo" is relative to the drive's current folder
    }
    std::u16string native;
    native.reserve(rest.size() + 1);
    for (char16_t c : rest) {
        char16_t mapped = isSeparator(c) ? u'/' : c;
        if (mapped == u'/' && !native.empty() && native.back() == u'/') {
            continue;
        }
        native.push_back(mapped);
    }
    if (native.empty()) {
        return std::string("/");
    }
    return text::toUtf8(native);
}

std::optional<std::u16string> toWindowsPath(std::string_view nativePath) {
    if (nativePath.empty()) {
        return std::nullopt;
    }
    std::string absolute(nativePath);
    if (absolute.front() != '/') {
        std::error_code ec;
        auto cwd = std::filesystem::current_path(ec);
        if (ec) {
            return std::nullopt;
        }
        absolute = (cwd / std::filesystem::path(absolute)).string();
    }
    if (absolute.find('\\') != std::string::npos || !text::isUtf8(absolute)) {
        return std::nullopt;
    }
    std::u16string out = u"Z:";
    for (char16_t c : text::fromUtf8(absolute)) {
        if (c == u'/') {
            if (out.back() == u'\\') {
                continue;
            }
            out.push_back(u'\\');
        } else {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace nd::win32
