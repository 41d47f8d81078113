// What the date parsers of FeedDate.cpp and FeedDateRfc822.cpp share: a
// cursor over the text, the fields a date is made of, and zones.
#pragma once

#include "hostapp/text/FeedDate.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lum::date {

struct Fields {
    std::int64_t year = 0;
    unsigned month = 1, day = 1, hour = 0, minute = 0, second = 0;
    bool hasZone = false;
    int offsetMinutes = 0;
};

// The moment the fields name; a text without a zone is local time, or UTC
// when localIsUtc. nullopt for a day, hour or minute that does not exist.
std::optional<FeedDate> toDate(const Fields& f, bool localIsUtc);

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d);

class Scanner {
  public:
    explicit Scanner(std::u16string_view text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    char16_t peek(size_t ahead = 0) const {
        return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : u'\0';
    }
    bool take(char16_t c) {
        if (atEnd() || m_text[m_pos] != c) {
            return false;
        }
        ++m_pos;
        return true;
    }
    // Either letter case of an ASCII letter.
    bool takeLetter(char16_t lower) { return take(lower) || take(lower - 32); }
    bool skipSpace();
    bool isDigit(size_t ahead = 0) const { return peek(ahead) >= u'0' && peek(ahead) <= u'9'; }
    // The number of digits that follow.
    unsigned digitsAhead() const;
    // Up to maxDigits digits, at least minDigits; *digits gets their count.
    bool number(unsigned minDigits, unsigned maxDigits, std::int64_t& value,
                unsigned* digits = nullptr);
    bool number(unsigned minDigits, unsigned maxDigits, unsigned& value);
    // A run of ASCII letters, in lower case.
    std::string word();
    size_t position() const { return m_pos; }
    void rewind(size_t pos) { m_pos = pos; }

  private:
    std::u16string_view m_text;
    size_t m_pos = 0;
};

// A numeric zone: "+hhmm" or "+hh:mm", and "+hh" alone when hoursAlone.
bool numericZone(Scanner& s, int& offsetMinutes, bool hoursAlone);

// A zone as feeds write it after a time: a numeric zone, or a name ("GMT",
// "JST", "CEST", a military letter), or a name of UTC followed by a numeric
// zone ("GMT+09:00"). A comment in parentheses may follow ("+0900 (JST)").
bool zone(Scanner& s, int& offsetMinutes);

}  // namespace lum::date
