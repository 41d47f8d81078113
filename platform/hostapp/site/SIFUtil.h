// The application's site utilities used around feeds and pictures.
#pragma once

#include "hostapp/site/BasePropertyIF.h"
#include "hostapp/site/CRssUrlManipulator.h"
#include "hostapp/site/SiteIF.h"
#include "mfc/CString.h"

class CWnd;

class SIFUtil {
  public:
    // Takes the URLs of list over into site for a document being saved at
    // fileUrl: marks in each item the site file it names (a file URL, a drive
    // path, or a path relative to the document that names an existing file).
    // Non-zero when site is a real site and fileUrl lies inside it; 0 (and
    // nothing marked) otherwise.
    static int addResources(SiteIF* site, SiteIF* outSite, const CString& fileUrl, int flags,
                            URL_ITEM_LIST& list, int reserved, CWnd* parent);
    // Whether addResources would mark anything for a document at fileUrl:
    // site is a real site and fileUrl lies inside it.
    static bool takesResources(SiteIF* site, const CString& fileUrl);

    // The standard form of a location: a file URL for a drive path or file
    // URL (with "." and ".." resolved); other text unchanged.
    static CString normalizeURL(SiteIF* site, const CString& location, CWnd* parent);

    // The file URL of a drive path or file URL ("Z:\a b\c.rss" ->
    // "file:///Z:/a%20b/c.rss"); empty when the text is not a path.
    static CString PCPathtoURL(const CString& path);

    // The property of the file a normalized file URL names (the caller
    // releases it), or nullptr when there is no such file. A file inside the
    // site, or any file when no site is open, is given by its path; a file
    // outside the open site by its bytes only.
    static BasePropertyIF* getPropertyIF(SiteIF* site, const CString& url, const CString& reserved,
                                         CWnd* parent);

    // How a page at `location` (a file URL) refers to target (a URL, a
    // Windows path, or a reference relative to the page). `form` chooses the
    // kind of reference: "/..." a path from the site's root ("/news/a.rss"),
    // empty when target lies outside the open site; anything else a path
    // relative to the page ("../a.rss"), empty when target is on another
    // host or scheme. address and siteBase are the page's public address and
    // the site's base text (may be empty); flags are reserved.
    static CString getRelUrl(SiteIF* site, const CString& form, const CString& target,
                             const CString& location, const CString& address,
                             const CString& siteBase, int flags = 0, CWnd* parent = nullptr);
    // The absolute URL by which a page at `location` refers to target when a
    // relative reference will not do: the public URL of a file inside the
    // open site, the file URL of any other file, any other URL as it is.
    static CString convUrl(SiteIF* site, const CString& target, const CString& original,
                           const CString& location, const CString& address, const CString& siteBase,
                           CWnd* parent);
};
