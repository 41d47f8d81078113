// The auto-discovery link, found by each of its URL forms; the page editor
// over a file; the product folder's icons.
#include "TempDir.h"
#include "hostapp/app/PageEditor.h"
#include "hostapp/files/CKmxCommon.h"
#include "hostapp/media/pixImage.h"
#include "hostapp/urls/UrlUtil.h"
#include "support/PageEditTesting.h"
#include "support/TestUiDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using pagetest::OpenPage;

namespace {

const CString kFeed = u"file:///Z:/site/news/feeds/news.rss";
const CString kRelative = u"feeds/news.rss";
const CString kSiteUrl = u"https://ann.example/news/feeds/news.rss";

}  // namespace

TEST(PageAutoDiscovery, AddedAfterTheHeadsLastElementOnItsOwnLineAndRemovedAgain) {
    OpenPage p(pagetest::kHtml5);
    EXPECT_FALSE(p.dom->hasRssLink(kFeed, kRelative, kSiteUrl, Node()));
    ASSERT_TRUE(p.dom->setRssLink(kFeed, kRelative, kSiteUrl, true, Node()));
    std::string added = p.saved();
    EXPECT_EQ(added,
              pagetest::insertedBefore(pagetest::kHtml5, "\n</head>",
                                       "\n  <link rel=\"alternate\" type=\"application/rss+xml\" "
                                       "title=\"news.rss\" href=\"feeds/news.rss\">"));
    OpenPage again(added);
    EXPECT_TRUE(again.dom->hasRssLink(kFeed, kRelative, u"", Node()));
    EXPECT_TRUE(again.dom->removeRssLink(kFeed, kRelative, u"", Node()));
    EXPECT_EQ(again.saved(), pagetest::kHtml5);
    EXPECT_FALSE(again.dom->removeRssLink(kFeed, kRelative, u"", Node()));
}

TEST(PageAutoDiscovery, AnXhtmlPageGetsAClosedLinkWithItsOwnLineBreaks) {
    OpenPage p(pagetest::kXhtml);
    ASSERT_TRUE(p.dom->setRssLink(kFeed, kRelative, u"", false, Node()));
    std::string added = p.saved();
    EXPECT_EQ(added, pagetest::insertedBefore(pagetest::kXhtml, "\r\n</head>",
                                              "\r\n<link rel=\"alternate\" "
                                              "type=\"application/rss+xml\" "
                                              "href=\"feeds/news.rss\" />"));
    OpenPage again(added);
    EXPECT_TRUE(again.dom->removeRssLink(kFeed, u"", u"", Node()));
    EXPECT_EQ(again.saved(), pagetest::kXhtml);
}

TEST(PageAutoDiscovery, FoundByEachUrlFormWhateverTheCaseOfItsAttributes) {
    const char* hrefs[] = {"file:///Z:/site/news/feeds/news.rss", "feeds/news.rss",
                           "./feeds/news.rss", "https://ann.example/news/feeds/news.rss"};
    for (const char* href : hrefs) {
        std::string page = std::string(
                               "<!DOCTYPE html><HEAD>\n<TITLE>t</TITLE>\n"
                               "<LINK REL=\"Alternate Feed\" TYPE=\"Application/RSS+XML\" "
                               "HREF=\"") +
                           href + "\">\n</HEAD><p>x</p>";
        OpenPage p(page);
        EXPECT_TRUE(p.dom->hasRssLink(kFeed, kRelative, kSiteUrl, Node())) << href;
        EXPECT_TRUE(p.dom->removeRssLink(kFeed, kRelative, kSiteUrl, Node())) << href;
        EXPECT_EQ(p.saved(), "<!DOCTYPE html><HEAD>\n<TITLE>t</TITLE>\n</HEAD><p>x</p>");
    }
    // Another feed, a stylesheet, a link of another type: none is the feed's.
    OpenPage other(
        "<!DOCTYPE html><head><link rel=alternate type=application/rss+xml href=other.rss>"
        "<link rel=stylesheet href=feeds/news.rss><link rel=alternate type=text/html "
        "href=feeds/news.rss></head>");
    EXPECT_FALSE(other.dom->hasRssLink(kFeed, kRelative, kSiteUrl, Node()));
}

TEST(PageAutoDiscovery, APageWithoutAHeadTagGetsTheLinkInFrontOfItsContent) {
    std::string page = "<!DOCTYPE html>\n<p>Only a paragraph</p>\n";
    OpenPage p(page);
    ASSERT_TRUE(p.dom->setRssLink(kFeed, u"", u"", false, Node()));
    std::string saved = p.saved();
    EXPECT_EQ(saved,
              pagetest::insertedBefore(page, "<p>",
                                       "<link rel=\"alternate\" type=\"application/rss+xml\" "
                                       "href=\"file:///Z:/site/news/feeds/news.rss\">"));
    OpenPage again(saved);
    EXPECT_TRUE(again.dom->hasRssLink(kFeed, u"", u"", Node()));
    EXPECT_EQ(again.page->head().getChildElements().size(), 1u);
}

