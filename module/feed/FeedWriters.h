// Saving a channel record as a feed file. The record is only read. Each
// writer builds a fresh document, rewrites its links for the file's place in
// the site (RewriteFeedLinks.h) and saves it over path atomically: the file
// at path is either the complete new feed or exactly what was there before.
#pragma once

#include "hostapp/CRSSChannel.h"
#include "mfc/CString.h"

namespace newsdesk {

// Writes the channel in the format m_format names (0 RSS 1.0, 1 RSS 2.0,
// 2 podcast). 1 when the file was written; 0, with no file touched, for a
// null channel, any other format code, a document that could not be built or
// a failed save.
int writeRssFile(const CString& path, const CRSSChannel* channel);

// The three writers behind writeRssFile; same results.
int writeRss2File(const CString& path, const CRSSChannel* channel);
int writeRdfFile(const CString& path, const CRSSChannel* channel);
int writePodcastFile(const CString& path, const CRSSChannel* channel);

}  // namespace newsdesk
