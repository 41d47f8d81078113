// Saving a channel record as a feed file. The record is only read. Each
// writer builds a fresh document, rewrites its links for the file's place in
// the site (RewriteFeedLinks.h) and saves it over path atomically: the file
// at path is either the complete new feed or exactly what was there before.
#pragma once

#include "hostapp/feedxml/CLumRssAbstract.h"
#include "hostapp/feedxml/ItemByItemComparison.h"
#include "hostapp/records/CRSSChannel.h"
#include "mfc/CString.h"

#include <memory>
#include <optional>

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

// The document writeRssFile would save at path, built but not saved; null
// where writeRssFile fails before saving (a null channel, any other format
// code, a document that could not be built).
std::unique_ptr<CLumRssAbstract> buildRssDocument(const CString& path, const CRSSChannel* channel);

// The builders behind buildRssDocument, one for each writer. Given
// comparing, the RSS 2.0 and podcast builders hand it each item as it is
// finished, and stop (null) at the first it does not take; they are then
// short of the items it took, and are only for its comparison.
std::unique_ptr<CLumRssAbstract> buildRss2Document(
    const CString& path, const CRSSChannel* channel,
    lum::xml::ItemByItemComparison* comparing = nullptr);
std::unique_ptr<CLumRssAbstract> buildRdfDocument(const CString& path, const CRSSChannel* channel);
std::unique_ptr<CLumRssAbstract> buildPodcastDocument(
    const CString& path, const CRSSChannel* channel,
    lum::xml::ItemByItemComparison* comparing = nullptr);

// Whether writeRssFile would leave file, where path leads, with the bytes it
// holds; nullopt where buildRssDocument fails. Outside a site, an RSS 2.0 or
// podcast feed saved in UTF-8 is compared item by item as it is built, and
// the first difference ends the build.
std::optional<bool> writesSameFile(const CString& path, const CString& file,
                                   const CRSSChannel* channel);

}  // namespace newsdesk
