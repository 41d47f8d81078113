#include "hostapp/DateText.h"

#include <cstdlib>

namespace lum {

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
    CString text;
    text.Format(u"%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld", kDays[tm.tm_wday], tm.tm_mday,
                kMonths[tm.tm_mon], tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec, sign,
                offset / 60, offset % 60);
    return text;
}

}  // namespace lum
