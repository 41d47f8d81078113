#include "TempDir.h"
#include "hostapp/pages/PageLimits.h"
#include "hostapp/pages/PageText.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/site/SiteScanner.h"
#include "hostapp/ui/CLumSiteRebuildProgressDlg.h"
#include "support/SiteFixture.h"
#include "support/TestUiDriver.h"
#include "win32/Loader.h"
#include "win32/Resources.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

using lum::site::ScanResult;
using lum::site::SiteDatabase;

namespace {

lum::site::SiteLocation location(const TempDir& dir, const std::string& site = "site") {
    return {dir.native(site).string(), "https://ann.example/shop/", "index.html"};
}

std::unique_ptr<SiteDatabase> openDb(const TempDir& dir, const std::string& site = "site") {
    std::string error;
    auto db = SiteDatabase::open(dir.native(site).string(), SiteDatabase::OpenMode::Create, error);
    EXPECT_TRUE(db) << error;
    return db;
}

ScanResult scan(SiteDatabase& db, const TempDir& dir, bool full = false,
                const std::string& site = "site") {
    ScanResult result;
    std::string error;
    EXPECT_TRUE(lum::site::scanSite(db, location(dir, site), full, {}, result, error)) << error;
    return result;
}

}  // namespace

TEST(SiteScan, ASecondScanOfAnUnchangedSiteReadsNothing) {
    TempDir dir;
    writeSmallSite(dir);
    auto db = openDb(dir);
    ScanResult first = scan(*db, dir);
    EXPECT_EQ(first.files, 10u);
    EXPECT_EQ(first.read, 10u);
    EXPECT_EQ(first.pagesParsed, 4u);
    EXPECT_EQ(first.feeds, 3u);
    ScanResult second = scan(*db, dir);
    EXPECT_EQ(second.files, 10u);
    EXPECT_EQ(second.read, 0u);
    EXPECT_EQ(second.pagesParsed, 0u);
    EXPECT_EQ(second.feeds, 3u);
}

TEST(SiteScan, ReadsTouchedFilesButParsesOnlyChangedOnes) {
    TempDir dir;
    writeSmallSite(dir);
    auto db = openDb(dir);
    scan(*db, dir);
    auto later = std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5);
    std::filesystem::last_write_time(dir.native("site/index.html"), later);
    ScanResult touched = scan(*db, dir);
    EXPECT_EQ(touched.read, 1u);
    EXPECT_EQ(touched.pagesParsed, 0u);

    // The page now links to the podcast only; the feed loses its link.
    dir.write("site/index.html", "<a href=podcast.data>p</a>");
    ScanResult changed = scan(*db, dir);
    EXPECT_EQ(changed.read, 1u);
    EXPECT_EQ(changed.pagesParsed, 1u);
    auto feed = db->fileByPath("news/feed.xml");
    ASSERT_TRUE(feed);
    std::string pages;
    for (const auto& link : db->backLinks(feed->id)) {
        pages += link.page + " ";
    }
    EXPECT_EQ(pages, "news/index.html news/old/archive.htm ");
    // A feed that stops being one leaves the list.
    dir.write("site/rdf.txt", "plain text now");
    EXPECT_EQ(scan(*db, dir).feeds, 2u);
    // full reads everything again.
    EXPECT_EQ(scan(*db, dir, true).read, 10u);
}

TEST(SiteScan, AKillDuringAScanLeavesADatabaseThatOpensAndARescanRepairs) {
    TempDir dir;
    std::filesystem::create_directories(dir.native("site/pages"));
    dir.write("site/feed.rss", "<rss><channel><title>F</title></channel></rss>");
    // Enough pages that the scan is still busy when the first batch is in.
    const int pages = 3000;
    for (int i = 0; i < pages; ++i) {
        dir.write("site/pages/p" + std::to_string(i) + ".html",
                  "<link rel=alternate href=../feed.rss><a href=p" + std::to_string(i + 1) +
                      ".html>next</a>");
    }
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::string error;
        auto db =
            SiteDatabase::open(dir.native("site").string(), SiteDatabase::OpenMode::Create, error);
        ScanResult result;
        bool told = false;
        if (db) {
            lum::site::scanSite(
                *db, location(dir), false,
                [&](size_t, size_t, const std::string&) {
                    if (!told) {
                        told = ::write(ready[1], "x", 1) == 1;
                    }
                },
                result, error);
        }
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);  // the first batch is committed
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the scan ended before it was killed";

    auto db = openDb(dir);
    ASSERT_TRUE(db);
    ScanResult rescan = scan(*db, dir);
    EXPECT_LT(rescan.read, static_cast<size_t>(pages) + 1);  // committed work is kept
    EXPECT_GT(rescan.read, 0u);
    auto feed = db->fileByPath("feed.rss");
    ASSERT_TRUE(feed);
    EXPECT_EQ(db->backLinks(feed->id).size(), static_cast<size_t>(pages));
    EXPECT_EQ(db->feeds().size(), 1u);
    auto last = db->fileByPath("pages/p" + std::to_string(pages) + ".html");
    ASSERT_TRUE(last);  // linked to, not there
    EXPECT_FALSE(last->present);
    EXPECT_EQ(scan(*db, dir).read, 0u);
}

