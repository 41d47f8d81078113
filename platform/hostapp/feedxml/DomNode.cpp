#include "hostapp/feedxml/DomNode.h"

#include "hostapp/feedxml/XmlText.h"

#include <libxml/xmlstring.h>

#include <string>

using lum::xml::sameName;
using lum::xml::toCString;
using lum::xml::toXmlUtf8;

namespace {

const xmlChar* utf8(const std::string& s) {
    return reinterpret_cast<const xmlChar*>(s.c_str());
}

// Whether the attribute's qualified name ("prefix:local" or "local") is
// name, without regard to case. Compared in place: the enclosure of every
// item of a feed is looked up this way.
bool hasQualifiedName(const xmlAttr* attr, std::string_view name) {
    if (attr->ns != nullptr && attr->ns->prefix != nullptr) {
        size_t colon = name.find(':');
        return colon != std::string_view::npos &&
               sameName(attr->ns->prefix, name.substr(0, colon)) &&
               sameName(attr->name, name.substr(colon + 1));
    }
    return sameName(attr->name, name);
}

// text as toXmlUtf8 gives it, in a buffer the next call uses again: writers
// set text after text, each copied into the tree, and one buffer serves them
// all. The room of a long one is not held on to.
const std::string& narrowed(const CString& text) {
    thread_local std::string value;
    if (value.capacity() > (std::size_t{1} << 16)) {
        std::string().swap(value);
    }
    toXmlUtf8(text, value);
    return value;
}

xmlAttr* findAttr(xmlNode* node, std::string_view name) {
    for (xmlAttr* a = node->properties; a != nullptr; a = a->next) {
        if (hasQualifiedName(a, name)) {
            return a;
        }
    }
    return nullptr;
}

// The namespace declaration that "xmlns:p" or "xmlns" names, or null when
// the name is an ordinary attribute name or no such declaration is on the
// element.
xmlNs* findNsDecl(xmlNode* node, std::string_view name) {
    std::string_view prefix;
    if (name.size() >= 6 &&
        sameName(reinterpret_cast<const xmlChar*>("xmlns:"), name.substr(0, 6))) {
        prefix = name.substr(6);
    } else if (!sameName(reinterpret_cast<const xmlChar*>("xmlns"), name)) {
        return nullptr;
    }
    for (xmlNs* ns = node->nsDef; ns != nullptr; ns = ns->next) {
        bool match = prefix.empty() ? ns->prefix == nullptr
                                    : ns->prefix != nullptr && sameName(ns->prefix, prefix);
        if (match) {
            return ns;
        }
    }
    return nullptr;
}

}  // namespace

CString Node::getNodeName() const {
    if (m_node == nullptr) {
        return CString();
    }
    if (m_node->type == XML_TEXT_NODE) {
        return u"#text";
    }
    return CString::fromUtf8(lum::xml::qualifiedName(m_node));
}

CString Node::getLocalName() const {
    return m_node ? toCString(m_node->name) : CString();
}

CString Node::getNamespaceURI() const {
    return m_node && m_node->type == XML_ELEMENT_NODE && m_node->ns ? toCString(m_node->ns->href)
                                                                    : CString();
}

Node Node::getParentNode() const {
    return Node(m_node ? m_node->parent : nullptr);
}

Node Node::getFirstChild() const {
    return Node(m_node ? m_node->children : nullptr);
}

Node Node::getNextSibling() const {
    return Node(m_node ? m_node->next : nullptr);
}

std::vector<Element> Node::getChildElements() const {
    std::vector<Element> out;
    if (m_node != nullptr) {
        for (xmlNode* c = m_node->children; c != nullptr; c = c->next) {
            if (c->type == XML_ELEMENT_NODE) {
                out.emplace_back(c);
            }
        }
    }
    return out;
}

CString Node::getTextContent() const {
    if (m_node == nullptr) {
        return CString();
    }
    // Nearly every element of a feed holds one plain text node: its content
    // is the answer, without the copy xmlNodeGetContent would make.
    const xmlNode* only = m_node->children;
    if (m_node->type == XML_ELEMENT_NODE && only != nullptr && only->next == nullptr &&
        only->type == XML_TEXT_NODE) {
        return toCString(only->content);
    }
    xmlChar* text = xmlNodeGetContent(m_node);
    CString out = toCString(text);
    xmlFree(text);
    return out;
}

