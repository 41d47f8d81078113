// Date-time picker wrapper. Times are read and written as local time.
#pragma once

#include "mfc/COleDateTime.h"
#include "mfc/CTime.h"
#include "mfc/CWnd.h"

class CDateTimeCtrl : public CWnd {
  public:
    // GDT_VALID, or GDT_NONE when the picker shows no value (time unchanged).
    DWORD GetTime(CTime& time) const;
    BOOL SetTime(const CTime* time);
    BOOL GetTime(COleDateTime& time) const;
    BOOL SetTime(const COleDateTime& time);
    DWORD GetTime(LPSYSTEMTIME time) const {
        return static_cast<DWORD>(
            SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(time)));
    }
    BOOL SetTime(LPSYSTEMTIME time) {
        return static_cast<BOOL>(SendMessage(DTM_SETSYSTEMTIME, time ? GDT_VALID : GDT_NONE,
                                             reinterpret_cast<LPARAM>(time)));
    }
    BOOL SetFormat(LPCWSTR format) {
        return static_cast<BOOL>(SendMessage(DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format)));
    }
};
