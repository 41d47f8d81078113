#include "hostapp/feedxml/DomDocument.h"

Document::~Document() {
    xmlFreeDoc(m_doc);
}

Element Document::getDocumentElement() const {
    return Element(xmlDocGetRootElement(m_doc));
}
