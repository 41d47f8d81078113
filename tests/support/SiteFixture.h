// A small web site written by the test: pages in UTF-8 and Shift_JIS with
// relative, root-relative and absolute links, feeds under odd names, an
// image and a file that only looks like XML.
#pragma once

#include "TempDir.h"
#include "hostapp/site/LumSiteMgr.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

inline void writeSmallSite(const TempDir& dir, const std::string& site = "site") {
    std::filesystem::create_directories(dir.native(site + "/news/old"));
    std::filesystem::create_directories(dir.native(site + "/img"));
    dir.write(
        site + "/newsdesk-site.json",
        R"({"name": "アンの店", "url": "https://Ann.Example/shop/", "topPage": "index.html"})");
    dir.write(site + "/index.html",
              "<!DOCTYPE html><html><head><title>店のトップ</title>"
              "<link rel=\"alternate\" type=\"application/rss+xml\" href=\"news/feed.xml\">"
              "<link rel=stylesheet href=/shop/style.css></head><body>"
              "<a href=\"news/\">ニュース</a>"
              "<a href=\"https://ann.example/shop/news/old/archive.htm#top\">古い</a>"
              "<a href=\"HTTPS://ANN.EXAMPLE/shop/podcast.data?x=1\">podcast</a>"
              "<a href=\"https://other.example/?u=https://ann.example/shop/news/feed.xml\">外</a>"
              "<a href=\"../outside.html\">上</a><a href=\"mailto:ann@example.com\">m</a>"
              "<img src=\"img/ロゴ.png\"><script src=\"missing.js\"></script>"
              "</body></html>");
    // Shift_JIS: "ニュース" as the title; links to the feed by a relative path
    // with "..", to the top by the site URL and to an RDF feed by an iframe.
    dir.write(site + "/news/index.html",
              "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
              "charset=Shift_JIS\"><title>\x83\x6A\x83\x85\x81\x5B\x83\x58</title></head>"
              "<body><iframe src=\"../rdf.txt\"></iframe><a href=\"./feed.xml\">\x83\x6A</a><a "
              "href=\"https://ann.example/shop/\">top</a>"
              "<a href=\"old/../../img/%E3%83%AD%E3%82%B4.png\">logo</a></body></html>");
    dir.write(site + "/frames.html",
              "<html><frameset><frame src=\"rdf.txt\"><frame src=\"news/\"></frameset></html>");
    dir.write(site + "/news/old/archive.htm",
              "<html><head><base href=\"https://ann.example/shop/news/\"></head>"
              "<body><a href=\"feed.xml\">f</a><iframe src=\"file:///outside/a.rss\"></iframe>"
              "</body></html>");
    dir.write(site + "/news/feed.xml",
              "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>店のニュース</title>"
              "</channel></rss>");
    dir.write(site + "/podcast.data",
              "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<RSS version=\"2.0\" "
              "xmlns:itunes=\"http://www.itunes.com/dtds/podcast-1.0.dtd\"><channel><title>声"
              "</title></channel></RSS>");
    dir.write(site + "/rdf.txt",
              "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" "
              "xmlns=\"http://purl.org/rss/1.0/\"><channel><title>RDF</title></channel>"
              "</rdf:RDF>");
    dir.write(site + "/sitemap.xml",
              "<?xml version=\"1.0\"?><urlset><url><loc>https://ann.example/shop/</loc></url>"
              "</urlset>");
    dir.write(site + "/broken.rss", "<rss><channel><title>never closed");
    dir.write(site + "/img/ロゴ.png", "\x89PNG\r\n\x1a\n");
}

// The small site open, its database rebuilt, for tests of what the host
// knows about it; closed after each test.
class OpenSmallSite : public ::testing::Test {
  protected:
    void SetUp() override {
        writeSmallSite(m_dir);
        std::string error;
        ASSERT_TRUE(LumSiteMgr::openSite(CString(m_dir.windows("site")), error)) << error;
        m_db = LumSiteMgr::getSiteMgr();
        ASSERT_NE(m_db, nullptr) << LumSiteMgr::siteDatabaseError();
        lum::site::ScanResult result;
        ASSERT_TRUE(m_db->rebuild(false, {}, result, error)) << error;
    }
    void TearDown() override { LumSiteMgr::closeSite(); }

    CString path(const std::string& relative) const {
        return CString(m_dir.windows("site/" + relative));
    }

    TempDir m_dir;
    SiteMgr50* m_db = nullptr;
};
