// The application's DOM helpers on the page being edited. Elements and text
// nodes they create belong to the page (freed with it when never inserted).
#pragma once

#include "hostapp/feedxml/DomNode.h"
#include "mfc/CString.h"

class DomUtBase {
  public:
    // A new element of the type id (COrvHTMLDocUtil.h), not yet in the page.
    virtual Element createElementbyId(int typeId) = 0;
    // A new text node holding text; `raw` true takes the text as markup
    // (the command passes false).
    virtual Node createTextNodeUt(const CString& text, bool raw) = 0;
    // Inserts element at the cursor position (node, offset as
    // COrvHTMLDocUtil::getCursorPos gives them), splitting a text node.
    virtual bool insertElement(Node node, long offset, int reserved, Element element, bool select,
                               bool undoable) = 0;
    // Removes every child of element; `undoable` as above.
    virtual bool deleteAllChild(Element element, bool undoable) = 0;
    // The text nodes inside element (at any depth), in document order.
    virtual NodeArray getTextNodes(Element element) = 0;
    // The elements of the type id inside parent (at any depth), in order.
    virtual NodeArray getChildElementsByID(Element parent, int typeId) = 0;

  protected:
    virtual ~DomUtBase() = default;
};

// The page's RSS auto-discovery link:
//   <link rel="alternate" type="application/rss+xml" title="..." href="...">
// in the head. A feed is known by three URL forms: the feed URL, the form
// relative to the page, and the feed's public URL in the site (empty when
// not known); a link whose href is any of the non-empty forms is the
// feed's link. Attribute names and the rel/type values are matched without
// regard to letter case. `start` is reserved (pass a null node).
class DomUtil : public DomUtBase {
  public:
    virtual bool hasRssLink(const CString& feedUrl, const CString& relative, const CString& siteUrl,
                            Node start) = 0;
    // Adds the link with href = the relative form (or the feed URL when the
    // relative form is empty); `withTitle` gives it the feed's title.
    virtual bool setRssLink(const CString& feedUrl, const CString& relative, const CString& siteUrl,
                            bool withTitle, Node start) = 0;
    // Removes every auto-discovery link of the feed; true when one went.
    virtual bool removeRssLink(const CString& feedUrl, const CString& relative,
                               const CString& siteUrl, Node start) = 0;

  protected:
    ~DomUtil() override = default;
};
