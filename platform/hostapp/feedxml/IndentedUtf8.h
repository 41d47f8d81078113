// A document written as libxml2's indented save writes it in UTF-8
// (xmlSaveFormatFileTo with "UTF-8" and an output without converter), byte
// for byte, by a walk of our own: libxml2's writer hands every name, bracket
// and indentation through its buffer one call at a time and escapes text a
// byte at a time, which made comparing a large feed with its file take as
// long as building it.
#pragma once

#include <libxml/tree.h>

#include <cstddef>

namespace lum::xml {

// Where the bytes go, in blocks of some kilobytes (the last may be shorter).
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // false ends the writing: the rest is not wanted.
    virtual bool take(const char* data, std::size_t size) = 0;
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
                               const char* declaredEncoding = "UTF-8");

}  // namespace lum::xml
