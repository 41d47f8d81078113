#include "TempDir.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/site/SiteDatabase.h"
#include "support/SiteFixture.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>

using lum::site::SiteDatabase;

namespace {

class SmallSite : public OpenSmallSite {
  protected:
    // The pages linking to a file, by relative path, with their elements.
    std::vector<std::string> linking(const std::string& relative) {
        int id = m_db->UrlGetIDPath(path(relative), 2);
        std::vector<SiteRecCell50>* records = nullptr;
        std::vector<std::string> pages;
        if (m_db->GetBackLinks({2, id}, &records, 2) < 0 || !records) {
            return {"<none>"};
        }
        for (const auto& r : *records) {
            pages.push_back(m_db->relativePath(r.m_path) + " " + r.m_element.toUtf8());
        }
        m_db->DeleteVecRecCell(records);
        return pages;
    }
};

}  // namespace

TEST_F(SmallSite, FindsFeedsByContentWhateverTheirNames) {
    std::vector<SiteRecCell50>* feeds = nullptr;
    ASSERT_TRUE(LumSiteMgr::GetRssInSite(&feeds));
    ASSERT_NE(feeds, nullptr);
    std::vector<std::string> found;
    for (const auto& f : *feeds) {
        found.push_back(m_db->relativePath(f.m_path) + " " + std::to_string(f.m_format) + " " +
                        f.m_title.toUtf8());
        EXPECT_EQ(f.m_urlId.kind, 2);
        EXPECT_EQ(f.m_urlId.id, m_db->UrlGetIDPath(f.m_path, 2));
    }
    LumSiteMgr::DeleteVecRecCell(feeds);
    EXPECT_EQ(found, (std::vector<std::string>{"news/feed.xml 1 店のニュース", "podcast.data 2 声",
                                               "rdf.txt 0 RDF"}));
}

TEST_F(SmallSite, ResolvesRelativeRootAndAbsoluteLinksInUtf8AndShiftJisPages) {
    EXPECT_EQ(linking("news/feed.xml"),
              (std::vector<std::string>{"index.html link", "news/index.html a",
                                        "news/old/archive.htm a"}));
    EXPECT_EQ(linking("img/ロゴ.png"),
              (std::vector<std::string>{"index.html img", "news/index.html a"}));
    EXPECT_EQ(linking("rdf.txt"),
              (std::vector<std::string>{"frames.html frame", "news/index.html iframe"}));
    // A folder URL stands for its top page; a link with a query or fragment
    // names the file.
    EXPECT_EQ(linking("news/index.html"),
              (std::vector<std::string>{"frames.html frame", "index.html a"}));
    EXPECT_EQ(linking("index.html"), (std::vector<std::string>{"news/index.html a"}));
    EXPECT_EQ(linking("podcast.data"), (std::vector<std::string>{"index.html a"}));
    EXPECT_EQ(linking("style.css"), (std::vector<std::string>{"index.html link"}));
    // A missing file that a page links to still has its linking pages.
    EXPECT_EQ(linking("missing.js"), (std::vector<std::string>{"index.html script"}));
    auto row = m_db->database().fileByPath("missing.js");
    ASSERT_TRUE(row);
    EXPECT_FALSE(row->present);
    // Pages outside the site, other hosts and mail links are not files of it.
    EXPECT_EQ(m_db->UrlGetIDPath(CString(m_dir.windows("outside.html")), 2), -1);
    EXPECT_FALSE(m_db->database().fileByPath("outside.html"));
    EXPECT_EQ(
        m_db->database().linksFrom(m_db->UrlGetIDPath(path("news/old/archive.htm"), 2)).size(), 1u);
    auto page = m_db->database().fileByPath("news/index.html");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->title, "ニュース");
}

TEST_F(SmallSite, AnswersIdsAndPathsBothWaysIgnoringLetterCaseWhenNeeded) {
    int id = m_db->UrlGetIDPath(path("news/feed.xml"), 2);
    ASSERT_GE(id, 0);
    EXPECT_EQ(m_db->UrlGetIDPath(path("NEWS/Feed.XML"), 2), id);
    EXPECT_EQ(m_db->UrlGetIDPath(path("news/feed.xml"), 1), -1);
    EXPECT_EQ(m_db->UrlGetIDPath(path("news/../news/./feed.xml"), 2), id);
    LPWSTR back = m_db->UrlPath({2, id});
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(CString(back), path("news/feed.xml"));
    m_db->DeleteString(back);
    EXPECT_EQ(m_db->UrlPath({2, 999999}), nullptr);
    EXPECT_EQ(m_db->UrlPath({1, id}), nullptr);
    std::vector<SiteRecCell50>* records = reinterpret_cast<std::vector<SiteRecCell50>*>(1);
    EXPECT_EQ(m_db->GetBackLinks({2, 999999}, &records, 2), -1);
    EXPECT_EQ(records, nullptr);
}

