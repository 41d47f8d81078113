// What the writers put into a field's element so that a validator finds
// nothing to say about it: no empty addresses, enclosures with a media type.
#pragma once

#include "hostapp/feedxml/KeptMarkup.h"
#include "hostapp/records/CRSSItem.h"
#include "mfc/CString.h"

namespace newsdesk {

// Whether an element whose content must be an address, a date, a number or
// some text (a channel's title, an RSS 1.0 item's) is written: an empty one
// is not, unless the file read had it empty (then an unchanged feed still
// comes back as it was).
inline bool writesField(const CString& value, const lum::KeptMarkup& kept, const char* local) {
    return !value.IsEmpty() || kept.heldEmpty(local);
}

// Whether text is an e-mail address as RSS 2.0's author and the iTunes
// owner want it: "jane@example.com", optionally followed by a name in
// parentheses ("jane@example.com (Jane Doe)").
bool isEmailAddress(const CString& text);

// The item's enclosure type; when it has none, the media type the system's
// table gives the extension of the enclosure's address ("…/a.mp3?x=1" ->
// audio/mpeg), or empty.
CString enclosureTypeOf(const CRSSItem& item);

}  // namespace newsdesk
