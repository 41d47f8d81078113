#include "hostapp/urls/SiteLinkResolver.h"

#include <libxml/uri.h>
#include <libxml/xmlmemory.h>

#include <cctype>
#include <memory>
#include <vector>

namespace lum::site {

namespace {

// RFC 3986's remove_dot_segments on an absolute path: ".." above the root
// stays at the root, as browsers resolve "/../u.html" to "/u.html".
std::string withoutDotSegments(std::string_view path) {
    std::vector<std::string_view> kept;
    size_t start = 1;  // past the leading slash
    bool folder = false;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        bool last = slash == std::string_view::npos;
        std::string_view segment =
            path.substr(start, last ? std::string_view::npos : slash - start);
        folder = last && (segment == "." || segment == "..");
        if (segment == "..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
        } else if (segment != ".") {
            kept.push_back(segment);
        }
        if (last) {
            break;
        }
        start = slash + 1;
    }
    std::string out;
    for (std::string_view segment : kept) {
        out += '/';
        out += segment;
    }
    if (out.empty() || folder) {
        out += '/';
    }
    return out;
}

// Whether path, relative to the site's root, names a place inside it. Dot
// segments are gone after resolution, but one written as %2E%2E is not; an
// empty segment ("/shop//x", or "%2F" decoded first) would make the path
// absolute, or name by a second spelling a file that is already listed.
bool isPathInSite(std::string_view path) {
    for (size_t start = 0; start <= path.size();) {
        size_t end = path.find('/', start);
        std::string_view part = path.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (part == ".." || part == "." || (part.empty() && end != std::string_view::npos)) {
            return false;
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return true;
}

// Lower-cases the scheme and the authority, which compare without case,
// drops the scheme's default port and works out the path's dot segments:
// what is left is the one spelling a browser would request.
std::string normalisedOrigin(std::string url) {
    size_t scheme = url.find("://");
    if (scheme == std::string::npos) {
        return url;
    }
    size_t end = url.find_first_of("/?#", scheme + 3);
    if (end == std::string::npos) {
        end = url.size();
        url += '/';
    }
    for (size_t i = 0; i < end; ++i) {
        url[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(url[i])));
    }
    std::string_view origin(url.data(), end);
    std::string_view defaultPort = origin.substr(0, scheme) == "https"  ? ":443"
                                   : origin.substr(0, scheme) == "http" ? ":80"
                                                                        : "";
    if (!defaultPort.empty() && origin.size() > defaultPort.size() &&
        origin.substr(origin.size() - defaultPort.size()) == defaultPort) {
        url.erase(end - defaultPort.size(), defaultPort.size());
        end -= defaultPort.size();
    }
    if (end < url.size() && url[end] == '/') {
        size_t pathEnd = url.find_first_of("?#", end);
        if (pathEnd == std::string::npos) {
            pathEnd = url.size();
        }
        url.replace(end, pathEnd - end,
                    withoutDotSegments(std::string_view(url).substr(end, pathEnd - end)));
    }
    return url;
}

// What a browser does to a typed URL before parsing: spaces, controls and
// bytes outside ASCII are percent-encoded, backslashes become slashes.
std::string escapeForParsing(std::string_view link) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(link.size());
    for (char ch : link) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += '/';
        } else if (c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '^' ||
                   c == '`' || c == '{' || c == '|' || c == '}') {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

std::string buildUri(const std::string& link, const std::string& base) {
    xmlChar* built = xmlBuildURI(reinterpret_cast<const xmlChar*>(link.c_str()),
                                 reinterpret_cast<const xmlChar*>(base.c_str()));
    if (built == nullptr) {
        return {};
    }
    std::string out(reinterpret_cast<const char*>(built));
    xmlFree(built);
    return out;
}

}  // namespace

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::string> percentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 0 &&
            hexDigitValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    if (out.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return out;
}

SiteLinkResolver::SiteLinkResolver(std::string siteUrl, std::string rootFolder, std::string topPage)
    : m_siteUrl(normalisedOrigin(std::move(siteUrl))), m_root(std::move(rootFolder)) {
    if (m_siteUrl.empty() || m_siteUrl.back() != '/') {
        m_siteUrl += '/';
    }
    if (m_root.empty() || m_root.back() != '/') {
        m_root += '/';
    }
    size_t slash = topPage.find_last_of("/\\");
    m_topName = slash == std::string::npos ? topPage : topPage.substr(slash + 1);
}

std::string SiteLinkResolver::urlOf(std::string_view relativePath) const {
    static const char* hex = "0123456789ABCDEF";
    std::string url = m_siteUrl;
    for (char ch : relativePath) {
        auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) ||
            std::string_view("-._~!$&'()*+,;=:@/").find(ch) != std::string_view::npos) {
            url += ch;
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

std::optional<std::string> SiteLinkResolver::relativeTo(const std::string& absolute) const {
    std::string url = normalisedOrigin(absolute);
    if (url.compare(0, m_siteUrl.size(), m_siteUrl) != 0) {
        return std::nullopt;
    }
    std::string rest = url.substr(m_siteUrl.size());
    rest = rest.substr(0, rest.find_first_of("?#"));
    auto decoded = percentDecode(rest);
    if (!decoded) {
        return std::nullopt;
    }
    std::string path = std::move(*decoded);
    if (!isPathInSite(path)) {
        return std::nullopt;
    }
    if (path.empty() || path.back() == '/') {
        path += m_topName;
    }
    return path;
}

std::optional<std::string> SiteLinkResolver::fromFileUrl(std::string_view url) const {
    // file:///Z:/home/ann/site/a.rss or file:///home/ann/site/a.rss
    std::string_view rest = url.substr(5);
    if (rest.substr(0, 2) != "//") {
        return std::nullopt;
    }
    rest.remove_prefix(2);
    size_t slash = rest.find('/');
    if (slash != 0) {
        // Another host; "localhost" is this machine.
        if (slash == std::string_view::npos || !startsWithNoCase(rest, "localhost/")) {
            return std::nullopt;
        }
        rest.remove_prefix(slash);
    }
    auto decoded = percentDecode(rest.substr(0, rest.find_first_of("?#")));
    if (!decoded) {
        return std::nullopt;
    }
    std::string path = *decoded;
    if (path.size() >= 3 && path[0] == '/' && (path[1] == 'Z' || path[1] == 'z') &&
        path[2] == ':') {
        path.erase(0, 3);  // drive Z: is the file-system root
    }
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    if (path.compare(0, m_root.size(), m_root) != 0) {
        return std::nullopt;
    }
    std::string relative = path.substr(m_root.size());
    if (relative.empty() || !isPathInSite(relative)) {
        return std::nullopt;
    }
    return relative;
}

std::string SiteLinkResolver::baseUrl(std::string_view pagePath, std::string_view base) const {
    std::string url = urlOf(pagePath);
    if (!base.empty()) {
        std::string b = buildUri(escapeForParsing(base), url);
        if (!b.empty()) {
            url = std::move(b);
        }
    }
    return url;
}

std::optional<std::string> SiteLinkResolver::resolveAgainst(const std::string& baseUrl,
                                                            std::string_view link) const {
    if (link.empty() || link.front() == '#' || startsWithNoCase(link, "javascript:") ||
        startsWithNoCase(link, "mailto:") || startsWithNoCase(link, "data:")) {
        return std::nullopt;
    }
    if (startsWithNoCase(link, "file:")) {
        return fromFileUrl(link);
    }
    std::string absolute = buildUri(escapeForParsing(link), baseUrl);
    if (absolute.empty()) {
        return std::nullopt;
    }
    return relativeTo(absolute);
}

std::optional<std::string> SiteLinkResolver::resolve(std::string_view pagePath,
                                                     std::string_view base,
                                                     std::string_view link) const {
    return resolveAgainst(baseUrl(pagePath, base), link);
}

}  // namespace lum::site
