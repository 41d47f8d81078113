// Whether a save would leave a feed's file as it is, compared item by item
// as the document is built: the answer a comparison of the whole document
// gives, for every format and fixture, a changed byte anywhere, and kept
// namespaces whose order only the items that already left can tell.
#include "Fixtures.h"
#include "TempDir.h"
#include "feed/FeedReaders.h"
#include "feed/FeedWriters.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

class WritesSameFileTest : public ::testing::Test {
  protected:
    CString path() const { return CString(m_dir.windows("feed.xml")); }

    // The file as the channel writes it, read back as a rewrite reads it (the
    // application tells the format).
    bool writeAndReadBack(CRSSChannel& source, CRSSChannel& read) {
        std::filesystem::remove(m_dir.native("feed.xml"));
        if (newsdesk::writeRssFile(path(), &source) != 1 ||
            newsdesk::readRssFile(path(), &read) != 1) {
            return false;
        }
        read.m_format = source.m_format;
        read.m_keptTime = newsdesk::readChannelDate(path());
        read.m_useKeptTime = true;
        return true;
    }

    bool whole(const CRSSChannel& channel) {
        auto document = newsdesk::buildRssDocument(path(), &channel);
        return document && document->savesSameBytes(path());
    }

    TempDir m_dir;
};

TEST_F(WritesSameFileTest, AnswersAsTheWholeDocumentForEveryFormatAndChange) {
    int compared = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(NEWSDESK_FIXTURES) + "/feed")) {
        CRSSChannel source;
        if (newsdesk::readRssFile(fixturePath("feed/" + entry.path().filename().string()),
                                  &source) != 1) {
            continue;
        }
        for (int format : {0, 1, 2}) {
            for (const char16_t* encoding : {u"UTF-8", u"utf-8", u"EUC-JP"}) {
                SCOPED_TRACE(entry.path().filename().string() + " format " +
                             std::to_string(format) + " " + CString(encoding).toUtf8());
                source.m_format = format;
                source.m_encoding = encoding;
                // Written twice: a record read in another format may first
                // move what it kept into fields of this one.
                CRSSChannel first;
                CRSSChannel read;
                ASSERT_TRUE(writeAndReadBack(source, first));
                ASSERT_TRUE(writeAndReadBack(first, read));
                EXPECT_EQ(newsdesk::writesSameFile(path(), path(), &read),
                          std::optional<bool>(true));
                // A byte changed before the items, in the first, one between,
                // the last, and after them.
                const std::string bytes = m_dir.read("feed.xml");
                std::vector<std::size_t> at = {10, bytes.find("<item"), bytes.rfind("<item"),
                                               bytes.size() - 3};
                if (std::size_t second = bytes.find("<item", at[1] + 1);
                    second != std::string::npos) {
                    at.push_back(second + 8);
                }
                for (std::size_t p : at) {
                    if (p >= bytes.size()) {
                        continue;
                    }
                    std::string changed = bytes;
                    changed[p] = changed[p] == 'x' ? 'y' : 'x';
                    m_dir.write("feed.xml", changed);
                    EXPECT_EQ(newsdesk::writesSameFile(path(), path(), &read),
                              std::optional<bool>(whole(read)))
                        << p;
                    EXPECT_FALSE(whole(read)) << p;
                }
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 30);
}

TEST_F(WritesSameFileTest, KeptNamespacesKeepTheOrderTheItemsFirstUseThemIn) {
    // The kept element's copy declares what it uses in the order a, b, c
    // (its attributes before what is below it); the document first uses
    // them in the order a, c, b (its attributes after). The declarations go
    // to the root in the order of first use, which only the items show, and
    // the items leave the document before the root is done.
    const char* feed = R"(<?xml version="1.0" encoding="UTF-8"?>
<rss version="2.0" xmlns:b="urn:b" xmlns:a="urn:a" xmlns:c="urn:c">
<channel><title>T</title><link>https://a.example/</link><description>D</description>
  <item><title>One</title><a:kept b:how="x"><c:inner>text</c:inner></a:kept></item>
  <item><title>Two</title><b:other>y</b:other></item>
</channel>
</rss>
)";
    for (int format : {1, 2}) {
        SCOPED_TRACE(format);
        m_dir.write("feed.xml", feed);
        CRSSChannel source;
        ASSERT_EQ(newsdesk::readRssFile(path(), &source), 1);
        source.m_format = format;
        CRSSChannel read;
        ASSERT_TRUE(writeAndReadBack(source, read));
        const std::string bytes = m_dir.read("feed.xml");
        ASSERT_NE(bytes.find("<a:kept b:how=\"x\">"), std::string::npos) << bytes;
        ASSERT_LT(bytes.find("xmlns:a="), bytes.find("xmlns:c=")) << bytes;
        ASSERT_LT(bytes.find("xmlns:c="), bytes.find("xmlns:b=")) << bytes;
        EXPECT_EQ(newsdesk::writesSameFile(path(), path(), &read), std::optional<bool>(true));
        EXPECT_TRUE(whole(read));
    }
}

}  // namespace
