// A census of the markup of an XML file, taken on its bytes before any
// parser sees them, against the bounds that keep libxml2 from working for
// hours on a small file.
#pragma once

#include <cstddef>

namespace lum::xml {

// libxml2 checks each attribute of a start tag against all the ones before
// it, and each attribute a DTD declares against all those declared before it
// for the same element; a file of a few megabytes can so keep the parser busy
// for hours. No feed element needs more than a handful of attributes, and no
// feed more than a small internal DTD: files beyond these are refused before
// parsing.
constexpr std::size_t kMostAttributesPerTag = 256;
constexpr std::size_t kMostDeclarationBytes = 256 * 1024;

// Counts what the limits above bound, on the bytes: enough for every encoding
// that spells the markup characters as ASCII. Zero bytes are skipped, so
// UTF-16 and UTF-32 read as ASCII here; no multi-byte encoding uses these
// characters as trailing bytes.
class MarkupCensus {
  public:
    // false as soon as the file is out of bounds.
    bool feed(unsigned char c);
    // The same for a block of bytes. Runs that cannot change the state (the
    // text between tags, attribute values, the inside of comments, CDATA
    // sections and processing instructions) are skipped with memchr: they
    // are most of a feed.
    bool feed(const unsigned char* bytes, std::size_t size);

    // Which limit the file went past; null while within them.
    const char* exceeded() const { return m_exceeded; }
    // Whether the end of a start tag (the root's, in a well-formed file) has
    // been fed.
    bool startTagSeen() const { return m_startTagSeen; }

  private:
    enum class State {
        Text,
        Markup,
        Bang,
        Tag,
        TagValue,
        Declaration,
        Comment,
        CData,
        Instruction,
        EndTag
    };
    State m_state = State::Text;
    unsigned char m_quote = 0;
    unsigned char m_last[2] = {0, 0};
    std::size_t m_values = 0;
    std::size_t m_declarationBytes = 0;
    const char* m_exceeded = nullptr;
    bool m_startTagSeen = false;
};

}  // namespace lum::xml
