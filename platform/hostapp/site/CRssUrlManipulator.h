// The application's link manipulator for feed documents: finds the URLs a
// feed holds, and rewrites those that name local files of the site to the
// files' public URLs when the feed is saved inside the site.
#pragma once

#include "hostapp/site/CLumUrlManSiteAdapter.h"
#include "hostapp/site/SiteIF.h"
#include "mfc/CString.h"

#include <libxml/tree.h>

#include <vector>

// One URL found in a feed document.
struct URL_ITEM {
    xmlNode* node = nullptr;  // the element holding the URL as its text or attribute
    xmlAttr* attr = nullptr;  // the attribute holding it; nullptr: the element's text
    CString url;              // as found
    CString localPath;        // the site file it names, when SIFUtil::addResources found one
    CString newUrl;           // what it becomes; empty: stays as it is
};

// Owns its items: whoever fills one deletes every item.
using URL_ITEM_LIST = std::vector<URL_ITEM*>;

class CRssUrlManipulator {
  public:
    // format: 0 RSS 1.0, 1 RSS 2.0, 2 podcast; it decides which elements and
    // attributes carry URLs. siteUrl and rootFolder are the open site's (empty
    // when none). The last three arguments are reserved.
    CRssUrlManipulator(CLumUrlManSiteAdapterIF* adapter, const CString& fileUrl,
                       const CString& reserved, xmlDoc* document, const CString& siteUrl,
                       const CString& rootFolder, int format, int flags, bool reservedFlag);

    // Collects the URLs under node (the whole document when nullptr).
    void enumNodeUrls(SiteIF* site, xmlNode* node);
    // Appends a new item for every URL collected; the list owns them.
    void GetSaveListMember(SiteIF* site, URL_ITEM_LIST& list, const CString& fileUrl, bool all);
    // The items to convert and update, as addResources left them.
    void SetSaveListMember(const URL_ITEM_LIST& list);
    // Sets newUrl of every item that names a site file to that file's public URL.
    void ConvertAllUrl(SiteIF* site, const CString& fileUrl, bool reserved);
    // Writes the new URLs into the document.
    void UpdateUrls(SiteIF* site, const CString& fileUrl, bool reserved);

  private:
    void collect(xmlNode* node);

    CLumUrlManSiteAdapterIF* m_adapter;
    xmlDoc* m_document;
    int m_format;
    std::vector<URL_ITEM> m_found;
    URL_ITEM_LIST m_save;
};
