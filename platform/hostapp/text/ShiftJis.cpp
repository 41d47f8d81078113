#include "hostapp/text/ShiftJis.h"

#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace lum::xml {

namespace {

constexpr char32_t kNone = 0xFFFFFFFF;

bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// One code of the two dialects: its index is the byte itself for a single
// byte, lead << 8 | trail for a pair.
struct Tables {
    std::vector<char32_t> decoded = std::vector<char32_t>(65536, kNone);
    std::vector<bool> standard = std::vector<bool>(65536, false);
    // Codes by character (all of them lie in the Basic Multilingual Plane);
    // 0 for none.
    std::vector<std::uint16_t> standardCode = std::vector<std::uint16_t>(65536, 0);
    std::vector<std::uint16_t> windowsCode = std::vector<std::uint16_t>(65536, 0);
};

// The one character iconv makes of bytes in charset, or kNone.
char32_t decodeOne(iconv_t cd, const std::string& bytes) {
    char32_t out[2] = {0, 0};
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* outPtr = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0 ||
        sizeof out - outLeft != sizeof(char32_t)) {
        return kNone;
    }
    return out[0];
}

// The bytes iconv makes of one character in charset; empty when none.
std::string encodeOne(iconv_t cd, char32_t c) {
    char out[8];
    char* in = reinterpret_cast<char*>(&c);
    size_t inLeft = sizeof c;
    char* outPtr = out;
    size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
        return std::string();
    }
    return std::string(out, sizeof out - outLeft);
}

int indexOf(const std::string& bytes) {
    auto b0 = static_cast<unsigned char>(bytes[0]);
    return bytes.size() == 1 ? b0 : b0 << 8 | static_cast<unsigned char>(bytes[1]);
}

// Built from the C library's two converters. Bytes below 0x80 are ASCII in
// both, as XML readers take them (the library's strict Shift_JIS would
// make 0x5C a yen sign and break every backslash).
Tables buildTables() {
    Tables t;
    iconv_t standard = iconv_open("UTF-32LE", "SHIFT_JIS");
    iconv_t windows = iconv_open("UTF-32LE", "CP932");
    iconv_t toWindows = iconv_open("CP932", "UTF-32LE");
    std::vector<std::string> codes;
    for (int b = 0; b < 0x100; ++b) {
        if (!isLeadByte(static_cast<unsigned char>(b))) {
            codes.emplace_back(1, static_cast<char>(b));
        }
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(static_cast<unsigned char>(lead))) {
            continue;
        }
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            codes.push_back({static_cast<char>(lead), static_cast<char>(trail)});
        }
    }
    for (const std::string& code : codes) {
        int index = indexOf(code);
        if (index < 0x80) {
            t.decoded[index] = static_cast<char32_t>(index);
            t.standard[index] = true;
            t.standardCode[index] = static_cast<std::uint16_t>(index);
            continue;
        }
        char32_t c = standard != reinterpret_cast<iconv_t>(-1) ? decodeOne(standard, code) : kNone;
        if (c != kNone && c < 0x10000) {
            t.decoded[index] = c;
            t.standard[index] = true;
            t.standardCode[c] = static_cast<std::uint16_t>(index);
        } else if (windows != reinterpret_cast<iconv_t>(-1)) {
            t.decoded[index] = decodeOne(windows, code);
        }
    }
    // The Windows codes as the Windows code page itself chooses among its
    // duplicates, so that what an earlier writer of that dialect wrote comes
    // out the same; only where the code reads back as the same character.
    for (int index = 0x80; index < 0x10000; ++index) {
        char32_t c = t.decoded[index];
        if (c == kNone || t.standard[index] || c >= 0x10000 || t.standardCode[c] != 0 ||
            t.windowsCode[c] != 0 || toWindows == reinterpret_cast<iconv_t>(-1)) {
            continue;
        }
        std::string bytes = encodeOne(toWindows, c);
        if (!bytes.empty() && bytes.size() <= 2 && t.decoded[indexOf(bytes)] == c) {
            t.windowsCode[c] = static_cast<std::uint16_t>(indexOf(bytes));
        }
    }
    for (iconv_t cd : {standard, windows, toWindows}) {
        if (cd != reinterpret_cast<iconv_t>(-1)) {
            iconv_close(cd);
        }
    }
    return t;
}

const Tables& tables() {
    static const Tables t = buildTables();
    return t;
}

