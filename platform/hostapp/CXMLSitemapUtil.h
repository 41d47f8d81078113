// The application's date conversion for feed and site-map texts.
#pragma once

#include "mfc/CString.h"
#include "mfc/CTime.h"

class CXMLSitemapUtil {
  public:
    // Fills time from an RFC 822 or a W3C-DTF date text and returns true;
    // false, leaving time as it was, for any other text. Texts that carry no
    // zone are local time, or UTC when localIsUtc is set.
    static bool getOleDateTimeFromString(const CString& text, CTime& time, bool localIsUtc);
};
