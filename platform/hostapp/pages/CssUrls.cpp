#include "hostapp/pages/CssUrls.h"

#include <cctype>

namespace lum::page {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isNameChar(char c) {
    auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '-' || c == '_' || u >= 0x80 || c == '\\';
}

bool startsNoCase(std::string_view text, size_t at, std::string_view word) {
    if (text.size() - at < word.size()) {
        return false;
    }
    for (size_t i = 0; i < word.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != word[i]) {
            return false;
        }
    }
    return true;
}

unsigned long hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned long>(c - '0');
    }
    return static_cast<unsigned long>(std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
}

void appendUtf8(std::string& out, unsigned long code) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        code = 0xFFFD;
    }
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The escape at css[at] (a backslash) worked out into out; the index after it.
size_t unescape(std::string_view css, size_t at, std::string& out) {
    size_t i = at + 1;
    if (i >= css.size()) {
        return i;
    }
    if (std::isxdigit(static_cast<unsigned char>(css[i]))) {
        unsigned long code = 0;
        size_t digits = 0;
        while (i < css.size() && digits < 6 && std::isxdigit(static_cast<unsigned char>(css[i]))) {
            code = code * 16 + hexValue(css[i]);
            ++i;
            ++digits;
        }
        appendUtf8(out, code);
        if (i < css.size() && isSpace(css[i])) {
            i += css.compare(i, 2, "\r\n") == 0 ? 2 : 1;
        }
        return i;
    }
    if (css[i] != '\n' && css[i] != '\r' && css[i] != '\f') {
        out += css[i];
    }
    return i + 1;
}

std::string trimmed(const std::string& text) {
    size_t first = 0;
    while (first < text.size() && isSpace(text[first])) {
        ++first;
    }
    size_t last = text.size();
    while (last > first && isSpace(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

class Tokens {
  public:
    explicit Tokens(std::string_view css) : m_css(css) {}

    std::vector<CssUrl> run() {
        bool afterImport = false;  // the next string or url() is @import's
        while (m_at < m_css.size()) {
            char c = m_css[m_at];
            if (c == '/' && m_css.compare(m_at, 2, "/*") == 0) {
                size_t close = m_css.find("*/", m_at + 2);
                m_at = close == std::string_view::npos ? m_css.size() : close + 2;
            } else if (c == '"' || c == '\'') {
                CssUrl found = string(c);
                if (afterImport) {
                    found.import = true;
                    m_urls.push_back(std::move(found));
                }
                afterImport = false;
            } else if (c == '@' && startsNoCase(m_css, m_at + 1, "import") &&
                       (m_at + 7 >= m_css.size() || !isNameChar(m_css[m_at + 7]))) {
                afterImport = true;
                m_at += 7;
            } else if (startsNoCase(m_css, m_at, "url(") &&
                       (m_at == 0 || !isNameChar(m_css[m_at - 1]))) {
                m_at += 4;
                url(afterImport);
                afterImport = false;
            } else if (c == '\\') {
                std::string ignored;
                m_at = unescape(m_css, m_at, ignored);
            } else {
                if (!isSpace(c)) {
                    afterImport = false;
                }
                ++m_at;
            }
        }
        return std::move(m_urls);
    }

  private:
    // A string starting at m_at; m_at moves past it.
    CssUrl string(char quote) {
        CssUrl found;
        found.quote = quote;
        found.begin = ++m_at;
        std::string value;
        while (m_at < m_css.size() && m_css[m_at] != quote && m_css[m_at] != '\n') {
            if (m_css[m_at] == '\\') {
                m_at = unescape(m_css, m_at, value);
            } else {
                value += m_css[m_at++];
            }
        }
        found.end = m_at;
        if (m_at < m_css.size() && m_css[m_at] == quote) {
            ++m_at;
        }
        found.url = trimmed(value);
        return found;
    }

    // The body of url( at m_at.
    void url(bool import) {
        while (m_at < m_css.size() && isSpace(m_css[m_at])) {
            ++m_at;
        }
        if (m_at < m_css.size() && (m_css[m_at] == '"' || m_css[m_at] == '\'')) {
            CssUrl found = string(m_css[m_at]);
            found.import = import;
            if (!found.url.empty()) {
                m_urls.push_back(std::move(found));
            }
            return;
        }
        CssUrl found;
        found.import = import;
        found.begin = m_at;
        std::string value;
        while (m_at < m_css.size() && m_css[m_at] != ')' && !isSpace(m_css[m_at])) {
            if (m_css[m_at] == '\\') {
                m_at = unescape(m_css, m_at, value);
            } else {
                value += m_css[m_at++];
            }
        }
        found.end = m_at;
        found.url = value;
        if (!found.url.empty()) {
            m_urls.push_back(std::move(found));
        }
    }

    std::string_view m_css;
    size_t m_at = 0;
    std::vector<CssUrl> m_urls;
};

}  // namespace

std::vector<CssUrl> cssUrls(std::string_view css) {
    return Tokens(css).run();
}

std::string cssUrlText(std::string_view url, char quote) {
    std::string out;
    for (char c : url) {
        bool escape =
            c == '\\' ||
            (quote ? c == quote : (c == '(' || c == ')' || c == '"' || c == '\'' || isSpace(c)));
        if (c == '\n') {
            out += "\\a ";
            continue;
        }
        if (escape) {
            out += '\\';
        }
        out += c;
    }
    return out;
}

}  // namespace lum::page
