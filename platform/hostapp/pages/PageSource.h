// An HTML page read for editing: its text as UTF-8 for the parser, with the
// byte of the original file each UTF-8 byte came from, so that edits found
// on the parsed text can be made on the original bytes and nothing else of
// the file changes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lum::page {

class PageSource {
  public:
    // nullopt, with the reason in error, when the page's encoding has no
    // converter.
    static std::optional<PageSource> read(std::string_view bytes, std::string& error);

    const std::string& text() const { return m_text; }
    const std::string& encoding() const { return m_encoding; }
    // The offset in the original bytes of the character that begins at
    // textOffset (the end of the text maps to the end of the bytes).
    size_t byteOffset(size_t textOffset) const { return m_byteOf[textOffset]; }

    // UTF-8 text in the page's encoding; a character the encoding cannot
    // hold becomes a character reference. A Shift_JIS page is written in
    // the standard codes every reader decodes, unless it already uses
    // codes of the Windows code page: then those are written too.
    std::string encode(std::string_view utf8) const;

  private:
    std::string m_text;
    std::string m_encoding;
    bool m_shiftJis = false;
    bool m_windowsShiftJis = false;
    std::vector<size_t> m_byteOf;  // m_text.size() + 1 entries
};

}  // namespace lum::page
