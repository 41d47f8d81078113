#include "support/PageEditTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

using lum::page::PageDocument;
using pagetest::insertedBefore;
using pagetest::insertNewLink;
using pagetest::OpenPage;

namespace {

// Puts a bare anchor at the text offset; the saved page when the cursor
// could stand there. Fails the test unless the anchor is the only change.
std::optional<std::string> insertAnchorOnly(const std::string& page, size_t at) {
    OpenPage p(page);
    p.doc->setCursor(at);
    Node node;
    long offset = 0;
    if (!p.doc->getCursorPos(node, offset)) {
        return std::nullopt;
    }
    Element a = p.dom->createElementbyId(kHtmlTypeAnchor);
    a.setAttribute(u"HREF", u"x.rss");
    EXPECT_TRUE(p.dom->insertElement(node, offset, 0, a, false, true));
    std::string saved = p.saved();
    std::string spelled = p.page->isXhtml() ? "<a href=\"x.rss\"></a>" : "<A HREF=\"x.rss\"></A>";
    size_t where = saved.find(spelled);
    EXPECT_NE(where, std::string::npos) << page << " @" << at;
    if (where != std::string::npos) {
        EXPECT_EQ(saved.substr(0, where) + saved.substr(where + spelled.size()), page)
            << "@" << at << "\n"
            << saved;
    }
    return saved;
}

std::string readError(const std::string& bytes) {
    std::string error;
    auto page = PageDocument::read(bytes, error);
    EXPECT_FALSE(page) << "read: " << bytes.substr(0, 40);
    return error;
}

}  // namespace

// In each kind of markup the link with its icon and text is the only
// change: XHTML spells it in lower case with closed empty elements, Shift_JIS
// writes what it cannot hold as character references.
TEST(PageDocument, ANewLinkAtTheCursorChangesNoOtherByte) {
    const std::string sjis = pagetest::toShiftJis(pagetest::kLegacyUtf8);
    struct Case {
        std::string page;
        long line, column;
        const char16_t* text;
        std::string before, inserted;
    } cases[] = {
        {pagetest::kHtml5, 9, 20, u"ニュース & <更新>", " line</P>",  // "Second| line"
         "<A HREF=\"../feeds/a b.rss\"><IMG SRC=\"file:///Z:/app/rss_icon.gif\" "
         "ID=\"LumDefaultRssIcon\">"
         "ニュース &amp; &lt;更新&gt;</A>"},
        {pagetest::kXhtml, 9, 10, u"RSS", "here<br",  // CR LF line ends
         "<a href=\"../feeds/a b.rss\"><img src=\"file:///Z:/app/rss_icon.gif\" "
         "id=\"LumDefaultRssIcon\" />RSS</a>"},
        {sjis, 8, 10, u"新着 😀", pagetest::toShiftJis("。<BR>"),  // after "ここにリンク"
         pagetest::toShiftJis(
             "<A HREF=\"../feeds/a b.rss\"><IMG SRC=\"file:///Z:/app/rss_icon.gif\" "
             "ID=\"LumDefaultRssIcon\">新着 ") +
             "&#x1F600;</A>"},
    };
    for (const Case& c : cases) {
        OpenPage p(c.page);
        p.cursor(c.line, c.column);
        insertNewLink(p, u"../feeds/a b.rss", u"file:///Z:/app/rss_icon.gif", c.text);
        EXPECT_EQ(p.saved(), insertedBefore(c.page, c.before, c.inserted));
    }
    EXPECT_TRUE(OpenPage(pagetest::kXhtml).page->isXhtml());
    EXPECT_EQ(OpenPage(sjis).page->source().encoding(), "Shift_JIS");
}

// Typed text reaches a Shift_JIS page in the codes every decoder reads (81 60
// is the wave dash 〜 there, never the full-width tilde); only a page that
// uses the Windows code page's own codes already gets them for new text too.
TEST(PageDocument, ShiftJisPagesGetStandardCodesUnlessTheyUseTheWindowsOnes) {
    const std::string standard = pagetest::toShiftJis(pagetest::kLegacyUtf8);
    const std::string windows = insertedBefore(standard, "</BODY>", "\x87\x40\n");  // ①
    struct Case {
        std::string page;
        std::string circledOne;
    } cases[] = {{standard, "&#x2460;"}, {windows, "\x87\x40"}};
    for (const Case& c : cases) {
        OpenPage p(c.page);
        p.cursor(8, 10);
        insertNewLink(p, u"a.rss", u"i.gif", u"①～〜");
        EXPECT_EQ(p.saved(), insertedBefore(c.page, pagetest::toShiftJis("。<BR>"),
                                            "<A HREF=\"a.rss\"><IMG SRC=\"i.gif\" "
                                            "ID=\"LumDefaultRssIcon\">" +
                                                c.circledOne + "&#xFF5E;\x81\x60</A>"));
    }
}

