#include "win32/SysTime.h"

#include <cmath>
#include <ctime>

namespace {

// Days from 1899-12-30 to the civil date (proleptic Gregorian).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468 + 25569;
}

void civilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468 - 25569;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2));
}

void fill(const std::tm& tm, LPSYSTEMTIME out) {
    out->wYear = static_cast<WORD>(tm.tm_year + 1900);
    out->wMonth = static_cast<WORD>(tm.tm_mon + 1);
    out->wDayOfWeek = static_cast<WORD>(tm.tm_wday);
    out->wDay = static_cast<WORD>(tm.tm_mday);
    out->wHour = static_cast<WORD>(tm.tm_hour);
    out->wMinute = static_cast<WORD>(tm.tm_min);
    out->wSecond = static_cast<WORD>(tm.tm_sec);
    out->wMilliseconds = 0;
}

}  // namespace

namespace nd::win32 {

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

bool isValidSystemTime(const SYSTEMTIME& st) {
    return st.wYear >= 100 && st.wYear <= 9999 && st.wMonth >= 1 && st.wMonth <= 12 &&
           st.wDay >= 1 && st.wDay <= daysInMonth(st.wYear, st.wMonth) && st.wHour < 24 &&
           st.wMinute < 60 && st.wSecond < 60 && st.wMilliseconds < 1000;
}

}  // namespace nd::win32

void GetLocalTime(LPSYSTEMTIME out) {
    if (!out) {
        return;
    }
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    fill(tm, out);
}

void GetSystemTime(LPSYSTEMTIME out) {
    if (!out) {
        return;
    }
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    fill(tm, out);
}

INT SystemTimeToVariantTime(const SYSTEMTIME* in, DOUBLE* out) {
    if (!in || !out) {
        return FALSE;
    }
    SYSTEMTIME st = *in;
    st.wMilliseconds = 0;  // the conversion ignores milliseconds
    if (!nd::win32::isValidSystemTime(st)) {
        return FALSE;
    }
    long long days = daysFromCivil(st.wYear, st.wMonth, st.wDay);
    double fraction = (st.wHour * 3600.0 + st.wMinute * 60.0 + st.wSecond) / 86400.0;
    // Before the zero date the fraction counts forward from the negative
    // whole day: -1.25 is 1899-12-29 06:00.
    *out = days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
    return TRUE;
}

INT VariantTimeToSystemTime(DOUBLE in, LPSYSTEMTIME out) {
    if (!out || !std::isfinite(in) || in < -657434.0 || in >= 2958466.0) {
        return FALSE;
    }
    double whole = std::trunc(in);
    double fraction = std::fabs(in - whole);
    long long seconds = std::llround(fraction * 86400.0);
    long long days = static_cast<long long>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += in >= 0 ? 1 : -1;
    }
    int y = 0;
    int m = 0;
    int d = 0;
    civilFromDays(days, y, m, d);
    if (y < 100 || y > 9999) {
        return FALSE;
    }
    out->wYear = static_cast<WORD>(y);
    out->wMonth = static_cast<WORD>(m);
    out->wDay = static_cast<WORD>(d);
    out->wDayOfWeek = static_cast<WORD>(((days % 7) + 7 + 6) % 7);  // 1899-12-30 was a Saturday
    out->wHour = static_cast<WORD>(seconds / 3600);
    out->wMinute = static_cast<WORD>((seconds % 3600) / 60);
    out->wSecond = static_cast<WORD>(seconds % 60);
    out->wMilliseconds = 0;
    return TRUE;
}
