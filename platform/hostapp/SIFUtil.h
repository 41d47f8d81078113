// The application's site utilities used around feeds and pictures.
#pragma once

#include "hostapp/BasePropertyIF.h"
#include "hostapp/CRssUrlManipulator.h"
#include "hostapp/SiteIF.h"
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
};
