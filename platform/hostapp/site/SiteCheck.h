// The references of a site's pages and stylesheets that reach a file of the
// site that is not there: the database names the pages and files, a second
// read of those pages only gives where each reference is written.
#pragma once

#include "hostapp/site/SiteScanner.h"

#include <string>
#include <vector>

namespace lum::site {

struct BrokenReference {
    std::string page;  // relative to the site root
    long line = 0;     // 1-based, in characters as an editor counts them
    long column = 0;
    std::string element;  // "a", "img", "style", "url", "@import" ...
    std::string url;      // as written
    std::string target;   // the missing file, relative to the site root
};

// db must be in step with the folder (a rebuild just before).
std::vector<BrokenReference> findBrokenReferences(SiteDatabase& db, const SiteLocation& site);

}  // namespace lum::site
