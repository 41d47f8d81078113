#include "TempDir.h"
#include "hostapp/app/CLumAppEngineer.h"
#include "hostapp/site/CLumUrlManSiteAdapter.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/site/SiteDefinition.h"
#include "hostapp/site/SiteJournal.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Opens a site in a temporary folder for one test and closes it afterwards.
class OpenSite : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(m_dir.native("site/audio"));
        m_dir.write(
            "site/newsdesk-site.json",
            R"({"name": "アンの店", "url": "https://ann.example/shop", "topPage": "top.html"})");
        std::string error;
        ASSERT_TRUE(LumSiteMgr::openSite(CString(m_dir.windows("site")), error)) << error;
    }
    void TearDown() override { LumSiteMgr::closeSite(); }
    CString site(const std::string& name = "") const {
        return CString(m_dir.windows(name.empty() ? "site" : "site/" + name));
    }

    TempDir m_dir;
};

}  // namespace

TEST(SiteDefinition, GivesDefaultsForNameAndTopPageAndEndsTheUrlWithASlash) {
    TempDir dir;
    // The scheme in any case (found by fuzz_site_definition) is written lower.
    dir.write("newsdesk-site.json", R"({"url": "HtTp://example.com"})");
    std::string error;
    auto site = readSiteDefinition(CString(dir.windows()), error);
    ASSERT_TRUE(site) << error;
    EXPECT_EQ(site->url, u"http://example.com/");
    EXPECT_EQ(site->topPage, u"index.html");
    EXPECT_EQ(site->name, CString::fromUtf8(dir.path().filename().string()));
    EXPECT_EQ(site->folder, CString(dir.windows()) + u"\\");
}

TEST(SiteDefinition, RefusesAMissingOrBrokenDefinitionWithAReasonNamingTheFile) {
    TempDir dir;
    std::string error;
    EXPECT_FALSE(readSiteDefinition(CString(dir.windows()), error));
    EXPECT_EQ(error, "no site definition " + dir.native("newsdesk-site.json").string());
    // A scheme without a host (found by fuzzing) names no site either.
    const char* broken[] = {R"({"url": )",
                            R"(["http://a/"])",
                            R"({"name": "x"})",
                            R"({"url": "ftp://a/"})",
                            R"({"url": 5})",
                            R"({"url": "file:///Z:/"})",
                            R"({"url": "https:a/"})",
                            R"({"url": "http:///a/"})",
                            R"({"url": "htTps://annmxea.pl?/shop/"})",
                            R"({"url": "https://a.example/#/shop/"})",
                            "88888e888888888{"};
    for (const char* text : broken) {
        dir.write("newsdesk-site.json", text);
        error.clear();
        EXPECT_FALSE(readSiteDefinition(CString(dir.windows()), error)) << text;
        EXPECT_NE(error.find("newsdesk-site.json: "), std::string::npos) << error;
    }
    EXPECT_FALSE(readSiteDefinition(CString(dir.windows("missing")), error));
    EXPECT_EQ(error, "no site folder " + dir.native("missing").string());
}

TEST(LumSiteMgr, AFailedOpenKeepsNoSiteOpen) {
    TempDir dir;
    std::string error;
    EXPECT_FALSE(LumSiteMgr::openSite(CString(dir.windows()), error));
    EXPECT_FALSE(LumSiteMgr::isSiteOpened());
    SITE_INFO info;
    info.siteName = u"kept";
    EXPECT_FALSE(LumSiteMgr::getCurrentSiteInfo(info));
    EXPECT_EQ(info.siteName, u"kept");
    EXPECT_EQ(LumSiteMgr::getOutStandingSiteIF(), nullptr);
    EXPECT_EQ(LumSiteMgr::getCurrentSiteTopUrl(), u"");
}

TEST_F(OpenSite, RecordHoldsTheDefinition) {
    SITE_INFO info;
    ASSERT_TRUE(LumSiteMgr::getCurrentSiteInfo(info));
    EXPECT_EQ(info.siteName, u"アンの店");
    EXPECT_EQ(info.rootFolder, site() + u"\\");
    EXPECT_EQ(info.siteUrl, u"https://ann.example/shop/");
    EXPECT_EQ(LumSiteMgr::getCurrentSiteTopUrl(), u"https://ann.example/shop/top.html");
}

TEST_F(OpenSite, PublicUrlOfAFileIsItsPlaceUnderTheSiteUrl) {
    SiteIF* current = LumSiteMgr::getOutStandingSiteIF();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(LumSiteMgr::getMySiteUrl(current, site("audio/第1回 a&b.mp3")),
              u"https://ann.example/shop/audio/%E7%AC%AC1%E5%9B%9E%20a&b.mp3");
    EXPECT_EQ(LumSiteMgr::getMySiteUrl(current, site()), u"https://ann.example/shop/");
    // Names differ by letter case here; only the drive letter does not.
    CString upper = site("a.mp3");
    upper.MakeUpper();
    EXPECT_EQ(LumSiteMgr::getMySiteUrl(current, upper), u"");
    CString lowerDrive = site("a.mp3");
    lowerDrive.SetAt(0, u'z');
    EXPECT_EQ(LumSiteMgr::getMySiteUrl(current, lowerDrive), u"https://ann.example/shop/a.mp3");
    // Outside the root, also by way of "..", there is no public URL.
    EXPECT_EQ(LumSiteMgr::getMySiteUrl(current, site("../other.mp3")), u"");
    EXPECT_EQ(LumSiteMgr::getMySiteUrl(current, site() + u"2\\a.mp3"), u"");
    EXPECT_EQ(LumSiteMgr::getMySiteUrl(current, u"http://ann.example/a.mp3"), u"");
    SiteIF* outside = OutSMgr::findOutSite();
    EXPECT_TRUE(outside->isOutSite());
    EXPECT_EQ(LumSiteMgr::getMySiteUrl(outside, site("a.mp3")), u"");
    outside->release();
    current->release();
}

TEST_F(OpenSite, ApplicationFindsTheSiteOnlyForItsOwnFiles) {
    CLumAppEngineer* app = CLumAppEngineer::getInstance();
    SiteIF* mine = app->getMySiteIF(u"file:///" + site("a.rss"), nullptr);
    ASSERT_NE(mine, nullptr);
    mine->release();
    EXPECT_EQ(app->getMySiteIF(site() + u"x\\a.rss", nullptr), nullptr);
    SiteIF* current = app->getOutStandingSiteIF(nullptr);
    ASSERT_NE(current, nullptr);
    current->release();
    CLumUrlManSiteAdapter adapter;
    EXPECT_TRUE(adapter.isSiteOpened());
    EXPECT_TRUE(adapter.inSite(site("audio/x.mp3")));
    EXPECT_TRUE(adapter.outSite(site("../x.mp3")));
}

// A journal changed by another hand is not acted on: a rename out of the
// site, or of a file that is not one of our temporary files, could destroy a
// page. It stays, said once, and every file stays as it was.
TEST(SiteJournal, ADamagedOrStrangeJournalIsLeftAloneAndSaid) {
    TempDir dir;
    std::filesystem::create_directories(dir.native("site"));
    dir.write("outside.html", "outside");
    dir.write("site/index.html", "page");
    dir.write("site/.index.html.abc123.ndsave", "staged");
    const std::string root = dir.native("site").string();
    const std::string journal = lum::site::journalPath(root);
    const std::string page = R"({"version": 1, "operation": "delete", "staged": true,
        "files": ["gone.rss"], "folders": [], "pages": [{"path": )";
    for (const std::string& text :
         {std::string("{\"version\": 1, \"operation\""),  // cut short
          page + R"("index.html", "staged": "../outside.html"}]})",
          page + R"("../outside.html", "staged": ".index.html.abc123.ndsave"}]})",
          page + R"("index.html", "staged": "outside.html"}]})",
          page + R"("/etc/passwd", "staged": ".index.html.abc123.ndsave"}]})"}) {
        dir.write("site/.newsdesk-site.db.journal", text);
        EXPECT_NE(lum::site::finishInterruptedOperation(root).find("cannot read the record"),
                  std::string::npos)
            << text;
        EXPECT_TRUE(std::filesystem::exists(journal));
        EXPECT_EQ(dir.read("site/index.html"), "page");
        EXPECT_EQ(dir.read("site/.index.html.abc123.ndsave"), "staged");
        EXPECT_EQ(dir.read("outside.html"), "outside");
    }
    // The same journal whole: the page takes its staged content.
    dir.write("site/.newsdesk-site.db.journal",
              page + R"("index.html", "staged": ".index.html.abc123.ndsave"}]})");
    EXPECT_EQ(lum::site::finishInterruptedOperation(root),
              "completed an interrupted deletion of gone.rss");
    EXPECT_EQ(dir.read("site/index.html"), "staged");
    EXPECT_EQ(dir.names("site"), std::set<std::string>{"index.html"});
    EXPECT_EQ(lum::site::finishInterruptedOperation(root), "");
}