TEST(PageText, DecodesDeclaredLegacyEncodingsAndGuessesUndeclaredOnes) {
    auto sjis = lum::page::decodePage(
        "<meta charset=\"shift_jis\"><title>\x93\xfa\x96\x7b\x8c\xea</title>");
    EXPECT_NE(sjis.text.find("日本語"), std::string::npos);
    auto euc = lum::page::decodePage(
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=EUC-JP\">\xc6\xfc\xcb\xdc");
    EXPECT_NE(euc.text.find("日本"), std::string::npos);
    EXPECT_EQ(lum::page::decodePage("\xEF\xBB\xBF<p>é</p>").text, "<p>é</p>");
    EXPECT_EQ(lum::page::decodePage("<p>日本</p>").encoding, "UTF-8");
    // No declaration, bytes that are not UTF-8: a guess, never a failure.
    std::string undeclared = "<html><body><p>";
    for (int i = 0; i < 40; ++i) {
        undeclared += "\x82\xb1\x82\xea\x82\xcd\x93\xfa\x96\x7b\x8c\xea\x82\xc5\x82\xb7";
    }
    auto guessed = lum::page::decodePage(undeclared);
    EXPECT_NE(guessed.text.find("これは日本語です"), std::string::npos) << guessed.encoding;
    EXPECT_EQ(lum::page::declaredCharset("<meta name=x content=y><meta charset = 'EUC-JP'>"),
              "EUC-JP");
    EXPECT_FALSE(lum::page::isValidUtf8("\xE6\x97"));
    EXPECT_TRUE(lum::page::isValidUtf8("日本"));
}

namespace {

bool registerHostResources() {
    std::ifstream in(ND_HOST_RES, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    return nd::win32::registerModuleResources(GetModuleHandleW(nullptr), bytes.data(),
                                              bytes.size());
}

}  // namespace

TEST(SiteRebuildDialog, RebuildsInItsOwnDialogAndClosesItselfWithoutAScript) {
    ASSERT_TRUE(registerHostResources());
    TempDir dir;
    writeSmallSite(dir);
    std::string error;
    ASSERT_TRUE(LumSiteMgr::openSite(CString(dir.windows("site")), error)) << error;
    ndtest::TestUiDriver ui;  // expects nothing: the dialog must not wait for anyone
    std::vector<std::pair<size_t, size_t>> seen;
    CLumSiteRebuildProgressDlg::setProgressListener(
        [&](size_t done, size_t total, const std::string&) { seen.emplace_back(done, total); });
    CLumSiteRebuildProgressDlg dlg(nullptr, 0);
    EXPECT_EQ(dlg.DoModal(), IDOK) << dlg.lastError();
    CLumSiteRebuildProgressDlg::setProgressListener({});
    EXPECT_EQ(dlg.result().feeds, 3u);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), std::make_pair(size_t{10}, size_t{10}));

    // A broken database is reported and kept, unless the rebuild replaces it.
    LumSiteMgr::closeSite();
    dir.write("site/.newsdesk-site.db", std::string(4096, 'z'));
    std::filesystem::remove(dir.native("site/.newsdesk-site.db-wal"));
    std::filesystem::remove(dir.native("site/.newsdesk-site.db-shm"));
    ASSERT_TRUE(LumSiteMgr::openSite(CString(dir.windows("site")), error)) << error;
    CLumSiteRebuildProgressDlg refused(nullptr, 0);
    EXPECT_EQ(refused.DoModal(), IDABORT);
    EXPECT_NE(refused.lastError().find("is not a site database"), std::string::npos);
    EXPECT_EQ(dir.read("site/.newsdesk-site.db"), std::string(4096, 'z'));
    CLumSiteRebuildProgressDlg forced(nullptr, CLumSiteRebuildProgressDlg::kReplaceBroken);
    EXPECT_EQ(forced.DoModal(), IDOK) << forced.lastError();
    EXPECT_EQ(forced.result().feeds, 3u);
    LumSiteMgr::closeSite();
}

