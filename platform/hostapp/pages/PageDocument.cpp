#include "hostapp/pages/PageDocument.h"

#include "hostapp/pages/PageLimits.h"
#include "hostapp/pages/PageText.h"
#include "hostapp/pages/PageTextOffsets.h"
#include "hostapp/pages/PageTreeBuilder.h"
#include "mfc/CString.h"

#include <gumbo.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace lum::page {

namespace {

// Editing holds the parser's tree, the page's tree and their records at
// once, many times the size of the page.
constexpr size_t kLargestEditedPage = 16u << 20;

const xmlChar* xml(const std::string& s) {
    return reinterpret_cast<const xmlChar*>(s.c_str());
}

bool isUtf8Label(std::string label) {
    for (char& c : label) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return label == "utf-8" || label == "utf8" || label == "us-ascii" || label == "ascii" ||
           label == "unicode-1-1-utf-8";
}

// Empty when every byte reads as a character of the encoding; else the reason.
std::string readsCleanly(std::string_view bytes, const std::string& label) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(label.c_str(), &status);
    if (U_FAILURE(status) || converter == nullptr) {
        return "the page declares an encoding newsdesk cannot read (" + label + ")";
    }
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    std::u16string units(bytes.size() + 1, u'\0');
    const char* source = bytes.data();
    UChar* target = units.data();
    ucnv_toUnicode(converter, &target, units.data() + units.size(), &source,
                   bytes.data() + bytes.size(), nullptr, true, &status);
    ucnv_close(converter);
    if (U_FAILURE(status)) {
        return "the page is not in the encoding it declares (" + label + ")";
    }
    return {};
}

// Empty when the bytes can be edited and saved in their own encoding.
std::string encodingProblem(std::string_view bytes) {
    if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
        return readsCleanly(bytes.substr(2), bytes[0] == '\xFF' ? "UTF-16LE" : "UTF-16BE");
    }
    if (std::memchr(bytes.data(), '\0', bytes.size()) != nullptr) {
        return "the file is binary, not an HTML page";
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        return isValidUtf8(bytes.substr(3)) ? ""
                                            : "the page is not in the encoding it declares (UTF-8)";
    }
    std::string label = declaredCharset(bytes);
    if (label.empty()) {
        // A guess would be saved back in the guessed encoding: better refuse.
        return isValidUtf8(bytes) ? "" : "the page does not declare its encoding and is not UTF-8";
    }
    if (isUtf8Label(label)) {
        return isValidUtf8(bytes) ? ""
                                  : "the page is not in the encoding it declares (" + label + ")";
    }
    return readsCleanly(bytes, label);
}

bool written(const GumboElement& e) {
    return e.original_tag.data != nullptr && e.original_tag.length > 0;
}

// A doctype naming html, or an html, head or body tag written in the file.
bool isHtmlPage(const GumboOutput* output) {
    const GumboDocument& d = output->document->v.document;
    if (d.has_doctype && d.name != nullptr && strcasecmp(d.name, "html") == 0) {
        return true;
    }
    if (written(output->root->v.element)) {
        return true;
    }
    const GumboVector& children = output->root->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (child->type == GUMBO_NODE_ELEMENT && written(child->v.element)) {
            return true;
        }
    }
    return false;
}

Element childNamed(xmlNode* parent, const char* name) {
    if (parent == nullptr) {
        return Element();
    }
    for (xmlNode* c = parent->children; c != nullptr; c = c->next) {
        if (c->type == XML_ELEMENT_NODE &&
            strcasecmp(reinterpret_cast<const char*>(c->name), name) == 0) {
            return Element(c);
        }
    }
    return Element();
}

// UTF-16 units of the text the parser decodes from a piece of a text node's
// span: for spans whose references the simple count cannot read ("&copy"
// without its semicolon).
long decodedUnits(std::string_view piece) {
    std::unique_ptr<GumboOutput, void (*)(GumboOutput*)> output(
        gumbo_parse_with_options(&kGumboDefaultOptions, piece.data(), piece.size()),
        [](GumboOutput* o) { gumbo_destroy_output(&kGumboDefaultOptions, o); });
    std::string text;
    std::vector<const GumboNode*> pending{output->root};
    while (!pending.empty()) {
        const GumboNode* n = pending.back();
        pending.pop_back();
        if (n->type == GUMBO_NODE_ELEMENT || n->type == GUMBO_NODE_TEMPLATE) {
            const GumboVector& children = n->v.element.children;
            for (unsigned i = children.length; i > 0; --i) {
                pending.push_back(static_cast<const GumboNode*>(children.data[i - 1]));
            }
        } else if (n->type != GUMBO_NODE_COMMENT && n->type != GUMBO_NODE_DOCUMENT) {
            text += n->v.text.text;
        }
    }
    return CString::fromUtf8(text).GetLength();
}

}  // namespace

