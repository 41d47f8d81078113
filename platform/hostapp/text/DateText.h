// Date texts written into feeds.
#pragma once

#include "mfc/CString.h"
#include "mfc/CTime.h"

namespace lum {

// "Sun, 06 Dec 2026 16:12:26 +0900": RFC 822 with a four-digit year, in local
// time with a numeric offset. Day and month names are English whatever the
// locale. Empty for time 0 and for a time the C library cannot break down.
CString formatRfc822(CTime time);

}  // namespace lum
