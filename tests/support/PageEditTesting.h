// Shared by the page editing tests: pages in the three kinds of markup, a
// small stand-in for the insert-link command's DOM work, and a page opened
// by the page editor as the host program opens one.
#pragma once

#include "hostapp/app/PageEditor.h"
#include "hostapp/pages/DomUtil.h"
#include "hostapp/pages/PageDocUtil.h"
#include "hostapp/pages/PageDocument.h"
#include "hostapp/pages/PageDomUtil.h"

#include <gtest/gtest.h>

#include <unicode/ucnv.h>

#include <memory>
#include <string>

namespace pagetest {

inline const char kLocation[] = "file:///Z:/site/news/index.html";

inline const std::string kHtml5 =
    "<!DOCTYPE html>\n"
    "<html lang=\"ja\">\n"
    "<head>\n"
    "  <meta charset=\"utf-8\">\n"
    "  <title>お知らせ</title>\n"
    "</head>\n"
    "<body>\n"
    "  <p>新着は<em>こちら</em>です</p>\n"
    "  <P CLASS=x>Second line</P>\n"
    "</body>\n"
    "</html>\n";

inline const std::string kXhtml =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
    "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"ja\">\r\n"
    "<head>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\" />\r\n"
    "<title>XHTML page</title>\r\n"
    "</head>\r\n"
    "<body>\r\n"
    "<p>Feed: here<br />end</p>\r\n"
    "</body>\r\n"
    "</html>\r\n";

// Written in UTF-8 here; toShiftJis gives the file's bytes.
inline const std::string kLegacyUtf8 =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
    "<HTML>\n"
    "<HEAD>\n"
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">\n"
    "<TITLE>日本語のページ</TITLE>\n"
    "</HEAD>\n"
    "<BODY BGCOLOR=#FFFFFF>\n"
    "<P>ここにリンク。<BR>\n"
    "</BODY>\n"
    "</HTML>\n";

inline std::string convert(const std::string& bytes, const char* from, const char* to) {
    UErrorCode status = U_ZERO_ERROR;
    std::string out(bytes.size() * 4 + 16, '\0');
    int32_t n = ucnv_convert(to, from, out.data(), static_cast<int32_t>(out.size()), bytes.data(),
                             static_cast<int32_t>(bytes.size()), &status);
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    out.resize(U_SUCCESS(status) ? static_cast<size_t>(n) : 0);
    return out;
}

inline std::string toShiftJis(const std::string& utf8) {
    return convert(utf8, "UTF-8", "Shift_JIS");
}

// A page read from bytes with its two utilities.
struct OpenPage {
    explicit OpenPage(const std::string& bytes) : original(bytes) {
        std::string error;
        page = lum::page::PageDocument::read(bytes, error);
        EXPECT_TRUE(page) << error;
        if (page) {
            doc = std::make_unique<lum::page::PageDocUtil>(*page, CString::fromUtf8(kLocation));
            dom = std::make_unique<lum::page::PageDomUtil>(*page, CString::fromUtf8(kLocation));
        }
    }
    // Puts the cursor at a line and column of the page's text.
    void cursor(long line, long column) {
        auto at = page->offsetOfLineColumn(line, column);
        ASSERT_TRUE(at) << line << ":" << column;
        doc->setCursor(*at);
    }
    std::string saved() { return page->save(original); }

    std::string original;
    std::unique_ptr<lum::page::PageDocument> page;
    std::unique_ptr<lum::page::PageDocUtil> doc;
    std::unique_ptr<lum::page::PageDomUtil> dom;
};

// What the insert-link command does for a new link with an icon and a text.
inline void insertNewLink(OpenPage& p, const CString& href, const CString& icon,
                          const CString& text) {
    Node node;
    long offset = 0;
    ASSERT_TRUE(p.doc->getCursorPos(node, offset));
    Element anchor = p.dom->createElementbyId(kHtmlTypeAnchor);
    anchor.setAttribute(u"HREF", href);
    Element image = p.dom->createElementbyId(kHtmlTypeImage);
    image.setAttribute(u"SRC", icon);
    image.setAttribute(u"ID", u"LumDefaultRssIcon");
    anchor.appendChild(image);
    anchor.appendChild(p.dom->createTextNodeUt(text, false));
    ASSERT_TRUE(p.dom->insertElement(node, offset, 0, anchor, false, true));
}

// The bytes with `insert` put in at the byte offset of the first `before`.
inline std::string insertedBefore(std::string bytes, const std::string& before,
                                  const std::string& insert) {
    size_t at = bytes.find(before);
    EXPECT_NE(at, std::string::npos) << before;
    return at == std::string::npos ? bytes : bytes.insert(at, insert);
}

// The application's page editor over the bytes, as for a module command, at
// Z:\site\index.html unless the test names another file.
struct EditedPage {
    explicit EditedPage(std::string html, const CString& file = u"Z:\\site\\index.html")
        : bytes(std::move(html)) {
        std::string error;
        editor = lum::page::PageEditor::open(file, bytes, error);
        EXPECT_TRUE(editor) << error;
    }
    // The cursor just before the first `marker` of a one-line page.
    void cursorBefore(const std::string& marker) {
        size_t at = bytes.find(marker);
        ASSERT_NE(at, std::string::npos) << marker;
        auto offset = editor->document().offsetOfLineColumn(1, static_cast<long>(at) + 1);
        ASSERT_TRUE(offset) << marker;
        editor->docUtil().setCursor(*offset);
    }
    // The element of that kind around the cursor.
    Element around(int typeId) { return editor->getDocUtil()->isTagExist(typeId, Node()); }
    std::string saved() { return editor->savedBytes(); }

    std::string bytes;
    std::unique_ptr<lum::page::PageEditor> editor;
};

}  // namespace pagetest
