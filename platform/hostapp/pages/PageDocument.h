// A page opened for editing: parsed once by the HTML5 parser into a libxml2
// tree whose nodes remember where in the file they came from, so that saving
// rewrites only what was changed and every other byte stays as it was.
#pragma once

#include "hostapp/feedxml/DomNode.h"
#include "hostapp/pages/PageSource.h"

#include <libxml/tree.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lum::page {

// Where a node of the page came from (node->_private). Offsets are into the
// page's UTF-8 text (PageSource::text). Nodes made after the page was read
// have none, or one with `original` false.
struct SourceNode {
    struct Attribute {
        std::string name;        // as written
        std::string value;       // decoded
        size_t sourceBegin = 0;  // the attribute's own text in the tag, name to value
        size_t sourceEnd = 0;
    };
    bool original = true;
    bool raw = false;    // a text node whose content is markup, written unescaped
    bool dirty = false;  // text whose bytes must be written anew
    // Text whose span also holds markup the parser passed over (an end tag
    // it ignored): the cursor never falls inside it.
    bool opaque = false;
    SourceNode* parent = nullptr;
    size_t begin = 0;  // the whole node
    size_t end = 0;
    size_t tagEnd = 0;      // elements: end of the start tag (begin when implied)
    size_t innerBegin = 0;  // elements: where the content lies
    size_t innerEnd = 0;
    bool hasTag = false;       // the start tag is written in the file
    bool hasEndTag = false;    // and so is the end tag
    bool selfClosing = false;  // the start tag ends in "/>"
    std::string name;          // elements: the tag name as written
    std::vector<Attribute> attributes;
    size_t contentHash = 0;  // text and comments: hashOfContent of the content as read
    bool reached = false;    // seen in the tree on the current save
};

class PageDocument {
  public:
    // nullopt, with a one-line reason in error, when the bytes are not an
    // HTML page this editor can keep intact: binary data, an encoding the
    // page does not declare (or bytes its declared encoding cannot read),
    // markup that is no HTML page, or a page past the parser's limits.
    static std::unique_ptr<PageDocument> read(std::string_view bytes, std::string& error);
    ~PageDocument();
    PageDocument(const PageDocument&) = delete;
    PageDocument& operator=(const PageDocument&) = delete;

    const PageSource& source() const { return m_source; }
    const std::string& text() const { return m_source.text(); }
    xmlDoc* doc() const { return m_doc; }
    Element root() const;
    // The head and body the parser placed (written in the file or implied).
    Element head() const;
    Element body() const;
    // The href of the page's first <base> element, as written; empty when
    // it has none. References in the page resolve against it.
    std::string baseHref() const;
    // XHTML pages get their new elements in lower case and their empty
    // elements closed with " />".
    bool isXhtml() const { return m_xhtml; }

    // The text offset of a 1-based line and column (columns count characters;
    // a line ends at LF, CR LF or CR; the column after a line's last character
    // is its end); nullopt when the position is outside the text.
    std::optional<size_t> offsetOfLineColumn(long line, long column) const;
    // The place in the tree of a text offset, as the editor's cursor: a text
    // node and a UTF-16 offset into its content, or an element and the index
    // of the child before which it stands. false outside the body.
    bool cursorAt(size_t textOffset, Node& node, long& offset) const;

    // A node made for the page: held by the page until it is put into the
    // tree, freed with the page when it never is.
    Element newElement(const std::string& name);
    Node newText(const std::string& utf8, bool raw);
    // Puts node into parent before `before` (appends when null), linking by
    // hand so that no text node is merged away under a caller's handle.
    static void insertBefore(Node parent, Node node, Node before);
    // Splits an original text node at a UTF-16 offset of its content; the
    // second half is returned (null when the offset is at either end).
    Node splitText(Node text, long offset);

    static SourceNode* sourceOf(const xmlNode* node) {
        return node ? static_cast<SourceNode*>(node->_private) : nullptr;
    }

    // The page's bytes with the tree's changes made: changed attributes
    // rewrite their tag, new nodes are written at their place, removed nodes
    // take their bytes with them. Everything else is the file's own bytes.
    std::string save(std::string_view originalBytes);

  private:
    PageDocument() = default;
    friend class PageTreeBuilder;

    PageSource m_source;
    xmlDoc* m_doc = nullptr;
    xmlNode* m_held = nullptr;  // parent of nodes not yet in the page
    std::deque<SourceNode> m_records;
    bool m_xhtml = false;
};

// Text and comment contents are compared by a hash: the tree holds the text.
size_t hashOfContent(std::string_view utf8);

// The lower-case names of the elements HTML writes without an end tag.
bool isVoidElement(std::string_view lowerName);
// The lower-case names of the elements whose content is text, never markup.
bool holdsRawText(std::string_view lowerName);

}  // namespace lum::page
