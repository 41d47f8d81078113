#include "hostapp/text/DateText.h"

#include <cstdlib>
#include <string>
#include <utility>

namespace lum {

namespace {

// A non-negative number in decimal, zero-padded to at least width digits
// ("%02d").
void appendZeroPadded(std::u16string& out, long value, int width) {
    char16_t digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (int i = count; i < width; ++i) {
        out += u'0';
    }
    while (count > 0) {
        out += digits[--count];
    }
}

}  // namespace

CString formatRfc822(CTime time) {
    static constexpr const char16_t* kDays[] = {u"Sun", u"Mon", u"Tue", u"Wed",
                                                u"Thu", u"Fri", u"Sat"};
    static constexpr const char16_t* kMonths[] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                  u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    std::tm tm{};
    if (time.GetTime() == 0 || !time.GetLocalTm(tm)) {
        return CString();
    }
    // Old local mean times are offset by odd seconds (Monrovia used -0:44:30
    // until 1972), which +hhmm cannot say: such a moment is written in UTC
    // so that the text still names it exactly.
    if (tm.tm_gmtoff % 60 != 0 && !time.GetGmtTm(tm)) {
        return CString();
    }
    if (tm.tm_year + 1900 > 9999 || tm.tm_year + 1900 < 0) {
        return CString();
    }
    long offset = tm.tm_gmtoff / 60;
    char16_t sign = offset < 0 ? u'-' : u'+';
    offset = std::labs(offset);
    // Built by hand rather than through Format: writers call this for every
    // item of a feed, and the printf machinery was most of a save's cost.
    std::u16string text;
    text.reserve(31);
    text += kDays[tm.tm_wday];
    text += u", ";
    appendZeroPadded(text, tm.tm_mday, 2);
    text += u' ';
    text += kMonths[tm.tm_mon];
    text += u' ';
    appendZeroPadded(text, tm.tm_year + 1900, 4);
    text += u' ';
    appendZeroPadded(text, tm.tm_hour, 2);
    text += u':';
    appendZeroPadded(text, tm.tm_min, 2);
    text += u':';
    appendZeroPadded(text, tm.tm_sec, 2);
    text += u' ';
    text += sign;
    appendZeroPadded(text, offset / 60, 2);
    appendZeroPadded(text, offset % 60, 2);
    return CString(std::move(text));
}

}  // namespace lum
