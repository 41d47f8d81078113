// Media types of file extensions, from the system's MIME table
// (/etc/mime.types), read once.
#pragma once

#include "mfc/CString.h"

#include <map>
#include <string>
#include <string_view>

class CLumMimeUtility {
  public:
    // The media type of an extension given with or without its dot, in any
    // letter case ("MP3" -> "audio/mpeg"); empty when the table has none.
    static CString getMimeTypeOfExtension(const CString& ext);
};

namespace lum {

// Extension (lower case, no dot) -> media type, from the text of a table in
// the mime.types form. An extension listed under several types keeps the
// first, as the table's order is its preference.
std::map<std::string, std::string> parseMimeTypes(std::string_view table);

}  // namespace lum
