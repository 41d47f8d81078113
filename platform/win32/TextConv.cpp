#include "win32/TextConv.h"

#include <unicode/ustring.h>
#include <unicode/utypes.h>

#include <climits>
#include <cstdint>
#include <cstring>

namespace nd::text {

namespace {

constexpr UChar32 kReplacement = 0xFFFD;

// Most feed text is ASCII, which converts unit by unit. Tested a word at a
// time; narrowAscii returns how many units at the start were ASCII,
// converted.
bool isAscii(std::string_view text) {
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, text.data() + i, 8);
        if ((bytes & 0x8080808080808080ull) != 0) {
            return false;
        }
    }
    for (; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

std::size_t narrowAscii(const char16_t* in, std::size_t n, char* out) {
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        std::uint64_t units;
        std::memcpy(&units, in + i, 8);
        if ((units & 0xFF80FF80FF80FF80ull) != 0) {
            break;
        }
        std::uint32_t bytes =
            static_cast<std::uint32_t>((units & 0xFF) | ((units >> 8) & 0xFF00) |
                                       ((units >> 16) & 0xFF0000) | ((units >> 24) & 0xFF000000));
        std::memcpy(out + i, &bytes, 4);
    }
    for (; i < n && in[i] < 0x80; ++i) {
        out[i] = static_cast<char>(in[i]);
    }
    return i;
}

}  // namespace

std::u16string fromUtf8(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > INT32_MAX) {
        return {};
    }
    // Most feed fields (URLs, dates, numbers, names of elements) are ASCII,
    // which widens unit by unit without a conversion.
    if (isAscii(utf8)) {
        return std::u16string(utf8.begin(), utf8.end());
    }
    // Sized for well-formed UTF-8: one unit for each byte that starts a
    // character, two for those of four bytes. Text a parser hands over
    // is well-formed, and a record keeps its texts as long as it lives: a
    // string sized by bytes would hold up to three times the units (CJK).
    std::size_t units = 0;
    for (char c : utf8) {
        auto byte = static_cast<unsigned char>(c);
        units += (byte & 0xC0) != 0x80 ? 1 : 0;
        units += byte >= 0xF0 ? 1 : 0;
    }
    std::u16string out(units, u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), kReplacement, nullptr, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        // Broken sequences, each replaced: UTF-16 never needs more units
        // than UTF-8 has bytes.
        out.assign(utf8.size(), u'\0');
        status = U_ZERO_ERROR;
        u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, utf8.data(),
                             static_cast<int32_t>(utf8.size()), kReplacement, nullptr, &status);
    }
    if (U_FAILURE(status)) {
        return {};
    }
    out.resize(static_cast<size_t>(length));
    return out;
}

std::string toUtf8(std::u16string_view utf16) {
    std::string out;
    toUtf8(utf16, out);
    return out;
}

void toUtf8(std::u16string_view utf16, std::string& out) {
    out.clear();
    if (utf16.empty() || utf16.size() > INT32_MAX / 3) {
        return;
    }
    out.resize(utf16.size());
    if (narrowAscii(utf16.data(), utf16.size(), out.data()) == utf16.size()) {
        return;
    }
    out.resize(utf16.size() * 3);
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, utf16.data(),
                       static_cast<int32_t>(utf16.size()), kReplacement, nullptr, &status);
    out.resize(U_FAILURE(status) ? 0 : static_cast<size_t>(length));
}

bool isUtf8(std::string_view bytes) {
    if (bytes.size() > INT32_MAX) {
        return false;
    }
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    // Preflight without a substitute: ill-formed input is an error here.
    u_strFromUTF8(nullptr, 0, &length, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    return status == U_BUFFER_OVERFLOW_ERROR || status == U_STRING_NOT_TERMINATED_WARNING ||
           U_SUCCESS(status);
}

}  // namespace nd::text
