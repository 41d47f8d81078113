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

#include <utility>

namespace newsdesk {

template <class Document>
void readTitleAndLink(const Document& xml, Node node, CString& title, CString& link,
                      lum::KeptMarkup& kept) {
    CString text;
    if (xml.getTitle(node, text) && text.IsEmpty()) {
        kept.noteHeldEmpty("title");
    }
    title = xmlUnescape(std::move(text));
    if (xml.getLink(node, link) && link.IsEmpty()) {
        kept.noteHeldEmpty("link");
    }
}

// A field that a channel or item holds once (a title, a ttl, a duration)
// is read from its first element. When that one does not read (it is empty,
// its number or date does not parse, its address is missing), the first
// later element of the name that does read becomes the field; when none
// does, the later ones go as the first did. A later one kept beside the
// record would otherwise be the first when the written feed is read again,
// and take the field's place. Called once the record's kept markup is read.
void settleRss2Channel(CRSSChannel& channel);
void settleRss2Item(CRSSItem& item);
void settlePodcastChannel(CRSSChannel& channel);
void settlePodcastItem(CRSSItem& item);
void settleRdfChannel(CRSSChannel& channel);
void settleRdfItem(CRSSItem& item);

}  // namespace newsdesk
