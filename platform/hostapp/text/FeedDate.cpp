#include "hostapp/text/FeedDate.h"

#include "hostapp/text/FeedDateParts.h"

#include <cstdio>
#include <ctime>
#include <string>

namespace lum {

namespace date {

// Howard Hinnant's algorithm, valid far beyond any year a feed holds.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

namespace {

void civilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
}

bool isLeap(std::int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

unsigned daysInMonth(std::int64_t y, unsigned m) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

}  // namespace

std::optional<FeedDate> toDate(const Fields& f, bool localIsUtc) {
    if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > daysInMonth(f.year, f.month) ||
        f.hour > 23 || f.minute > 59 || f.second > 60) {
        return std::nullopt;
    }
    if (f.hasZone || localIsUtc) {
        std::int64_t utc = daysFromCivil(f.year, f.month, f.day) * 86400 + f.hour * 3600 +
                           f.minute * 60 + f.second - std::int64_t{f.offsetMinutes} * 60;
        return FeedDate{utc, f.hasZone ? f.offsetMinutes : 0};
    }
    std::tm tm{};
    tm.tm_year = static_cast<int>(f.year - 1900);
    tm.tm_mon = static_cast<int>(f.month) - 1;
    tm.tm_mday = static_cast<int>(f.day);
    tm.tm_hour = static_cast<int>(f.hour);
    tm.tm_min = static_cast<int>(f.minute);
    tm.tm_sec = static_cast<int>(f.second);
    tm.tm_isdst = -1;
    std::time_t t = std::mktime(&tm);
    // -1 is both the error and one second before 1970; only a date in
    // December 1969 can mean the latter.
    if (t == static_cast<std::time_t>(-1) && (tm.tm_year != 69 || tm.tm_mon != 11)) {
        return std::nullopt;
    }
    return FeedDate{static_cast<std::int64_t>(t), static_cast<int>(tm.tm_gmtoff / 60)};
}

bool Scanner::skipSpace() {
    size_t start = m_pos;
    while (!atEnd() && (peek() == u' ' || peek() == u'\t' || peek() == u'\r' || peek() == u'\n')) {
        ++m_pos;
    }
    return m_pos != start;
}

unsigned Scanner::digitsAhead() const {
    unsigned n = 0;
    while (isDigit(n)) {
        ++n;
    }
    return n;
}

bool Scanner::number(unsigned minDigits, unsigned maxDigits, std::int64_t& value,
                     unsigned* digits) {
    unsigned n = 0;
    value = 0;
    while (n < maxDigits && isDigit()) {
        value = value * 10 + (peek() - u'0');
        ++m_pos;
        ++n;
    }
    if (digits) {
        *digits = n;
    }
    return n >= minDigits;
}

bool Scanner::number(unsigned minDigits, unsigned maxDigits, unsigned& value) {
    std::int64_t v = 0;
    bool ok = number(minDigits, maxDigits, v);
    value = static_cast<unsigned>(v);
    return ok;
}

std::string Scanner::word() {
    std::string w;
    while (!atEnd()) {
        char16_t c = peek();
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c + 32);
        }
        if (c < u'a' || c > u'z') {
            break;
        }
        w += static_cast<char>(c);
        ++m_pos;
    }
    return w;
}

bool numericZone(Scanner& s, int& offsetMinutes, bool hoursAlone) {
    char16_t sign = s.peek();
    if (sign != u'+' && sign != u'-') {
        return false;
    }
    s.take(sign);
    unsigned hours = 0;
    unsigned minutes = 0;
    unsigned digits = 0;
    std::int64_t value = 0;
    if (!s.number(2, 4, value, &digits) || digits == 3) {
        return false;
    }
    if (digits == 4) {
        hours = static_cast<unsigned>(value / 100);
        minutes = static_cast<unsigned>(value % 100);
    } else {
        hours = static_cast<unsigned>(value);
        if (s.take(u':')) {
            if (!s.number(2, 2, minutes)) {
                return false;
            }
        } else if (!hoursAlone) {
            return false;
        }
    }
    if (hours > 23 || minutes > 59) {
        return false;
    }
    offsetMinutes = static_cast<int>(hours * 60 + minutes) * (sign == u'-' ? -1 : 1);
    return true;
}