void putUtf8(char32_t c, unsigned char* out, int& at) {
    if (c < 0x80) {
        out[at++] = static_cast<unsigned char>(c);
    } else if (c < 0x800) {
        out[at++] = static_cast<unsigned char>(0xC0 | c >> 6);
        out[at++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out[at++] = static_cast<unsigned char>(0xE0 | c >> 12);
        out[at++] = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
        out[at++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else {
        out[at++] = static_cast<unsigned char>(0xF0 | c >> 18);
        out[at++] = static_cast<unsigned char>(0x80 | (c >> 12 & 0x3F));
        out[at++] = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
        out[at++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    }
}

// libxml2's input converter: Shift_JIS bytes to UTF-8. -2 at a code neither
// dialect defines; a lead byte at the end of the input waits for its trail.
int shiftJisToUtf8(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
    const Tables& t = tables();
    int i = 0;
    int o = 0;
    int result = 0;
    while (i < *inlen) {
        // Markup is ASCII, and most of a feed is markup.
        if (in[i] < 0x80 && o < *outlen) {
            out[o++] = in[i++];
            continue;
        }
        int index = in[i];
        int width = 1;
        if (isLeadByte(in[i])) {
            if (i + 1 >= *inlen) {
                break;
            }
            index = in[i] << 8 | in[i + 1];
            width = 2;
        }
        char32_t c = t.decoded[index];
        if (c == kNone) {
            result = -2;
            break;
        }
        if (o + 4 > *outlen) {
            break;
        }
        putUtf8(c, out, o);
        i += width;
    }
    *inlen = i;
    *outlen = o;
    return result == 0 ? o : result;
}

// libxml2's output converter over one code table (and the standard one
// first): -2 at a character without a code, which libxml2 then writes as a
// character reference.
int utf8ToShiftJis(unsigned char* out, int* outlen, const unsigned char* in, int* inlen,
                   bool windows) {
    const Tables& t = tables();
    int i = 0;
    int o = 0;
    int result = 0;
    while (i < *inlen) {
        unsigned char b = in[i];
        int width = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
        if (width == 0) {
            result = -2;
            break;
        }
        if (i + width > *inlen) {
            break;
        }
        char32_t c = width == 1 ? b : b & (0x7F >> width);
        for (int k = 1; k < width; ++k) {
            c = c << 6 | (in[i + k] & 0x3F);
        }
        std::uint16_t code = 0;
        if (c < 0x80) {
            code = static_cast<std::uint16_t>(c);
        } else if (c < 0x10000) {
            code = t.standardCode[c] != 0 ? t.standardCode[c] : windows ? t.windowsCode[c] : 0;
        }
        if (c != 0 && code == 0) {
            result = -2;
            break;
        }
        int bytes = code > 0xFF ? 2 : 1;
        if (o + bytes > *outlen) {
            break;
        }
        if (bytes == 2) {
            out[o++] = static_cast<unsigned char>(code >> 8);
        }
        out[o++] = static_cast<unsigned char>(code & 0xFF);
        i += width;
    }
    *inlen = i;
    *outlen = o;
    return result == 0 ? o : result;
}

int utf8ToStandardShiftJis(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
    return utf8ToShiftJis(out, outlen, in, inlen, false);
}

int utf8ToWindowsShiftJis(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
    return utf8ToShiftJis(out, outlen, in, inlen, true);
}

constexpr const char* kLabels[] = {"SHIFT_JIS", "SHIFT-JIS", "SJIS",
                                   "X-SJIS",    "MS_KANJI",  "CSSHIFTJIS"};

// The encoding named in an XML declaration at the start of bytes; empty
// when there is none.
std::string declaredEncoding(std::string_view head) {
    if (head.substr(0, 5) != "<?xml") {
        return std::string();
    }
    size_t end = head.find("?>");
    size_t at = head.find("encoding");
    if (at == std::string_view::npos || at > end) {
        return std::string();
    }
    size_t quote = head.find_first_of("\"'", at);
    if (quote == std::string_view::npos || quote > end) {
        return std::string();
    }
    size_t close = head.find(head[quote], quote + 1);
    return close == std::string_view::npos || close > end
               ? std::string()
               : std::string(head.substr(quote + 1, close - quote - 1));
}

}  // namespace

bool isShiftJisName(std::string_view name) {
    for (const char* label : kLabels) {
        std::string_view l(label);
        if (name.size() == l.size()) {
            bool same = true;
            for (size_t i = 0; i < l.size() && same; ++i) {
                char c =
                    name[i] >= 'a' && name[i] <= 'z' ? static_cast<char>(name[i] - 32) : name[i];
                same = c == l[i];
            }
            if (same) {
                return true;
            }
        }
    }
    return false;
}

void registerShiftJis() {
    static std::once_flag once;
    std::call_once(once, [] {
        // The tables are built when a Shift_JIS document first needs them.
        xmlInitParser();
        xmlNewCharEncodingHandler(kLabels[0], shiftJisToUtf8, utf8ToStandardShiftJis);
        for (const char* alias : kLabels) {
            if (alias != kLabels[0]) {
                xmlAddEncodingAlias(kLabels[0], alias);
            }
        }
    });
}

xmlCharEncodingHandler* windowsShiftJisOutput() {
    // Not registered: no document can name it; libxml2 closes it without
    // freeing it, as it holds no converter of the C library.
    static xmlCharEncodingHandler handler = [] {
        xmlCharEncodingHandler h{};
        h.name = const_cast<char*>("SHIFT_JIS");
        h.output = utf8ToWindowsShiftJis;
        return h;
    }();
    return &handler;
}

namespace {

// Feeds the bytes of a file, piece by piece, and tells whether one of its
// codes is defined by the Windows code page alone.
class WindowsCodeScan {
  public:
    bool feed(const unsigned char* bytes, size_t size) {
        const Tables& t = tables();
        for (size_t i = 0; i < size && !m_uses; ++i) {
            unsigned char b = bytes[i];
            int index = -1;
            if (m_pendingLead >= 0) {
                index = m_pendingLead << 8 | b;
                m_pendingLead = -1;
            } else if (isLeadByte(b)) {
                m_pendingLead = b;
            } else {
                index = b;
            }
            m_uses = index >= 0 && !t.standard[static_cast<size_t>(index)] &&
                     t.decoded[static_cast<size_t>(index)] != kNone;
        }
        return m_uses;
    }

  private:
    int m_pendingLead = -1;
    bool m_uses = false;
};

}  // namespace

bool fileUsesWindowsShiftJis(const char* nativePath) {
    int fd = ::open(nativePath, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    std::array<unsigned char, 1 << 16> buffer;
    bool first = true;
    bool uses = false;
    WindowsCodeScan scan;
    ssize_t got = 0;
    while (!uses && (got = ::read(fd, buffer.data(), buffer.size())) > 0) {
        if (first) {
            first = false;
            std::string_view head(reinterpret_cast<const char*>(buffer.data()),
                                  static_cast<size_t>(std::min<ssize_t>(got, 512)));
            if (!isShiftJisName(declaredEncoding(head))) {
                break;
            }
        }
        uses = scan.feed(buffer.data(), static_cast<size_t>(got));
    }
    ::close(fd);
    return uses;
}

bool usesWindowsShiftJis(std::string_view bytes) {
    WindowsCodeScan scan;
    return scan.feed(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

std::string encodeShiftJis(std::string_view utf8, bool windows) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    auto in = reinterpret_cast<const unsigned char*>(utf8.data());
    int left = static_cast<int>(utf8.size());
    unsigned char buffer[1024];
    while (left > 0) {
        int inlen = left;
        int outlen = static_cast<int>(sizeof buffer);
        int result = utf8ToShiftJis(buffer, &outlen, in, &inlen, windows);
        out.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(outlen));
        in += inlen;
        left -= inlen;
        if (result != -2 && inlen > 0) {
            continue;
        }
        if (left == 0) {
            break;
        }
        // The character the converter stopped at (or a cut sequence at the
        // end) has no code: a reference stands for it.
        unsigned char b = in[0];
        int width = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        char32_t c = 0xFFFD;
        if (width > 1 && width <= left) {
            c = b & (0x7F >> width);
            for (int k = 1; k < width; ++k) {
                c = (in[k] & 0xC0) == 0x80 ? c << 6 | (in[k] & 0x3F) : 0xFFFD;
            }
        } else {
            width = 1;
        }
        std::string reference = "&#x";
        bool digits = false;
        for (int shift = 20; shift >= 0; shift -= 4) {
            unsigned nibble = (c >> shift) & 15;
            digits = digits || nibble != 0 || shift == 0;
            if (digits) {
                reference += hex[nibble];
            }
        }
        out += reference + ";";
        in += width;
        left -= width;
    }
    return out;
}

}  // namespace lum::xml
