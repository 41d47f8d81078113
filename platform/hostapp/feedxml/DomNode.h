// Handles on the nodes of a parsed or built XML tree (libxml2). A handle is a
// pointer-sized view that owns nothing; the tree belongs to its Document.
// Every call on a null handle is a safe no-op that gives an empty answer.
#pragma once

#include "mfc/CString.h"

#include <libxml/tree.h>

#include <vector>

class Element;

class Node {
  public:
    Node() = default;
    explicit Node(xmlNode* node) : m_node(node) {}

    explicit operator bool() const { return m_node != nullptr; }
    bool isNull() const { return m_node == nullptr; }
    bool isElement() const { return m_node && m_node->type == XML_ELEMENT_NODE; }
    xmlNode* raw() const { return m_node; }

    // The qualified name ("itunes:author", "title"); "#text" for text.
    CString getNodeName() const;
    CString getLocalName() const;
    // Empty when the node is in no namespace.
    CString getNamespaceURI() const;

    Node getParentNode() const;
    Node getFirstChild() const;
    Node getNextSibling() const;
    // The child elements in document order.
    std::vector<Element> getChildElements() const;

    // All text below the node, entity references expanded.
    CString getTextContent() const;
    // Whether getTextContent would give a text that is not empty.
    bool hasTextContent() const;
    // Replaces the node's children by one text node holding text verbatim
    // (no entity parsing). Characters XML cannot carry are dropped.
    void setTextContent(const CString& text) const;

    // Makes child (unlinked first when it has a parent) the last child.
    void appendChild(Node child) const;
    // Takes child out of this node and frees it: handles on it and on
    // anything below it are dangling afterwards.
    void removeChild(Node child) const;

    friend bool operator==(const Node& a, const Node& b) { return a.m_node == b.m_node; }

  protected:
    xmlNode* m_node = nullptr;
};

class Element : public Node {
  public:
    Element() = default;
    // Null unless node is an element.
    explicit Element(Node node) : Node(node.isElement() ? node.raw() : nullptr) {}
    explicit Element(xmlNode* node) : Element(Node(node)) {}

    CString getTagName() const { return getNodeName(); }

    // The value of the attribute with this qualified name, compared without
    // regard to case; empty when absent. "xmlns:p" and "xmlns" read the
    // namespace declarations on this element, where the parser keeps them.
    CString getAttribute(const CString& name) const;
    bool hasAttribute(const CString& name) const;
    // Both at once: whether the element has the attribute, its value into
    // out (empty when it has none).
    bool readAttribute(const CString& name, CString& out) const;
    // Sets or adds the attribute; a "p:name" whose prefix is declared in scope
    // goes into that namespace. Characters XML cannot carry are dropped.
    void setAttribute(const CString& name, const CString& value) const;
    void removeAttribute(const CString& name) const;
};

// Node lists that the feed documents fill, in document order.
using NodeArray = std::vector<Node>;
