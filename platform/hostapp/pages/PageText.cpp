#include "hostapp/pages/PageText.h"

#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace lum::page {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

bool isUtf8Label(const std::string& label) {
    std::string l = lower(label);
    return l == "utf-8" || l == "utf8" || l == "us-ascii" || l == "ascii" ||
           l == "unicode-1-1-utf-8";
}

// Converts with ICU; false when ICU has no converter for the label.
bool convert(std::string_view bytes, const std::string& label, std::string& out) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* probe = ucnv_open(label.c_str(), &status);
    if (U_FAILURE(status) || probe == nullptr) {
        return false;
    }
    ucnv_close(probe);
    icu::UnicodeString text(bytes.data(), static_cast<int32_t>(bytes.size()), label.c_str());
    if (text.isBogus()) {
        return false;
    }
    out.clear();
    text.toUTF8String(out);
    return true;
}

std::string guessCharset(std::string_view bytes) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, decltype(&ucsdet_close)> detector(ucsdet_open(&status),
                                                                        ucsdet_close);
    if (U_FAILURE(status)) {
        return {};
    }
    ucsdet_enableInputFilter(detector.get(), true);  // markup is not evidence
    ucsdet_setText(detector.get(), bytes.data(),
                   static_cast<int32_t>(std::min<size_t>(bytes.size(), 1 << 20)), &status);
    const UCharsetMatch* match = ucsdet_detect(detector.get(), &status);
    if (U_FAILURE(status) || match == nullptr) {
        return {};
    }
    const char* name = ucsdet_getName(match, &status);
    return U_SUCCESS(status) && name ? name : "";
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        auto c = static_cast<unsigned char>(bytes[i]);
        size_t extra = c < 0x80                 ? 0
                       : c >= 0xC2 && c <= 0xDF ? 1
                       : c >= 0xE0 && c <= 0xEF ? 2
                       : c >= 0xF0 && c <= 0xF4 ? 3
                                                : 4;
        if (extra == 4 || extra >= n - i) {
            return extra == 0;
        }
        for (size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += extra + 1;
    }
    return true;
}

std::string declaredCharset(std::string_view bytes) {
    std::string head = lower(bytes.substr(0, 1024));
    size_t at = 0;
    while ((at = head.find("<meta", at)) != std::string::npos) {
        size_t end = head.find('>', at);
        std::string_view tag(head.data() + at, (end == std::string::npos ? head.size() : end) - at);
        at += 5;
        size_t c = tag.find("charset");
        if (c == std::string_view::npos) {
            continue;
        }
        size_t p = c + 7;
        while (p < tag.size() && std::isspace(static_cast<unsigned char>(tag[p]))) {
            ++p;
        }
        if (p >= tag.size() || tag[p] != '=') {
            continue;
        }
        ++p;
        while (p < tag.size() && (std::isspace(static_cast<unsigned char>(tag[p])) ||
                                  tag[p] == '"' || tag[p] == '\'')) {
            ++p;
        }
        size_t q = p;
        while (q < tag.size() &&
               (std::isalnum(static_cast<unsigned char>(tag[q])) || tag[q] == '-' ||
                tag[q] == '_' || tag[q] == ':' || tag[q] == '.')) {
            ++q;
        }
        if (q > p) {
            // Labels are ASCII; take the original spelling for messages.
            return std::string(
                bytes.substr(static_cast<size_t>(tag.data() - head.data()) + p, q - p));
        }
    }
    return {};
}

DecodedPage decodePage(std::string_view bytes) {
    DecodedPage page;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        page.text.assign(bytes.substr(3));
        page.encoding = "UTF-8";
        return page;
    }
    if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
        std::string label = bytes[0] == '\xFF' ? "UTF-16LE" : "UTF-16BE";
        if (convert(bytes.substr(2), label, page.text)) {
            page.encoding = label;
            return page;
        }
    }
    std::string label = declaredCharset(bytes);
    if (!label.empty() && !isUtf8Label(label) && convert(bytes, label, page.text)) {
        page.encoding = label;
        return page;
    }
    if (!label.empty() || isValidUtf8(bytes)) {
        page.text.assign(bytes);
        page.encoding = "UTF-8";
        return page;
    }
    label = guessCharset(bytes);
    if (label.empty() || !convert(bytes, label, page.text)) {
        label = "windows-1252";
        convert(bytes, label, page.text);
    }
    page.encoding = label;
    return page;
}

}  // namespace lum::page
