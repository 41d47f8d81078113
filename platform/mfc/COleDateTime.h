// The framework's OLE date-time value: days since 1899-12-30 as a double
// (the time of day is the fraction) and a status. Conversions go through the
// system's SystemTimeToVariantTime / VariantTimeToSystemTime, so the same
// fields are valid or invalid as there: years 100 to 9999, real dates, hours
// below 24, minutes and seconds below 60.
#pragma once

#include "mfc/CString.h"
#include "mfc/CTime.h"
#include "win32/windows.h"

class COleDateTime {
  public:
    enum DateTimeStatus { error = -1, valid = 0, invalid = 1, null = 2 };

    COleDateTime() = default;
    COleDateTime(DATE value) : m_dt(value) {}
    COleDateTime(int year, int month, int day, int hour, int minute, int second) {
        SetDateTime(year, month, day, hour, minute, second);
    }
    COleDateTime(const SYSTEMTIME& st);
    // From a time in seconds since 1970, as local time.
    explicit COleDateTime(__time64_t t);

    static COleDateTime GetCurrentTime();

    DATE m_dt = 0;
    DateTimeStatus m_status = valid;

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }
    operator DATE() const { return m_dt; }

    // 0 on success; on failure the status becomes invalid (the value is kept).
    int SetDateTime(int year, int month, int day, int hour, int minute, int second);
    int SetDate(int year, int month, int day) { return SetDateTime(year, month, day, 0, 0, 0); }
    // A time of day on the zero date 1899-12-30.
    int SetTime(int hour, int minute, int second) {
        return SetDateTime(1899, 12, 30, hour, minute, second);
    }

    // -1 (AFX_OLE_DATETIME_ERROR) when the value is not valid.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 = Sunday
    bool GetAsSystemTime(SYSTEMTIME& st) const;

    friend bool operator==(const COleDateTime& a, const COleDateTime& b) {
        return a.m_status == b.m_status && a.m_dt == b.m_dt;
    }

  private:
    int field(WORD SYSTEMTIME::*member) const;
};

constexpr int AFX_OLE_DATETIME_ERROR = -1;
