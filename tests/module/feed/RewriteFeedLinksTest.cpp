// Link rewriting as the writers run it, on the files they write.
#include "TempDir.h"
#include "WrittenXml.h"
#include "feed/FeedWriters.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/urls/UrlUtil.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class SiteOpen : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(m_dir.native("site/audio"));
        m_dir.write("site/newsdesk-site.json", R"({"url": "https://ann.example/"})");
        m_dir.write("site/audio/第1回.mp3", "x");
        std::string error;
        ASSERT_TRUE(LumSiteMgr::openSite(CString(m_dir.windows("site")), error)) << error;
    }
    void TearDown() override { LumSiteMgr::closeSite(); }

    // A channel whose URLs all name files of the site, in the three forms.
    void fill(CRSSChannel& channel) const {
        channel.m_filePath = CString(m_dir.windows("site/news.xml"));
        channel.m_link = cat_file_colon(CString(m_dir.windows("site/index.html")));
        channel.m_image = CString(m_dir.windows("site/logo.png"));
        CRSSItem item;
        item.m_link = u"audio/第1回.mp3";
        item.m_enclosureUrl = cat_file_colon(CString(m_dir.windows("site/audio/第1回.mp3")));
        item.m_comments = u"https://elsewhere.example/c";
        channel.addItem(item);
    }

    TempDir m_dir;
};

const char kEpisode[] = "https://ann.example/audio/%E7%AC%AC1%E5%9B%9E.mp3";

}  // namespace

TEST_F(SiteOpen, ARss2FeedSavedInTheSiteLinksToPublicUrls) {
    CRSSChannel channel;
    channel.m_format = 1;
    fill(channel);
    ASSERT_EQ(newsdesk::writeRssFile(channel.m_filePath, &channel), 1);
    WrittenXml xml(m_dir.native("site/news.xml").string());
    EXPECT_EQ(xml.text("/rss/channel/link"), "https://ann.example/index.html");
    EXPECT_EQ(xml.text("/rss/channel/image/url"), "https://ann.example/logo.png");
    EXPECT_EQ(xml.text("/rss/channel/image/link"), "https://ann.example/index.html");
    EXPECT_EQ(xml.text("/rss/channel/item/link"), kEpisode);
    EXPECT_EQ(xml.text("/rss/channel/item/enclosure/@url"), kEpisode);
    EXPECT_EQ(xml.text("/rss/channel/item/comments"), "https://elsewhere.example/c");
}

TEST_F(SiteOpen, Rss1AboutTextsAndPodcastImagesAreRewrittenToo) {
    CRSSChannel rdf;
    rdf.m_format = 0;
    fill(rdf);
    ASSERT_EQ(newsdesk::writeRssFile(rdf.m_filePath, &rdf), 1);
    WrittenXml xml(m_dir.native("site/news.xml").string());
    EXPECT_EQ(xml.text("/rdf:RDF/rss:channel/@rdf:about"), "https://ann.example/news.xml");
    EXPECT_EQ(xml.text("/rdf:RDF/rss:item/@rdf:about"), kEpisode);
    // A URI the feed once had gives way to the file's public address here.
    rdf.m_about = u"https://elsewhere.example/old.rdf";
    ASSERT_EQ(newsdesk::writeRssFile(rdf.m_filePath, &rdf), 1);
    EXPECT_EQ(
        WrittenXml(m_dir.native("site/news.xml").string()).text("/rdf:RDF/rss:channel/@rdf:about"),
        "https://ann.example/news.xml");
    EXPECT_EQ(xml.text("//rdf:li/@rdf:resource"), kEpisode);
    EXPECT_EQ(xml.text("/rdf:RDF/rss:image/rss:url"), "https://ann.example/logo.png");

    CRSSChannel podcast;
    podcast.m_format = 2;
    fill(podcast);
    ASSERT_EQ(newsdesk::writeRssFile(podcast.m_filePath, &podcast), 1);
    WrittenXml pod(m_dir.native("site/news.xml").string());
    EXPECT_EQ(pod.text("/rss/channel/itunes:image/@href"), "https://ann.example/logo.png");
    EXPECT_EQ(pod.text("/rss/channel/item/enclosure/@url"), kEpisode);
}

