// The mail family of date texts and the zones feeds name.
#include "hostapp/text/FeedDate.h"
#include "hostapp/text/FeedDateParts.h"

#include <string>

namespace lum {

namespace date {

namespace {

struct NamedZone {
    const char* name;
    int minutes;  // east of UTC
};

// Where one name stands for several zones, the reading most feeds mean is
// taken: IST is India (not Ireland or Israel), BST British Summer Time (not
// Bangladesh), CST and AST the American ones (not China or Arabia), as RFC
// 822 and the US zones that feeds carry have them. A name not listed is
// refused rather than read as UTC.
constexpr NamedZone kZones[] = {
    {"ut", 0},      {"utc", 0},     {"gmt", 0},    {"z", 0},       {"wet", 0},     {"west", 60},
    {"bst", 60},    {"cet", 60},    {"met", 60},   {"mez", 60},    {"cest", 120},  {"mest", 120},
    {"mesz", 120},  {"eet", 120},   {"eest", 180}, {"msk", 180},   {"ist", 330},   {"ict", 420},
    {"wib", 420},   {"hkt", 480},   {"sgt", 480},  {"pht", 480},   {"awst", 480},  {"jst", 540},
    {"kst", 540},   {"acst", 570},  {"acdt", 630}, {"aest", 600},  {"aedt", 660},  {"nzst", 720},
    {"nzdt", 780},  {"nst", -210},  {"ndt", -150}, {"ast", -240},  {"adt", -180},  {"at", -240},
    {"est", -300},  {"edt", -240},  {"et", -300},  {"cst", -360},  {"cdt", -300},  {"ct", -360},
    {"mst", -420},  {"mdt", -360},  {"mt", -420},  {"pst", -480},  {"pdt", -420},  {"pt", -480},
    {"akst", -540}, {"akdt", -480}, {"hst", -600}, {"hast", -600}, {"hadt", -540},
};

// The military letters as RFC 822 defines them: A to I are -1 to -9 hours,
// K to M -10 to -12, N to Y +1 to +12 (J is not used, Z is UTC).
bool militaryZone(const std::string& name, int& minutes) {
    if (name.size() != 1 || name[0] == 'j') {
        return false;
    }
    char c = name[0];
    int hours = c <= 'i' ? -(c - 'a' + 1) : c <= 'm' ? -(c - 'a') : c <= 'y' ? c - 'm' : 0;
    minutes = hours * 60;
    return true;
}

bool namedZone(const std::string& name, int& minutes) {
    for (const auto& zone : kZones) {
        if (name == zone.name) {
            minutes = zone.minutes;
            return true;
        }
    }
    return militaryZone(name, minutes);
}

// "(JST)" after a zone, as RFC 2822 allows comments; false for one that
// is never closed.
bool skipComment(Scanner& s) {
    size_t start = s.position();
    s.skipSpace();
    if (!s.take(u'(')) {
        s.rewind(start);
        return true;
    }
    while (!s.atEnd()) {
        if (s.take(u')')) {
            return true;
        }
        s.take(s.peek());
    }
    return false;
}

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

int monthIndex(const std::string& word) {
    static constexpr const char* kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                              "jul", "aug", "sep", "oct", "nov", "dec"};
    return namedIndex(word, kMonths, 12);
}

bool isDayName(const std::string& word) {
    static constexpr const char* kDays[] = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
    return namedIndex(word, kDays, 7) >= 0;
}

// Spaces, or a hyphen ("06-Dec-2026").
bool separator(Scanner& s) {
    return s.skipSpace() || s.take(u'-');
}

bool month(Scanner& s, Fields& f) {
    int index = monthIndex(s.word());
    f.month = static_cast<unsigned>(index + 1);
    return index >= 0;
}

// Two-digit years as RFC 2822 reads them: 00 to 49 are 2000 to 2049.
bool year(Scanner& s, Fields& f) {
    unsigned digits = 0;
    if (!s.number(2, 4, f.year, &digits)) {
        return false;
    }
    if (digits == 2) {
        f.year += f.year < 50 ? 2000 : 1900;
    } else if (digits == 3) {
        f.year += 1900;
    }
    return true;
}

bool timeOfDay(Scanner& s, Fields& f) {
    if (!s.number(1, 2, f.hour) || !s.take(u':') || !s.number(2, 2, f.minute)) {
        return false;
    }
    return !s.take(u':') || s.number(2, 2, f.second);
}

// What may follow a date: nothing, or a time and then a zone or nothing.
bool timeAndZone(Scanner& s, Fields& f) {
    if (!s.skipSpace() || s.atEnd()) {
        return true;
    }
    if (!timeOfDay(s, f)) {
        return false;
    }
    if (s.skipSpace() && !s.atEnd()) {
        if (!zone(s, f.offsetMinutes)) {
            return false;
        }
        f.hasZone = true;
    }
    return true;
}

// "2026/12/06 16:12:26 JST"
bool slashedDate(Scanner& s, Fields& f) {
    return s.number(4, 4, f.year) && s.take(u'/') && s.number(1, 2, f.month) && s.take(u'/') &&
           s.number(1, 2, f.day) && timeAndZone(s, f);
}

// "06 Dec 2026 16:12:26 +0900"
bool dayFirst(Scanner& s, Fields& f) {
    return s.number(1, 2, f.day) && separator(s) && month(s, f) && separator(s) && year(s, f) &&
           timeAndZone(s, f);
}

// "Dec 6 16:12:26 2026" (asctime, a zone may come before the year) or
// "Dec 06 2026 16:12:26 +0900".
bool monthFirst(Scanner& s, Fields& f) {
    if (!month(s, f) || !s.skipSpace() || !s.number(1, 2, f.day)) {
        return false;
    }
    s.take(u',');
    if (!s.skipSpace()) {
        return false;
    }
    bool asctime = s.digitsAhead() <= 2 && s.peek(s.digitsAhead()) == u':';
    if (!asctime) {
        return year(s, f) && timeAndZone(s, f);
    }
    if (!timeOfDay(s, f) || !s.skipSpace()) {
        return false;
    }
    if (!s.isDigit()) {
        if (!zone(s, f.offsetMinutes) || !s.skipSpace()) {
            return false;
        }
        f.hasZone = true;
    }
    return s.number(4, 4, f.year);
}

}  // namespace

bool zone(Scanner& s, int& offsetMinutes) {
    if (s.peek() == u'+' || s.peek() == u'-') {
        if (!numericZone(s, offsetMinutes, false)) {
            return false;
        }
    } else {
        std::string name = s.word();
        bool utcName = name == "gmt" || name == "utc" || name == "ut";
        if (utcName && (s.peek() == u'+' || s.peek() == u'-')) {
            if (!numericZone(s, offsetMinutes, false)) {
                return false;
            }
        } else if (!namedZone(name, offsetMinutes)) {
            return false;
        }
    }
    return skipComment(s);
}

}  // namespace date

std::optional<FeedDate> parseRfc822Date(std::u16string_view text, bool localIsUtc) {
    date::Scanner s(text);
    date::Fields f;
    s.skipSpace();
    size_t start = s.position();
    if (!s.isDigit()) {
        if (date::isDayName(s.word())) {
            s.take(u',');
            s.skipSpace();
        } else {
            s.rewind(start);
        }
    }
    bool read = !s.isDigit()                                ? date::monthFirst(s, f)
                : s.digitsAhead() == 4 && s.peek(4) == u'/' ? date::slashedDate(s, f)
                                                            : date::dayFirst(s, f);
    s.skipSpace();
    if (!read || !s.atEnd()) {
        return std::nullopt;
    }
    return date::toDate(f, localIsUtc);
}

}  // namespace lum
