#include "hostapp/feedxml/IndentedUtf8.h"

#include <libxml/encoding.h>
#include <libxml/globals.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace lum::xml {

namespace {

constexpr std::size_t kBlock = std::size_t{1} << 16;
// libxml2 indents by its indent string, two spaces, at most thirty times.
constexpr int kMostIndents = 30;
constexpr char kSpaces[] = "                                                            ";
static_assert(sizeof kSpaces - 1 == 2 * kMostIndents);

}  // namespace

// The walk of libxml2's xmlNodeDumpOutputInternal (format 1, no converter),
// its bytes gathered into blocks for the sink.
class IndentedUtf8Writer {
  public:
    explicit IndentedUtf8Writer(ByteSink& sink, const xmlNode* marked = nullptr)
        : m_sink(sink), m_block(new char[kBlock]), m_marked(marked) {}

    bool stopped() const { return m_stopped; }

    bool declaration(const xmlDoc* doc, const char* encoding) {
        put("<?xml version=");
        if (doc->version != nullptr) {
            quoted(chars(doc->version));
        } else {
            put("\"1.0\"");
        }
        put(" encoding=");
        quoted(encoding);
        if (doc->standalone == 0) {
            put(" standalone=\"no\"");
        } else if (doc->standalone == 1) {
            put(" standalone=\"yes\"");
        }
        return put("?>\n");
    }

