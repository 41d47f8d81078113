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

struct LinkCall {
    CString feedUrl;
    CString relative;
    CString siteUrl;
};

class FakeDom : public DomUtil {
  public:
    explicit FakeDom(xmlDoc* doc);
    ~FakeDom() override;
    FakeDom(const FakeDom&) = delete;
    FakeDom& operator=(const FakeDom&) = delete;
    void freeUnplaced();
    Element createElementbyId(int typeId) override;
    Node createTextNodeUt(const CString& text, bool raw) override;
    bool insertElement(Node node, long offset, int reserved, Element element, bool select,
                       bool undoable) override;
    bool deleteAllChild(Element element, bool undoable) override;
    NodeArray getTextNodes(Element element) override;
    NodeArray getChildElementsByID(Element parent, int typeId) override;
    bool hasRssLink(const CString& feedUrl, const CString& relative, const CString& siteUrl,
                    Node start) override;
    bool setRssLink(const CString& feedUrl, const CString& relative, const CString& siteUrl,
                    bool withTitle, Node start) override;
    bool removeRssLink(const CString& feedUrl, const CString& relative, const CString& siteUrl,
                       Node start) override;

    std::vector<LinkCall> asked, added, removed;
    int inserts = 0;

  private:
    xmlDoc* m_doc;
    // What was made and never put into the page waits here, freed with the
    // page as the application frees it.
    xmlNode* m_unplaced;
};

class FakeDoc : public COrvHTMLDocUtil {
  public:
    Element isTagExist(int typeId, Node start) override;
    bool getCursorPos(Node& node, long& offset) override;
    CString getFullPath(const CString& reference) override;
    bool isFreeLayoutMode() override { return freeLayout; }
    void setFreeLayoutInsert(bool on) override { freeLayoutInsert = on; }
    CString GetSampleFile(int fileType, CWnd* parent) override;

    Node cursor;  // null: the cursor is nowhere in the body
    long offset = 0;
    CString folder;  // where relative references lead, with a trailing backslash
    bool freeLayout = false;
    bool freeLayoutInsert = false;
    CString sampleFile;
    std::vector<int> sampleTypes;
};

// A page at Z:\site\index.html of the site Z:\site\ published at
// https://ann.example/ unless a test gives its own.
class FakePage : public PageEditIF {
  public:
    explicit FakePage(const std::string& html, CString pageFile = u"Z:\\site\\index.html",
                      CString siteRoot = u"Z:\\site\\", CString siteUrl = u"https://ann.example/");
    ~FakePage() override;
    FakePage(const FakePage&) = delete;
    FakePage& operator=(const FakePage&) = delete;

    COrvHTMLDocUtil* getDocUtil() override { return &doc; }
    DomUtil* getDomUtil() override { return &dom; }
    SiteIF* getSiteIF() override { return m_site; }
    SiteIF* getConvSiteIF() override { return hasConvSite ? m_site : nullptr; }
    CString getPageLocation() override { return m_location; }
    CString getPageAddress() override { return m_address; }
    Element getFreeLayoutContainer(int reserved) override;
    void notifyChange(int reserved1, unsigned code, int reserved2) override;
    CString queryOpenFile(int kind, int reserved, const CString& initialName,
                          CWnd* parent) override;

    // The first element of that name (any case), in document order.
    Element find(const char* name) const;
    // The markup of the element's content and of the head, as written
    // below: names and attributes as they are held, in their order.
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
    CString m_address;
};

}  // namespace rltest
