// A page for the link command's tests: a small HTML tree parsed by libxml2,
// with the application's page, document and DOM utilities played by fakes
// that do what the real ones do on it and note what they were asked.
#pragma once

#include "hostapp/COrvHTMLDocUtil.h"
#include "hostapp/DomUtil.h"
#include "hostapp/PageEditIF.h"
#include "hostapp/SiteIF.h"

#include <libxml/HTMLparser.h>

#include <string>
#include <vector>

namespace rltest {

// The nodes below node, in document order, that match.
template <typename Match>
NodeArray below(xmlNode* node, Match&& match) {
    NodeArray out;
    for (xmlNode* c = node ? node->children : nullptr; c != nullptr; c = c->next) {
        if (match(c)) {
            out.emplace_back(c);
        }
        NodeArray inner = below(c, match);
        out.insert(out.end(), inner.begin(), inner.end());
    }
    return out;
}
bool named(xmlNode* n, const char* name);
inline const char* nameOf(int typeId) {
    return typeId == kHtmlTypeAnchor ? "A" : "IMG";
}

struct FeedForms {
    CString feedUrl, relative, siteUrl;
    bool names(const CString& href) const {
        return !href.IsEmpty() && (href == feedUrl || href == relative || href == siteUrl);
    }
};

class FakeDom : public DomUtil {
  public:
    explicit FakeDom(xmlDoc* doc)
        : m_doc(doc), m_unplaced(xmlNewDocNode(doc, nullptr, BAD_CAST "unplaced", nullptr)) {}
    void freeUnplaced() { xmlFreeNode(m_unplaced); }  // made, never placed

    Element createElementbyId(int typeId) override { return Element(make(nameOf(typeId))); }
    Node createTextNodeUt(const CString& text, bool) override;
    bool insertElement(Node node, long offset, int, Element element, bool, bool) override;
    bool deleteAllChild(Element element, bool) override;
    NodeArray getTextNodes(Element element) override {
        return below(element.raw(), [](xmlNode* n) { return n->type == XML_TEXT_NODE; });
    }
    NodeArray getChildElementsByID(Element parent, int typeId) override {
        return below(parent.raw(), [&](xmlNode* n) { return named(n, nameOf(typeId)); });
    }
    bool hasRssLink(const CString& feed, const CString& rel, const CString& site, Node) override;
    bool setRssLink(const CString& feed, const CString& rel, const CString& site, bool,
                    Node) override {
        added.push_back({feed, rel, site});
        feedLinks.push_back(rel.IsEmpty() ? feed : rel);
        return true;
    }
    bool removeRssLink(const CString& feed, const CString& rel, const CString& site, Node) override;

    std::vector<CString> feedLinks;  // the hrefs of the page's auto-discovery links
    std::vector<FeedForms> added, removed;

  private:
    xmlNode* make(const char* name);
    xmlDoc* m_doc;
    xmlNode* m_unplaced;
};

class FakeDoc : public COrvHTMLDocUtil {
  public:
    Element isTagExist(int typeId, Node start) override;
    bool getCursorPos(Node& node, long& off) override {
        node = cursor;
        off = offset;
        return !cursor.isNull();
    }
    // Relative references lead into the page's folder.
    CString getFullPath(const CString& reference) override;
    bool isFreeLayoutMode() override { return freeLayout; }
    void setFreeLayoutInsert(bool on) override { freeLayoutInsert = on; }
    CString GetSampleFile(int, CWnd*) override { return CString(); }

    Node cursor;  // an element (offset: a child index), or null: nowhere
    long offset = 0;
    CString folder;
    bool freeLayout = false, freeLayoutInsert = false;
};

// A page at Z:\site\index.html of the site Z:\site\ published at
// https://ann.example/, or of the open site when one is open.
class FakePage : public PageEditIF {
  public:
    explicit FakePage(const std::string& html, CString pageFile = u"Z:\\site\\index.html");
    ~FakePage() override;

    COrvHTMLDocUtil* getDocUtil() override { return &doc; }
    DomUtil* getDomUtil() override { return &dom; }
    SiteIF* getSiteIF() override { return m_site; }
    SiteIF* getConvSiteIF() override { return hasConvSite ? m_site : nullptr; }
    CString getPageLocation() override { return m_location; }
    CString getPageAddress() override { return CString(); }
    Element getFreeLayoutContainer(int) override { return freeLayoutContainer; }
    void notifyChange(int, unsigned code, int) override { notices.push_back(code); }
    CString queryOpenFile(int kind, int, const CString&, CWnd*) override {
        openFileKinds.push_back(kind);
        return openFile;
    }

    // The first element of that name (any case), and the markup inside it.
    Element find(const char* name) const;
    std::string inner(const char* name) const;

    xmlDoc* html;
    FakeDoc doc;
    FakeDom dom;
    bool hasConvSite = true;
    Element freeLayoutContainer;
    std::vector<unsigned> notices;
    CString openFile;  // what the file chooser hands back
    std::vector<int> openFileKinds;

  private:
    SiteIF* m_site;
    CString m_location;
};

}  // namespace rltest
