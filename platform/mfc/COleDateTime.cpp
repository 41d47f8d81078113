#include "mfc/COleDateTime.h"

#include "win32/SysTime.h"

COleDateTime::COleDateTime(const SYSTEMTIME& st) {
    m_status = SystemTimeToVariantTime(&st, &m_dt) ? valid : invalid;
}

COleDateTime::COleDateTime(__time64_t t) {
    std::tm tm{};
    if (!CTime(t).GetLocalTm(tm)) {
        m_status = invalid;
        return;
    }
    SetDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

COleDateTime COleDateTime::GetCurrentTime() {
    return COleDateTime(CTime::GetCurrentTime().GetTime());
}

int COleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second) {
    auto fits = [](int v) { return v >= 0 && v <= 0xFFFF; };
    if (!fits(year) || !fits(month) || !fits(day) || !fits(hour) || !fits(minute) ||
        !fits(second)) {
        m_status = invalid;
        return 1;
    }
    SYSTEMTIME st;
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    DATE value = 0;
    if (!SystemTimeToVariantTime(&st, &value)) {
        m_status = invalid;
        return 1;
    }
    m_dt = value;
    m_status = valid;
    return 0;
}

bool COleDateTime::GetAsSystemTime(SYSTEMTIME& st) const {
    return m_status == valid && VariantTimeToSystemTime(m_dt, &st);
}

int COleDateTime::field(WORD SYSTEMTIME::*member) const {
    SYSTEMTIME st;
    if (!GetAsSystemTime(st)) {
        return AFX_OLE_DATETIME_ERROR;
    }
    return st.*member;
}

int COleDateTime::GetYear() const {
    return field(&SYSTEMTIME::wYear);
}
int COleDateTime::GetMonth() const {
    return field(&SYSTEMTIME::wMonth);
}
int COleDateTime::GetDay() const {
    return field(&SYSTEMTIME::wDay);
}
int COleDateTime::GetHour() const {
    return field(&SYSTEMTIME::wHour);
}
int COleDateTime::GetMinute() const {
    return field(&SYSTEMTIME::wMinute);
}
int COleDateTime::GetSecond() const {
    return field(&SYSTEMTIME::wSecond);
}
int COleDateTime::GetDayOfWeek() const {
    int d = field(&SYSTEMTIME::wDayOfWeek);
    return d < 0 ? d : d + 1;
}
