// The URLs of a stylesheet (a .css file, a <style> element, a style
// attribute): url() and @import, found by CSS's own tokenising rules so that
// comments and strings are not mistaken for them, each with the span it is
// written in, so a revision can replace exactly that.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lum::page {

struct CssUrl {
    size_t begin = 0;  // the URL as written: inside the quotes, or url()'s bare body
    size_t end = 0;
    std::string url;  // CSS escapes worked out, surrounding white space removed
    char quote = 0;   // '"' or '\'' for a string, 0 for a bare url()
    bool import = false;
};

std::vector<CssUrl> cssUrls(std::string_view css);

// url written for a place of the kind quote names, escaped as CSS needs.
std::string cssUrlText(std::string_view url, char quote);

}  // namespace lum::page