TEST(PageLimits, RefusesOnlyMarkupThatWouldKeepTheParserBusyForHours) {
    auto times = [](const std::string& piece, int n) {
        std::string s;
        for (int i = 0; i < n; ++i) {
            s += piece;
        }
        return s;
    };
    // Deep nesting and piles of attributes: the parser's work grows with
    // their square.
    EXPECT_FALSE(lum::page::withinParseLimits(times("<div>", 2001)));
    EXPECT_FALSE(lum::page::withinParseLimits(times("<b>", 5000)));
    EXPECT_FALSE(lum::page::withinParseLimits("<a " + times("x=1 ", 1001) + ">"));
    // Long but flat pages, elements that close each other, closed elements,
    // and tags inside scripts, comments and quoted values are fine.
    EXPECT_TRUE(lum::page::withinParseLimits(times("<div>x</div>", 50000)));
    EXPECT_TRUE(lum::page::withinParseLimits(times("<p><li><a href=x><img src=y><br>", 50000)));
    EXPECT_TRUE(lum::page::withinParseLimits("<script>" + times("<div>", 5000) + "</SCRIPT>"));
    EXPECT_TRUE(lum::page::withinParseLimits("<!--" + times("<div>", 5000) + "-->"));
    EXPECT_TRUE(lum::page::withinParseLimits("<a title=\"" + times("<div> x=1 ", 5000) + "\">"));
    EXPECT_TRUE(lum::page::withinParseLimits(times("<div>", 2000)));
}

TEST(SiteScan, ListsAPageTooDeepToParseWithoutItsLinksAndGoesOn) {
    TempDir dir;
    writeSmallSite(dir);
    std::string deep;
    for (int i = 0; i < 300000; ++i) {
        deep += "<div>";
    }
    dir.write("site/deep.html", deep + "<a href=news/feed.xml>f</a>");
    auto db = openDb(dir);
    auto start = std::chrono::steady_clock::now();
    ScanResult result = scan(*db, dir);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    EXPECT_EQ(result.pagesSkipped, 1u);
    EXPECT_EQ(result.pagesParsed, 4u);
    auto page = db->fileByPath("deep.html");
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->present);
    EXPECT_TRUE(db->linksFrom(page->id).empty());
}

namespace {

// The pages linking to a file with their elements, "page element" each.
std::vector<std::string> linking(SiteDatabase& db, const std::string& path) {
    std::vector<std::string> pages;
    if (auto row = db.fileByPath(path)) {
        for (const auto& link : db.backLinks(row->id)) {
            pages.push_back(link.page + " " + link.element);
        }
    }
    return pages;
}

}  // namespace

// What a move must follow is what the database records: links of a page to
// itself by name, forms, srcsets, posters, refreshes, styles and the
// stylesheets' own references, in every URL form that reaches the file.
// Hidden folders are no part of the site.
TEST(SiteScan, RecordsEveryReferenceAMoveFollowsAndNoHiddenFolder) {
    TempDir dir;
    std::filesystem::create_directories(dir.native("site/.git"));
    std::filesystem::create_directories(dir.native("site/.well-known"));
    std::string many;
    for (int i = 0; i < 20; ++i) {
        many += "<a href=\"t" + std::to_string(i) + ".html\">" + std::to_string(i) + "</a>";
    }
    dir.write("site/many.html", many);
    dir.write("site/apt.html",
              "<a href=\"apt.html#sources\">self</a><a href=\"#top\">top</a>"
              "<form action=\"https://ann.example:443/shop/search.html\"></form>"
              "<img srcset=\"img/a.png 1x, /shop/img/b.png 2x\"><video poster=\"img/p.jpg\">"
              "</video><meta http-equiv=refresh content=\"0; url=/../shop/next.html\">"
              "<p style=\"background:url(img/bg.png)\"></p>"
              "<style>@import 'print.css'; p{background:url(\"img/s.png\")}</style>");
    dir.write("site/print.css", "@import url(more.css); .x{background:url(img/c.png)}");
    dir.write("site/.git/HEAD", "ref: refs/heads/main\n");
    dir.write("site/.git/index.html", "<a href=\"../apt.html\">x</a>");
    dir.write("site/.well-known/security.txt", "Contact: mailto:ann@example.com\n");
    auto db = openDb(dir);
    ScanResult result = scan(*db, dir);
    EXPECT_EQ(result.files, 4u);  // many, apt, print.css, security.txt
    EXPECT_FALSE(db->fileByPath(".git/HEAD"));
    EXPECT_TRUE(db->fileByPath(".well-known/security.txt"));

    // Sixteen links go in to a statement: the four beyond must not be lost.
    EXPECT_EQ(db->linkCount(), std::int64_t{20 + 11});
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(linking(*db, "t" + std::to_string(i) + ".html"),
                  std::vector<std::string>{"many.html a"})
            << i;
    }
    struct {
        const char* file;
        std::vector<std::string> pages;
    } cases[] = {
        {"apt.html", {"apt.html a"}},      {"search.html", {"apt.html form"}},
        {"img/a.png", {"apt.html img"}},   {"img/b.png", {"apt.html img"}},
        {"img/p.jpg", {"apt.html video"}}, {"next.html", {"apt.html meta"}},
        {"img/bg.png", {"apt.html p"}},    {"print.css", {"apt.html style"}},
        {"img/s.png", {"apt.html style"}}, {"more.css", {"print.css @import"}},
        {"img/c.png", {"print.css url"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(linking(*db, c.file), c.pages) << c.file;
    }
}
