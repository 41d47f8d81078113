#include "mfc/CTime.h"

#include <chrono>

namespace {

CString formatTm(const std::tm& tm, const char16_t* format) {
    std::string narrow = CString(format ? format : u"").toUtf8();
    if (narrow.empty()) {
        return CString();
    }
    char buffer[512];
    size_t n = std::strftime(buffer, sizeof buffer, narrow.c_str(), &tm);
    return CString::fromUtf8(std::string_view(buffer, n));
}

}  // namespace

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int isDst) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = isDst;
    std::time_t t = std::mktime(&tm);
    m_time = t == static_cast<std::time_t>(-1) ? 0 : static_cast<__time64_t>(t);
}

CTime CTime::GetCurrentTime() {
    return CTime(std::chrono::duration_cast<std::chrono::seconds>(
                     std::chrono::system_clock::now().time_since_epoch())
                     .count());
}

bool CTime::GetLocalTm(std::tm& out) const {
    std::time_t t = static_cast<std::time_t>(m_time);
    return localtime_r(&t, &out) != nullptr;
}

bool CTime::GetGmtTm(std::tm& out) const {
    std::time_t t = static_cast<std::time_t>(m_time);
    return gmtime_r(&t, &out) != nullptr;
}

long CTime::GetLocalUtcOffset() const {
    std::tm tm{};
    return GetLocalTm(tm) ? tm.tm_gmtoff : 0;
}

namespace {
int field(const CTime& t, int std::tm::*member, int bias) {
    std::tm tm{};
    return t.GetLocalTm(tm) ? tm.*member + bias : 0;
}
}  // namespace

int CTime::GetYear() const {
    return field(*this, &std::tm::tm_year, 1900);
}
int CTime::GetMonth() const {
    return field(*this, &std::tm::tm_mon, 1);
}
int CTime::GetDay() const {
    return field(*this, &std::tm::tm_mday, 0);
}
int CTime::GetHour() const {
    return field(*this, &std::tm::tm_hour, 0);
}
int CTime::GetMinute() const {
    return field(*this, &std::tm::tm_min, 0);
}
int CTime::GetSecond() const {
    return field(*this, &std::tm::tm_sec, 0);
}
int CTime::GetDayOfWeek() const {
    return field(*this, &std::tm::tm_wday, 1);
}

CString CTime::Format(const char16_t* format) const {
    std::tm tm{};
    return GetLocalTm(tm) ? formatTm(tm, format) : CString();
}

CString CTime::FormatGmt(const char16_t* format) const {
    std::tm tm{};
    return GetGmtTm(tm) ? formatTm(tm, format) : CString();
}
