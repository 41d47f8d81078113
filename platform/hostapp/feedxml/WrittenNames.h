// Names in the encoding a feed is written in. Text that an encoding cannot
// hold is written as character references, but names cannot be: an element
// kept from a Windows Shift_JIS feed whose name holds a Windows-only code, or
// a kept name from a record in JSON, would make a file that does not parse.
#pragma once

#include <libxml/encoding.h>
#include <libxml/tree.h>

#include <string>

namespace lum::xml {

// Whether every element, attribute, namespace prefix and processing
// instruction name of doc comes back unchanged when written in the encoding
// enc, through output when given (else libxml2's converter for enc), and read
// back. Names in ASCII always do and cost nothing but the walk.
bool namesSurviveEncoding(const xmlDoc* doc, const std::string& enc,
                          xmlCharEncodingHandler* output);

}  // namespace lum::xml