    // A child of the document, or an element level elements deep, and all
    // below it; false when it is not ours to write or the sink stopped.
    bool topLevel(const xmlDoc* doc, const xmlNode* root, int level = 0) {
        m_level = level;
        m_format = true;
        const xmlNode* cur = root;
        const xmlNode* parent = cur->parent;
        const xmlNode* unformatted = nullptr;
        while (!m_stopped) {
            switch (cur->type) {
                case XML_ELEMENT_NODE:
                    if (cur->name == nullptr ||
                        (cur->parent != parent && cur->children != nullptr)) {
                        return false;
                    }
                    if (cur != root && m_format) {
                        indent();
                    }
                    put("<");
                    qualifiedName(cur);
                    for (const xmlNs* ns = cur->nsDef; ns != nullptr; ns = ns->next) {
                        namespaceDeclaration(ns);
                    }
                    for (const xmlAttr* a = cur->properties; a != nullptr; a = a->next) {
                        if (a->name == nullptr || a->doc != doc) {
                            return false;
                        }
                        attribute(a);
                    }
                    if (cur->children == nullptr) {
                        put("/>");
                        break;
                    }
                    // An element holding text is written as it stands, its
                    // children neither indented nor on lines of their own.
                    if (m_format) {
                        for (const xmlNode* c = cur->children; c != nullptr; c = c->next) {
                            if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE ||
                                c->type == XML_ENTITY_REF_NODE) {
                                m_format = false;
                                unformatted = cur;
                                break;
                            }
                        }
                    }
                    put(m_format ? ">\n" : ">");
                    ++m_level;
                    parent = cur;
                    cur = cur->children;
                    continue;
                case XML_TEXT_NODE:
                    if (cur->content != nullptr) {
                        if (cur->name != xmlStringTextNoenc) {
                            escaped(chars(cur->content), "<>&\r");
                        } else {
                            put(chars(cur->content));
                        }
                    }
                    break;
                case XML_PI_NODE:
                    if (cur != root && m_format) {
                        indent();
                    }
                    put("<?");
                    put(chars(cur->name));
                    if (cur->content != nullptr) {
                        put(" ");
                        put(chars(cur->content));
                    }
                    put("?>");
                    break;
                case XML_COMMENT_NODE:
                    if (cur != root && m_format) {
                        indent();
                    }
                    if (cur->content != nullptr) {
                        put("<!--");
                        put(chars(cur->content));
                        put("-->");
                    }
                    break;
                case XML_ENTITY_REF_NODE:
                    put("&");
                    put(chars(cur->name));
                    put(";");
                    break;
                case XML_CDATA_SECTION_NODE:
                    cdata(cur->content);
                    break;
                default:
                    // Document types, declarations, fragments, inclusion
                    // marks: not in a feed we build.
                    return false;
            }
            while (true) {
                if (cur == root) {
                    return !m_stopped;
                }
                if (m_format) {
                    put("\n");
                }
                if (cur->next != nullptr) {
                    cur = cur->next;
                    break;
                }
                cur = parent;
                parent = cur->parent;
                if (cur->type == XML_ELEMENT_NODE) {
                    if (m_level > 0) {
                        --m_level;
                    }
                    if (cur == m_marked && m_format && !(finish() && m_sink.mark())) {
                        m_stopped = true;
                        return false;
                    }
                    if (m_format) {
                        indent();
                    }
                    put("</");
                    qualifiedName(cur);
                    put(">");
                    if (cur == unformatted) {
                        m_format = true;
                        unformatted = nullptr;
                    }
                }
            }
        }
        return false;
    }

    bool finish() {
        if (!m_stopped && m_used > 0) {
            m_stopped = !m_sink.take(m_block.get(), m_used);
            m_used = 0;
        }
        return !m_stopped;
    }

    // Nothing for a missing name, as libxml2's writer.
    bool put(const char* s) { return s == nullptr ? !m_stopped : put(s, std::strlen(s)); }

    bool put(const char* s, std::size_t n) {
        while (n > kBlock - m_used) {
            std::size_t room = kBlock - m_used;
            std::memcpy(m_block.get() + m_used, s, room);
            s += room;
            n -= room;
            m_used = kBlock;
            if (!finish()) {
                return false;
            }
        }
        std::memcpy(m_block.get() + m_used, s, n);
        m_used += n;
        return !m_stopped;
    }

  private:
    void indent() { put(kSpaces, 2 * static_cast<std::size_t>(std::min(m_level, kMostIndents))); }

    void qualifiedName(const xmlNode* element) {
        if (element->ns != nullptr && element->ns->prefix != nullptr) {
            put(chars(element->ns->prefix));
            put(":");
        }
        put(chars(element->name));
    }

    void namespaceDeclaration(const xmlNs* ns) {
        if (ns->type != XML_LOCAL_NAMESPACE || ns->href == nullptr ||
            (ns->prefix != nullptr && std::strcmp(chars(ns->prefix), "xml") == 0)) {
            return;
        }
        if (ns->prefix != nullptr) {
            put(" xmlns:");
            put(chars(ns->prefix));
            put("=");
        } else {
            put(" xmlns=");
        }
        quoted(chars(ns->href));
    }

    void attribute(const xmlAttr* a) {
        put(" ");
        if (a->ns != nullptr && a->ns->prefix != nullptr) {
            put(chars(a->ns->prefix));
            put(":");
        }
        put(chars(a->name));
        put("=\"");
        for (const xmlNode* c = a->children; c != nullptr; c = c->next) {
            if (c->type == XML_TEXT_NODE) {
                if (c->content != nullptr) {
                    escaped(chars(c->content), "\n\r\t\"<>&");
                }
            } else if (c->type == XML_ENTITY_REF_NODE) {
                put("&");
                put(chars(c->name));
                put(";");
            }
        }
        put("\"");
    }

    // As xmlBufWriteQuotedString: in double quotes unless the value holds
    // one, then in single quotes unless it holds both.
    void quoted(const char* s) {
        if (std::strchr(s, '"') == nullptr) {
            put("\"");
            put(s);
            put("\"");
        } else if (std::strchr(s, '\'') == nullptr) {
            put("'");
            put(s);
            put("'");
        } else {
            put("\"");
            escaped(s, "\"");
            put("\"");
        }
    }

    // s with each of the characters in specials as its reference. Text
    // escapes "<>&\r", attribute values "\n\r\t\"<>&" as well; the document's
    // encoding is set while libxml2 writes it, so characters beyond ASCII go
    // out as they are in both.
    void escaped(const char* s, const char* specials) {
        while (true) {
            std::size_t n = std::strcspn(s, specials);
            put(s, n);
            s += n;
            if (*s == '\0') {
                return;
            }
            put(reference(*s));
            ++s;
        }
    }

    static const char* reference(char c) {
        switch (c) {
            case '<':
                return "&lt;";
            case '>':
                return "&gt;";
            case '&':
                return "&amp;";
            case '"':
                return "&quot;";
            case '\n':
                return "&#10;";
            case '\r':
                return "&#13;";
            default:
                return "&#9;";
        }
    }

    // A "]]>" in the text ends one section after its "]]" and starts the
    // next with its ">".
    void cdata(const xmlChar* content) {
        if (content == nullptr || *content == '\0') {
            put("<![CDATA[]]>");
            return;
        }
        const char* start = chars(content);
        for (const char* end; (end = std::strstr(start, "]]>")) != nullptr; start = end + 2) {
            put("<![CDATA[");
            put(start, static_cast<std::size_t>(end + 2 - start));
            put("]]>");
        }
        if (*start != '\0') {
            put("<![CDATA[");
            put(start);
            put("]]>");
        }
    }

    ByteSink& m_sink;
    std::unique_ptr<char[]> m_block;
    std::size_t m_used = 0;
    bool m_stopped = false;
    const xmlNode* m_marked;
    bool m_format = true;
    int m_level = 0;
};