namespace {

// hh:mm with optional :ss, or in the basic form hhmm with optional ss; a
// fraction of a second after either is read and dropped.
bool isoTime(Scanner& s, Fields& f) {
    bool basic = s.digitsAhead() >= 4;
    if (!s.number(2, 2, f.hour)) {
        return false;
    }
    if (basic) {
        if (!s.number(2, 2, f.minute)) {
            return false;
        }
        if (s.isDigit() && !s.number(2, 2, f.second)) {
            return false;
        }
    } else {
        if (!s.take(u':') || !s.number(2, 2, f.minute)) {
            return false;
        }
        if (s.take(u':') && !s.number(2, 2, f.second)) {
            return false;
        }
    }
    if (s.take(u'.') || s.take(u',')) {
        if (!s.isDigit()) {
            return false;
        }
        while (s.isDigit()) {
            s.take(s.peek());
        }
    }
    return true;
}

}  // namespace

}  // namespace date

using date::Fields;
using date::Scanner;

std::optional<FeedDate> parseW3cDtfDate(std::u16string_view text, bool localIsUtc) {
    Scanner s(text);
    Fields f;
    s.skipSpace();
    bool fullDate = false;
    if (s.digitsAhead() == 8) {
        s.number(4, 4, f.year);
        s.number(2, 2, f.month);
        s.number(2, 2, f.day);
        fullDate = true;
    } else {
        if (!s.number(4, 4, f.year)) {
            return std::nullopt;
        }
        if (s.take(u'-')) {
            if (!s.number(2, 2, f.month)) {
                return std::nullopt;
            }
            if (s.take(u'-')) {
                if (!s.number(2, 2, f.day)) {
                    return std::nullopt;
                }
                fullDate = true;
            }
        }
    }
    if (fullDate) {
        // A time follows "T", or a space as databases write it.
        size_t beforeSpace = s.position();
        bool timed = s.takeLetter(u't') || (s.skipSpace() && s.isDigit());
        if (!timed) {
            s.rewind(beforeSpace);
        } else if (!date::isoTime(s, f)) {
            return std::nullopt;
        } else if (s.takeLetter(u'z')) {
            f.hasZone = true;
        } else if (s.peek() == u'+' || s.peek() == u'-') {
            if (!date::numericZone(s, f.offsetMinutes, true)) {
                return std::nullopt;
            }
            f.hasZone = true;
        } else {
            size_t beforeZone = s.position();
            if (s.skipSpace() && !s.atEnd()) {
                if (!date::zone(s, f.offsetMinutes)) {
                    return std::nullopt;
                }
                f.hasZone = true;
            } else {
                s.rewind(beforeZone);
            }
        }
    }
    s.skipSpace();
    if (!s.atEnd()) {
        return std::nullopt;
    }
    return date::toDate(f, localIsUtc);
}

std::optional<FeedDate> parseFeedDate(std::u16string_view text, bool localIsUtc) {
    auto date = parseRfc822Date(text, localIsUtc);
    return date ? date : parseW3cDtfDate(text, localIsUtc);
}

std::u16string formatW3cDtf(const FeedDate& date) {
    std::int64_t local = date.utc + std::int64_t{date.offsetMinutes} * 60;
    std::int64_t days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    std::int64_t secs = local - days * 86400;
    std::int64_t y = 0;
    unsigned m = 0;
    unsigned d = 0;
    date::civilFromDays(days, y, m, d);
    char buf[64];
    int n =
        std::snprintf(buf, sizeof buf, "%04lld-%02u-%02uT%02lld:%02lld:%02lld",
                      static_cast<long long>(y), m, d, static_cast<long long>(secs / 3600),
                      static_cast<long long>(secs / 60 % 60), static_cast<long long>(secs % 60));
    std::string out(buf, static_cast<size_t>(n));
    if (date.offsetMinutes == 0) {
        out += 'Z';
    } else {
        int off = date.offsetMinutes < 0 ? -date.offsetMinutes : date.offsetMinutes;
        std::snprintf(buf, sizeof buf, "%c%02d:%02d", date.offsetMinutes < 0 ? '-' : '+', off / 60,
                      off % 60);
        out += buf;
    }
    return std::u16string(out.begin(), out.end());
}

}  // namespace lum
