// Reading and writing XML files on Windows paths, safely.
#pragma once

#include "hostapp/feedxml/DomNode.h"
#include "hostapp/feedxml/XmlRepair.h"
#include "mfc/CString.h"

#include <libxml/tree.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lum::xml {

// Parses the file; null when it is missing, unreadable, not well-formed or
// the path maps to nothing. Never touches the network, never loads external
// entities or DTDs, and keeps libxml2's limits on entity expansion, so an
// entity bomb fails in bounded memory. The caller frees the result.
//
// A file that is not well-formed only because it uses HTML entity names it
// never declares, or declares an encoding its UTF-8 bytes are not in, is
// read all the same, with its text as it was meant (see XmlRepair.h); what
// was repaired goes to repairs. Nothing else is forgiven.
xmlDoc* loadFile(const CString& windowsPath, Repairs* repairs = nullptr);

// Which of our own bounds the file goes past (attributes per element, size
// of the declarations, text that entities expand to), in words for a
// message; null when it stays within them or cannot be read.
const char* exceededLimit(const CString& windowsPath);

// The root element of an XML file as a streaming parser meets it: its
// qualified name and its attributes, namespace declarations included
// ("xmlns:itunes"). Only the start of the file is read, so the rest of the
// file may still be malformed.
struct RootElement {
    CString name;
    std::vector<std::pair<CString, CString>> attributes;
    // The value of the attribute, its name compared without regard to case;
    // empty when absent.
    CString attribute(const char16_t* attributeName) const;
};
// nullopt when the file cannot be read or its start is not XML.
std::optional<RootElement> peekRootElement(const CString& windowsPath);

// One pass over the whole file that answers as loadFile would, without
// building the tree: true exactly when loadFile would give a document. On
// the way onRoot is called with the root element as the parser meets it (its
// name, attributes and namespace declarations; the handle is valid during
// the call only). Memory stays flat however large the file, except for a
// file that only a repair may read: loadFile's tree answers for it, and
// onRoot is then called once more with that tree's root; the last call
// stands.
bool scanFile(const CString& windowsPath, const std::function<void(const Element&)>& onRoot);

// An element as scanElements meets it: the element with its name, attributes
// and namespace declarations (its children are not there yet), and its depth
// (0 for the root). Valid during the call only.
class ScannedElement {
  public:
    ScannedElement(xmlNode* element, int depth, void* reader)
        : m_element(element), m_depth(depth), m_reader(reader) {}
    const Element& element() const { return m_element; }
    int depth() const { return m_depth; }
    // All the text below the element, as Node::getTextContent gives it on
    // the tree; its subtree is read for it.
    CString textContent() const;

    // The element with its whole subtree, read for it; the reader frees it
    // once the pass has gone past it.
    xmlNode* subtree() const;

  private:
    Element m_element;
    int m_depth;
    void* m_reader;
};

// The pass of scanFile with every element met in document order. When
// loadFile's tree answers instead (a file only a repair reads), the tree's
// elements follow from its root again: a call with depth 0 starts over.
bool scanElements(const CString& windowsPath,
                  const std::function<void(const ScannedElement&)>& onElement);

// What scanStrictly learnt of the file besides its elements.
struct StrictScan {
    // What loadFile gives: whether the file loads at all.
    bool loads = false;
    // As the tree's document holds it; empty when the file declares none.
    CString encoding;
    // Whether the file declares entities of its own, which loadFile inlines
    // into the tree: an element met in the pass may still hold references.
    bool declaresEntities = false;
    // Whether a carriage return may stand in a CDATA section as the pass
    // met it, where the tree has a line feed (a file in UTF-16 or UTF-32
    // that holds a 0x0D byte): the pass's texts are then not the tree's.
    bool carriageReturnsLeft = false;
};

// The pass of scanElements, the tree's answer never called in: nullopt for a
// file only loadFile's tree may answer for (one a repair might read), and
// then the elements met so far are to be forgotten; so too when the file
// does not load, which may show only after some elements.
//
// With opensUp, only the root and the elements opensUp names (given an
// element and its depth) are met with their children after them; every other
// element below them is met once, whole, with its subtree already read, and
// nothing below it is met. The file is then read by libxml2's own
// tree-building parse, as loadFile reads it; from the size parseAsideFrom
// says, on a thread of its own while onElement works in the caller's, and
// opensUp is called on the parse's thread: it must only look at the element.
// A file with a document type (whose entities the pass would have to follow
// into every element) is passed as without opensUp.
std::optional<StrictScan> scanStrictly(
    const CString& windowsPath, const std::function<void(const ScannedElement&)>& onElement,
    const std::function<bool(const xmlNode*, int)>& opensUp = {});

// The size from which scanStrictly parses a file on a thread of its own
// (256 KiB unless set): a smaller file is read sooner in one thread than a
// thread is started and handed its elements. Tests set 0 to take every file
// that way, and the largest size to take none. Returns the size set before.
std::uint64_t parseAsideFrom(std::uint64_t bytes);

// Writes the document to the path in the given encoding (empty: UTF-8),
// declaring it. Characters the encoding cannot hold become numeric character
// references; characters XML cannot carry are dropped. The file is replaced
// atomically: written to a temporary file in the same folder, flushed to
// disk, then renamed over the old one. false when anything fails, and then
// the old file is left exactly as it was.
bool saveFile(xmlDoc* doc, const CString& windowsPath, const CString& encoding);

// Whether saveFile would leave the file at the path with the bytes it holds
// now; the file is only read. false as well when either cannot be read.
bool savesSameBytes(xmlDoc* doc, const CString& windowsPath, const CString& encoding);

// The name saveFile declares for a document given this encoding when it
// writes the tree's UTF-8 as it is, whatever the document holds: some
// spelling of UTF-8 ("UTF-8", "utf-8"). Empty when it converts. Saved as
// "UTF-8", the characters XML cannot carry are dropped from the bytes
// written; under another spelling, from the tree before it is written.
std::string plainUtf8Output(const CString& encoding);

}  // namespace lum::xml
