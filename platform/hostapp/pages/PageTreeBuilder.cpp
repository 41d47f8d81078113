// Turns the HTML5 parser's tree into the page's libxml2 tree, each node with
// the place in the file it came from.
#include "hostapp/pages/PageTreeBuilder.h"

#include "hostapp/pages/PageTextOffsets.h"
#include "mfc/CString.h"

#include <gumbo.h>

#include <algorithm>
#include <cctype>
#include <string_view>

namespace lum::page {

namespace {

const xmlChar* xml(const std::string& s) {
    return reinterpret_cast<const xmlChar*>(s.c_str());
}

bool written(const GumboStringPiece& piece) {
    return piece.data != nullptr && piece.length > 0;
}

// "<DiV class=x>" -> "DiV".
std::string nameAsWritten(const GumboStringPiece& tag) {
    std::string_view s(tag.data, tag.length);
    size_t from = s.empty() || s[0] != '<' ? 0 : 1;
    size_t to = from;
    while (to < s.size() && !std::isspace(static_cast<unsigned char>(s[to])) && s[to] != '/' &&
           s[to] != '>') {
        ++to;
    }
    return std::string(s.substr(from, to - from));
}

bool containsNoCase(std::string_view hay, std::string_view needle) {
    auto it = std::search(hay.begin(), hay.end(), needle.begin(), needle.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
    return it != hay.end();
}

}  // namespace

PageTreeBuilder::PageTreeBuilder(PageDocument& page, std::string_view text, std::string_view parsed,
                                 std::vector<ParsedInsertion> insertions)
    : m_page(page),
      m_text(text.data()),
      m_size(text.size()),
      m_parsed(parsed.data()),
      m_insertions(std::move(insertions)) {}

// The insertion that begins last before a place of the parsed text (they
// are in order), or none.
const ParsedInsertion* PageTreeBuilder::insertionBefore(size_t parsed) const {
    auto after = std::lower_bound(m_insertions.begin(), m_insertions.end(), parsed,
                                  [](const ParsedInsertion& i, size_t at) { return i.at < at; });
    return after == m_insertions.begin() ? nullptr : &*std::prev(after);
}

size_t PageTreeBuilder::offsetOf(const char* p) const {
    auto parsed = static_cast<size_t>(p - m_parsed);
    const ParsedInsertion* last = insertionBefore(parsed);
    if (last == nullptr) {
        return parsed;
    }
    // The text before the last insertion, then what follows it.
    size_t before = last->at - last->shiftBefore;
    return before + (parsed - last->at - std::min(last->length, parsed - last->at));
}

bool PageTreeBuilder::isInserted(const char* p) const {
    auto parsed = static_cast<size_t>(p - m_parsed);
    const ParsedInsertion* last = insertionBefore(parsed + 1);
    return last != nullptr && parsed < last->at + last->length;
}

SourceNode& PageTreeBuilder::record(xmlNode* node, SourceNode* parent) {
    SourceNode& r = m_page.m_records.emplace_back();
    r.parent = parent;
    node->_private = &r;
    return r;
}

xmlNode* PageTreeBuilder::makeElement(const GumboNode* g, SourceNode* parent) {
    const GumboElement& e = g->v.element;
    bool hasTag = written(e.original_tag) && e.original_tag.length > 1 &&
                  e.original_tag.data[0] == '<' && e.original_tag.data[1] != '/';
    std::string name = hasTag ? nameAsWritten(e.original_tag) : "";
    if (name.empty()) {
        name = e.tag == GUMBO_TAG_UNKNOWN ? "span" : gumbo_normalized_tagname(e.tag);
    }
    xmlNode* node = xmlNewDocNode(m_page.m_doc, nullptr, xml(name), nullptr);
    SourceNode& r = record(node, parent);
    r.name = name;
    r.hasTag = hasTag;
    if (hasTag) {
        r.begin = offsetOf(e.original_tag.data);
        r.tagEnd = r.begin + e.original_tag.length;
        std::string_view tag(e.original_tag.data, e.original_tag.length);
        r.selfClosing = tag.size() >= 2 && tag.substr(tag.size() - 2) == "/>";
        r.hasEndTag = written(e.original_end_tag) && !isInserted(e.original_end_tag.data);
        if (r.hasEndTag) {
            r.innerEnd = offsetOf(e.original_end_tag.data);
            r.end = r.innerEnd + e.original_end_tag.length;
        } else {
            r.innerEnd = r.end = r.tagEnd;  // widened by the content below
        }
        r.innerBegin = r.tagEnd;
        m_reach = std::max(m_reach, r.tagEnd);
    } else {
        // Placed where the parser made it up; widened by its content.
        r.begin = r.tagEnd = r.innerBegin = r.innerEnd = r.end = m_reach;
    }
    for (unsigned i = 0; i < e.attributes.length; ++i) {
        const auto* a = static_cast<const GumboAttribute*>(e.attributes.data[i]);
        SourceNode::Attribute attribute;
        attribute.name = written(a->original_name)
                             ? std::string(a->original_name.data, a->original_name.length)
                             : std::string(a->name);
        attribute.value = a->value;
        if (hasTag && written(a->original_name)) {
            const char* from = a->original_name.data;
            const char* to = written(a->original_value)
                                 ? a->original_value.data + a->original_value.length
                                 : a->original_name.data + a->original_name.length;
            attribute.sourceBegin = offsetOf(from);
            attribute.sourceEnd = offsetOf(to);
        }
        xmlNewProp(node, xml(attribute.name), xml(attribute.value));
        r.attributes.push_back(std::move(attribute));
    }
    return node;
}

// The parser gathers text until a node is made, passing over end tags it
// ignores ("</body>" before trailing white space): such a span is more than
// its text.
bool PageTreeBuilder::holdsMarkup(const SourceNode& r, std::string_view content) const {
    std::string_view span(m_text + r.begin, r.end - r.begin);
    bool tagLike = false;
    for (size_t at = span.find('<'); at != std::string_view::npos && at + 1 < span.size();
         at = span.find('<', at + 1)) {
        char next = span[at + 1];
        if (std::isalpha(static_cast<unsigned char>(next)) || next == '/' || next == '!' ||
            next == '?') {
            tagLike = true;
            break;
        }
    }
    if (!tagLike) {
        return false;
    }
    long contentUnits = CString::fromUtf8(std::string(content)).GetLength();
    return unitsBetween(std::string_view(m_text, m_size), r.begin, r.end) != contentUnits;
}

xmlNode* PageTreeBuilder::makeLeaf(const GumboNode* g, SourceNode* parent) {
    const GumboText& t = g->v.text;
    std::string content = t.text ? t.text : "";
    xmlNode* node =
        g->type == GUMBO_NODE_COMMENT
            ? xmlNewDocComment(m_page.m_doc, xml(content))
            : xmlNewDocTextLen(m_page.m_doc, xml(content), static_cast<int>(content.size()));
    SourceNode& r = record(node, parent);
    r.contentHash = hashOfContent(content);
    if (written(t.original_text)) {
        r.begin = offsetOf(t.original_text.data);
        r.end = offsetOf(t.original_text.data + t.original_text.length);
        // The parser reads CR LF as LF and may start the text at the LF: the
        // CR belongs to it all the same.
        if (r.begin > m_reach && m_text[r.begin] == '\n' && m_text[r.begin - 1] == '\r') {
            --r.begin;
        }
    } else {
        r.begin = r.end = m_reach;
    }
    r.innerBegin = r.tagEnd = r.begin;
    r.innerEnd = r.end;
    r.opaque = g->type != GUMBO_NODE_COMMENT && holdsMarkup(r, content);
    m_reach = std::max(m_reach, r.end);
    return node;
}

// Where what stands before the html element ends: the doctype, an XML
// declaration and comments. Elements the parser makes up with nothing of
// their own in the file are placed after it.
size_t PageTreeBuilder::prologueEnd() const {
    std::string_view text(m_text, m_size);
    size_t at = 0;
    for (;;) {
        at = text.find_first_not_of(" \t\r\n\f", at);
        if (at == std::string_view::npos) {
            return text.size();
        }
        std::string_view rest = text.substr(at);
        size_t close = std::string_view::npos;
        if (rest.substr(0, 4) == "<!--") {
            close = rest.find("-->");
            close = close == std::string_view::npos ? close : close + 3;
        } else if (rest.substr(0, 2) == "<?" ||
                   (rest.size() > 9 && containsNoCase(rest.substr(0, 9), "<!doctype"))) {
            close = rest.find('>');
            close = close == std::string_view::npos ? close : close + 1;
        }
        if (close == std::string_view::npos) {
            break;
        }
        at += close;
    }
    return at;
}

void PageTreeBuilder::build(const GumboOutput* output) {
    const GumboNode* htmlRoot = output->root;
    m_reach = prologueEnd();
    struct Pending {
        const GumboNode* node;
        xmlNode* parent;
    };
    // Document order without recursion: deep markup cannot exhaust the stack.
    std::vector<Pending> pending{{htmlRoot, nullptr}};
    std::vector<SourceNode*> order;
    while (!pending.empty()) {
        Pending p = pending.back();
        pending.pop_back();
        SourceNode* parentRecord = PageDocument::sourceOf(p.parent);
        xmlNode* node = nullptr;
        switch (p.node->type) {
            case GUMBO_NODE_ELEMENT:
            case GUMBO_NODE_TEMPLATE:
                node = makeElement(p.node, parentRecord);
                break;
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_CDATA:
            case GUMBO_NODE_WHITESPACE:
            case GUMBO_NODE_COMMENT:
                node = makeLeaf(p.node, parentRecord);
                break;
            default:
                continue;
        }
        order.push_back(PageDocument::sourceOf(node));
        if (p.parent == nullptr) {
            xmlDocSetRootElement(m_page.m_doc, node);
        } else {
            PageDocument::insertBefore(Node(p.parent), Node(node), Node());
        }
        if (node->type == XML_ELEMENT_NODE) {
            const GumboVector& children = p.node->v.element.children;
            for (unsigned i = children.length; i > 0; --i) {
                pending.push_back({static_cast<const GumboNode*>(children.data[i - 1]), node});
            }
        }
    }
    // Children before their parents: each widens its parent to hold it. An
    // implied element takes the span of its content; `reached` marks one that
    // has been given a child's span already.
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        SourceNode* r = *it;
        SourceNode* parent = r->parent;
        if (parent == nullptr) {
            continue;
        }
        if (!parent->hasTag) {
            parent->begin = parent->reached ? std::min(parent->begin, r->begin) : r->begin;
            parent->end = parent->reached ? std::max(parent->end, r->end) : r->end;
            parent->reached = true;
        } else {
            parent->end = std::max(parent->end, r->end);
        }
    }
    for (SourceNode* r : order) {
        r->reached = false;
        if (!r->hasTag) {
            r->tagEnd = r->innerBegin = r->begin;
            r->innerEnd = r->end;
        } else if (!r->hasEndTag) {
            r->innerEnd = r->end;
        }
    }
}

std::vector<ParsedInsertion> PageTreeBuilder::closeSelfClosed(const GumboOutput* output,
                                                              std::string_view text,
                                                              std::string& parsed) {
    struct Close {
        size_t at;  // in the text: the end of the start tag
        std::string name;
    };
    std::vector<Close> closes;
    std::vector<const GumboNode*> pending{output->root};
    while (!pending.empty()) {
        const GumboNode* n = pending.back();
        pending.pop_back();
        if (n->type != GUMBO_NODE_ELEMENT) {
            continue;
        }
        const GumboElement& e = n->v.element;
        // SVG and MathML elements honour "/>" in HTML too.
        if (e.tag_namespace == GUMBO_NAMESPACE_HTML && written(e.original_tag) &&
            e.original_tag.length > 3 && e.original_tag.data[0] == '<' &&
            std::string_view(e.original_tag.data + e.original_tag.length - 2, 2) == "/>" &&
            !isVoidElement(gumbo_normalized_tagname(e.tag))) {
            std::string name = nameAsWritten(e.original_tag);
            if (!name.empty()) {
                closes.push_back(
                    {static_cast<size_t>(e.original_tag.data - text.data()) + e.original_tag.length,
                     name});
            }
        }
        for (unsigned i = e.children.length; i > 0; --i) {
            pending.push_back(static_cast<const GumboNode*>(e.children.data[i - 1]));
        }
    }
    std::sort(closes.begin(), closes.end(),
              [](const Close& a, const Close& b) { return a.at < b.at; });
    std::vector<ParsedInsertion> insertions;
    parsed.clear();
    size_t from = 0;
    for (const Close& c : closes) {
        parsed.append(text.substr(from, c.at - from));
        std::string end = "</" + c.name + ">";
        size_t shift =
            insertions.empty() ? 0 : insertions.back().shiftBefore + insertions.back().length;
        insertions.push_back({parsed.size(), end.size(), shift});
        parsed += end;
        from = c.at;
    }
    parsed.append(text.substr(from));
    return insertions;
}

bool PageTreeBuilder::looksLikeXhtml(const GumboOutput* output, std::string_view text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && text.substr(first, 5) == "<?xml") {
        return true;
    }
    const GumboDocument& d = output->document->v.document;
    if (d.has_doctype && d.public_identifier && containsNoCase(d.public_identifier, "XHTML")) {
        return true;
    }
    const GumboAttribute* ns = gumbo_get_attribute(&output->root->v.element.attributes, "xmlns");
    return ns != nullptr && containsNoCase(ns->value, "xhtml");
}

}  // namespace lum::page
