#include "hostapp/feedxml/XmlText.h"

#include "win32/TextConv.h"

#include <libxml/xmlstring.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace lum::xml {

CString toCString(const xmlChar* utf8) {
    if (utf8 == nullptr) {
        return CString();
    }
    return CString::fromUtf8(reinterpret_cast<const char*>(utf8));
}

namespace {

// The length of the character XML cannot carry at utf8[i], or 0.
size_t nonXmlCharAt(std::string_view utf8, size_t i) {
    auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
        return 1;
    }
    // U+FFFE and U+FFFF are EF BF BE / EF BF BF.
    if (c == 0xEF && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0xBF &&
        (static_cast<unsigned char>(utf8[i + 2]) & 0xFE) == 0xBE) {
        return 3;
    }
    return 0;
}

}  // namespace

bool hasNonXmlChars(std::string_view utf8) {
    // Every text of a document and every byte of a save passes here: eight
    // bytes are let through at once when none is below 0x20 or 0xEF (the
    // lead byte of U+FFFE and U+FFFF); the others, one by one.
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighs = 0x8080808080808080ull;
    auto suspect = [&](std::size_t i, std::size_t end) {
        for (; i < end; ++i) {
            auto c = static_cast<unsigned char>(utf8[i]);
            if ((c < 0x20 || c == 0xEF) && nonXmlCharAt(utf8, i) != 0) {
                return true;
            }
        }
        return false;
    };
    std::size_t i = 0;
    for (; i + 8 <= utf8.size(); i += 8) {
        std::uint64_t x;
        std::memcpy(&x, utf8.data() + i, 8);
        std::uint64_t below = (x - kOnes * 0x20) & ~x & kHighs;
        std::uint64_t ef = x ^ (kOnes * 0xEF);
        std::uint64_t leads = (ef - kOnes) & ~ef & kHighs;
        if ((below | leads) != 0 && suspect(i, i + 8)) {
            return true;
        }
    }
    return suspect(i, utf8.size());
}

bool dropNonXmlChars(std::string& utf8) {
    // Nearly every text has nothing to drop: it is then left untouched.
    if (!hasNonXmlChars(utf8)) {
        return false;
    }
    size_t out = 0;
    const size_t n = utf8.size();
    // Characters are only ever moved towards the front, behind the reading
    // position.
    for (size_t i = 0; i < n;) {
        if (size_t skip = nonXmlCharAt(utf8, i)) {
            i += skip;
            continue;
        }
        utf8[out++] = utf8[i++];
    }
    bool dropped = out != n;
    utf8.resize(out);
    return dropped;
}

namespace {

// Whether the bytes at the end of a block may start a U+FFFE or U+FFFF that
// the next block completes.
std::size_t possiblyCutAtEnd(std::string_view block) {
    std::size_t n = block.size();
    if (n >= 1 && static_cast<unsigned char>(block[n - 1]) == 0xEF) {
        return 1;
    }
    if (n >= 2 && static_cast<unsigned char>(block[n - 2]) == 0xEF &&
        static_cast<unsigned char>(block[n - 1]) == 0xBF) {
        return 2;
    }
    return 0;
}

}  // namespace

bool NonXmlCharDropper::passes(std::string_view block) const {
    return m_held.empty() && !hasNonXmlChars(block) && possiblyCutAtEnd(block) == 0;
}

void NonXmlCharDropper::take(std::string_view block, std::string& out) {
    std::string bytes = std::move(m_held);
    m_held.clear();
    bytes.append(block);
    std::size_t end = bytes.size() - possiblyCutAtEnd(bytes);
    m_held.assign(bytes, end);
    bytes.resize(end);
    dropNonXmlChars(bytes);
    out.append(bytes);
}

void NonXmlCharDropper::finish(std::string& out) {
    out.append(m_held);
    m_held.clear();
}

std::string toXmlUtf8(const CString& text) {
    std::string utf8;
    toXmlUtf8(text, utf8);
    return utf8;
}

void toXmlUtf8(const CString& text, std::string& out) {
    nd::text::toUtf8(text.view(), out);
    dropNonXmlChars(out);
}