TEST_F(SiteOpen, OnlyUrlsNamingSiteFilesChangeAndAQueryOrFragmentStaysWithThem) {
    m_dir.write("elsewhere.mp3", "x");
    CRSSChannel channel;
    channel.m_format = 1;
    channel.m_link = cat_file_colon(CString(m_dir.windows("site/a/../index.html"))) + u"?x=1&y#top";
    channel.m_image = u"missing.png";
    const char16_t* kept[] = {u"../elsewhere.mp3", u"/root/relative.html", u"mailto:ann@a.example",
                              u"http://cdn.example/a.mp3"};
    for (const char16_t* url : kept) {
        CRSSItem item;
        item.m_link = url;
        item.m_enclosureUrl = cat_file_colon(CString(m_dir.windows("elsewhere.mp3")));
        channel.addItem(item);
    }
    CString path = CString(m_dir.windows("site/news.xml"));
    ASSERT_EQ(newsdesk::writeRssFile(path, &channel), 1);
    WrittenXml xml(m_dir.native("site/news.xml").string());
    EXPECT_EQ(xml.text("/rss/channel/link"), "https://ann.example/index.html?x=1&y#top");
    EXPECT_EQ(xml.text("/rss/channel/image/url"), "missing.png");
    for (size_t i = 0; i < std::size(kept); ++i) {
        std::string item = "/rss/channel/item[" + std::to_string(i + 1) + "]";
        EXPECT_EQ(xml.text(item + "/link"), CString(kept[i]).toUtf8());
        EXPECT_EQ(xml.text(item + "/enclosure/@url"), channel.m_items[i].m_enclosureUrl.toUtf8());
    }
}

TEST_F(SiteOpen, AFeedSavedOutsideTheSiteOrWithNoSiteOpenKeepsItsUrls) {
    CRSSChannel channel;
    channel.m_format = 1;
    fill(channel);
    CString outside = CString(m_dir.windows("news.xml"));
    ASSERT_EQ(newsdesk::writeRssFile(outside, &channel), 1);
    WrittenXml xml(m_dir.native("news.xml").string());
    EXPECT_EQ(xml.text("/rss/channel/link"), channel.m_link.toUtf8());
    EXPECT_EQ(xml.text("/rss/channel/item/link"), "audio/第1回.mp3");

    LumSiteMgr::closeSite();
    ASSERT_EQ(newsdesk::writeRssFile(channel.m_filePath, &channel), 1);
    WrittenXml closed(m_dir.native("site/news.xml").string());
    EXPECT_EQ(closed.text("/rss/channel/image/url"), channel.m_image.toUtf8());
    EXPECT_EQ(closed.text("/rss/channel/item/enclosure/@url"),
              channel.m_items[0].m_enclosureUrl.toUtf8());
}

TEST_F(SiteOpen, AFolderThatDiffersFromTheSiteOnlyInLetterCaseIsOutside) {
    // Both folders exist side by side here; each has a file of the same name.
    std::filesystem::create_directories(m_dir.native("SITE/audio"));
    m_dir.write("SITE/audio/a.mp3", "x");
    m_dir.write("site/audio/a.mp3", "x");
    CRSSChannel channel;
    channel.m_format = 1;
    CRSSItem item;
    item.m_link = u"audio/a.mp3";
    item.m_enclosureUrl = cat_file_colon(CString(m_dir.windows("SITE/audio/a.mp3")));
    channel.addItem(item);
    CString feed = CString(m_dir.windows("SITE/news.xml"));
    ASSERT_EQ(newsdesk::writeRssFile(feed, &channel), 1);
    WrittenXml other(m_dir.native("SITE/news.xml").string());
    EXPECT_EQ(other.text("/rss/channel/item/link"), "audio/a.mp3");
    EXPECT_EQ(other.text("/rss/channel/item/enclosure/@url"), item.m_enclosureUrl.toUtf8());

    // Inside the site, a drive letter and a scheme in other case still count.
    CString url = cat_file_colon(CString(m_dir.windows("site/audio/a.mp3")));
    url.Replace(u"file:///Z:", u"FILE:///z:");
    channel.m_items[0].m_enclosureUrl = url;
    ASSERT_EQ(newsdesk::writeRssFile(CString(m_dir.windows("site/news.xml")), &channel), 1);
    WrittenXml inside(m_dir.native("site/news.xml").string());
    EXPECT_EQ(inside.text("/rss/channel/item/link"), "https://ann.example/audio/a.mp3");
    EXPECT_EQ(inside.text("/rss/channel/item/enclosure/@url"), "https://ann.example/audio/a.mp3");
}
