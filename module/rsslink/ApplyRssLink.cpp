#include "rsslink/ApplyRssLink.h"

#include "hostapp/pages/COrvHTMLDocUtil.h"
#include "hostapp/pages/DomUtil.h"
#include "hostapp/pages/PageEditIF.h"
#include "rsslink/CLumRssInsertLinkDlg.h"
#include "rsslink/FeedLinkForms.h"
#include "rsslink/SiteIcon.h"

namespace newsdesk::rsslink {

namespace {

// The DOM helpers find images and text at any depth inside the anchor, so a
// node is taken out of whatever element holds it, not out of the anchor.
void removeFromParent(Node node) {
    node.getParentNode().removeChild(node);
}

// How the page names a file the dialog holds. A reference the page already
// makes to the same file keeps the form it was written in (absolute, from
// the root, with "./"): editing a link changes only what the user changed.
CString referenceFor(PageEditIF& page, COrvHTMLDocUtil& doc, const CString& written,
                     const CString& chosen) {
    CString wanted = pageReference(page, chosen);
    if (!written.IsEmpty() &&
        (doc.getFullPath(written) == chosen || pageReference(page, written) == wanted)) {
        return written;
    }
    return wanted;
}

struct Cursor {
    bool valid = false;
    Node node;
    long offset = 0;
};

// Puts a new anchor into the page; false when it found no place.
bool placeAnchor(PageEditIF& page, COrvHTMLDocUtil& doc, DomUtil& dom, Element anchor,
                 const Cursor& cursor) {
    if (doc.isFreeLayoutMode()) {
        doc.setFreeLayoutInsert(true);
        Element container = page.getFreeLayoutContainer(0);
        if (container.isNull()) {
            return false;
        }
        container.appendChild(anchor);
        return true;
    }
    if (!cursor.valid) {
        return false;
    }
    // An anchor inside an anchor is no link: in a link (to a page, say) the
    // new one goes right after it.
    Element enclosing = doc.isTagExist(kHtmlTypeAnchor, Node());
    if (!enclosing.isNull()) {
        Node parent = enclosing.getParentNode();
        long index = 1;
        for (Node n = parent.getFirstChild(); n && n != Node(enclosing); n = n.getNextSibling()) {
            ++index;
        }
        return dom.insertElement(parent, index, 0, anchor, false, true);
    }
    return dom.insertElement(cursor.node, cursor.offset, 0, anchor, false, true);
}

// The icon the link shows, as a file the site publishes: the default icon
// of a link being edited stays when it is a file of the site already. Empty
// when the icon could not be copied into the site.
CString siteIcon(PageEditIF& page, const CLumRssInsertLinkDlg& dialog, Element image) {
    if (dialog.m_nDefaultIcon == 1 && !image.isNull() &&
        image.getAttribute(u"ID").Find(kDefaultIconId) == 0 &&
        namesSiteFile(page, image.getAttribute(u"SRC"))) {
        return image.getAttribute(u"SRC");
    }
    return iconInSite(page, dialog.m_strIconFile);
}

// Builds or changes the anchor; true when the page changed.
bool applyAnchor(PageEditIF& page, COrvHTMLDocUtil& doc, DomUtil& dom,
                 const CLumRssInsertLinkDlg& dialog, const CString& icon, Element anchor,
                 Element image, const Cursor& cursor) {
    bool isNew = anchor.isNull();
    if (isNew) {
        anchor = dom.createElementbyId(kHtmlTypeAnchor);
        if (anchor.isNull()) {
            return false;
        }
    }
    anchor.setAttribute(u"HREF",
                        referenceFor(page, doc, anchor.getAttribute(u"HREF"), dialog.m_strRssFile));
    if (dialog.m_bIncludeIcon != 0) {
        bool newImage = image.isNull();
        if (newImage) {
            image = dom.createElementbyId(kHtmlTypeImage);
        }
        image.setAttribute(u"SRC", referenceFor(page, doc, image.getAttribute(u"SRC"), icon));
        if (dialog.m_nDefaultIcon == 1) {
            image.setAttribute(u"ID", kDefaultIconId);
        } else {
            image.removeAttribute(u"ID");
        }
        if (newImage) {
            anchor.appendChild(image);
        }
    } else if (!image.isNull()) {
        removeFromParent(image);
    }
    for (const Node& text : dom.getTextNodes(anchor)) {
        removeFromParent(text);
    }
    if (dialog.m_bIncludeText != 0) {
        anchor.appendChild(dom.createTextNodeUt(dialog.m_strLinkText, false));
    }
    return isNew ? placeAnchor(page, doc, dom, anchor, cursor) : true;
}

// Adds or removes the page's auto-discovery link; true when the page counts
// as changed.
bool applyAutoDiscovery(PageEditIF& page, DomUtil& dom, const CLumRssInsertLinkDlg& dialog) {
    FeedLinkForms forms = feedLinkForms(page, dialog.m_strRssFile);
    if (dialog.m_bAutoDiscovery != 0) {
        if (dom.hasRssLink(forms.feedUrl, forms.relative, forms.siteUrl, Node())) {
            return false;
        }
        // A link naming no URL at all would announce nothing a reader can
        // follow.
        if (forms.feedUrl.IsEmpty() && forms.relative.IsEmpty() && forms.siteUrl.IsEmpty()) {
            return false;
        }
        dom.setRssLink(forms.feedUrl, forms.relative, forms.siteUrl, true, Node());
        return true;
    }
    dom.removeRssLink(forms.feedUrl, forms.relative, forms.siteUrl, Node());
    return true;
}

}  // namespace

bool applyRssLink(PageEditIF* page, const CLumRssInsertLinkDlg& dialog, Element anchor,
                  Element image) {
    if (page == nullptr) {
        return false;
    }
    COrvHTMLDocUtil* doc = page->getDocUtil();
    DomUtil* dom = page->getDomUtil();
    if (doc == nullptr || dom == nullptr) {
        return false;
    }
    Cursor cursor;
    cursor.valid = doc->getCursorPos(cursor.node, cursor.offset);

    CString icon;
    if (dialog.m_bIncludeIcon != 0) {
        icon = siteIcon(*page, dialog, image);
        if (icon.IsEmpty() && !dialog.m_strIconFile.IsEmpty()) {
            return false;  // the copy's failure is reported; the page stays as it was
        }
    }
    bool changed = false;
    if (dialog.m_bIncludeIcon != 0 || dialog.m_bIncludeText != 0) {
        changed = applyAnchor(*page, *doc, *dom, dialog, icon, anchor, image, cursor);
    } else if (!anchor.isNull()) {
        dom->deleteAllChild(anchor, true);
        changed = true;
    }
    if (applyAutoDiscovery(*page, *dom, dialog)) {
        changed = true;
    }
    if (changed) {
        page->notifyChange(0, kPageDomChanged, 0);
    }
    return changed;
}

}  // namespace newsdesk::rsslink
