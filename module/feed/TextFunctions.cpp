#include "feed/TextFunctions.h"

#include "hostapp/feedxml/XmlText.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace newsdesk {

namespace {

bool isSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

// One "%d" conversion: white space, an optional sign, at least one digit.
std::optional<std::int64_t> readInt(std::u16string_view text, size_t& pos) {
    while (pos < text.size() && isSpace(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    size_t start = pos;
    std::int64_t value = 0;
    // Digits beyond what 64 bits hold saturate.
    while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
        int digit = text[pos] - u'0';
        value = value > (INT64_MAX - digit) / 10 ? INT64_MAX : value * 10 + digit;
        ++pos;
    }
    if (pos == start) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

int clampToInt(std::int64_t value) {
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

}  // namespace

CString xmlEscape(const CString& text) {
    return lum::xml::escapeEntities(text);
}

CString xmlUnescape(CString text) {
    return lum::xml::unescapeEntities(std::move(text));
}

int parseDuration(const CString& text) {
    std::u16string_view view = text.view();
    std::int64_t parts[3] = {0, 0, 0};
    int count = 0;
    size_t pos = 0;
    while (count < 3) {
        if (count > 0 && (pos >= view.size() || view[pos] != u':')) {
            break;
        }
        if (count > 0) {
            ++pos;
        }
        auto value = readInt(view, pos);
        if (!value) {
            break;
        }
        parts[count++] = *value;
    }
    // Feeds write "2730" and "45:30" as often as "00:45:30": the numbers
    // present are the last fields of h:m:s, as the iTunes tag defines them.
    // Each field is bounded first so that absurd hours saturate instead of
    // overflowing on the way to the clamp.
    constexpr std::int64_t kFieldLimit = 1'000'000'000'000;
    std::int64_t seconds = 0;
    for (int i = 0; i < count; ++i) {
        seconds = seconds * 60 + std::clamp(parts[i], -kFieldLimit, kFieldLimit);
    }
    return clampToInt(seconds);
}

int wtoi(const CString& text) {
    size_t pos = 0;
    auto value = readInt(text.view(), pos);
    return value ? clampToInt(*value) : 0;
}

std::int64_t wtoi64(const CString& text) {
    size_t pos = 0;
    return readInt(text.view(), pos).value_or(0);
}

}  // namespace newsdesk