namespace {

// The settings libxml2 reads as it indents, as they come.
bool indentsAsItComes() {
    return xmlIndentTreeOutput == 1 && xmlSaveNoEmptyTags == 0 && xmlTreeIndentString != nullptr &&
           std::strcmp(xmlTreeIndentString, "  ") == 0;
}

}  // namespace

bool SavedBytesSink::take(const char* data, std::size_t size) {
    std::string_view block(data, size);
    if (!m_dropping || m_dropper.passes(block)) {
        return takeSaved(block);
    }
    m_kept.clear();
    m_dropper.take(block, m_kept);
    return takeSaved(m_kept);
}

bool SavedBytesSink::takeHeld() {
    m_kept.clear();
    m_dropper.finish(m_kept);
    return takeSaved(m_kept);
}

IndentedUtf8 writeIndentedUtf8(const xmlDoc* doc, ByteSink& sink, const char* declaredEncoding,
                               const xmlNode* marked) {
    if (declaredEncoding == nullptr ||
        xmlParseCharEncoding(declaredEncoding) != XML_CHAR_ENCODING_UTF8 || doc == nullptr ||
        doc->type != XML_DOCUMENT_NODE || doc->intSubset != nullptr || !indentsAsItComes()) {
        return IndentedUtf8::NotOurs;
    }
    IndentedUtf8Writer writer(sink, marked);
    writer.declaration(doc, declaredEncoding);
    for (const xmlNode* child = doc->children; child != nullptr && !writer.stopped();
         child = child->next) {
        if (!writer.topLevel(doc, child)) {
            return writer.stopped() ? IndentedUtf8::Stopped : IndentedUtf8::NotOurs;
        }
        writer.put("\n");
    }
    return writer.finish() ? IndentedUtf8::Written : IndentedUtf8::Stopped;
}

IndentedUtf8Elements::IndentedUtf8Elements(ByteSink& sink)
    : m_writer(std::make_unique<IndentedUtf8Writer>(sink)) {}

IndentedUtf8Elements::~IndentedUtf8Elements() = default;

IndentedUtf8 IndentedUtf8Elements::write(const xmlNode* element, int level) {
    if (element == nullptr || element->type != XML_ELEMENT_NODE || element->doc == nullptr ||
        level < 1 || !indentsAsItComes()) {
        return IndentedUtf8::NotOurs;
    }
    IndentedUtf8Writer& writer = *m_writer;
    if (writer.stopped()) {
        return IndentedUtf8::Stopped;
    }
    writer.put(kSpaces, 2 * static_cast<std::size_t>(std::min(level, kMostIndents)));
    if (!writer.topLevel(element->doc, element, level)) {
        return writer.stopped() ? IndentedUtf8::Stopped : IndentedUtf8::NotOurs;
    }
    writer.put("\n");
    return writer.finish() ? IndentedUtf8::Written : IndentedUtf8::Stopped;
}

}  // namespace lum::xml
