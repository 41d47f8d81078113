// The site database as the application's components call it: files by URL
// id and path, the pages linking to a file, the site profile and the RSS
// information of pages. Paths are Windows paths inside the site's folder.
// Strings and record vectors handed out are the caller's to give back
// (DeleteString, DeleteVecRecCell).
#pragma once

#include "hostapp/site/SiteDatabase.h"
#include "hostapp/site/SiteScanner.h"
#include "mfc/CString.h"
#include "win32/windows.h"

#include <cstdint>
#include <memory>
#include <vector>

// A URL id of the site database. Kind 2 names a file of the site; no other
// kind has ids.
struct UrlID50 {
    int kind = 0;
    int id = -1;
};

// One file of the site as the database answers for it.
struct SiteRecCell50 {
    UrlID50 m_urlId;
    CString m_path;     // Windows path
    CString m_title;    // a feed's channel title, a page's title
    int m_format = -1;  // feeds: 0 RSS 1.0, 1 RSS 2.0, 2 podcast
    CString m_element;  // in back links: the element that links ("a", "link", "img" ...)
};

class SiteMgr50 {
  public:
    static constexpr int kFileUrl = 2;

    // db is the open site's database; root is the site folder (Windows path)
    // and site where it appears on the web.
    SiteMgr50(std::unique_ptr<lum::site::SiteDatabase> db, const CString& root,
              lum::site::SiteLocation site);
    ~SiteMgr50();

    // The id of the file at path (kind must be 2); -1 when the path lies
    // outside the site or the database knows no such file.
    int UrlGetIDPath(const CString& path, int kind);
    // The file's Windows path; nullptr for an unknown id.
    LPWSTR UrlPath(const UrlID50& id);
    // The pages that link to the file, in *records; their number, or -1 (and
    // *records null) for an unknown id.
    int GetBackLinks(const UrlID50& id, std::vector<SiteRecCell50>** records, int kind);
    void DeleteVecRecCell(std::vector<SiteRecCell50>* records);
    void DeleteString(LPWSTR text);

    // The site profile: its id by site name (-1 when none), its folder (with
    // a trailing backslash when form is 1), public URL and top page.
    int SiteProfGetID(const CString& name);
    LPWSTR GetSiteProfDir(int id, int form);
    LPWSTR GetSiteProfUrl(int id);
    LPWSTR GetSiteProfTopFile(int id);
    BOOL SetSiteProfTitle(int id, const CString& title);
    BOOL SetSiteProfDescription(int id, const CString& description);
    // The profile's title and description as stored ("" for an unknown id).
    CString GetSiteProfTitle(int id);
    CString GetSiteProfDescription(int id);

    // The RSS information of a page of the site; flags is kept as given.
    BOOL SetRssInfo(const UrlID50& id, const CString& title, const CString& description,
                    std::int32_t pubTime, int flags);
    bool GetRssInfo(const UrlID50& id, lum::site::RssInfo& info);

    // The site's feeds, by path.
    std::vector<SiteRecCell50> feeds();

    // Brings the database in step with the folder (SiteScanner.h).
    bool rebuild(bool full, const lum::site::ScanProgress& progress, lum::site::ScanResult& result,
                 std::string& error);

    lum::site::SiteDatabase& database() { return *m_db; }
    const CString& root() const { return m_root; }
    const lum::site::SiteLocation& location() const { return m_site; }
    // The path relative to the root, '/'-separated, UTF-8; empty when the
    // path lies outside the site.
    std::string relativePath(const CString& path) const;
    CString windowsPath(const std::string& relative) const;

  private:
    std::unique_ptr<lum::site::SiteDatabase> m_db;
    CString m_root;
    lum::site::SiteLocation m_site;
};