TEST_F(SmallSite, KeepsTheProfileAndRssInformationAcrossOpenings) {
    int id = m_db->SiteProfGetID(LumSiteMgr::getCurrentSiteName());
    ASSERT_GE(id, 0);
    EXPECT_EQ(m_db->SiteProfGetID(u"another site"), -1);
    LPWSTR dir = m_db->GetSiteProfDir(id, 1);
    LPWSTR url = m_db->GetSiteProfUrl(id);
    LPWSTR top = m_db->GetSiteProfTopFile(id);
    ASSERT_TRUE(dir && url && top);
    EXPECT_EQ(CString(dir), CString(m_dir.windows("site")) + u"\\");
    EXPECT_EQ(CString(url), u"https://Ann.Example/shop/");
    EXPECT_EQ(CString(top), path("index.html"));
    EXPECT_EQ(LumSiteMgr::getRssFileName(CString(top)), path("index.rss"));
    for (LPWSTR s : {dir, url, top}) {
        m_db->DeleteString(s);
    }
    EXPECT_TRUE(m_db->SetSiteProfTitle(id, u"店の RSS"));
    EXPECT_TRUE(m_db->SetSiteProfDescription(id, u"毎週 & 毎月"));
    EXPECT_FALSE(m_db->SetSiteProfTitle(id + 100, u"x"));
    int page = m_db->UrlGetIDPath(path("news/index.html"), 2);
    EXPECT_TRUE(m_db->SetRssInfo({2, page}, u"記事", u"説明", -5, 1));
    EXPECT_FALSE(m_db->SetRssInfo({2, 999999}, u"記事", u"説明", 0, 1));
    LumSiteMgr::setInitDir(path("news"), 1, false);
    LumSiteMgr::setInitDir(u"Z:\\elsewhere", 1, true);

    // Closing and opening the site reads everything back from the file.
    LumSiteMgr::closeSite();
    std::string error;
    ASSERT_TRUE(LumSiteMgr::openSite(CString(m_dir.windows("site")), error)) << error;
    m_db = LumSiteMgr::getSiteMgr();
    ASSERT_NE(m_db, nullptr);
    EXPECT_EQ(m_db->SiteProfGetID(LumSiteMgr::getCurrentSiteName()), id);
    EXPECT_EQ(m_db->GetSiteProfTitle(id), u"店の RSS");
    EXPECT_EQ(m_db->GetSiteProfDescription(id), u"毎週 & 毎月");
    lum::site::RssInfo info;
    ASSERT_TRUE(m_db->GetRssInfo({2, page}, info));
    EXPECT_EQ(info.title, "記事");
    EXPECT_EQ(info.pubTime, -5);
    EXPECT_EQ(info.flags, 1);
    EXPECT_EQ(LumSiteMgr::getInitDir(1, false), path("news"));
    EXPECT_EQ(LumSiteMgr::getInitDir(1, true), u"Z:\\elsewhere");
    EXPECT_EQ(LumSiteMgr::getInitDir(2, false), u"");
}

TEST_F(SmallSite, ForgetsFilesThatLeaveTheFolderButKeepsTheirLinkingPages) {
    std::filesystem::remove(m_dir.native("site/news/feed.xml"));
    lum::site::ScanResult result;
    std::string error;
    ASSERT_TRUE(m_db->rebuild(false, {}, result, error)) << error;
    EXPECT_EQ(result.gone, 1u);
    EXPECT_EQ(result.feeds, 2u);
    EXPECT_EQ(linking("news/feed.xml").size(), 3u);
    std::filesystem::remove(m_dir.native("site/news/old/archive.htm"));
    ASSERT_TRUE(m_db->rebuild(false, {}, result, error)) << error;
    EXPECT_EQ(linking("news/feed.xml"),
              (std::vector<std::string>{"index.html link", "news/index.html a"}));
}

namespace {

std::string databaseFile(const TempDir& dir) {
    return SiteDatabase::databasePath(dir.path().string());
}

}  // namespace

