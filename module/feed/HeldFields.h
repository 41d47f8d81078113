// The fields every reader reads first. An element the file held empty is
// noted beside the record, which reads it as empty as it would a missing
// one: the writers leave a missing element out, and put an empty one back,
// so that an unchanged feed is written as it was.
#pragma once

#include "feed/TextFunctions.h"
#include "hostapp/feedxml/DomNode.h"
#include "hostapp/feedxml/KeptMarkup.h"
#include "hostapp/records/CRSSChannel.h"
#include "hostapp/records/CRSSItem.h"
#include "mfc/CString.h"

namespace newsdesk {

template <class Document>
void readTitleAndLink(const Document& xml, Node node, CString& title, CString& link,
                      lum::KeptMarkup& kept) {
    CString text;
    if (xml.getTitle(node, text) && text.IsEmpty()) {
        kept.noteHeldEmpty("title");
    }
    title = xmlUnescape(text);
    if (xml.getLink(node, link) && link.IsEmpty()) {
        kept.noteHeldEmpty("link");
    }
}

// An item's first enclosure that names no file, first iTunes duration that
// does not read, or first itunes:block that does not say yes, stands for
// none: a later one kept beside the item that does becomes the item's own.
// The writers leave such a field out, so the later one would be the first
// when the feed is read again: this read tells what that one will.
void takeLaterEnclosure(CRSSItem& item);
void takeLaterDuration(CRSSItem& item);
void takeLaterBlock(CRSSItem& item);
// The same for a podcast's picture: a first itunes:image without an address.
void takeLaterImage(CRSSChannel& channel);

}  // namespace newsdesk
