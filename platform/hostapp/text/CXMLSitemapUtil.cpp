#include "hostapp/text/CXMLSitemapUtil.h"

#include "hostapp/text/FeedDate.h"

bool CXMLSitemapUtil::getOleDateTimeFromString(const CString& text, CTime& time, bool localIsUtc) {
    auto date = lum::parseFeedDate(text.view(), localIsUtc);
    if (!date) {
        return false;
    }
    time = CTime(date->utc);
    return true;
}
