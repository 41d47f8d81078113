// Text helpers shared by the XML document classes: conversions between the
// framework's UTF-16 text and libxml2's UTF-8, name matching without regard
// to case, and the four-entity escaping of feed fields.
#pragma once

#include "mfc/CString.h"

#include <libxml/tree.h>

#include <string>
#include <string_view>

namespace lum::xml {

// libxml2 holds text as unsigned bytes: these change only the pointer's type.
inline const xmlChar* utf8(const char* s) {
    return reinterpret_cast<const xmlChar*>(s);
}
inline const char* chars(const xmlChar* s) {
    return reinterpret_cast<const char*>(s);
}

CString toCString(const xmlChar* utf8);
// UTF-8 for libxml2, without the characters XML 1.0 cannot carry (control
// characters other than tab, line feed and carriage return; U+FFFE, U+FFFF).
std::string toXmlUtf8(const CString& text);
// The same into out, whose room is used again.
void toXmlUtf8(const CString& text, std::string& out);
// Whether UTF-8 text holds any of those characters.
bool hasNonXmlChars(std::string_view utf8);
// Drops those characters from UTF-8 text; true when something was dropped.
bool dropNonXmlChars(std::string& utf8);
// Drops them from the texts, comments and attribute values of node, its
// siblings after it and all below them.
void dropNonXmlCharsInTree(xmlNode* node);

// Drops those characters from UTF-8 that comes in blocks, as a document's
// serialisation does on its way out: a U+FFFE cut between two blocks is
// held back until the next shows what it is.
class NonXmlCharDropper {
  public:
    // Whether block goes on as it is: nothing in it to drop or to hold back,
    // nothing held from the block before.
    bool passes(std::string_view block) const;
    // What of block (after what was held back) goes on, into out.
    void take(std::string_view block, std::string& out);
    // What is still held back, into out, at the end of the bytes.
    void finish(std::string& out);

  private:
    std::string m_held;
};

// ASCII case-insensitive equality, which is all XML names of feeds need.
bool sameName(const xmlChar* a, std::string_view b);

// The qualified name of an element or attribute: "prefix:local" or "local".
std::string qualifiedName(const xmlNode* node);

// Double quote, ampersand, greater-than and less-than as entities.
// Taken by value: a text with nothing to escape comes back without a copy
// when the caller gives it up.
CString escapeEntities(CString text);
// The inverse: the same four entities, in any letter case, decoded once; an
// ampersand that starts none of them stays as it is.
CString unescapeEntities(CString text);

}  // namespace lum::xml
