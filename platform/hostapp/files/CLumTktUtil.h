// The application's classification of files by name.
#pragma once

#include "mfc/CString.h"

class CLumTktUtil {
  public:
    static constexpr int kUnknownFile = 0;
    static constexpr int kPageFile = 1;
    static constexpr int kPictureFile = 2;
    static constexpr int kMediaFile = 24;
    static constexpr int kRssFile = 29;

    // The kind of file the path names by its extension (letter case aside):
    // .rss, .rdf and .xml are feeds (29), .html/.htm pages, common picture
    // and sound extensions pictures and media; anything else kUnknownFile.
    // byContent is reserved: the name alone decides.
    static int whatKindOfFile(const CString& path, bool byContent);
    // true when the reference (a path or URL, query and fragment aside)
    // names a feed file.
    static bool isRSSFile(const CString& reference);
};