bool sameName(const xmlChar* a, std::string_view b) {
    if (a == nullptr) {
        return false;
    }
    size_t i = 0;
    for (; i < b.size(); ++i) {
        unsigned char x = a[i];
        auto y = static_cast<unsigned char>(b[i]);
        if (x == 0) {
            return false;
        }
        if (x != y && !(x < 0x80 && y < 0x80 && (x | 0x20) == (y | 0x20) && (x | 0x20) >= 'a' &&
                        (x | 0x20) <= 'z')) {
            return false;
        }
    }
    return a[i] == 0;
}

std::string qualifiedName(const xmlNode* node) {
    std::string name;
    if (node == nullptr || node->name == nullptr) {
        return name;
    }
    if (node->ns != nullptr && node->ns->prefix != nullptr) {
        name = reinterpret_cast<const char*>(node->ns->prefix);
        name += ':';
    }
    name += reinterpret_cast<const char*>(node->name);
    return name;
}

CString escapeEntities(CString text) {
    std::u16string_view in = text.view();
    // Most titles hold none of the four characters: they come back whole.
    size_t special = in.find_first_of(u"\"&<>");
    if (special == std::u16string_view::npos) {
        return text;
    }
    std::u16string out;
    out.reserve(in.size() + 16);
    size_t plain = 0;
    for (size_t i = special; i < in.size(); ++i) {
        std::u16string_view entity;
        switch (in[i]) {
            case u'"':
                entity = u"&quot;";
                break;
            case u'&':
                entity = u"&amp;";
                break;
            case u'>':
                entity = u"&gt;";
                break;
            case u'<':
                entity = u"&lt;";
                break;
            default:
                continue;
        }
        out.append(in.substr(plain, i - plain));
        out.append(entity);
        plain = i + 1;
    }
    out.append(in.substr(plain));
    return CString(std::move(out));
}

namespace {

bool startsNoCase(std::u16string_view text, size_t at, std::u16string_view entity) {
    if (text.size() - at < entity.size()) {
        return false;
    }
    for (size_t i = 0; i < entity.size(); ++i) {
        char16_t c = text[at + i];
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c + (u'a' - u'A'));
        }
        if (c != entity[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

CString unescapeEntities(CString text) {
    static constexpr struct {
        std::u16string_view entity;
        char16_t ch;
    } kEntities[] = {{u"&quot;", u'"'}, {u"&amp;", u'&'}, {u"&gt;", u'>'}, {u"&lt;", u'<'}};
    std::u16string_view in = text.view();
    size_t first = in.find(u'&');
    if (first == std::u16string_view::npos) {
        return text;
    }
    std::u16string out;
    out.reserve(in.size());
    out.append(in.substr(0, first));
    for (size_t i = first; i < in.size();) {
        if (in[i] != u'&') {
            size_t next = std::min(in.find(u'&', i), in.size());
            out.append(in.substr(i, next - i));
            i = next;
            continue;
        }
        bool matched = false;
        for (const auto& e : kEntities) {
            if (startsNoCase(in, i, e.entity)) {
                out += e.ch;
                i += e.entity.size();
                matched = true;
                break;
            }
        }
        if (!matched) {
            out += in[i++];
        }
    }
    return CString(std::move(out));
}

void dropNonXmlCharsInTree(xmlNode* node) {
    for (; node != nullptr; node = node->next) {
        if ((node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE ||
             node->type == XML_COMMENT_NODE) &&
            node->content != nullptr &&
            hasNonXmlChars(reinterpret_cast<const char*>(node->content))) {
            // Copied only when something goes: every node of a large feed
            // passes here, and almost none holds such a character.
            std::string text = reinterpret_cast<const char*>(node->content);
            dropNonXmlChars(text);
            xmlNodeSetContent(node, reinterpret_cast<const xmlChar*>(text.c_str()));
        }
        if (node->type == XML_ELEMENT_NODE) {
            for (xmlAttr* a = node->properties; a != nullptr; a = a->next) {
                dropNonXmlCharsInTree(a->children);
            }
        }
        if (node->type != XML_ENTITY_REF_NODE) {
            dropNonXmlCharsInTree(node->children);
        }
    }
}

}  // namespace lum::xml