bool isVoidElement(std::string_view name) {
    static constexpr std::string_view kVoid[] = {"area",  "base",   "br",    "col",  "embed",
                                                 "hr",    "img",    "input", "link", "meta",
                                                 "param", "source", "track", "wbr"};
    for (std::string_view v : kVoid) {
        if (v == name) {
            return true;
        }
    }
    return false;
}

size_t hashOfContent(std::string_view utf8) {
    return std::hash<std::string_view>()(utf8);
}

bool holdsRawText(std::string_view name) {
    static constexpr std::string_view kRaw[] = {"script",    "style",   "textarea", "title",
                                                "xmp",       "iframe",  "noembed",  "noframes",
                                                "plaintext", "noscript"};
    return std::find(std::begin(kRaw), std::end(kRaw), name) != std::end(kRaw);
}

std::unique_ptr<PageDocument> PageDocument::read(std::string_view bytes, std::string& error) {
    if (bytes.size() > kLargestEditedPage) {
        error = "the page is too large to edit (over 16 MB)";
        return nullptr;
    }
    if (std::string problem = encodingProblem(bytes); !problem.empty()) {
        error = problem;
        return nullptr;
    }
    std::optional<PageSource> source = PageSource::read(bytes, error);
    if (!source) {
        return nullptr;
    }
    if (!withinParseLimits(source->text())) {
        error = "the page is too deeply nested to edit";
        return nullptr;
    }
    std::unique_ptr<PageDocument> page(new PageDocument());
    page->m_source = std::move(*source);
    const std::string& text = page->m_source.text();
    std::unique_ptr<GumboOutput, void (*)(GumboOutput*)> output(
        gumbo_parse_with_options(&kGumboDefaultOptions, text.data(), text.size()),
        [](GumboOutput* o) { gumbo_destroy_output(&kGumboDefaultOptions, o); });
    if (!output || output->root == nullptr) {
        error = "the page cannot be parsed";
        return nullptr;
    }
    if (!isHtmlPage(output.get())) {
        error = "the file is not an HTML page (no doctype, html, head or body tag)";
        return nullptr;
    }
    page->m_doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    page->m_held =
        xmlNewDocNode(page->m_doc, nullptr, reinterpret_cast<const xmlChar*>("held"), nullptr);
    page->m_xhtml = PageTreeBuilder::looksLikeXhtml(output.get(), text);
    std::string parsed;
    std::vector<ParsedInsertion> insertions;
    if (page->m_xhtml) {
        insertions = PageTreeBuilder::closeSelfClosed(output.get(), text, parsed);
        if (!insertions.empty()) {
            output.reset(
                gumbo_parse_with_options(&kGumboDefaultOptions, parsed.data(), parsed.size()));
            if (!output || output->root == nullptr) {
                error = "the page cannot be parsed";
                return nullptr;
            }
        }
    }
    std::string_view parsedText = insertions.empty() ? std::string_view(text) : parsed;
    PageTreeBuilder(*page, text, parsedText, std::move(insertions)).build(output.get());
    return page;
}

PageDocument::~PageDocument() {
    if (m_held != nullptr) {
        xmlFreeNode(m_held);
    }
    if (m_doc != nullptr) {
        xmlFreeDoc(m_doc);
    }
}

Element PageDocument::root() const {
    return Element(xmlDocGetRootElement(m_doc));
}

Element PageDocument::head() const {
    return childNamed(root().raw(), "head");
}

Element PageDocument::body() const {
    return childNamed(root().raw(), "body");
}

std::string PageDocument::baseHref() const {
    Element headElement = head();
    for (Element e : headElement.getChildElements()) {
        if (e.getTagName().CompareNoCase(u"base") == 0 && e.hasAttribute(u"href")) {
            CString href = e.getAttribute(u"href");
            href.Trim();
            return href.toUtf8();
        }
    }
    return {};
}

std::optional<size_t> PageDocument::offsetOfLineColumn(long line, long column) const {
    const std::string& t = text();
    if (line < 1 || column < 1) {
        return std::nullopt;
    }
    size_t at = 0;
    for (long l = 1; l < line; ++l) {
        size_t end = t.find_first_of("\r\n", at);
        if (end == std::string::npos) {
            return std::nullopt;
        }
        at = end + (t[end] == '\r' && end + 1 < t.size() && t[end + 1] == '\n' ? 2 : 1);
    }
    for (long c = 1; c < column; ++c) {
        if (at >= t.size() || t[at] == '\r' || t[at] == '\n') {
            return std::nullopt;
        }
        at = nextCharacter(t, at);
    }
    return at;
}