bool Node::hasTextContent() const {
    const xmlNode* only = m_node != nullptr ? m_node->children : nullptr;
    // The parser's texts are UTF-8, which is empty only when it has no bytes.
    if (m_node != nullptr && m_node->type == XML_ELEMENT_NODE && only != nullptr &&
        only->next == nullptr && only->type == XML_TEXT_NODE) {
        return only->content != nullptr && only->content[0] != 0;
    }
    return !getTextContent().IsEmpty();
}

void Node::setTextContent(const CString& text) const {
    if (m_node == nullptr) {
        return;
    }
    const std::string& value = narrowed(text);
    if (m_node->type != XML_ELEMENT_NODE) {
        // Text, comment and similar nodes keep their content verbatim.
        xmlNodeSetContent(m_node, utf8(value));
        return;
    }
    while (m_node->children != nullptr) {
        xmlNode* child = m_node->children;
        xmlUnlinkNode(child);
        xmlFreeNode(child);
    }
    if (!value.empty()) {
        xmlAddChild(m_node,
                    xmlNewDocTextLen(m_node->doc, utf8(value), static_cast<int>(value.size())));
    }
}

// Linked by hand: xmlAddChild merges a text child into a text node before it
// and frees it, which would leave the caller's handle dangling.
void Node::appendChild(Node child) const {
    xmlNode* c = child.raw();
    if (m_node == nullptr || c == nullptr || c == m_node) {
        return;
    }
    xmlUnlinkNode(c);
    if (c->doc != m_node->doc) {
        xmlSetTreeDoc(c, m_node->doc);
    }
    c->parent = m_node;
    c->prev = m_node->last;
    c->next = nullptr;
    if (m_node->last != nullptr) {
        m_node->last->next = c;
    } else {
        m_node->children = c;
    }
    m_node->last = c;
}

void Node::removeChild(Node child) const {
    xmlNode* c = child.raw();
    if (m_node == nullptr || c == nullptr || c->parent != m_node) {
        return;
    }
    xmlUnlinkNode(c);
    xmlFreeNode(c);
}

CString Element::getAttribute(const CString& name) const {
    CString value;
    readAttribute(name, value);
    return value;
}

bool Element::readAttribute(const CString& name, CString& out) const {
    out.Empty();
    if (m_node == nullptr) {
        return false;
    }
    std::string wanted = name.toUtf8();
    if (xmlNs* ns = findNsDecl(m_node, wanted)) {
        out = toCString(ns->href);
        return true;
    }
    // Not a declaration the parser recognised: "XMLNS:ITUNES" in capitals is
    // kept as an ordinary attribute, and names compare without regard to case.
    xmlAttr* attr = findAttr(m_node, wanted);
    if (attr == nullptr) {
        return false;
    }
    // A value that is one plain text node is read in place, as element text
    // is.
    const xmlNode* only = attr->children;
    if (only != nullptr && only->next == nullptr && only->type == XML_TEXT_NODE) {
        out = toCString(only->content);
        return true;
    }
    xmlChar* value = xmlNodeListGetString(m_node->doc, attr->children, 1);
    out = toCString(value);
    xmlFree(value);
    return true;
}

bool Element::hasAttribute(const CString& name) const {
    if (m_node == nullptr) {
        return false;
    }
    std::string wanted = name.toUtf8();
    if (findNsDecl(m_node, wanted) != nullptr) {
        return true;
    }
    return findAttr(m_node, wanted) != nullptr;
}

void Element::setAttribute(const CString& name, const CString& value) const {
    if (m_node == nullptr) {
        return;
    }
    std::string qname = name.toUtf8();
    const std::string& text = narrowed(value);
    if (xmlAttr* attr = findAttr(m_node, qname)) {
        // xmlSetNsProp stores the value verbatim, entities included.
        xmlSetNsProp(m_node, attr->ns, attr->name, utf8(text));
        return;
    }
    size_t colon = qname.find(':');
    if (colon != std::string::npos) {
        std::string prefix = qname.substr(0, colon);
        if (xmlNs* ns = xmlSearchNs(m_node->doc, m_node, utf8(prefix))) {
            xmlNewNsProp(m_node, ns, utf8(qname.substr(colon + 1)), utf8(text));
            return;
        }
    }
    xmlNewProp(m_node, utf8(qname), utf8(text));
}

void Element::removeAttribute(const CString& name) const {
    if (m_node == nullptr) {
        return;
    }
    if (xmlAttr* attr = findAttr(m_node, name.toUtf8())) {
        xmlRemoveProp(attr);
    }
}
