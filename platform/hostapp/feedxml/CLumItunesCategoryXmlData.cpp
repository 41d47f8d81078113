#include "hostapp/feedxml/CLumItunesCategoryXmlData.h"

#include "hostapp/feedxml/XmlFile.h"
#include "hostapp/feedxml/XmlText.h"

CLumItunesCategoryXmlData::CLumItunesCategoryXmlData(const CString& path) {
    if (xmlDoc* doc = lum::xml::loadFile(path)) {
        m_document = std::make_unique<Document>(doc);
    }
}

CLumItunesCategoryXmlData::~CLumItunesCategoryXmlData() = default;

bool CLumItunesCategoryXmlData::IsOK() const {
    return bool(getTopNode());
}

Node CLumItunesCategoryXmlData::getTopNode() const {
    if (!m_document) {
        return Node();
    }
    Element top = m_document->getDocumentElement();
    return lum::xml::sameName(top.raw() ? top.raw()->name : nullptr, "itunescategories") ? Node(top)
                                                                                         : Node();
}

void CLumItunesCategoryXmlData::getCategoryNodeArray(Node node, NodeArray& categories) const {
    categories.clear();
    for (const Element& e : node.getChildElements()) {
        if (lum::xml::sameName(e.raw()->name, "category")) {
            categories.push_back(e);
        }
    }
}

bool CLumItunesCategoryXmlData::getCategoryName(Node node, CString& out) const {
    return Element(node).readAttribute(u"name", out);
}

bool CLumItunesCategoryXmlData::getCategoryLabel(Node node, CString& out) const {
    return Element(node).readAttribute(u"label", out);
}