class PageEditorFile : public ::testing::Test {
  protected:
    std::unique_ptr<lum::page::PageEditor> open(const std::string& bytes) {
        dir.write("page.html", bytes);
        std::string error;
        auto editor = lum::page::PageEditor::open(CString(dir.windows("page.html")), bytes, error);
        EXPECT_TRUE(editor) << error;
        return editor;
    }
    TempDir dir;
};

TEST_F(PageEditorFile, SavesTheChangeAtomicallyAndRefusesAFileChangedMeanwhile) {
    auto editor = open(pagetest::kHtml5);
    EXPECT_EQ(editor->getPageLocation(), cat_file_colon(CString(dir.windows("page.html"))));
    editor->getDomUtil()->setRssLink(kFeed, kRelative, u"", false, Node());
    editor->notifyChange(0, kPageDomChanged, 0);
    EXPECT_TRUE(editor->changed());
    std::string error;
    ASSERT_TRUE(editor->save(error)) << error;
    EXPECT_NE(dir.read("page.html"), pagetest::kHtml5);
    EXPECT_TRUE(OpenPage(dir.read("page.html")).dom->hasRssLink(kFeed, kRelative, u"", Node()));

    auto second = open(pagetest::kHtml5);
    second->getDomUtil()->removeRssLink(kFeed, kRelative, u"", Node());
    dir.write("page.html", pagetest::kHtml5 + "<!-- edited elsewhere -->\n");
    EXPECT_FALSE(second->save(error));
    EXPECT_EQ(error, "the page changed on disk while it was being edited; not saved");
    EXPECT_EQ(dir.read("page.html"), pagetest::kHtml5 + "<!-- edited elsewhere -->\n");
}

TEST_F(PageEditorFile, FullPathsOfReferencesAndTheSampleChooser) {
    auto editor = open(pagetest::kHtml5);
    COrvHTMLDocUtil* doc = editor->getDocUtil();
    CString folder(dir.windows());
    EXPECT_EQ(doc->getFullPath(u"feeds/a%20b.rss"), folder + u"\\feeds\\a b.rss");
    EXPECT_EQ(doc->getFullPath(u"https://ann.example/a.rss"), u"https://ann.example/a.rss");
    EXPECT_EQ(doc->getFullPath(u""), u"");
    // A page with a <base> refers from there.
    auto based = open(
        "<!DOCTYPE html><head><base href=\"https://ann.example/news/\">"
        "<link rel=alternate type=application/rss+xml href=feed.rss></head>");
    EXPECT_EQ(based->getDocUtil()->getFullPath(u"feed.rss"), u"https://ann.example/news/feed.rss");
    EXPECT_TRUE(
        based->getDomUtil()->hasRssLink(u"https://ann.example/news/feed.rss", u"", u"", Node()));
    EXPECT_FALSE(doc->isFreeLayoutMode());

    ndtest::TestUiDriver ui;
    CString sample = lum::page::sampleIconFolder() + u"rss_blue.gif";
    ui.chooseFile(lum::page::kSampleMaterialFileKind, sample.str());
    EXPECT_EQ(doc->GetSampleFile(0, nullptr), sample);
    ui.cancelChooser();
    EXPECT_EQ(doc->GetSampleFile(0, nullptr), u"");
    EXPECT_EQ(doc->GetSampleFile(1, nullptr), u"");  // no samples of other types
}

TEST(ProductFolderIcons, TheDefaultAndTheSampleIconsAreGifsOfOurDrawing) {
    // The build puts them beside the programs, where the product folder is.
    CString folder = CKmxCommon::getProductFolder(lum::page::kRssIconProductFolder, 0);
    pixImage icon;
    ASSERT_TRUE(icon.read(folder + u"rss_icon.gif"));
    EXPECT_EQ(icon.kind(), pixImage::Kind::Gif);
    EXPECT_EQ(icon.width(), 16);
    EXPECT_EQ(icon.height(), 16);
    ASSERT_EQ(icon.channels(), 4);
    const auto& px = icon.pixels();
    EXPECT_EQ(px[3], 0);  // the rounded corner is transparent
    size_t middle = (8 * 16 + 8) * 4;
    EXPECT_EQ(px[middle + 3], 255);
    int samples = 0;
    for (const char16_t* name : {u"rss_orange.gif", u"rss_blue.gif", u"rss_green.gif",
                                 u"rss_gray.gif", u"rss_large.gif"}) {
        pixImage sample;
        samples += sample.read(lum::page::sampleIconFolder() + name) ? 1 : 0;
    }
    EXPECT_EQ(samples, 5);
}
