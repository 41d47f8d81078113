#include "hostapp/FeedDate.h"

#include <cstdio>
#include <ctime>
#include <string>

namespace lum {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's
// algorithm), valid far beyond any year a feed holds.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

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

struct Fields {
    std::int64_t year = 0;
    unsigned month = 1, day = 1, hour = 0, minute = 0, second = 0;
    bool hasZone = false;
    int offsetMinutes = 0;
};

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

// A small cursor over the text.
class Scanner {
  public:
    explicit Scanner(std::u16string_view text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    char16_t peek() const { return atEnd() ? u'\0' : m_text[m_pos]; }
    bool take(char16_t c) {
        if (peek() != c) {
            return false;
        }
        ++m_pos;
        return true;
    }
    bool skipSpace() {
        size_t start = m_pos;
        while (!atEnd() &&
               (peek() == u' ' || peek() == u'\t' || peek() == u'\r' || peek() == u'\n')) {
            ++m_pos;
        }
        return m_pos != start;
    }
    // Up to max digits, at least min; their count in digits.
    bool number(unsigned minDigits, unsigned maxDigits, std::int64_t& value, unsigned* digits) {
        unsigned n = 0;
        value = 0;
        while (n < maxDigits && !atEnd() && peek() >= u'0' && peek() <= u'9') {
            value = value * 10 + (peek() - u'0');
            ++m_pos;
            ++n;
        }
        if (digits) {
            *digits = n;
        }
        return n >= minDigits;
    }
    bool number(unsigned minDigits, unsigned maxDigits, unsigned& value) {
        std::int64_t v = 0;
        bool ok = number(minDigits, maxDigits, v, nullptr);
        value = static_cast<unsigned>(v);
        return ok;
    }
    std::string word() {
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
    bool isDigit() const { return peek() >= u'0' && peek() <= u'9'; }

  private:
    std::u16string_view m_text;
    size_t m_pos = 0;
};

int namedIndex(const std::string& word, const char* const* names, int count) {
    if (word.size() < 3) {
        return -1;
    }
    for (int i = 0; i < count; ++i) {
        if (word.compare(0, 3, names[i]) == 0) {
            return i;
        }
    }
    return -1;
}

// A numeric zone: +hhmm in RFC 822, +hh:mm (or +hhmm) in W3C-DTF.
bool numericZone(Scanner& s, int& offsetMinutes, bool rfc822) {
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
        if (rfc822 || !s.take(u':') || !s.number(2, 2, minutes)) {
            return false;
        }
    }
    if (hours > 23 || minutes > 59) {
        return false;
    }
    offsetMinutes = static_cast<int>(hours * 60 + minutes) * (sign == u'-' ? -1 : 1);
    return true;
}

}  // namespace

std::optional<FeedDate> parseRfc822Date(std::u16string_view text, bool localIsUtc) {
    static constexpr const char* kDays[] = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
    static constexpr const char* kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                              "jul", "aug", "sep", "oct", "nov", "dec"};
    Scanner s(text);
    Fields f;
    s.skipSpace();
    if (!s.isDigit()) {
        if (namedIndex(s.word(), kDays, 7) < 0) {
            return std::nullopt;
        }
        s.take(u',');
        s.skipSpace();
    }
    if (!s.number(1, 2, f.day)) {
        return std::nullopt;
    }
    if (!s.skipSpace() && !s.take(u'-')) {
        return std::nullopt;
    }
    int month = namedIndex(s.word(), kMonths, 12);
    if (month < 0) {
        return std::nullopt;
    }
    f.month = static_cast<unsigned>(month) + 1;
    if (!s.skipSpace() && !s.take(u'-')) {
        return std::nullopt;
    }
    unsigned digits = 0;
    if (!s.number(2, 4, f.year, &digits)) {
        return std::nullopt;
    }
    if (digits == 2) {
        f.year += f.year < 50 ? 2000 : 1900;
    } else if (digits == 3) {
        f.year += 1900;
    }
    if (!s.skipSpace() || !s.number(1, 2, f.hour) || !s.take(u':') || !s.number(2, 2, f.minute)) {
        return std::nullopt;
    }
    if (s.take(u':') && !s.number(2, 2, f.second)) {
        return std::nullopt;
    }
    s.skipSpace();
    if (s.peek() == u'+' || s.peek() == u'-') {
        if (!numericZone(s, f.offsetMinutes, true)) {
            return std::nullopt;
        }
        f.hasZone = true;
    } else if (!s.atEnd()) {
        static constexpr struct {
            const char* name;
            int hours;
        } kZones[] = {{"gmt", 0},  {"ut", 0},   {"utc", 0},  {"z", 0},    {"est", -5},
                      {"edt", -4}, {"cst", -6}, {"cdt", -5}, {"mst", -7}, {"mdt", -6},
                      {"pst", -8}, {"pdt", -7}, {"jst", 9}};
        std::string zone = s.word();
        bool known = false;
        for (const auto& z : kZones) {
            if (zone == z.name) {
                f.offsetMinutes = z.hours * 60;
                known = true;
            }
        }
        if (!known) {
            return std::nullopt;
        }
        f.hasZone = true;
    }
    s.skipSpace();
    if (!s.atEnd()) {
        return std::nullopt;
    }
    return toDate(f, localIsUtc);
}

std::optional<FeedDate> parseW3cDtfDate(std::u16string_view text, bool localIsUtc) {
    Scanner s(text);
    Fields f;
    s.skipSpace();
    unsigned digits = 0;
    if (!s.number(4, 4, f.year, &digits)) {
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
            if (s.take(u'T') || s.take(u't')) {
                if (!s.number(2, 2, f.hour) || !s.take(u':') || !s.number(2, 2, f.minute)) {
                    return std::nullopt;
                }
                if (s.take(u':')) {
                    if (!s.number(2, 2, f.second)) {
                        return std::nullopt;
                    }
                    if (s.take(u'.')) {
                        std::int64_t fraction = 0;
                        unsigned fractionDigits = 0;
                        if (!s.number(1, 18, fraction, &fractionDigits)) {
                            return std::nullopt;
                        }
                        while (s.isDigit()) {
                            s.number(1, 18, fraction, nullptr);
                        }
                    }
                }
                if (s.take(u'Z') || s.take(u'z')) {
                    f.hasZone = true;
                } else if (s.peek() == u'+' || s.peek() == u'-') {
                    if (!numericZone(s, f.offsetMinutes, false)) {
                        return std::nullopt;
                    }
                    f.hasZone = true;
                }
            }
        }
    }
    s.skipSpace();
    if (!s.atEnd()) {
        return std::nullopt;
    }
    return toDate(f, localIsUtc);
}

std::u16string formatW3cDtf(const FeedDate& date) {
    std::int64_t local = date.utc + std::int64_t{date.offsetMinutes} * 60;
    std::int64_t days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    std::int64_t secs = local - days * 86400;
    std::int64_t y = 0;
    unsigned m = 0;
    unsigned d = 0;
    civilFromDays(days, y, m, d);
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
