// Reading feed files into channel records. Paths are Windows paths.
#pragma once

#include "hostapp/records/CRSSChannel.h"
#include "mfc/CString.h"

namespace newsdesk {

// Format codes of feed files, as m_format holds them.
enum FeedFormat : int {
    kFormatUnreadable = -1,  // detection only: not a readable XML document
    kFormatRss10 = 0,
    kFormatRss20 = 1,
    kFormatPodcast = 2,
};

// -1 when the file is not readable XML; 1 for a root "rss" without, 2 with a
// non-empty "xmlns:itunes"; 0 for any other root (RSS 1.0 among them).
int detectRssFormat(const CString& path);

// Resets the channel and reads the file into it with the reader its root
// calls for ("rss": RSS 2.0 or podcast; "rdf:RDF": RSS 1.0). 1 when read;
// 0 when not, and then the channel is left as reset.
int readRssFile(const CString& path, CRSSChannel* channel);

// The m_pubDate readRssFile would give the channel of the file, without
// reading its items: a rewrite compares against the stored file's date only.
CTime readChannelDate(const CString& path);

// The readers, each on a channel that was just reset; 1 when the channel
// element was found and the channel filled, 0 otherwise.
int readRss2File(const CString& path, CRSSChannel* channel);
int readRdfFile(const CString& path, CRSSChannel* channel);
int readPodcastFile(const CString& path, CRSSChannel* channel);

// A date element's text as the records hold it: its time, and the text
// itself when the time cannot stand for it, so that writing the record puts
// back what was there. The text is kept when it does not parse, when it
// names 1970-01-01 00:00:00 UTC (which the records read as "no date"), and
// when its year, in some zone, falls outside what the writers can spell
// (0 to 9999). An empty or blank text is no date at all.
struct RecordDate {
    std::int64_t time = 0;  // seconds since 1970; 0 when none
    CString keptText;
};
RecordDate readRecordDate(const CString& text);

}  // namespace newsdesk
