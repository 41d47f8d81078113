// The framework's time type: 64-bit seconds since 1970-01-01 UTC. Local-time
// fields and formatting follow the process's TZ setting.
#pragma once

#include "mfc/CString.h"

#include <cstdint>
#include <ctime>

using __time64_t = std::int64_t;

class CTimeSpan {
  public:
    CTimeSpan() = default;
    explicit CTimeSpan(__time64_t seconds) : m_span(seconds) {}
    CTimeSpan(long days, int hours, int minutes, int seconds)
        : m_span(((static_cast<__time64_t>(days) * 24 + hours) * 60 + minutes) * 60 + seconds) {}
    __time64_t GetTimeSpan() const { return m_span; }
    __time64_t GetTotalSeconds() const { return m_span; }
    friend auto operator<=>(const CTimeSpan&, const CTimeSpan&) = default;

  private:
    __time64_t m_span = 0;
};

class CTime {
  public:
    CTime() = default;
    CTime(__time64_t t) : m_time(t) {}
    // From local calendar fields; isDst -1 lets the C library decide. A date
    // the C library cannot represent gives time 0.
    CTime(int year, int month, int day, int hour, int minute, int second, int isDst = -1);

    static CTime GetCurrentTime();

    __time64_t GetTime() const { return m_time; }

    // Local calendar fields (month 1-12, day of week 1 = Sunday).
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;

    // false when the time cannot be broken down.
    bool GetLocalTm(std::tm& out) const;
    bool GetGmtTm(std::tm& out) const;
    // Offset of local time from UTC at this moment, in seconds east of UTC.
    long GetLocalUtcOffset() const;

    // strftime-style formatting in local time / in UTC.
    CString Format(const char16_t* format) const;
    CString FormatGmt(const char16_t* format) const;

    CTime& operator+=(CTimeSpan s) {
        m_time += s.GetTimeSpan();
        return *this;
    }
    CTime& operator-=(CTimeSpan s) {
        m_time -= s.GetTimeSpan();
        return *this;
    }
    friend CTime operator+(CTime t, CTimeSpan s) { return t += s; }
    friend CTime operator-(CTime t, CTimeSpan s) { return t -= s; }
    friend CTimeSpan operator-(CTime a, CTime b) { return CTimeSpan(a.m_time - b.m_time); }
    friend auto operator<=>(const CTime&, const CTime&) = default;

  private:
    __time64_t m_time = 0;
};
