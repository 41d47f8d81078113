// Preparing a picture the user chose for a feed's channel image or an RSS
// link's icon.
#pragma once

#include "hostapp/media/pixImage.h"
#include "mfc/CString.h"

namespace newsdesk {

// Finds the picture at location as a resource of the site, converts a
// format web pages cannot show, and loads it. out always receives the URL to
// store: the normalized location, or the converted picture's. Returns the
// loaded picture (the caller deletes it), or nullptr when there is no such
// resource or it does not decode.
pixImage* prepareImage(const CString& location, CString& out);

}  // namespace newsdesk
