// Text functions shared by the feed readers and writers.
#pragma once

#include "mfc/CString.h"

#include <cstdint>

namespace newsdesk {

// Double quote, ampersand, greater-than and less-than as "&quot;", "&amp;",
// "&gt;" and "&lt;"; every other character (the apostrophe too) unchanged.
CString xmlEscape(const CString& text);

// Decodes those four entities once, in any letter case; any other ampersand
// (numeric references and "&apos;" included) is kept as it is.
CString xmlUnescape(CString text);

// Seconds of an iTunes duration: "h:m:s", "m:s" or a bare number of seconds
// ("01:02:05", "45:30", "2730"); 0 when the text holds no number.
int parseDuration(const CString& text);

// The leading decimal integer of a text, after white space and an optional
// sign, as the runtime's _wtoi reads it; 0 when there is none. Values beyond
// int are clamped.
int wtoi(const CString& text);
// The same in 64 bits (_wtoi64), for lengths of media files.
std::int64_t wtoi64(const CString& text);

}  // namespace newsdesk
