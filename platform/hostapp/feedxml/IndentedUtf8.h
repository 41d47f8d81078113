// A document written as libxml2's indented save writes it in UTF-8
// (xmlSaveFormatFileTo with "UTF-8" and an output without converter), byte
// for byte, by a walk of our own: libxml2's writer hands every name, bracket
// and indentation through its buffer one call at a time and escapes text a
// byte at a time, which made comparing a large feed with its file take as
// long as building it.
#pragma once

#include "hostapp/feedxml/XmlText.h"

#include <libxml/tree.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace lum::xml {

// Where the bytes go, in blocks of some kilobytes (the last may be shorter).
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // false ends the writing: the rest is not wanted.
    virtual bool take(const char* data, std::size_t size) = 0;
    // Where the children of the element writeIndentedUtf8 was asked to mark
    // end, every byte before taken: after their last line, before the
    // indentation of its end tag. Not called when the element is empty or
    // written without indenting. false ends the writing.
    virtual bool mark() { return true; }
};

// A sink that sees the bytes as a save in UTF-8 keeps them: when dropping,
// without the characters XML cannot carry (a save declared "UTF-8" drops
// them from the bytes; under another spelling the tree lost them before).
class SavedBytesSink : public ByteSink {
  public:
    explicit SavedBytesSink(bool dropping) : m_dropping(dropping) {}
    bool take(const char* data, std::size_t size) final;

  protected:
    // What the dropper still holds back, handed on: at the end of the bytes,
    // or where they stop being compared in order.
    bool takeHeld();
    virtual bool takeSaved(std::string_view bytes) = 0;

  private:
    bool m_dropping;
    NonXmlCharDropper m_dropper;
    std::string m_kept;
};

enum class IndentedUtf8 {
    // Every byte went to the sink.
    Written,
    // The sink wanted no more.
    Stopped,
    // The document holds what only libxml2's own writer is trusted with (a
    // document type, a node of a kind feeds do not hold, a tree whose links
    // disagree) or libxml2's settings for indenting were changed; what came
    // before went to the sink.
    NotOurs,
};

// declaredEncoding is the name the XML declaration gives, a spelling of
// UTF-8 ("UTF-8", "utf-8", "UTF8"): libxml2 writes the same bytes for each.
IndentedUtf8 writeIndentedUtf8(const xmlDoc* doc, ByteSink& sink,
                               const char* declaredEncoding = "UTF-8",
                               const xmlNode* marked = nullptr);

class IndentedUtf8Writer;

// Elements written one at a time as they stand in the indented document:
// an item can be compared with its file as soon as it is built, and freed.
class IndentedUtf8Elements {
  public:
    explicit IndentedUtf8Elements(ByteSink& sink);
    ~IndentedUtf8Elements();
    IndentedUtf8Elements(const IndentedUtf8Elements&) = delete;
    IndentedUtf8Elements& operator=(const IndentedUtf8Elements&) = delete;

    // The element, level elements deep (1: a child of the root), with its
    // indentation and the line end after it, as the document writes it when
    // its parent is indented; every byte handed to the sink on return.
    IndentedUtf8 write(const xmlNode* element, int level);

  private:
    std::unique_ptr<IndentedUtf8Writer> m_writer;
};

}  // namespace lum::xml
