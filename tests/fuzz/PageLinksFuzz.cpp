// A base URL (the input's first line) and page bytes (the rest) through the
// link extraction and the site's link resolver: nothing fails unsafely, the
// URL links resolve against is absolute or empty, and every file a link
// reaches is a path inside the site (no leading slash, no dot segment).
#include "hostapp/pages/PageLinks.h"
#include "hostapp/pages/PageText.h"
#include "hostapp/urls/SiteLinkResolver.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void fail(const char* what, std::string_view base, std::string_view link,
                       std::string_view result) {
    std::fprintf(stderr, "%s\nbase: %.*s\nlink: %.*s\nresult: %.*s\n", what,
                 static_cast<int>(base.size()), base.data(), static_cast<int>(link.size()),
                 link.data(), static_cast<int>(result.size()), result.data());
    std::abort();
}

bool isAbsolute(std::string_view url) {
    size_t colon = url.find(':');
    if (colon == 0 || colon == std::string_view::npos) {
        return false;
    }
    for (size_t i = 0; i < colon; ++i) {
        char c = url[i];
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))) {
            return false;
        }
    }
    return true;
}

bool insideSite(std::string_view path) {
    if (!path.empty() && path.front() == '/') {
        return false;
    }
    for (size_t start = 0; start <= path.size();) {
        size_t slash = path.find('/', start);
        std::string_view segment = path.substr(
            start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
        if (segment == "." || segment == "..") {
            return false;
        }
        if (slash == std::string_view::npos) {
            break;
        }
        start = slash + 1;
    }
    return path.find('\0') == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t newline = input.find('\n');
    std::string_view given =
        newline == std::string_view::npos ? std::string_view() : input.substr(0, newline);
    std::string_view bytes = newline == std::string_view::npos ? input : input.substr(newline + 1);

    lum::page::DecodedPage page = lum::page::decodePage(bytes);
    lum::page::PageLinks links = lum::page::extractLinks(page.text);
    lum::site::SiteLinkResolver resolver("https://ann.example/shop/", "/srv/site", "index.html");
    std::string base = given.empty() ? links.base : std::string(given);
    std::string baseUrl = resolver.baseUrl("news/page.html", base);
    if (!baseUrl.empty() && !isAbsolute(baseUrl)) {
        fail("the base URL is not absolute", base, "", baseUrl);
    }
    for (const lum::page::PageLink& link : links.links) {
        if (link.offset > page.text.size()) {
            fail("a link lies past the text", base, link.url, "");
        }
        std::optional<std::string> reached = resolver.resolveAgainst(baseUrl, link.url);
        if (reached && !insideSite(*reached)) {
            fail("a link reaches a path outside the site", base, link.url, *reached);
        }
        std::optional<std::string> once = resolver.resolve("news/page.html", base, link.url);
        if (once != reached) {
            fail("resolving in one step and in two differ", base, link.url, once.value_or(""));
        }
    }
    for (const lum::page::PageLink& link : lum::page::stylesheetLinks(page.text)) {
        std::optional<std::string> reached = resolver.resolveAgainst(baseUrl, link.url);
        if (reached && !insideSite(*reached)) {
            fail("a stylesheet URL reaches a path outside the site", base, link.url, *reached);
        }
    }
    return 0;
}
