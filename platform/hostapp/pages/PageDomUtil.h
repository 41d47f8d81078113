// The DOM utility of a page read from a file (PageDocument.h).
#pragma once

#include "hostapp/pages/DomUtil.h"
#include "hostapp/pages/PageAddress.h"
#include "hostapp/pages/PageDocument.h"

namespace lum::page {

class PageDomUtil : public DomUtil {
  public:
    // location: the page's file URL, against which (and its <base href>)
    // hrefs are resolved when a link is looked for.
    PageDomUtil(PageDocument& page, const CString& location);
    ~PageDomUtil() override = default;
    // The site the page lies in: a link names the feed when it resolves, as
    // the published site resolves it, to the feed's file.
    void setSite(const std::string& rootUrl, const std::string& siteUrl) {
        m_address.setSite(rootUrl, siteUrl);
    }

    Element createElementbyId(int typeId) override;
    Node createTextNodeUt(const CString& text, bool raw) override;
    bool insertElement(Node node, long offset, int reserved, Element element, bool select,
                       bool undoable) override;
    bool deleteAllChild(Element element, bool undoable) override;
    NodeArray getTextNodes(Element element) override;
    NodeArray getChildElementsByID(Element parent, int typeId) override;

    // A link is the feed's when its href, resolved against the page's base,
    // reaches what one of the forms reaches: the same file whatever query or
    // fragment either carries, or the same other URL but for its fragment.
    bool hasRssLink(const CString& feedUrl, const CString& relative, const CString& siteUrl,
                    Node start) override;
    // The link goes after the last element of the head (a head is made when
    // the page has none), on a line of its own indented like that element.
    // Its title is the feed's channel title when the feed is a readable file
    // of this machine, else its file name.
    bool setRssLink(const CString& feedUrl, const CString& relative, const CString& siteUrl,
                    bool withTitle, Node start) override;
    // A removed link takes the white space before it (its line break and
    // indentation) along.
    bool removeRssLink(const CString& feedUrl, const CString& relative, const CString& siteUrl,
                       Node start) override;

  private:
    std::vector<Element> rssLinks(const CString& feedUrl, const CString& relative,
                                  const CString& siteUrl);
    Element headOrNew();
    CString feedTitle(const CString& feedUrl, const CString& relative);

    PageDocument& m_page;
    PageAddress m_address;
};

// The element name of a type id ("A" for 1, "IMG" for 49); empty for ids the
// page does not know.
CString elementNameOfType(int typeId);

}  // namespace lum::page
