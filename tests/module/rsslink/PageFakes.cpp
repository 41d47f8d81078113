#include "PageFakes.h"

#include "hostapp/LumSiteMgr.h"
#include "hostapp/UrlUtil.h"

#include <algorithm>

#include <strings.h>

namespace rltest {

bool named(xmlNode* n, const char* name) {
    return n->type == XML_ELEMENT_NODE &&
           ::strcasecmp(reinterpret_cast<const char*>(n->name), name) == 0;
}

xmlNode* FakeDom::make(const char* name) {
    xmlNode* made = xmlNewDocNode(m_doc, nullptr, reinterpret_cast<const xmlChar*>(name), nullptr);
    Node(m_unplaced).appendChild(Node(made));
    return made;
}

Node FakeDom::createTextNodeUt(const CString& text, bool) {
    Node made(xmlNewDocText(m_doc, reinterpret_cast<const xmlChar*>(text.toUtf8().c_str())));
    Node(m_unplaced).appendChild(made);
    return made;
}

bool FakeDom::insertElement(Node node, long offset, int, Element element, bool, bool) {
    xmlNode* before = node.raw()->children;
    for (long i = 0; i < offset && before != nullptr; ++i) {
        before = before->next;
    }
    before ? (void)xmlAddPrevSibling(before, element.raw()) : node.appendChild(element);
    return true;
}

bool FakeDom::deleteAllChild(Element element, bool) {
    while (xmlNode* child = element.raw()->children) {
        element.removeChild(Node(child));
    }
    return true;
}

bool FakeDom::hasRssLink(const CString& feed, const CString& rel, const CString& site, Node) {
    FeedForms forms{feed, rel, site};
    return std::any_of(feedLinks.begin(), feedLinks.end(),
                       [&](const CString& href) { return forms.names(href); });
}

bool FakeDom::removeRssLink(const CString& feed, const CString& rel, const CString& site, Node) {
    removed.push_back({feed, rel, site});
    return std::erase_if(feedLinks, [&](const CString& h) { return removed.back().names(h); }) > 0;
}

Element FakeDoc::isTagExist(int typeId, Node start) {
    for (xmlNode* n = start ? start.raw() : cursor.raw(); n != nullptr; n = n->parent) {
        if (named(n, nameOf(typeId))) {
            return Element(n);
        }
    }
    return Element();
}

CString FakeDoc::getFullPath(const CString& reference) {
    CString path = urlScheme(reference).IsEmpty() ? folder + reference : reference;
    path.Replace(u'/', u'\\');
    return path;
}

FakePage::FakePage(const std::string& markup, CString pageFile)
    : html(htmlReadMemory(markup.data(), static_cast<int>(markup.size()), nullptr, "UTF-8",
                          HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET)),
      dom(html),
      m_location(cat_file_colon(pageFile)) {
    SITE_INFO info{u"Ann", u"Z:\\site\\", u"https://ann.example/", u"index.html"};
    LumSiteMgr::getCurrentSiteInfo(info);
    m_site = lum::newSiteIF(info, false);
    doc.folder = pageFile.Left(pageFile.ReverseFind(u'\\') + 1);
}

FakePage::~FakePage() {
    m_site->release();
    dom.freeUnplaced();  // before the document: they share its names
    xmlFreeDoc(html);
}

Element FakePage::find(const char* name) const {
    NodeArray found = below(xmlDocGetRootElement(html), [&](xmlNode* n) { return named(n, name); });
    return found.empty() ? Element() : Element(found.front());
}

// As XML, so that what the command wrote shows as it is held.
std::string FakePage::inner(const char* name) const {
    xmlBuffer* buffer = xmlBufferCreate();
    for (xmlNode* c = find(name).raw()->children; c != nullptr; c = c->next) {
        xmlNodeDump(buffer, html, c, 0, 0);
    }
    std::string out(reinterpret_cast<const char*>(xmlBufferContent(buffer)));
    xmlBufferFree(buffer);
    return out;
}

}  // namespace rltest
