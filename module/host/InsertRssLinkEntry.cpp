// The insert-RSS-link command: edits the RSS link at the cursor, or makes a
// new one there.
#include "host/Entries.h"

#include "hostapp/files/CLumTktUtil.h"
#include "hostapp/pages/COrvHTMLDocUtil.h"
#include "hostapp/pages/DomUtil.h"
#include "hostapp/pages/PageEditIF.h"
#include "mfc/AfxMessageBox.h"
#include "rsslink/ApplyRssLink.h"
#include "rsslink/CLumRssInsertLinkDlg.h"

namespace newsdesk {

namespace {

constexpr const char16_t* kChooseIconOrText = u"アイコンまたはテキストを入力してください";

// The full path of a reference in the page; none for no reference, which
// would otherwise resolve to the page itself.
CString fullPath(COrvHTMLDocUtil& doc, const CString& reference) {
    return reference.IsEmpty() ? CString() : doc.getFullPath(reference);
}

// The link's text as a reader sees it: each run of white space one space,
// which a single-line edit can show and which renders as the original did;
// white space alone is no text.
CString renderedText(const CString& content) {
    CString text;
    bool inSpace = false;
    for (int i = 0; i < content.GetLength(); ++i) {
        char16_t c = content.GetAt(i);
        bool space = c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
        if (!space) {
            text += c;
        } else if (!inSpace) {
            text += u' ';
        }
        inSpace = space;
    }
    return text == u" " ? CString() : text;
}

void editLink(PageEditIF* page, COrvHTMLDocUtil& doc, Element anchor) {
    CString href = anchor.getAttribute(u"HREF");
    Element image;
    if (DomUtil* dom = page->getDomUtil()) {
        NodeArray images = dom->getChildElementsByID(anchor, kHtmlTypeImage);
        if (!images.empty()) {
            image = Element(images.front());
        }
    }
    CString src = image.getAttribute(u"SRC");
    CString text = renderedText(anchor.getTextContent());
    bool defaultIcon =
        !image.isNull() && image.getAttribute(u"ID").Find(rsslink::kDefaultIconId) == 0;

    CLumRssInsertLinkDlg dialog(page, &doc, nullptr);
    dialog.presetForEdit(fullPath(doc, href), fullPath(doc, src), defaultIcon, text);
    if (dialog.DoModal() == IDOK) {
        rsslink::applyRssLink(page, dialog, anchor, image);
    }
}

void insertLink(PageEditIF* page, COrvHTMLDocUtil& doc) {
    CLumRssInsertLinkDlg dialog(page, &doc, nullptr);
    for (;;) {
        if (dialog.DoModal() != IDOK) {
            return;
        }
        if (dialog.m_bIncludeIcon != 0 || dialog.m_bIncludeText != 0 ||
            dialog.m_bAutoDiscovery != 0) {
            break;
        }
        AfxMessageBox(kChooseIconOrText, MB_OK | MB_ICONINFORMATION, 0);
    }
    rsslink::applyRssLink(page, dialog, Element(), Element());
}

}  // namespace

void InsertRssLinkEntry(PageEditIF* page) {
    if (page == nullptr) {
        return;
    }
    COrvHTMLDocUtil* doc = page->getDocUtil();
    if (doc == nullptr) {
        return;
    }
    Element anchor = doc->isTagExist(kHtmlTypeAnchor, Node());
    // In a link to anything but a feed a new link is made (after it).
    if (!anchor.isNull() && CLumTktUtil::isRSSFile(anchor.getAttribute(u"HREF"))) {
        editLink(page, *doc, anchor);
    } else {
        insertLink(page, *doc);
    }
}

}  // namespace newsdesk