// An HTML parser keeps <a id="x"/> open to the end of its block, and then
// makes copies of it around what follows; XHTML closes it where it stands.
TEST(PageDocument, AnXhtmlSelfClosedAnchorIsClosedWhereItStands) {
    const std::string page = insertedBefore(pagetest::kXhtml, "<p>Feed",
                                            "<div><a id=\"top\"/>Intro</div>\r\n<p>More</p>\r\n");
    OpenPage p(page);
    EXPECT_EQ(p.saved(), page);
    for (long line : {9L, 10L}) {  // after the element, and in the next block
        p.cursor(line, line == 9 ? 21 : 5);
        EXPECT_FALSE(p.doc->isTagExist(kHtmlTypeAnchor, Node())) << line;
    }
    p.cursor(9, 21);  // "In|tro"
    insertNewLink(p, u"a.rss", u"i.gif", u"RSS");
    EXPECT_EQ(p.saved(), insertedBefore(page, "tro</div>",
                                        "<a href=\"a.rss\"><img src=\"i.gif\" "
                                        "id=\"LumDefaultRssIcon\" />RSS</a>"));
}

// A character outside the Basic Multilingual Plane is two UTF-16 units: the
// anchor still goes where the cursor is.
TEST(PageDocument, TheAnchorAfterAnEmojiStandsRightAfterIt) {
    const std::string page = "<!DOCTYPE html>\n<p>a😀b😀c</p>\n";
    for (long column : {6L, 8L}) {  // after the first emoji, after the second
        OpenPage p(page);
        p.cursor(2, column);
        insertNewLink(p, u"a.rss", u"i.gif", u"R");
        EXPECT_EQ(p.saved(), insertedBefore(page, column == 6 ? "b😀" : "c</p>",
                                            "<A HREF=\"a.rss\"><IMG SRC=\"i.gif\" "
                                            "ID=\"LumDefaultRssIcon\">R</A>"));
    }
}

TEST(PageDocument, ChangedAttributeRewritesOnlyItsTagAndKeepsTheOthersAsWritten) {
    std::string page =
        "<!doctype html><body>\n<a  class='rss'\n   Href=\"old.rss\" data-x>"
        "<img src=x.gif ID=\"LumDefaultRssIcon\"> Old</a>\n</body>";
    OpenPage p(page);
    Element anchor = Element(p.page->body().getChildElements()[0]);
    // The command spells the name in capitals: the attribute is replaced, not doubled.
    anchor.setAttribute(u"HREF", u"new & improved.rss");
    EXPECT_EQ(anchor.getAttribute(u"href"), u"new & improved.rss");
    int count = 0;
    for (xmlAttr* a = anchor.raw()->properties; a; a = a->next) {
        ++count;
    }
    EXPECT_EQ(count, 3);
    Element image = Element(anchor.getChildElements()[0]);
    image.removeAttribute(u"id");
    for (Node text : p.dom->getTextNodes(anchor)) {
        anchor.removeChild(text);
    }
    anchor.appendChild(p.dom->createTextNodeUt(u"New", false));
    EXPECT_EQ(p.saved(),
              "<!doctype html><body>\n<a class='rss' Href=\"new &amp; improved.rss\" "
              "data-x><img src=x.gif>New</a>\n</body>");
}

TEST(PageDocument, RemovedNodesTakeTheirBytesAndASecondSaveGivesTheSame) {
    std::string page = "<!DOCTYPE html>\n<p>a<a href=f.rss><img src=i.gif>x</a>b<!-- c --></p>\n";
    OpenPage p(page);
    Element para = Element(p.page->body().getChildElements()[0]);
    Element anchor = para.getChildElements()[0];
    ASSERT_TRUE(p.dom->deleteAllChild(anchor, true));
    std::string once = p.saved();
    EXPECT_EQ(once, "<!DOCTYPE html>\n<p>a<a href=f.rss></a>b<!-- c --></p>\n");
    EXPECT_EQ(p.saved(), once);
    EXPECT_EQ(OpenPage(page).saved(), page);  // nothing changed: nothing written
}

TEST(PageDocument, TextWithReferencesItCannotCountIsSplitByWritingItAnew) {
    std::string page = "<!DOCTYPE html><p>Tom &amp; Jerry&#33;&copy here</p>";
    OpenPage p(page);
    auto at = p.page->text().find(" here");
    p.doc->setCursor(at);
    Node node;
    long offset = 0;
    ASSERT_TRUE(p.doc->getCursorPos(node, offset));
    EXPECT_EQ(offset, 13);  // "Tom & Jerry!©" in UTF-16 units
    Element anchor = p.dom->createElementbyId(kHtmlTypeAnchor);
    anchor.setAttribute(u"HREF", u"f.rss");
    ASSERT_TRUE(p.dom->insertElement(node, offset, 0, anchor, false, true));
    // The first half is written anew; the second, a new node, after the anchor.
    EXPECT_EQ(p.saved(), "<!DOCTYPE html><p>Tom &amp; Jerry!©<A HREF=\"f.rss\"></A> here</p>");
}