bool PageDocument::cursorAt(size_t p, Node& node, long& offset) const {
    Element bodyElement = body();
    const SourceNode* b = sourceOf(bodyElement.raw());
    if (b == nullptr || p < b->innerBegin || p > (b->hasEndTag ? b->innerEnd : b->end)) {
        return false;
    }
    xmlNode* in = bodyElement.raw();
    for (;;) {
        long index = 0;
        bool descended = false;
        for (xmlNode* c = in->children; c != nullptr; c = c->next, ++index) {
            const SourceNode* r = sourceOf(c);
            if (r == nullptr || !r->original) {
                continue;
            }
            if (c->type == XML_TEXT_NODE && !r->opaque && r->begin <= p && p <= r->end) {
                node = Node(c);
                long units =
                    CString::fromUtf8(c->content ? reinterpret_cast<const char*>(c->content) : "")
                        .GetLength();
                offset = unitsBetween(text(), r->begin, p);
                if (unitsBetween(text(), r->begin, r->end) != units) {
                    offset = std::min(units, decodedUnits(text().substr(r->begin, p - r->begin)));
                }
                return true;
            }
            if (p <= r->begin && (r->hasTag || c->type != XML_ELEMENT_NODE || p < r->begin)) {
                break;  // the cursor stands before this child
            }
            if (p >= r->end) {
                continue;
            }
            if (c->type != XML_ELEMENT_NODE) {
                break;  // inside a comment (or text holding markup): before it
            }
            std::string lower = r->name;
            for (char& ch : lower) {
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            }
            // Markup cannot go into an empty element, nor into text that is
            // not markup (scripts, styles, text areas): before it, then.
            if (isVoidElement(lower) || r->selfClosing || holdsRawText(lower)) {
                break;
            }
            if (r->hasTag && p < r->tagEnd) {
                node = Node(c);
                offset = 0;
                return true;
            }
            if (r->hasEndTag && p >= r->innerEnd) {
                node = Node(c);
                offset = 0;
                for (xmlNode* k = c->children; k != nullptr; k = k->next) {
                    ++offset;
                }
                return true;
            }
            in = c;
            descended = true;
            break;
        }
        if (!descended) {
            node = Node(in);
            offset = index;
            return true;
        }
    }
}

Element PageDocument::newElement(const std::string& name) {
    xmlNode* node = xmlNewDocNode(m_doc, nullptr, xml(name), nullptr);
    insertBefore(Node(m_held), Node(node), Node());
    return Element(node);
}

Node PageDocument::newText(const std::string& utf8, bool raw) {
    xmlNode* node = xmlNewDocTextLen(m_doc, xml(utf8), static_cast<int>(utf8.size()));
    if (raw) {
        SourceNode& r = m_records.emplace_back();
        r.original = false;
        r.raw = true;
        node->_private = &r;
    }
    insertBefore(Node(m_held), Node(node), Node());
    return Node(node);
}

void PageDocument::insertBefore(Node parentNode, Node childNode, Node beforeNode) {
    xmlNode* parent = parentNode.raw();
    xmlNode* child = childNode.raw();
    xmlNode* before = beforeNode.raw();
    if (parent == nullptr || child == nullptr || child == parent ||
        (before != nullptr && before->parent != parent) || before == child) {
        return;
    }
    for (xmlNode* up = parent; up != nullptr; up = up->parent) {
        if (up == child) {
            return;  // a node cannot go inside itself
        }
    }
    xmlUnlinkNode(child);
    if (child->doc != parent->doc) {
        xmlSetTreeDoc(child, parent->doc);
    }
    child->parent = parent;
    child->next = before;
    child->prev = before ? before->prev : parent->last;
    if (child->prev != nullptr) {
        child->prev->next = child;
    } else {
        parent->children = child;
    }
    if (before != nullptr) {
        before->prev = child;
    } else {
        parent->last = child;
    }
}

Node PageDocument::splitText(Node textNode, long offset) {
    xmlNode* t = textNode.raw();
    if (t == nullptr || t->type != XML_TEXT_NODE || t->parent == nullptr || offset <= 0) {
        return Node();
    }
    std::string content = t->content ? reinterpret_cast<const char*>(t->content) : "";
    size_t cut = utf8OffsetOfUnits(content, offset);
    if (cut == 0 || cut >= content.size()) {
        return Node();
    }
    xmlNode* second =
        xmlNewDocTextLen(m_doc, xml(content.substr(cut)), static_cast<int>(content.size() - cut));
    xmlNodeSetContentLen(t, xml(content), static_cast<int>(cut));
    insertBefore(Node(t->parent), Node(second), Node(t->next));
    SourceNode* r = sourceOf(t);
    if (r == nullptr || !r->original) {
        return Node(second);
    }
    std::optional<size_t> at = sourceOffsetOfUnits(text(), r->begin, r->end, content, offset);
    if (!at) {
        // The file's spelling of the text cannot be split at the same place
        // (character references): the first half is written anew, the second
        // is a new node.
        r->dirty = true;
        r->contentHash = hashOfContent(std::string_view(content).substr(0, cut));
        return Node(second);
    }
    SourceNode& r2 = m_records.emplace_back(*r);
    r2.begin = r2.innerBegin = r2.tagEnd = *at;
    r2.contentHash = hashOfContent(std::string_view(content).substr(cut));
    second->_private = &r2;
    r->end = r->innerEnd = *at;
    r->contentHash = hashOfContent(std::string_view(content).substr(0, cut));
    return Node(second);
}

}  // namespace lum::page
