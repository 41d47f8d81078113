// The scan that brings a site's database in step with its folder: every file
// is listed, pages are parsed for their links and feeds are found by what
// they hold. A second scan reads only files whose size or modification time
// changed, and of those re-parses only the ones whose content changed.
//
// Work is committed in batches, each one transaction: a scan that is killed
// leaves the database as it was after the last batch, and the next scan
// picks up what was not done (the files of an uncommitted batch still carry
// their old size and time).
#pragma once

#include "hostapp/site/SiteDatabase.h"

#include <cstddef>
#include <functional>
#include <string>

namespace lum::site {

struct SiteLocation {
    std::string root;     // native folder
    std::string url;      // public URL of the root, ending in "/"
    std::string topPage;  // relative to the root
};

struct ScanResult {
    size_t files = 0;         // files in the folder
    size_t read = 0;          // files whose bytes were read
    size_t pagesParsed = 0;   // pages whose links were taken anew
    size_t pagesSkipped = 0;  // pages too large or too deeply nested to parse
    size_t feeds = 0;         // feeds in the site after the scan
    size_t gone = 0;          // files no longer in the folder
};

// done of total files to read; path is the relative path just handled.
using ScanProgress = std::function<void(size_t done, size_t total, const std::string& path)>;

// full: read and parse every file, whatever the database says. false with a
// one-line reason in error when the folder cannot be listed or the database
// refuses a change (what was committed before stays).
bool scanSite(SiteDatabase& db, const SiteLocation& site, bool full, const ScanProgress& progress,
              ScanResult& result, std::string& error);

// Pages (.html, .htm) and stylesheets (.css) are the files the scan reads
// for links; both are recorded as pages.
bool isPagePath(std::string_view path);
bool isStylesheetPath(std::string_view path);
bool holdsLinks(std::string_view path);

}  // namespace lum::site
