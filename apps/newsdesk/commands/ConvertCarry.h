// What a conversion does with the record's fields that the target format's
// writer does not write: a field the target can still carry goes into the
// record's kept markup, spelled as feeds of that format spell it (an RSS 2.0
// item's link stays a <link> in a podcast, a podcast's iTunes tags stay in
// RSS 2.0, categories become dc:subject in RSS 1.0); any other is counted
// by the element name the source format gives it.
#pragma once

#include "hostapp/feedxml/KeptMarkup.h"
#include "hostapp/records/CRSSChannel.h"

namespace newsdesk::app {

// Adds to channel's (and its items') kept markup for a write in format to,
// the record having been read in format from; counts into dropped what
// cannot go. Nothing happens when the formats are the same.
void carryUnwrittenFields(CRSSChannel& channel, int from, int to, lum::KeptDrops& dropped);

// A podcast's categories are iTunes categories, which directories take only
// from their own table: a category of another format that names no entry of
// it stays a plain <category> of the podcast (which is RSS 2.0) and is not
// written as an iTunes one. Gives how many stay plain.
int keepPlainCategories(CRSSChannel& channel);

// An RSS 1.0 item is named by its rdf:about, which feed readers take for
// its id; in RSS 2.0 that is the guid. Gives each item of channel (read
// from the RSS 1.0 file at path) without a kept guid its about as one.
void carryItemNames(const CString& path, CRSSChannel& channel);

}  // namespace newsdesk::app
