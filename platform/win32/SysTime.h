// System time and the OLE automation date conversions (days since
// 1899-12-30 as a double, the time of day as its fraction).
#pragma once

#include "win32/windows.h"

void GetLocalTime(LPSYSTEMTIME out);
void GetSystemTime(LPSYSTEMTIME out);
// Both fail (FALSE) on fields outside the calendar: year 100 to 9999, month
// 1 to 12, a day the month has, hour below 24, minute and second below 60.
INT SystemTimeToVariantTime(const SYSTEMTIME* in, DOUBLE* out);
INT VariantTimeToSystemTime(DOUBLE in, LPSYSTEMTIME out);

namespace nd::win32 {

// True when the fields name a real calendar date and time of day.
bool isValidSystemTime(const SYSTEMTIME& st);
int daysInMonth(int year, int month);

}  // namespace nd::win32
