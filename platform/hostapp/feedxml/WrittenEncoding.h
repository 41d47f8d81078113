// What a document asks of the encoding it is written in.
#pragma once

#include <libxml/encoding.h>
#include <libxml/tree.h>

#include <string>

namespace lum::xml {

// Text that an encoding cannot hold is written as character references, but
// names cannot be: an element kept from a Windows Shift_JIS feed whose name
// holds a Windows-only code, or a kept name from a record in JSON, would make
// a file that does not parse.
//
// Whether every element, attribute, namespace prefix and processing
// instruction name of doc comes back unchanged when written in the encoding
// enc, through output when given (else libxml2's converter for enc), and read
// back. Names in ASCII always do and cost nothing but the walk.
bool namesSurviveEncoding(const xmlDoc* doc, const std::string& enc,
                          xmlCharEncodingHandler* output);

// Whether the text or an attribute value of doc holds a C1 control character
// (U+0080 to U+009F). Written as ISO-8859-1 bytes they read as UTF-8 the
// next time when the rest of the file happens to be valid UTF-8 (the repair
// of a wrong declaration), and the text changes.
bool holdsC1Controls(const xmlDoc* doc);

// Some converters of the C library mistake a character beyond U+FFFF that
// the encoding lacks: libxml2 then writes the next character as a reference
// instead, and the first is lost. Whether doc's text or attribute values
// hold such a character, and whether libxml2's converter for enc writes one
// so that it reads back.
bool holdsCharsBeyondBmp(const xmlDoc* doc);

// Whether an element holding text, with an attribute holding it too,
// written in the encoding enc by libxml2, reads back as it was.
bool writesBack(const std::string& enc, const char* text);
bool writesCharsBeyondBmp(const std::string& enc);

}  // namespace lum::xml
