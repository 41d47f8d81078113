// Reading the feeds that are not well-formed only in ways every other feed
// reader forgives: HTML entity names the file never declares (&nbsp;,
// &eacute;), and UTF-8 bytes under a declaration of another encoding. The
// repair changes no text and drops nothing; a file broken in any other way
// (truncated, mismatched tags) is still refused.
#pragma once

#include "mfc/CString.h"

#include <libxml/tree.h>

#include <string>
#include <string_view>
#include <vector>

namespace lum::xml {

// What a document needed to be read.
struct Repairs {
    bool entities = false;  // undeclared HTML entity names read as their characters
    bool encoding = false;  // read as UTF-8 instead of the encoding it declares
    // References to names no declaration read resolves (the file's document
    // type, never loaded, may declare them) left out of the text.
    bool droppedEntities = false;
    bool any() const { return entities || encoding || droppedEntities; }
    // "entities", "encoding", "dropped entities": the names the records and
    // the host program use.
    std::vector<CString> names() const;
};

// The encoding an XML declaration at the start of the bytes names, as
// written; empty when there is none (or the start is not ASCII-compatible).
std::string declaredEncoding(std::string_view bytes);

// Whether the bytes must be read as UTF-8 although they declare another
// encoding. Only when the declared encoding cannot stand for them: the bytes
// are valid UTF-8, and decoding them in the declared encoding fails, or
// gives C1 control characters (0x80 to 0x9F, which ISO-8859-1 and the
// Windows code pages give for UTF-8's continuation bytes and no text holds),
// or the encoding is one nobody here knows. parsed tells that the strict
// parse succeeded; then only an ISO-8859-1 declaration is looked at, the
// one that decodes any bytes at all. A declared encoding that decodes the
// bytes into text is never second-guessed.
bool readAsUtf8Instead(std::string_view bytes, bool parsed);

// Whether an encoding label names ISO-8859-1 ("latin1", "ISO_8859-1", ...).
bool namesIso88591(const std::string& label);

// Parses the bytes again with the options, as UTF-8 when asUtf8, taking a
// reference to an undeclared entity that HTML names as the character it
// stands for, in text and in attribute values. Null when the document still
// is not well-formed or refers to a name HTML does not know either.
// repairs.entities tells whether such a name was met.
xmlDoc* parseRepaired(std::string_view bytes, bool asUtf8, int options, Repairs& repairs);

}  // namespace lum::xml
