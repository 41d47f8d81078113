// The link manipulator and SIFUtil::addResources as a feed writer drives
// them: collect, mark site files, convert, update.
#include "TempDir.h"
#include "hostapp/CRssUrlManipulator.h"
#include "hostapp/LumSiteMgr.h"
#include "hostapp/SIFUtil.h"
#include "hostapp/UrlUtil.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>

#include <filesystem>
#include <memory>

namespace {

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using Doc = std::unique_ptr<xmlDoc, DocFree>;

Doc parse(const std::string& xml) {
    return Doc(
        xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr, XML_PARSE_NONET));
}

std::string serialise(xmlDoc* doc) {
    xmlChar* text = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(doc, &text, &size, "UTF-8");
    std::string out(reinterpret_cast<char*>(text), static_cast<size_t>(size));
    xmlFree(text);
    return out;
}

// What a writer does between building and saving a feed saved at path.
void rewrite(xmlDoc* doc, const CString& path, int format) {
    CString fileUrl = cat_file_colon(conv_std_path(path));
    SITE_INFO info;
    LumSiteMgr::getCurrentSiteInfo(info);
    CLumUrlManSiteAdapter adapter;
    CRssUrlManipulator manipulator(&adapter, fileUrl, u"", doc, info.siteUrl, info.rootFolder,
                                   format, 0, false);
    SiteIF* site = LumSiteMgr::getOutStandingSiteIF();
    SiteIF* outside = OutSMgr::findOutSite();
    SiteIF* use = site ? site : outside;
    manipulator.enumNodeUrls(use, nullptr);
    URL_ITEM_LIST list;
    manipulator.GetSaveListMember(use, list, fileUrl, true);
    if (SIFUtil::addResources(use, outside, fileUrl, 0, list, 0, nullptr)) {
        manipulator.SetSaveListMember(list);
        manipulator.ConvertAllUrl(use, fileUrl, false);
        manipulator.UpdateUrls(use, fileUrl, false);
    }
    for (URL_ITEM* item : list) {
        delete item;
    }
    outside->release();
    if (site) {
        site->release();
    }
}

const char* kRss2 = R"(<?xml version="1.0" encoding="UTF-8"?>
<rss version="2.0" xmlns:itunes="http://www.itunes.com/dtds/podcast-1.0.dtd"><channel>
<title>file:///Z:/not/a/link</title><link>LINK</link>
<image><url>IMAGE</url><title>t</title><link>http://elsewhere.example/</link></image>
<itunes:image href="ITIMAGE"/>
<item><title>i</title><link>ITEMLINK</link><comments>COMMENTS</comments>
<enclosure url="ENCLOSURE" length="1" type="audio/mpeg"/><description>DESC</description></item>
</channel></rss>)";

std::string fill(std::string text, const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [key, value] : values) {
        text.replace(text.find(key), key.size(), value);
    }
    return text;
}

class SiteFeeds : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(m_dir.native("site/audio"));
        m_dir.write("site/newsdesk-site.json", R"({"url": "https://ann.example/"})");
        m_dir.write("site/audio/one two.mp3", "x");
        m_dir.write("site/logo.png", "x");
        std::string error;
        ASSERT_TRUE(LumSiteMgr::openSite(CString(m_dir.windows("site")), error)) << error;
    }
    void TearDown() override { LumSiteMgr::closeSite(); }
    std::string fileUrl(const std::string& name) const {
        return cat_file_colon(CString(m_dir.windows(name))).toUtf8();
    }
    std::string windows(const std::string& name) const {
        return CString(m_dir.windows(name)).toUtf8();
    }

    TempDir m_dir;
};

}  // namespace