TEST(SiteDatabaseFile, RefusesAFileThatIsNotASiteDatabaseAndLeavesItAlone) {
    TempDir dir;
    std::string error;
    EXPECT_FALSE(SiteDatabase::open(dir.path().string(), SiteDatabase::OpenMode::Existing, error));
    EXPECT_NE(error.find("no site database"), std::string::npos) << error;

    const std::string junk(3000, 'x');
    dir.write(lum::site::kDatabaseFile, junk);
    for (auto mode : {SiteDatabase::OpenMode::Existing, SiteDatabase::OpenMode::Create}) {
        error.clear();
        EXPECT_FALSE(SiteDatabase::open(dir.path().string(), mode, error));
        EXPECT_EQ(error, "site database " + databaseFile(dir) +
                             " is not a site database (newsdesk site rebuild --force replaces it)");
        EXPECT_EQ(dir.read(lum::site::kDatabaseFile), junk);
    }
    auto db = SiteDatabase::open(dir.path().string(), SiteDatabase::OpenMode::Recreate, error);
    ASSERT_TRUE(db) << error;
    EXPECT_TRUE(db->feeds().empty());
}

TEST(SiteDatabaseFile, RefusesAnotherProgramsDatabaseAndANewerSchema) {
    TempDir dir;
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(databaseFile(dir).c_str(), &raw), SQLITE_OK);
    sqlite3_exec(raw, "CREATE TABLE notes(text)", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    std::string error;
    EXPECT_FALSE(SiteDatabase::open(dir.path().string(), SiteDatabase::OpenMode::Create, error));
    EXPECT_NE(error.find("another program's SQLite file"), std::string::npos) << error;

    std::filesystem::remove(databaseFile(dir));
    ASSERT_TRUE(SiteDatabase::open(dir.path().string(), SiteDatabase::OpenMode::Create, error));
    ASSERT_EQ(sqlite3_open(databaseFile(dir).c_str(), &raw), SQLITE_OK);
    sqlite3_exec(raw, "PRAGMA user_version=2", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    error.clear();
    EXPECT_FALSE(SiteDatabase::open(dir.path().string(), SiteDatabase::OpenMode::Create, error));
    EXPECT_NE(error.find("has schema 2, newer than this newsdesk reads (1)"), std::string::npos)
        << error;
    EXPECT_TRUE(SiteDatabase::open(dir.path().string(), SiteDatabase::OpenMode::Recreate, error));
}

TEST(SiteDatabaseFile, UndoesEveryChangeOfAFailedTransaction) {
    TempDir dir;
    std::string error;
    auto db = SiteDatabase::open(dir.path().string(), SiteDatabase::OpenMode::Create, error);
    ASSERT_TRUE(db) << error;
    EXPECT_FALSE(db->transaction([&] {
        db->fileId("a.html");
        return db->transaction([&] {
            db->fileId("b.html");
            return false;
        });
    }));
    EXPECT_TRUE(db->allFiles().empty());
    EXPECT_TRUE(db->transaction([&] { return db->fileId("c.html") >= 0; }));
    EXPECT_EQ(db->allFiles().size(), 1u);
}

TEST_F(SmallSite, ListsAFeedAddedSinceTheLastRebuild) {
    m_dir.write("site/news/extra.rss", "<rss><channel><title>追加</title></channel></rss>");
    std::vector<SiteRecCell50>* feeds = nullptr;
    ASSERT_TRUE(LumSiteMgr::GetRssInSite(&feeds));
    ASSERT_NE(feeds, nullptr);
    EXPECT_EQ(feeds->size(), 4u);
    EXPECT_TRUE(std::any_of(feeds->begin(), feeds->end(),
                            [](const SiteRecCell50& f) { return f.m_title == u"追加"; }));
    LumSiteMgr::DeleteVecRecCell(feeds);
}

// A page's links are stored sixteen to a statement: every count around that
// keeps each target, the first and the last of each batch included.
TEST_F(SmallSite, KeepsEveryLinkTargetOfAPageWithManyOfThem) {
    for (size_t count : {15u, 16u, 17u, 32u, 33u}) {
        SCOPED_TRACE(count);
        std::string page;
        for (size_t i = 0; i < count; ++i) {
            std::string name = "many/t" + std::to_string(i) + ".html";
            m_dir.write("site/" + name, "x");
            page += "<a href=\"" + name + "\">" + std::to_string(i) + "</a>\n";
        }
        m_dir.write("site/many.html", page + std::string(count, ' '));  // a new size: read again
        lum::site::ScanResult result;
        std::string error;
        ASSERT_TRUE(m_db->rebuild(false, {}, result, error)) << error;
        for (size_t i = 0; i < count; ++i) {
            EXPECT_EQ(linking("many/t" + std::to_string(i) + ".html"),
                      std::vector<std::string>{"many.html a"})
                << i;
        }
    }
}
