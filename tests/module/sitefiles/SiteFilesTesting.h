// A small site with three feeds (RSS 2.0, podcast, RSS 1.0), a page and a
// file that only looks like a feed, opened for the test and closed after it.
#pragma once

#include "TempDir.h"
#include "hostapp/site/LumSiteMgr.h"

#include <gtest/gtest.h>

#include <string>

namespace sftest {

inline void writeFeedSite(const TempDir& dir) {
    std::filesystem::create_directories(dir.native("site/news"));
    dir.write("site/newsdesk-site.json",
              R"({"name": "Ann", "url": "https://ann.example/", "topPage": "index.html"})");
    dir.write("site/index.html",
              "<html><head><link rel=\"alternate\" type=\"application/rss+xml\" "
              "href=\"news/a.rss\"></head><body><a href=\"news/a.rss\">feed</a></body></html>");
    dir.write("site/news/a.rss",
              "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Alpha</title>"
              "<link>https://ann.example/</link><description>d</description></channel></rss>");
    dir.write("site/b.xml",
              "<?xml version=\"1.0\"?><rss version=\"2.0\" "
              "xmlns:itunes=\"http://www.itunes.com/dtds/podcast-1.0.dtd\"><channel>"
              "<title>Beta</title><link>https://ann.example/</link><description>d</description>"
              "</channel></rss>");
    dir.write("site/c.rdf",
              "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" "
              "xmlns=\"http://purl.org/rss/1.0/\"><channel><title>Gamma</title>"
              "<link>https://ann.example/</link><description>d</description></channel>"
              "</rdf:RDF>");
    dir.write("site/broken.rss", "<rss><channel><title>never closed");
}

// A folder holding the feed site, open as the host's site while it lives.
class FeedSite : public TempDir {
  public:
    FeedSite() {
        writeFeedSite(*this);
        std::string error;
        EXPECT_TRUE(LumSiteMgr::openSite(CString(windows("site")), error)) << error;
    }
    ~FeedSite() { LumSiteMgr::closeSite(); }
};

}  // namespace sftest
