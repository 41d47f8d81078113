// What the streaming passes over a file share, inside this library: the file
// as the reader takes it in, counted against the markup limits; the errors
// the reader met; and what the pass makes of the file at its end.
#pragma once

#include "hostapp/feedxml/EntityExpansion.h"
#include "hostapp/feedxml/MarkupCensus.h"
#include "hostapp/feedxml/XmlFile.h"

#include <libxml/xmlreader.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace lum::xml {

struct ScanErrors {
    bool fatal = false;
    bool undeclaredEntity = false;
};

// The file as the reader takes it in. The parser asks for a few kilobytes at
// a time: the file is read in larger blocks, each counted as a whole.
struct CountedInput {
    int fd;
    MarkupCensus census;
    bool refused = false;
    std::uint64_t bytesRead = 0;
    static constexpr std::size_t kBlock = std::size_t{1} << 16;
    std::unique_ptr<char[]> block{};
    std::size_t at = 0;
    std::size_t filled = 0;
    // Line ends as XML reads them, made in the bytes themselves: libxml2's
    // reader hands a CDATA section over as it stands, carriage returns and
    // all, where a parse of the whole file makes each line end one line
    // feed. Not in a file whose encoding is not ASCII's (UTF-16, UTF-32),
    // where a 0x0D byte may be half of another character.
    enum class LineEnds : std::uint8_t { Unknown, Made, AsTheyStand } lineEnds = LineEnds::Unknown;
    bool afterCarriageReturn = false;
    // Such a file held a 0x0D byte, which may have been a carriage return.
    bool carriageReturnsLeft = false;
};

// Notes what a parse met in the ScanErrors context.
void noteScanError(void* context, xmlError* error);

// A reader of input's file with the parser's options, noting what it meets in
// errors; null when none can be had.
xmlTextReader* openCountedReader(CountedInput& input, ScanErrors& errors);
// A parser of input's file with the parser's options that calls sax's
// handlers with itself; null when none can be had.
xmlParserCtxt* openCountedParser(CountedInput& input, xmlSAXHandler& sax);

// After the pass ended with status (what the last xmlTextReaderRead gave):
// what a strict parse gives, or nullopt when loadFile would not stop at its
// strict parse (see scanStrictly). expanded is what the references met on
// the way expand to, against budget. Frees the reader.
std::optional<StrictScan> strictVerdict(xmlTextReader* reader, const CountedInput& input,
                                        const ScanErrors& errors, int status, bool rootSeen,
                                        EntityExpansion& expansion, std::uint64_t expanded,
                                        std::uint64_t budget);
// Whether a pass that ended (read the file to its end) as described gives
// what loadFile's strict parse gives: encoding is the one the file was read
// in.
bool strictlyRead(const CountedInput& input, const ScanErrors& errors, bool ended, bool rootSeen,
                  const xmlChar* encoding);
// The same for the document doc a pass built, strict as strictlyRead gave;
// frees doc.
std::optional<StrictScan> strictVerdict(xmlDoc* doc, const CountedInput& input, bool strict,
                                        EntityExpansion& expansion, std::uint64_t expanded,
                                        std::uint64_t budget);

// The pass of scanStrictly with opensUp: libxml2's tree-building parse,
// each element that is not opened up met whole as it ends, on a thread of
// its own with ownThread (and one can be had), else in the caller's. nullopt
// when the file is for the reader's pass instead: it has a document type.
// Nothing was handed to onElement then.
std::optional<std::optional<StrictScan>> scanAside(
    int fd, const std::function<bool(const xmlNode*, int)>& opensUp,
    const std::function<void(const ScannedElement&)>& onElement, bool ownThread);

}  // namespace lum::xml
