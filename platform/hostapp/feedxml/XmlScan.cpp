// The streaming pass that answers as loadFile does without its tree.
#include "hostapp/feedxml/EntityExpansion.h"
#include "hostapp/feedxml/MarkupCensus.h"
#include "hostapp/feedxml/ScanInput.h"
#include "hostapp/feedxml/XmlFile.h"
#include "hostapp/feedxml/XmlParsing.h"
#include "hostapp/feedxml/XmlRepair.h"
#include "hostapp/feedxml/XmlText.h"
#include "hostapp/text/ShiftJis.h"

#include <libxml/xmlreader.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <optional>

namespace lum::xml {

namespace {

std::atomic<std::uint64_t> g_parseAsideFrom{std::uint64_t{256} << 10};

}  // namespace

void noteScanError(void* context, xmlError* error) {
    auto* errors = static_cast<ScanErrors*>(context);
    if (error == nullptr) {
        return;
    }
    // Only fatal errors make the strict parse give up; namespace errors and
    // entities an unread external subset may declare leave a document.
    errors->fatal = errors->fatal || error->level == XML_ERR_FATAL;
    errors->undeclaredEntity = errors->undeclaredEntity ||
                               error->code == XML_ERR_UNDECLARED_ENTITY ||
                               error->code == XML_WAR_UNDECLARED_ENTITY;
}

namespace {

// Whether the file starts as one in an encoding whose bytes below 0x80 are
// ASCII's: no zero byte among its first four (UTF-16 and UTF-32 put one
// beside "<" or the byte order mark) and no byte order mark of two bytes.
bool startsAsciiCompatible(const char* bytes, std::size_t size) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (size >= 2 &&
        ((byte(0) == 0xFE && byte(1) == 0xFF) || (byte(0) == 0xFF && byte(1) == 0xFE))) {
        return false;
    }
    for (std::size_t i = 0; i < std::min<std::size_t>(size, 4); ++i) {
        if (byte(i) == 0) {
            return false;
        }
    }
    return true;
}

// Turns each "\r\n" and each lone "\r" of the block just read into "\n",
// as XML reads line ends, across the blocks' bounds too.
void makeLineEnds(CountedInput& input) {
    using LineEnds = CountedInput::LineEnds;
    char* bytes = input.block.get();
    if (input.lineEnds == LineEnds::Unknown && input.filled > 0) {
        input.lineEnds =
            startsAsciiCompatible(bytes, input.filled) ? LineEnds::Made : LineEnds::AsTheyStand;
    }
    bool holdsCarriageReturn = std::memchr(bytes, '\r', input.filled) != nullptr;
    if (input.lineEnds != LineEnds::Made) {
        input.carriageReturnsLeft = input.carriageReturnsLeft || holdsCarriageReturn;
        return;
    }
    if (!input.afterCarriageReturn && !holdsCarriageReturn) {
        return;
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < input.filled; ++i) {
        char c = bytes[i];
        if (c == '\n' && input.afterCarriageReturn) {
            input.afterCarriageReturn = false;
            continue;
        }
        input.afterCarriageReturn = c == '\r';
        bytes[kept++] = c == '\r' ? '\n' : c;
    }
    input.filled = kept;
}

// Each block of the file is counted against the markup limits before the
// parser sees it, so that one read of the file serves both, and the parser
// never meets a tag beyond them.
int readCounted(void* context, char* buffer, int length) {
    auto* input = static_cast<CountedInput*>(context);
    // A block may come to nothing once its line ends are made (a "\n" after
    // a "\r" that ended the one before): nothing is only the file's end.
    while (input->at == input->filled) {
        if (!input->block) {
            input->block = std::make_unique<char[]>(CountedInput::kBlock);
        }
        ssize_t got = ::read(input->fd, input->block.get(), CountedInput::kBlock);
        if (got < 0 ||
            !input->census.feed(reinterpret_cast<const unsigned char*>(input->block.get()),
                                static_cast<std::size_t>(got))) {
            input->refused = true;
            return -1;
        }
        if (got == 0) {
            return 0;
        }
        input->at = 0;
        input->filled = static_cast<std::size_t>(got);
        input->bytesRead += static_cast<std::uint64_t>(got);
        makeLineEnds(*input);
    }
    std::size_t n =
        std::min(static_cast<std::size_t>(std::max(length, 0)), input->filled - input->at);
    std::memcpy(buffer, input->block.get() + input->at, n);
    input->at += n;
    return static_cast<int>(n);
}

int leaveOpen(void*) {
    return 0;
}

// The streaming pass of scanFile: what a strict parse gives, or nullopt
// when loadFile would not stop at its strict parse (the parse failed, met an
// entity the file never declares, or read the file as ISO-8859-1) and a
// repair may answer differently.
std::optional<StrictScan> scanFd(int fd,
                                 const std::function<void(const ScannedElement&)>& onElement) {
    CountedInput input{fd, {}};
    ScanErrors errors;
    xmlTextReader* reader = openCountedReader(input, errors);
    if (reader == nullptr) {
        return StrictScan{};
    }
    struct stat st {};
    std::uint64_t budget =
        entityBudget(::fstat(fd, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0);
    // What the references met so far expand to, counted as loadFile counts
    // them on the whole tree; the reader frees the nodes behind it. Past the
    // budget the file is still read to its end: a repair might still apply.
    EntityExpansion expansion;
    std::uint64_t expanded = 0;
    bool rootSeen = false;
    int status = 0;
    while (!errors.fatal && (status = xmlTextReaderRead(reader)) == 1) {
        int type = xmlTextReaderNodeType(reader);
        const xmlNode* node = xmlTextReaderCurrentNode(reader);
        if (node == nullptr) {
            continue;
        }
        if (type == XML_READER_TYPE_ENTITY_REFERENCE) {
            errors.undeclaredEntity = errors.undeclaredEntity || node->children == nullptr;
            expanded = std::min(expanded + expansion.ofReference(node), budget + 1);
        } else if (type == XML_READER_TYPE_ELEMENT) {
            expanded = std::min(expanded + expansion.inAttributes(node), budget + 1);
            rootSeen = true;
            onElement(
                ScannedElement(const_cast<xmlNode*>(node), xmlTextReaderDepth(reader), reader));
        }
    }
    return strictVerdict(reader, input, errors, status, rootSeen, expansion, expanded, budget);
}

// Every element of a tree, in document order, with its depth.
void walkTree(xmlNode* node, int depth,
              const std::function<void(const ScannedElement&)>& onElement) {
    for (; node != nullptr; node = node->next) {
        if (node->type == XML_ELEMENT_NODE) {
            onElement(ScannedElement(node, depth, nullptr));
            walkTree(node->children, depth + 1, onElement);
        }
    }
}

}  // namespace

xmlParserCtxt* openCountedParser(CountedInput& input, xmlSAXHandler& sax) {
    xmlParserCtxt* ctxt = xmlCreateIOParserCtxt(&sax, nullptr, readCounted, leaveOpen, &input,
                                                XML_CHAR_ENCODING_NONE);
    if (ctxt != nullptr) {
        xmlCtxtUseOptions(ctxt, kParseOptions);
    }
    return ctxt;
}

xmlTextReader* openCountedReader(CountedInput& input, ScanErrors& errors) {
    xmlTextReader* reader =
        xmlReaderForIO(readCounted, leaveOpen, &input, nullptr, nullptr, kParseOptions);
    if (reader != nullptr) {
        xmlTextReaderSetStructuredErrorHandler(reader, noteScanError, &errors);
    }
    return reader;
}

std::optional<StrictScan> strictVerdict(xmlTextReader* reader, const CountedInput& input,
                                        const ScanErrors& errors, int status, bool rootSeen,
                                        EntityExpansion& expansion, std::uint64_t expanded,
                                        std::uint64_t budget) {
    bool strict =
        strictlyRead(input, errors, status == 0, rootSeen, xmlTextReaderConstEncoding(reader));
    // Asking for the document hands it over.
    xmlDoc* doc = strict ? xmlTextReaderCurrentDoc(reader) : nullptr;
    xmlFreeTextReader(reader);
    return strictVerdict(doc, input, strict, expansion, expanded, budget);
}

bool strictlyRead(const CountedInput& input, const ScanErrors& errors, bool ended, bool rootSeen,
                  const xmlChar* encoding) {
    return ended && !errors.fatal && rootSeen && !errors.undeclaredEntity && !input.refused &&
           !(encoding != nullptr && namesIso88591(reinterpret_cast<const char*>(encoding)));
}

std::optional<StrictScan> strictVerdict(xmlDoc* doc, const CountedInput& input, bool strict,
                                        EntityExpansion& expansion, std::uint64_t expanded,
                                        std::uint64_t budget) {
    if (input.refused) {
        // Beyond the limits or unreadable: loadFile refuses it as well.
        xmlFreeDoc(doc);
        return StrictScan{};
    }
    StrictScan scan;
    scan.loads = strict;
    scan.carriageReturnsLeft = input.carriageReturnsLeft;
    if (strict && doc != nullptr) {
        scan.encoding = toCString(doc->encoding);
        scan.declaresEntities = declaresEntities(doc);
    }
    if (scan.declaresEntities) {
        // References inside the declared entities count as the tree's walk
        // through the document type counts them.
        if (doc->intSubset != nullptr) {
            expanded += expansion.underNode(doc->intSubset->children);
        }
        scan.loads = expanded <= budget;
    }
    xmlFreeDoc(doc);
    return strict ? std::optional<StrictScan>(scan) : std::nullopt;
}

CString ScannedElement::textContent() const {
    return Node(subtree()).getTextContent();
}

xmlNode* ScannedElement::subtree() const {
    // The reader builds the element's subtree on request; a tree has it.
    return m_reader != nullptr ? xmlTextReaderExpand(static_cast<xmlTextReader*>(m_reader))
                               : m_element.raw();
}

std::optional<StrictScan> scanStrictly(const CString& windowsPath,
                                       const std::function<void(const ScannedElement&)>& onElement,
                                       const std::function<bool(const xmlNode*, int)>& opensUp) {
    registerShiftJis();
    QuietErrors quiet;
    Fd fd(openRegularFile(windowsPath));
    if (fd.get() < 0) {
        return StrictScan{};
    }
    if (opensUp) {
        struct stat st {};
        bool large = ::fstat(fd.get(), &st) == 0 &&
                     static_cast<std::uint64_t>(st.st_size) >= g_parseAsideFrom.load();
        if (auto scan = scanAside(fd.get(), opensUp, onElement, large)) {
            return *scan;
        }
        // Scanned again from its start by the reader.
        if (::lseek(fd.get(), 0, SEEK_SET) != 0) {
            return StrictScan{};
        }
    }
    return scanFd(fd.get(), onElement);
}

std::uint64_t parseAsideFrom(std::uint64_t bytes) {
    return g_parseAsideFrom.exchange(bytes);
}

bool scanElements(const CString& windowsPath,
                  const std::function<void(const ScannedElement&)>& onElement) {
    if (std::optional<StrictScan> strict = scanStrictly(windowsPath, onElement)) {
        return strict->loads;
    }
    // Rare: files that fail a strict parse or that a repair may read
    // differently get loadFile's own answer, from its tree, walked from its
    // root again.
    xmlDoc* doc = loadFile(windowsPath);
    if (doc == nullptr) {
        return false;
    }
    walkTree(xmlDocGetRootElement(doc), 0, onElement);
    xmlFreeDoc(doc);
    return true;
}

bool scanFile(const CString& windowsPath, const std::function<void(const Element&)>& onRoot) {
    return scanElements(windowsPath, [&](const ScannedElement& element) {
        if (element.depth() == 0) {
            onRoot(element.element());
        }
    });
}

}  // namespace lum::xml
