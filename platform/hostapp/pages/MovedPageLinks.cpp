#include "hostapp/pages/MovedPageLinks.h"

#include <cctype>
#include <optional>

namespace lum::site {

namespace {

// Folder names taken from the page's URL come percent-encoded; the page's own
// links name them as a person wrote them, so non-ASCII ones are written back
// as characters. Encoded ASCII ("%20", "%23") stays encoded: it may mean
// something else when bare.
std::string withNonAsciiDecoded(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigitValue(text[i + 1]) >= 8 &&
            hexDigitValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexDigitValue(text[i + 1]) * 16 + hexDigitValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// A relative path with its "." and ".." segments worked out; the ".." that
// climb above where it starts are kept.
std::string withoutDotSegments(std::string_view path) {
    std::vector<std::string_view> kept;
    bool endsInFolder = false;
    size_t start = 0;
    while (true) {
        size_t slash = path.find('/', start);
        std::string_view segment = path.substr(
            start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
        bool last = slash == std::string_view::npos;
        if (segment == ".") {
            endsInFolder = last;
        } else if (segment == "..") {
            if (!kept.empty() && kept.back() != "..") {
                kept.pop_back();
            } else {
                kept.push_back(segment);
            }
            endsInFolder = last;
        } else {
            kept.push_back(segment);
        }
        if (last) {
            break;
        }
        start = slash + 1;
    }
    std::string out;
    for (size_t i = 0; i < kept.size(); ++i) {
        out += kept[i];
        if (i + 1 < kept.size()) {
            out += '/';
        }
    }
    if (endsInFolder && !out.empty()) {
        out += '/';
    }
    return out;
}

// The folder part of a URL, up to and with its last slash.
std::string_view folderOf(std::string_view url) {
    url = url.substr(0, url.find_first_of("?#"));
    return url.substr(0, url.rfind('/') + 1);
}

}  // namespace

bool hasUrlScheme(std::string_view url) {
    size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0) {
        return false;
    }
    for (size_t i = 0; i < colon; ++i) {
        char c = url[i];
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.')) {
            return false;
        }
    }
    return url.find_first_of("/?#") > colon;
}

std::string_view urlSuffix(std::string_view url) {
    size_t at = url.find_first_of("?#");
    return at == std::string_view::npos ? std::string_view() : url.substr(at);
}

std::string_view urlPath(std::string_view url) {
    size_t scheme = url.find("://");
    size_t start = scheme == std::string_view::npos ? 0 : url.find('/', scheme + 3);
    return start == std::string_view::npos ? std::string_view("/") : url.substr(start);
}

std::string relativeUrl(std::string_view baseUrl, std::string_view target) {
    std::string_view basePath = urlPath(baseUrl);
    basePath = basePath.substr(0, basePath.find_first_of("?#"));
    std::string_view targetPath = urlPath(target);
    std::string_view baseFolder = basePath.substr(0, basePath.rfind('/') + 1);
    // The longest common run of whole folders.
    size_t common = 0;
    for (size_t i = 0; i < baseFolder.size() && i < targetPath.size(); ++i) {
        if (baseFolder[i] != targetPath[i]) {
            break;
        }
        if (baseFolder[i] == '/') {
            common = i + 1;
        }
    }
    std::string link;
    for (size_t i = common; i < baseFolder.size(); ++i) {
        if (baseFolder[i] == '/') {
            link += "../";
        }
    }
    link += targetPath.substr(common);
    return link.empty() ? std::string("./") : link;
}

MovedPageLinks::MovedPageLinks(const SiteLinkResolver& resolver, std::string oldPath,
                               std::string newPath, std::vector<FileMove> moves)
    : m_resolver(resolver),
      m_oldPath(std::move(oldPath)),
      m_newPath(std::move(newPath)),
      m_moves(std::move(moves)) {}

std::string linkInSameForm(std::string_view url, const std::string& baseUrl,
                           const std::string& newUrl) {
    std::string value;
    if (url.substr(0, 2) == "//") {
        value = newUrl.substr(newUrl.find("//"));
    } else if (hasUrlScheme(url)) {
        value = newUrl;
    } else if (!url.empty() && url.front() == '/') {
        value = std::string(urlPath(newUrl));
    } else {
        value = relativeUrl(baseUrl, newUrl);
    }
    return value + std::string(urlSuffix(url));
}

std::optional<page::LinkDecision> MovedPageLinks::followMovedFile(const std::string& oldBase,
                                                                  const std::string& newBase,
                                                                  std::string_view url) const {
    std::optional<std::string> reached = m_resolver.resolveAgainst(oldBase, url);
    if (!reached) {
        return std::nullopt;
    }
    for (const FileMove& move : m_moves) {
        if (move.source != *reached || move.destination.empty()) {
            continue;
        }
        if (m_resolver.resolveAgainst(newBase, url) == move.destination) {
            return page::LinkDecision{};
        }
        return page::LinkDecision{page::LinkAction::Replace,
                                  linkInSameForm(url, newBase, m_resolver.urlOf(move.destination))};
    }
    return std::nullopt;
}

page::LinkDecision MovedPageLinks::decide(std::string_view base, std::string_view url) const {
    // Links to the page itself without a name (a bare fragment or query)
    // follow it wherever it goes.
    if (url.empty() || url.front() == '#' || url.front() == '?') {
        return {};
    }
    std::string oldBase = m_resolver.baseUrl(m_oldPath, base);
    std::string newBase = m_resolver.baseUrl(m_newPath, base);
    // A link in any form to a file of the operation, the page itself among
    // them, follows that file.
    if (std::optional<page::LinkDecision> moved = followMovedFile(oldBase, newBase, url)) {
        return *moved;
    }
    // Other absolute and root-relative links mean the same from anywhere.
    if (hasUrlScheme(url) || url.front() == '/') {
        return {};
    }
    // So does every link of a page whose base does not depend on its place.
    if (!base.empty() && (hasUrlScheme(base) || base.front() == '/')) {
        return {};
    }
    std::string_view oldFolder = folderOf(oldBase);
    if (oldFolder == folderOf(newBase)) {
        return {};
    }
    // From the new folder back to the old one, then the link as it was.
    std::string back = relativeUrl(newBase, oldFolder);
    if (back == "./") {
        back.clear();
    }
    std::string_view path = url.substr(0, url.find_first_of("?#"));
    std::string value = withoutDotSegments(withNonAsciiDecoded(back) + std::string(path));
    // A first segment with a colon would read as a scheme.
    if (value.empty() || value.substr(0, value.find('/')).find(':') != std::string::npos) {
        value.insert(0, "./");
    }
    value += urlSuffix(url);
    if (value == url) {
        return {};
    }
    return {page::LinkAction::Replace, value};
}

}  // namespace lum::site
