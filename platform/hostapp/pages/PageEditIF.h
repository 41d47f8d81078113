// The page being edited, as the application hands it to a module command:
// its document and DOM utilities, its site and where it lives. A closed
// interface: the module reaches the page only through these calls.
#pragma once

#include "hostapp/feedxml/DomNode.h"
#include "mfc/CString.h"

class COrvHTMLDocUtil;
class CWnd;
class DomUtil;
class SiteIF;

// The change-notification code a command sends after it changed the DOM.
constexpr unsigned kPageDomChanged = 0x10000004;

class PageEditIF {
  public:
    // Owned by the page; valid while the page is.
    virtual COrvHTMLDocUtil* getDocUtil() = 0;
    virtual DomUtil* getDomUtil() = 0;
    // The page's site (the open site, or the outside-site stand-in when the
    // page lies outside it). Borrowed: the caller does not release it.
    virtual SiteIF* getSiteIF() = 0;
    // The site that converts the page's URLs; borrowed; nullptr when the
    // page has none.
    virtual SiteIF* getConvSiteIF() = 0;
    // The page's location, the base of its relative URLs: the page file's
    // URL ("file:///Z:/site/news/index.html").
    virtual CString getPageLocation() = 0;
    // The page's public address ("https://ann.example/news/index.html");
    // empty when the page is outside the open site or no site is open.
    virtual CString getPageAddress() = 0;
    // The element that takes new content in free-layout mode, or a null
    // element when the page has none.
    virtual Element getFreeLayoutContainer(int reserved) = 0;
    // Tells the page that its DOM was changed (code kPageDomChanged).
    virtual void notifyChange(int reserved1, unsigned code, int reserved2) = 0;
    // The host's file chooser for this page: `kind` is the host's file-type
    // number (2 pictures, 23 RSS files); the chosen path (a Windows path) or
    // empty when the user cancels.
    virtual CString queryOpenFile(int kind, int reserved, const CString& initialName,
                                  CWnd* parent) = 0;

  protected:
    virtual ~PageEditIF() = default;
};
