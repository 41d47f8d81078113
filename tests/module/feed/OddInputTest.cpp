#include "feed/FeedReaders.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>

using newsdesk::detectRssFormat;
using newsdesk::readRssFile;

namespace {

struct OddInput {
    const char* name;
    std::string bytes;
    int format;  // what detection says
    int read;    // what the dispatch returns
};

std::string nested(int depth) {
    std::string s = "<rss><channel>";
    for (int i = 0; i < depth; ++i) {
        s += "<x>";
    }
    for (int i = 0; i < depth; ++i) {
        s += "</x>";
    }
    return s + "</channel></rss>";
}

}  // namespace

TEST(OddInput, NeverCrashesAndAnswersPlainly) {
    const OddInput cases[] = {
        {"truncated", "<?xml version='1.0'?><rss version='2.0'><channel><title>cut", -1, 0},
        {"only a declaration", "<?xml version='1.0'?>", -1, 0},
        {"text, not xml", "just some words\n", -1, 0},
        {"html", "<html><body><p>hi</body></html>", -1, 0},
        {"bad bytes in utf-8", "<rss><channel><title>\xff\xfe</title></channel></rss>", -1, 0},
        {"bytes the declared charset lacks",
         "<?xml version='1.0' encoding='Shift_JIS'?><rss><channel><title>\x81\x7f\xa0\xfd"
         "</title></channel></rss>",
         -1, 0},
        // Nobody knows the encoding, and the bytes are UTF-8: read as UTF-8.
        {"unknown charset", "<?xml version='1.0' encoding='x-no-such'?><rss/>", 1, 0},
        {"unknown charset, bytes not utf-8",
         "<?xml version='1.0' encoding='x-no-such'?><rss>\xe9</rss>", -1, 0},
        {"nul in the middle", std::string("<rss><channel>\0</channel></rss>", 31), -1, 0},
        {"too deep", nested(20000), -1, 0},
        {"a bare rss root", "<rss/>", 1, 0},
        {"an empty channel", "<rss><channel/></rss>", 1, 1},
        {"the channel outside the root", "<rss/><channel/>", -1, 0},
        {"an rdf root without namespace", "<rdf:RDF><channel/></rdf:RDF>", 0, 1},
        {"comments and a doctype first",
         "<!-- a --><!DOCTYPE rss><?pi x?><rss xmlns:itunes='x'><channel/></rss>", 2, 1},
        {"a long attribute",
         "<rss><channel><item><enclosure url='" + std::string(1 << 20, 'a') +
             "' length='99999999999'/></item></channel></rss>",
         1, 1},
    };
    TempDir dir;
    for (const auto& c : cases) {
        dir.write("odd.xml", c.bytes);
        CString path(dir.windows("odd.xml"));
        EXPECT_EQ(detectRssFormat(path), c.format) << c.name;
        CRSSChannel channel;
        EXPECT_EQ(readRssFile(path, &channel), c.read) << c.name;
    }
}

TEST(OddInput, TheLongestNumbersAreClampedNotWrapped) {
    TempDir dir;
    dir.write("big.xml",
              "<rss><channel><ttl>99999999999</ttl><item><enclosure url='u' "
              "length='99999999999'/></item><item><enclosure url='u' "
              "length='99999999999999999999999'/></item></channel></rss>");
    CRSSChannel channel;
    ASSERT_EQ(readRssFile(CString(dir.windows("big.xml")), &channel), 1);
    EXPECT_EQ(channel.m_ttl, INT_MAX);
    EXPECT_EQ(channel.m_items.at(0).m_enclosureLength, 99999999999);
    EXPECT_EQ(channel.m_items.at(1).m_enclosureLength, INT64_MAX);
}
