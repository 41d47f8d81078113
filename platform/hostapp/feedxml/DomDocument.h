// An XML document: owns a libxml2 tree and frees it with itself.
#pragma once

#include "hostapp/feedxml/DomNode.h"

#include <libxml/tree.h>

class Document {
  public:
    // Takes ownership of doc, which must not be null.
    explicit Document(xmlDoc* doc) : m_doc(doc) {}
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // The root element, or a null handle when there is none.
    Element getDocumentElement() const;
    xmlDoc* raw() const { return m_doc; }

  private:
    xmlDoc* m_doc;
};
