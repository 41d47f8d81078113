#include "hostapp/pages/PageTextOffsets.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace lum::page {

namespace {

size_t sequenceLength(unsigned char lead) {
    return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

// The length of a character reference at `at` ("&amp;", "&#x41;"), or 0.
size_t referenceLength(std::string_view text, size_t at, size_t end) {
    if (text[at] != '&' || at + 2 >= end) {
        return 0;
    }
    size_t i = at + 1;
    bool numeric = text[i] == '#';
    if (numeric) {
        ++i;
    }
    size_t first = i;
    while (i < end && i - at < 40 && std::isalnum(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    if (i == first || i >= end || text[i] != ';') {
        return 0;
    }
    return i + 1 - at;
}

// One step over the file's text: the bytes taken and the UTF-16 units of
// content they decode to.
void step(std::string_view text, size_t at, size_t end, size_t& bytes, long& units) {
    if (text[at] == '\r' && at + 1 < end && text[at + 1] == '\n') {
        bytes = 2;
        units = 1;
        return;
    }
    if (size_t ref = referenceLength(text, at, end); ref > 0) {
        bytes = ref;
        units = 1;
        // A numeric reference past the first plane is a surrogate pair.
        if (text[at + 1] == '#') {
            bool hex = text[at + 2] == 'x' || text[at + 2] == 'X';
            unsigned long value = std::strtoul(
                std::string(text.substr(at + (hex ? 3 : 2), ref)).c_str(), nullptr, hex ? 16 : 10);
            units = value > 0xFFFF && value <= 0x10FFFF ? 2 : 1;
        }
        return;
    }
    size_t n = sequenceLength(static_cast<unsigned char>(text[at]));
    bytes = at + n <= end ? n : end - at;
    units = n == 4 ? 2 : 1;
}

}  // namespace

size_t nextCharacter(std::string_view text, size_t at) {
    size_t n = sequenceLength(static_cast<unsigned char>(text[at]));
    return at + n <= text.size() ? at + n : text.size();
}

long unitsBetween(std::string_view text, size_t begin, size_t end) {
    long total = 0;
    for (size_t at = begin; at < end;) {
        size_t bytes = 0;
        long units = 0;
        step(text, at, text.size(), bytes, units);
        total += units;
        at += bytes;
    }
    return total;
}

size_t utf8OffsetOfUnits(std::string_view content, long units) {
    size_t at = 0;
    while (at < content.size() && units > 0) {
        size_t n = sequenceLength(static_cast<unsigned char>(content[at]));
        units -= n == 4 ? 2 : 1;
        at = at + n <= content.size() ? at + n : content.size();
    }
    return at;
}

std::optional<size_t> sourceOffsetOfUnits(std::string_view text, size_t begin, size_t end,
                                          std::string_view content, long units) {
    long contentUnits = 0;
    for (size_t at = 0; at < content.size();) {
        size_t n = sequenceLength(static_cast<unsigned char>(content[at]));
        contentUnits += n == 4 ? 2 : 1;
        at += n;
    }
    if (unitsBetween(text.substr(0, end), begin, end) != contentUnits) {
        return std::nullopt;
    }
    size_t at = begin;
    long seen = 0;
    while (at < end && seen < units) {
        size_t bytes = 0;
        long u = 0;
        step(text, at, end, bytes, u);
        seen += u;
        at += bytes;
    }
    return seen == units ? std::optional<size_t>(at) : std::nullopt;
}

}  // namespace lum::page