TEST(PageDocument, CursorFindsTheAnchorAroundItAndStaysInTheBody) {
    std::string page =
        "<!DOCTYPE html>\n<head><title>t</title></head>\n<body>\n"
        "<p>x <a href=\"f.rss\"><img src=i.gif>Feed</a> y</p>\n</body>\n";
    OpenPage p(page);
    auto anchorAt = [&](long line, long column) {
        p.cursor(line, column);
        return p.doc->isTagExist(kHtmlTypeAnchor, Node());
    };
    EXPECT_TRUE(anchorAt(4, 38));   // in "Feed"
    EXPECT_TRUE(anchorAt(4, 10));   // inside the <a ...> tag
    EXPECT_TRUE(anchorAt(4, 22));   // just before the image inside the anchor
    EXPECT_FALSE(anchorAt(4, 6));   // "x |<a"
    EXPECT_FALSE(anchorAt(4, 45));  // after "</a>"
    // In a script's text the cursor stands before the script.
    OpenPage script("<!DOCTYPE html><body><p>a<script>var x = 1;</script>b</p>");
    script.doc->setCursor(script.page->text().find("x ="));
    Node node;
    long offset = 0;
    ASSERT_TRUE(script.doc->getCursorPos(node, offset));
    EXPECT_EQ(node.getNodeName(), u"p");
    EXPECT_EQ(offset, 1);
    p.cursor(2, 14);  // in the title
    EXPECT_FALSE(p.doc->getCursorPos(node, offset));
    EXPECT_FALSE(p.doc->isTagExist(kHtmlTypeAnchor, Node()));
}

// A character outside the Basic Multilingual Plane is two UTF-16 units in
// the editor's count and four bytes in the file: the anchor still lands
// exactly at the cursor, in the text after it and in the same line's column.
TEST(PageDocument, TheAnchorLandsAtTheCursorAfterACharacterOutsideTheBmp) {
    const std::string page = "<!DOCTYPE html><p>x😀ab😀</p>";
    for (const std::string before : {"x😀", "x😀a", "x😀ab", "x😀ab😀"}) {
        size_t at = page.find(before) + before.size();
        std::optional<std::string> saved = insertAnchorOnly(page, at);
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->find("<A HREF"), at) << before;
    }
    OpenPage p(page);
    EXPECT_EQ(p.page->offsetOfLineColumn(1, 21), page.find("ab"));  // the emoji is one column
}

TEST(PageDocument, LineAndColumnCountCharactersAndStayInTheText) {
    OpenPage p("<!DOCTYPE html>\r\n<p>日本語</p>\rx\n");
    const std::string& t = p.page->text();
    EXPECT_EQ(p.page->offsetOfLineColumn(1, 1), 0u);
    EXPECT_EQ(p.page->offsetOfLineColumn(2, 5), t.find("本"));
    EXPECT_EQ(p.page->offsetOfLineColumn(2, 11), t.find("\rx"));  // end of the line
    EXPECT_EQ(p.page->offsetOfLineColumn(3, 2), t.size() - 1);
    EXPECT_EQ(p.page->offsetOfLineColumn(4, 1), t.size());  // after the last line break
    EXPECT_FALSE(p.page->offsetOfLineColumn(2, 12));
    EXPECT_FALSE(p.page->offsetOfLineColumn(5, 1));
    EXPECT_FALSE(p.page->offsetOfLineColumn(0, 1));
    EXPECT_FALSE(p.page->offsetOfLineColumn(1, 0));
}

// Binary files, files without markup, undeclared and misdeclared encodings
// are refused end to end by insert_link_refusals.cmake.
TEST(PageDocument, RefusesWhatItCannotKeepIntact) {
    // Declared Shift_JIS, holding a byte sequence Shift_JIS has no character for.
    EXPECT_EQ(readError("<html><head><meta charset=Shift_JIS></head><body>\x81\x20\xFF</body>"),
              "the page is not in the encoding it declares (Shift_JIS)");
    EXPECT_EQ(readError("<html><head><meta charset=x-unknown-9></head></html>"),
              "the page declares an encoding newsdesk cannot read (x-unknown-9)");
    std::string deep = "<!DOCTYPE html>" + std::string(5000 * 5, ' ');
    for (int i = 0; i < 5000; ++i) {
        deep.replace(15 + i * 5, 5, "<div>");
    }
    EXPECT_EQ(readError(deep), "the page is too deeply nested to edit");
}

