#include "sitefiles/SiteRssInfo.h"

#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/urls/UrlUtil.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace newsdesk {

namespace {

// A string the site database handed out, copied and given back at once.
CString taken(SiteMgr50* siteMgr, LPWSTR text) {
    if (!text) {
        return CString();
    }
    CString copy(text);
    siteMgr->DeleteString(text);
    return copy;
}

// The database keeps 32-bit times; a date beyond them is held at the limit
// rather than wrapped round to a date that never was.
std::int32_t storedTime(std::int64_t seconds) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(seconds, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

void updateSiteRssInfo(const CRSSChannel* channel) {
    // A feed not yet given a name cannot be the site's own; asking would
    // only make the site's database early.
    if (!channel || channel->m_filePath.IsEmpty()) {
        return;
    }
    SiteMgr50* siteMgr = LumSiteMgr::getSiteMgr();
    if (!siteMgr || !LumSiteMgr::isSiteOpened()) {
        return;
    }
    int id = siteMgr->SiteProfGetID(LumSiteMgr::getCurrentSiteName());
    if (id < 0) {
        return;
    }
    CString folder = taken(siteMgr, siteMgr->GetSiteProfDir(id, 1));
    if (folder.IsEmpty()) {
        return;
    }
    CString url = taken(siteMgr, siteMgr->GetSiteProfUrl(id));
    if (url.IsEmpty()) {
        return;
    }
    CString topFile = taken(siteMgr, siteMgr->GetSiteProfTopFile(id));
    CString rssFile = topFile.IsEmpty() ? CString() : LumSiteMgr::getRssFileName(topFile);
    if (rssFile.IsEmpty() || rssFile.CompareNoCase(channel->m_filePath.GetString()) != 0) {
        return;
    }
    siteMgr->SetSiteProfTitle(id, channel->m_title);
    siteMgr->SetSiteProfDescription(id, channel->m_description);
    for (const CRSSItem& item : channel->m_items) {
        // Only a link that starts with the site's URL points into the site; one
        // that merely mentions it (a redirect's parameter) points elsewhere.
        if (item.m_link.GetLength() < url.GetLength() || item.m_link.Left(url.GetLength()) != url) {
            continue;
        }
        CString page = conv_std_path(folder + conv_std_path(item.m_link.Mid(url.GetLength())));
        int pageId = siteMgr->UrlGetIDPath(page, SiteMgr50::kFileUrl);
        if (pageId >= 0) {
            siteMgr->SetRssInfo(UrlID50{SiteMgr50::kFileUrl, pageId}, item.m_title,
                                item.m_description, storedTime(item.m_pubDate), 1);
        }
    }
}

}  // namespace newsdesk
