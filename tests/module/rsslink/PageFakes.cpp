#include "PageFakes.h"

#include "hostapp/LumSiteMgr.h"
#include "hostapp/UrlUtil.h"

#include <strings.h>

namespace rltest {

namespace {

const char* nameOf(int typeId) {
    return typeId == kHtmlTypeAnchor ? "A" : typeId == kHtmlTypeImage ? "IMG" : "SPAN";
}

bool named(xmlNode* node, const char* name) {
    return node != nullptr && node->type == XML_ELEMENT_NODE &&
           ::strcasecmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

const xmlChar* xml(const char* s) {
    return reinterpret_cast<const xmlChar*>(s);
}

template <typename Visit>
void walk(xmlNode* node, Visit&& visit) {
    for (xmlNode* child = node ? node->children : nullptr; child != nullptr; child = child->next) {
        visit(child);
        walk(child, visit);
    }
}

xmlNode* findNamed(xmlNode* root, const char* name) {
    xmlNode* found = nullptr;
    walk(root, [&](xmlNode* n) {
        if (found == nullptr && named(n, name)) {
            found = n;
        }
    });
    return found;
}

bool isFeedLink(xmlNode* n) {
    Element e(n);
    return named(n, "link") && e.getAttribute(u"rel").CompareNoCase(u"alternate") == 0 &&
           e.getAttribute(u"type").CompareNoCase(u"application/rss+xml") == 0;
}

bool namesFeed(xmlNode* n, const CString& a, const CString& b, const CString& c) {
    CString href = Element(n).getAttribute(u"href");
    return isFeedLink(n) && ((!a.IsEmpty() && href == a) || (!b.IsEmpty() && href == b) ||
                             (!c.IsEmpty() && href == c));
}

void dump(xmlNode* node, std::string& out) {
    for (xmlNode* n = node->children; n != nullptr; n = n->next) {
        if (n->type == XML_TEXT_NODE) {
            out += reinterpret_cast<const char*>(n->content);
        } else if (n->type == XML_ELEMENT_NODE) {
            out += "<" + std::string(reinterpret_cast<const char*>(n->name));
            for (xmlAttr* a = n->properties; a != nullptr; a = a->next) {
                xmlChar* value = xmlNodeListGetString(n->doc, a->children, 1);
                out += " " + std::string(reinterpret_cast<const char*>(a->name)) + "=\"" +
                       (value ? reinterpret_cast<const char*>(value) : "") + "\"";
                xmlFree(value);
            }
            out += ">";
            dump(n, out);
            out += "</" + std::string(reinterpret_cast<const char*>(n->name)) + ">";
        }
    }
}

}  // namespace

FakeDom::FakeDom(xmlDoc* doc)
    : m_doc(doc), m_unplaced(xmlNewDocNode(doc, nullptr, xml("unplaced"), nullptr)) {}

FakeDom::~FakeDom() {
    freeUnplaced();
}

// Before the document goes: the nodes share its dictionary of names.
void FakeDom::freeUnplaced() {
    xmlFreeNode(m_unplaced);
    m_unplaced = nullptr;
}

Element FakeDom::createElementbyId(int typeId) {
    Element made(xmlNewDocNode(m_doc, nullptr, xml(nameOf(typeId)), nullptr));
    Node(m_unplaced).appendChild(made);
    return made;
}

Node FakeDom::createTextNodeUt(const CString& text, bool) {
    Node made(xmlNewDocText(m_doc, xml(text.toUtf8().c_str())));
    Node(m_unplaced).appendChild(made);
    return made;
}

// Splits a text node at the cursor (tests keep to ASCII text) or inserts
// before the element's child at the offset.
bool FakeDom::insertElement(Node node, long offset, int, Element element, bool, bool) {
    ++inserts;
    xmlNode* at = node.raw();
    xmlNode* e = element.raw();
    if (at == nullptr || e == nullptr) {
        return false;
    }
    if (at->type == XML_TEXT_NODE) {
        std::string text = reinterpret_cast<const char*>(at->content);
        size_t cut = std::min(text.size(), static_cast<size_t>(offset));
        xmlNodeSetContent(at, xml(text.substr(0, cut).c_str()));
        xmlNode* tail = xmlNewDocText(m_doc, xml(text.substr(cut).c_str()));
        xmlAddNextSibling(at, e);
        xmlAddNextSibling(e, tail);
        return true;
    }
    xmlNode* before = at->children;
    for (long i = 0; i < offset && before != nullptr; ++i) {
        before = before->next;
    }
    if (before != nullptr) {
        xmlAddPrevSibling(before, e);
    } else {
        Node(at).appendChild(element);
    }
    return true;
}

bool FakeDom::deleteAllChild(Element element, bool) {
    while (xmlNode* child = element.raw() ? element.raw()->children : nullptr) {
        element.removeChild(Node(child));
    }
    return true;
}

NodeArray FakeDom::getTextNodes(Element element) {
    NodeArray out;
    walk(element.raw(), [&](xmlNode* n) {
        if (n->type == XML_TEXT_NODE) {
            out.emplace_back(n);
        }
    });
    return out;
}

NodeArray FakeDom::getChildElementsByID(Element parent, int typeId) {
    NodeArray out;
    walk(parent.raw(), [&](xmlNode* n) {
        if (named(n, nameOf(typeId))) {
            out.emplace_back(n);
        }
    });
    return out;
}

bool FakeDom::hasRssLink(const CString& feedUrl, const CString& relative, const CString& siteUrl,
                         Node) {
    asked.push_back({feedUrl, relative, siteUrl});
    bool found = false;
    walk(xmlDocGetRootElement(m_doc),
         [&](xmlNode* n) { found = found || namesFeed(n, feedUrl, relative, siteUrl); });
    return found;
}

bool FakeDom::setRssLink(const CString& feedUrl, const CString& relative, const CString& siteUrl,
                         bool, Node) {
    added.push_back({feedUrl, relative, siteUrl});
    xmlNode* head = findNamed(xmlDocGetRootElement(m_doc), "head");
    if (head == nullptr) {
        return false;
    }
    Element link(xmlNewDocNode(m_doc, nullptr, xml("link"), nullptr));
    link.setAttribute(u"rel", u"alternate");
    link.setAttribute(u"type", u"application/rss+xml");
    link.setAttribute(u"href", relative.IsEmpty() ? feedUrl : relative);
    Node(head).appendChild(link);
    return true;
}

bool FakeDom::removeRssLink(const CString& feedUrl, const CString& relative, const CString& siteUrl,
                            Node) {
    removed.push_back({feedUrl, relative, siteUrl});
    std::vector<xmlNode*> links;
    walk(xmlDocGetRootElement(m_doc), [&](xmlNode* n) {
        if (namesFeed(n, feedUrl, relative, siteUrl)) {
            links.push_back(n);
        }
    });
    for (xmlNode* n : links) {
        Node(n->parent).removeChild(Node(n));
    }
    return !links.empty();
}

Element FakeDoc::isTagExist(int typeId, Node start) {
    for (xmlNode* n = start ? start.raw() : cursor.raw(); n != nullptr; n = n->parent) {
        if (named(n, nameOf(typeId))) {
            return Element(n);
        }
    }
    return Element();
}

bool FakeDoc::getCursorPos(Node& node, long& off) {
    node = cursor;
    off = offset;
    return !cursor.isNull();
}

CString FakeDoc::getFullPath(const CString& reference) {
    if (!urlScheme(reference).IsEmpty()) {
        return reference;
    }
    CString path = folder + reference;
    path.Replace(u'/', u'\\');
    return path;
}

CString FakeDoc::GetSampleFile(int fileType, CWnd*) {
    sampleTypes.push_back(fileType);
    return sampleFile;
}

FakePage::FakePage(const std::string& markup, CString pageFile, CString siteRoot, CString siteUrl)
    : html(htmlReadMemory(markup.data(), static_cast<int>(markup.size()), nullptr, "UTF-8",
                          HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET)),
      dom(html) {
    SITE_INFO info;
    info.siteName = u"Ann";
    info.rootFolder = siteRoot;
    info.siteUrl = siteUrl;
    info.topPage = u"index.html";
    m_site = lum::newSiteIF(info, false);
    m_location = cat_file_colon(pageFile);
    m_address = LumSiteMgr::getMySiteUrl(m_site, pageFile);
    doc.folder = pageFile.Left(pageFile.ReverseFind(u'\\') + 1);
}

FakePage::~FakePage() {
    m_site->release();
    dom.freeUnplaced();
    xmlFreeDoc(html);
}

Element FakePage::getFreeLayoutContainer(int) {
    return freeLayoutContainer;
}

void FakePage::notifyChange(int, unsigned code, int) {
    notices.push_back(code);
}

CString FakePage::queryOpenFile(int kind, int, const CString&, CWnd*) {
    openFileKinds.push_back(kind);
    return openFile;
}

Element FakePage::find(const char* name) const {
    return Element(findNamed(xmlDocGetRootElement(html), name));
}

std::string FakePage::inner(const char* name) const {
    std::string out;
    if (xmlNode* n = find(name).raw()) {
        dump(n, out);
    }
    return out;
}

}  // namespace rltest
