// The application's date conversion for feed and site-map texts.
#pragma once

#include "mfc/CString.h"
#include "mfc/CTime.h"

class CXMLSitemapUtil {
  public:
    // Fills time from a date text in any form feeds use (lum::parseFeedDate:
    // RFC 822 and its relatives, W3C-DTF, ISO 8601) and returns true;
    // false, leaving time as it was, for any other text. Texts that carry no
    // zone are local time, or UTC when localIsUtc is set.
    static bool getOleDateTimeFromString(const CString& text, CTime& time, bool localIsUtc);
};
