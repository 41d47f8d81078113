#include "hostapp/CLumRssAbstract.h"

#include "hostapp/XmlFile.h"
#include "hostapp/XmlText.h"

#include <string>

using lum::xml::sameName;

namespace {

constexpr const char* kRss10NamespaceUri = "http://purl.org/rss/1.0/";

const xmlChar* utf8(const char* s) {
    return reinterpret_cast<const xmlChar*>(s);
}

}  // namespace

CLumRssAbstract::CLumRssAbstract(const CString& path, const char16_t* encoding) {
    if (!path.IsEmpty()) {
        lum::xml::Repairs repairs;
        if (xmlDoc* loaded = lum::xml::loadFile(path, &repairs)) {
            Document = std::make_unique<::Document>(loaded);
            m_encoding = lum::xml::toCString(loaded->encoding);
            m_repairs = repairs.names();
        }
        return;
    }
    m_encoding = encoding ? encoding : u"";
    Document = std::make_unique<::Document>(xmlNewDoc(utf8("1.0")));
}

CLumRssAbstract::~CLumRssAbstract() = default;

bool CLumRssAbstract::lumSxdSaveXmlData(const CString& path) {
    return lum::xml::saveFile(doc(), path, m_encoding);
}

Node CLumRssAbstract::root() const {
    return Node(doc() ? xmlDocGetRootElement(doc()) : nullptr);
}

bool CLumRssAbstract::isNamed(Node node, const FeedName& name) {
    xmlNode* n = node.raw();
    if (n == nullptr || n->type != XML_ELEMENT_NODE) {
        return false;
    }
    if (name.nsUri == nullptr) {
        // The feed's own vocabulary: no namespace, the default one, or RSS
        // 1.0's under whatever prefix a feed gives it ("rss:channel").
        return (n->ns == nullptr || n->ns->prefix == nullptr ||
                sameName(n->ns->href, kRss10NamespaceUri)) &&
               sameName(n->name, name.local);
    }
    if (n->ns == nullptr) {
        // A prefix that was never declared stays part of the name.
        return sameName(n->name, std::string(name.prefix) + ":" + name.local);
    }
    return sameName(n->name, name.local) &&
           (sameName(n->ns->href, name.nsUri) ||
            (n->ns->prefix != nullptr && sameName(n->ns->prefix, name.prefix)));
}

Node CLumRssAbstract::findChild(Node parent, const FeedName& name) {
    if (!parent) {
        return Node();
    }
    for (xmlNode* c = parent.raw()->children; c != nullptr; c = c->next) {
        if (isNamed(Node(c), name)) {
            return Node(c);
        }
    }
    return Node();
}

NodeArray CLumRssAbstract::findChildren(Node parent, const FeedName& name) {
    NodeArray out;
    if (parent) {
        for (xmlNode* c = parent.raw()->children; c != nullptr; c = c->next) {
            if (isNamed(Node(c), name)) {
                out.emplace_back(c);
            }
        }
    }
    return out;
}

bool CLumRssAbstract::getChildText(Node parent, const FeedName& name, CString& out) {
    Node child = findChild(parent, name);
    out = child.getTextContent();
    return bool(child);
}

bool CLumRssAbstract::getEscapedChildText(Node parent, const FeedName& name, CString& out) {
    bool found = getChildText(parent, name, out);
    out = lum::xml::escapeEntities(out);
    return found;
}

bool CLumRssAbstract::getChildAttribute(Node parent, const FeedName& name,
                                        const char16_t* attribute, CString& out) {
    Element child(findChild(parent, name));
    out = child.getAttribute(attribute);
    return child.hasAttribute(attribute);
}

void CLumRssAbstract::declareNamespace(const char* prefix, const char* uri) {
    xmlNode* r = root().raw();
    if (r == nullptr) {
        return;
    }
    for (xmlNs* ns = r->nsDef; ns != nullptr; ns = ns->next) {
        if (ns->prefix != nullptr && sameName(ns->prefix, prefix)) {
            return;
        }
    }
    xmlNewNs(r, utf8(uri), utf8(prefix));
}

Node CLumRssAbstract::appendChild(Node parent, const FeedName& name) {
    xmlDoc* d = doc();
    if (d == nullptr) {
        return Node();
    }
    xmlNode* p = parent.raw();
    if (p == nullptr && xmlDocGetRootElement(d) != nullptr) {
        return Node();
    }
    xmlNode* node = xmlNewDocNode(d, nullptr, utf8(name.local), nullptr);
    if (p == nullptr) {
        xmlDocSetRootElement(d, node);
    } else {
        xmlAddChild(p, node);
    }
    if (name.nsUri != nullptr) {
        xmlNs* ns = xmlSearchNsByHref(d, node, utf8(name.nsUri));
        if (ns == nullptr) {
            xmlNode* r = xmlDocGetRootElement(d);
            ns = xmlNewNs(r, utf8(name.nsUri), utf8(name.prefix));
        }
        xmlSetNs(node, ns);
    }
    return Node(node);
}

Node CLumRssAbstract::setChildText(Node parent, const FeedName& name, const CString& text) {
    if (!parent) {
        return Node();
    }
    Node child = findChild(parent, name);
    if (!child) {
        child = appendChild(parent, name);
    }
    child.setTextContent(text);
    return child;
}

Node CLumRssAbstract::setEscapedChildText(Node parent, const FeedName& name, const CString& text) {
    return setChildText(parent, name, lum::xml::unescapeEntities(text));
}