TEST_F(SiteFeeds, EveryLocalUrlOfARss2FeedInsideTheSiteBecomesItsPublicUrl) {
    Doc doc = parse(fill(kRss2, {{"LINK", fileUrl("site/index.html")},
                                 {"IMAGE", windows("site/logo.png")},
                                 {"ITIMAGE", "logo.png"},
                                 {"ITEMLINK", fileUrl("site/news/../a.html") + "#part?x&amp;y"},
                                 {"COMMENTS", "audio/one%20two.mp3"},
                                 {"ENCLOSURE", "audio/one two.mp3"}}));
    rewrite(doc.get(), CString(m_dir.windows("site/feeds/../news.rss")), 2);
    std::string out = serialise(doc.get());
    EXPECT_NE(out.find("<link>https://ann.example/index.html</link>"), std::string::npos) << out;
    EXPECT_NE(out.find("<url>https://ann.example/logo.png</url>"), std::string::npos);
    EXPECT_NE(out.find(R"(<itunes:image href="https://ann.example/logo.png"/>)"),
              std::string::npos);
    EXPECT_NE(out.find("<link>https://ann.example/a.html#part?x&amp;y</link>"), std::string::npos);
    EXPECT_NE(out.find("<comments>https://ann.example/audio/one%20two.mp3</comments>"),
              std::string::npos);
    EXPECT_NE(out.find(R"(url="https://ann.example/audio/one%20two.mp3")"), std::string::npos);
    // Not URL-bearing, or not in the site: as they were.
    EXPECT_NE(out.find("<title>file:///Z:/not/a/link</title>"), std::string::npos);
    EXPECT_NE(out.find("<link>http://elsewhere.example/</link>"), std::string::npos);
}

TEST_F(SiteFeeds, UrlsOutsideTheSiteAndMissingRelativeFilesStayAsTheyAre) {
    m_dir.write("elsewhere.mp3", "x");
    Doc doc = parse(fill(kRss2, {{"LINK", fileUrl("elsewhere.mp3")},
                                 {"IMAGE", "missing.png"},
                                 {"ITIMAGE", "../elsewhere.mp3"},
                                 {"ITEMLINK", "/root/relative.html"},
                                 {"COMMENTS", "mailto:ann@example.com"},
                                 {"ENCLOSURE", "http://cdn.example/a.mp3"}}));
    std::string before = serialise(doc.get());
    rewrite(doc.get(), CString(m_dir.windows("site/news.rss")), 1);
    EXPECT_EQ(serialise(doc.get()), before);
}

TEST_F(SiteFeeds, AFeedSavedOutsideTheSiteKeepsItsLinks) {
    Doc doc = parse(fill(kRss2, {{"LINK", fileUrl("site/index.html")},
                                 {"IMAGE", windows("site/logo.png")},
                                 {"ITIMAGE", "site/logo.png"},
                                 {"ITEMLINK", "x"},
                                 {"COMMENTS", "y"},
                                 {"ENCLOSURE", "site/audio/one two.mp3"}}));
    std::string before = serialise(doc.get());
    rewrite(doc.get(), CString(m_dir.windows("news.rss")), 2);
    EXPECT_EQ(serialise(doc.get()), before);
}

TEST_F(SiteFeeds, Rss1AboutAndResourceTextsAreRewrittenToo) {
    std::string rdf = R"(<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#"
 xmlns="http://purl.org/rss/1.0/"><channel rdf:about="ABOUT"><link>ABOUT</link>
<image rdf:resource="IMG"/><items><rdf:Seq><rdf:li rdf:resource="ITEM"/></rdf:Seq></items></channel>
<image rdf:about="IMG"><url>IMG</url><link>ABOUT</link></image>
<item rdf:about="ITEM"><link>ITEM</link></item></rdf:RDF>)";
    std::string about = windows("site/news.rdf");
    for (auto [key, value] : {std::pair<std::string, std::string>{"ABOUT", about},
                              {"IMG", "logo.png"},
                              {"ITEM", fileUrl("site/a.html")}}) {
        for (size_t at; (at = rdf.find(key)) != std::string::npos;) {
            rdf.replace(at, key.size(), value);
        }
    }
    Doc doc = parse(rdf);
    rewrite(doc.get(), CString(m_dir.windows("site/news.rdf")), 0);
    std::string out = serialise(doc.get());
    EXPECT_EQ(out.find("file:"), std::string::npos) << out;
    EXPECT_EQ(out.find(about), std::string::npos) << out;
    EXPECT_NE(out.find(R"(<channel rdf:about="https://ann.example/news.rdf">)"), std::string::npos);
    EXPECT_NE(out.find(R"(<rdf:li rdf:resource="https://ann.example/a.html"/>)"),
              std::string::npos);
    EXPECT_NE(out.find("<url>https://ann.example/logo.png</url>"), std::string::npos);
}

TEST(CRssUrlManipulator, WithNoSiteOpenNothingChanges) {
    TempDir dir;
    dir.write("a.mp3", "x");
    Doc doc =
        parse(fill(kRss2, {{"LINK", "a.mp3"},
                           {"IMAGE", "a.mp3"},
                           {"ITIMAGE", "a.mp3"},
                           {"ITEMLINK", "a.mp3"},
                           {"COMMENTS", "a.mp3"},
                           {"ENCLOSURE", cat_file_colon(CString(dir.windows("a.mp3"))).toUtf8()}}));
    std::string before = serialise(doc.get());
    rewrite(doc.get(), CString(dir.windows("news.rss")), 2);
    EXPECT_EQ(serialise(doc.get()), before);
}