TEST(PageDocument, UnchangedPagesOfEveryKindSaveToTheirOwnBytes) {
    for (const std::string& page :
         {pagetest::kHtml5, pagetest::kXhtml, pagetest::toShiftJis(pagetest::kLegacyUtf8),
          std::string("\xEF\xBB\xBF<!DOCTYPE html><table><td>fostered<tr>x</table><p>a<p>b")}) {
        OpenPage p(page);
        EXPECT_EQ(p.saved(), page);
    }
}

// Wherever the cursor stands in the body, the new anchor is the only change
// and a fresh parse finds it once, inside the element the cursor was in.
TEST(PageDocument, EveryCursorPositionInsertsTheAnchorAndNothingElse) {
    const std::string pages[] = {
        pagetest::kHtml5,
        pagetest::kXhtml,
        pagetest::toShiftJis(pagetest::kLegacyUtf8),
        "<!DOCTYPE html>\r\n<title>t</title>\r\n<table>\r\n<tr><td>cell<td>two\r\n</table>\r\n"
        "<ul><li>one<li>two</ul><p>a<b>bold<i>both</b>italic</i> <!-- note --> end\r\n"
        "<div\r\n  class=\"x\">\r\n\ttabbed <br/> text</div>\r\n",
        "<!DOCTYPE html><body><p>Tom &amp; Jerry&#33; &#x1F600; caf&eacute;</p>a</span>b"
        "<table>fostered<tr><td>1</table></body>\n</html>\n",
    };
    for (const std::string& page : pages) {
        OpenPage probe(page);
        const std::string& text = probe.page->text();
        long lines = 1 + static_cast<long>(std::count(text.begin(), text.end(), '\n'));
        int inserted = 0;
        for (long line = 1; line <= lines; ++line) {
            for (long column = 1;; ++column) {
                auto at = probe.page->offsetOfLineColumn(line, column);
                if (!at) {
                    break;
                }
                std::optional<std::string> saved = insertAnchorOnly(page, *at);
                if (!saved) {
                    continue;
                }
                OpenPage again(*saved);
                EXPECT_EQ(
                    again.dom->getChildElementsByID(again.page->root(), kHtmlTypeAnchor).size(), 1u)
                    << line << ":" << column;
                ++inserted;
            }
        }
        EXPECT_GT(inserted, 10);
    }
}

// Tag soup the parser has to repair (misnested and stray tags, tables,
// implied elements): the anchor is still the only change wherever it goes.
TEST(PageDocument, TagSoupTakesTheAnchorWithoutOtherChanges) {
    const char* pieces[] = {"<p>",
                            "</p>",
                            "<b>",
                            "</b>",
                            "<i>",
                            "</i>",
                            "<table>",
                            "<tr>",
                            "<td>",
                            "</table>",
                            "text",
                            " ",
                            "\r\n",
                            "<br>",
                            "<!-- c -->",
                            "</span>",
                            "<div class=x>",
                            "</div>",
                            "<a href=y.html>",
                            "</a>",
                            "<ul><li>",
                            "</body>",
                            "</html>",
                            "日本",
                            "<hr/>",
                            "<script>s</script>",
                            "<em>",
                            "\n"};
    std::mt19937 random(14);
    for (int round = 0; round < 40; ++round) {
        std::string page = "<!DOCTYPE html>";
        for (int i = 0; i < 30; ++i) {
            page += pieces[random() % std::size(pieces)];
        }
        OpenPage probe(page);
        // The feed link comes and goes leaving the page as it was.
        ASSERT_TRUE(probe.dom->setRssLink(u"f.rss", u"", u"", false, Node()));
        OpenPage linked(probe.saved());
        EXPECT_TRUE(linked.dom->hasRssLink(u"f.rss", u"", u"", Node())) << linked.original;
        EXPECT_TRUE(linked.dom->removeRssLink(u"f.rss", u"", u"", Node()));
        EXPECT_EQ(linked.saved(), page);
        const std::string& text = probe.page->text();
        for (int attempt = 0; attempt < 12; ++attempt) {
            size_t at = random() % (text.size() + 1);
            while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) {
                ++at;  // a character's first byte
            }
            std::optional<std::string> saved = insertAnchorOnly(page, at);
            if (!saved) {
                continue;
            }
            // An anchor left open in the file is reopened by the parser around
            // later content; the new one is there once all the same.
            OpenPage again(*saved);
            int ours = 0;
            for (Node n : again.dom->getChildElementsByID(again.page->root(), kHtmlTypeAnchor)) {
                ours += Element(n).getAttribute(u"href") == u"x.rss" ? 1 : 0;
            }
            EXPECT_EQ(ours, 1) << *saved << " @" << at;
        }
    }
}
