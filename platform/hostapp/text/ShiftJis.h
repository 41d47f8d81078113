// Shift_JIS for the feed documents. Japanese feeds that declare Shift_JIS
// come in two dialects: standard Shift_JIS (JIS X 0208, what every XML
// reader decodes) and the Windows code page that extends it with circled
// numbers and the NEC and IBM kanji, which standard readers refuse.
//
// Reading takes both: a code standard Shift_JIS defines reads as the
// standard says (0x8160 is U+301C WAVE DASH), a code only the Windows code
// page defines reads as Windows says (0x8740 is U+2460). Writing is standard
// by default: a character standard Shift_JIS cannot hold becomes a character
// reference, so that every reader sees the same text. A file that already
// uses the Windows codes keeps them when it is written again, byte for byte.
#pragma once

#include <libxml/encoding.h>

#include <string>
#include <string_view>

namespace lum::xml {

// Makes libxml2 read every Shift_JIS label ("Shift_JIS", "SJIS", "MS_Kanji",
// ...) as above and write it in the standard dialect. Idempotent.
void registerShiftJis();

// Whether name is one of those labels, in any letter case.
bool isShiftJisName(std::string_view name);

// The encoder that writes the Windows dialect: the standard codes, then the
// Windows ones; references for the rest. Never freed.
xmlCharEncodingHandler* windowsShiftJisOutput();

// Whether the file at the native path declares a Shift_JIS label and holds
// a code that only the Windows code page defines. false when it cannot be
// read.
bool fileUsesWindowsShiftJis(const char* nativePath);

// The same for bytes in hand (an HTML page's): whether they hold a code
// that only the Windows code page defines.
bool usesWindowsShiftJis(std::string_view bytes);

// UTF-8 text as Shift_JIS bytes, as the feeds are written: the standard
// codes (then the Windows ones when `windows`), a character reference
// ("&#x2460;") for any other character. Malformed UTF-8 becomes U+FFFD's
// reference.
std::string encodeShiftJis(std::string_view utf8, bool windows);

}  // namespace lum::xml
