// The three writers and their dispatch, checked on the files they write.
#include "FullDisk.h"
#include "TempDir.h"
#include "TzGuard.h"
#include "WrittenXml.h"
#include "feed/FeedWriters.h"

#include <gtest/gtest.h>

#include <filesystem>

using newsdesk::writeRssFile;

namespace {

CRSSCategory category(const char16_t* name, const char16_t* sub = u"") {
    CRSSCategory c;
    c.m_category = name;
    c.m_subCategory = sub;
    return c;
}

class Writers : public ::testing::Test {
  protected:
    // Writes the channel and parses what was written.
    std::unique_ptr<WrittenXml> write(const CRSSChannel& channel) {
        EXPECT_EQ(writeRssFile(CString(m_dir.windows("feed.xml")), &channel), 1);
        auto xml = std::make_unique<WrittenXml>(m_dir.native("feed.xml").string());
        EXPECT_TRUE(xml->ok());
        return xml;
    }

    TzGuard m_tz{"JST-9"};
    TempDir m_dir;
};

}  // namespace

// An empty link is no address: validators refuse <link/>, so it is left out.
// A blank title is an error of its own in every format; a missing one says
// better what the feed lacks. The description may be empty.
TEST_F(Writers, AnEmptyRss2ChannelHasADescriptionAndNoBlankTitle) {
    CRSSChannel channel;
    channel.m_format = 1;
    auto xml = write(channel);
    EXPECT_EQ(xml->text("/rss/@version"), "2.0");
    EXPECT_EQ(xml->count("/rss/channel/description"), 1);
    for (const char* name : {"title", "link", "language", "copyright", "pubDate", "ttl", "image",
                             "category", "item"}) {
        EXPECT_EQ(xml->count(std::string("/rss/channel/") + name), 0) << name;
    }
}

TEST_F(Writers, Rss2WritesEachFieldOnceUnescapedInTheFileAndSkipsEmptyOnes) {
    CRSSChannel channel;
    channel.m_format = 1;
    channel.m_title = u"AT&T <news>";
    channel.m_description = u"<b>bold</b> & \"quoted\"";
    channel.m_link = u"https://a.example/?x=1&y=2";
    channel.m_ttl = 30;
    channel.m_image = u"https://a.example/logo.png";
    channel.m_pubDate = CTime(1796534400);
    channel.setCategory({category(u"one"), category(u""), category(u"A&B")});
    CRSSItem item;
    item.m_title = u"it&em";
    item.m_author = u"ann@a.example (Ann & Bob)";
    item.m_enclosureUrl = u"https://a.example/a.mp3";
    item.m_enclosureLength = 0;
    item.m_subTitle = u"podcast only";
    item.m_duration = 60;
    item.addCategory(category(u""));
    item.addCategory(category(u"x"));
    channel.addItem(item);
    CRSSItem lengthOnly;
    lengthOnly.m_enclosureLength = 5;
    channel.addItem(lengthOnly);

    auto xml = write(channel);
    EXPECT_EQ(xml->text("/rss/channel/title"), "AT&T <news>");
    EXPECT_EQ(xml->text("/rss/channel/image/title"), "AT&T <news>");
    EXPECT_EQ(xml->text("/rss/channel/image/link"), "https://a.example/?x=1&y=2");
    EXPECT_EQ(xml->text("/rss/channel/description"), "<b>bold</b> & \"quoted\"");
    EXPECT_EQ(xml->text("/rss/channel/ttl"), "30");
    EXPECT_EQ(xml->text("/rss/channel/pubDate"), "Sun, 06 Dec 2026 14:20:00 +0900");
    EXPECT_EQ(xml->count("/rss/channel/category"), 2);
    EXPECT_EQ(xml->text("/rss/channel/category[2]"), "A&B");
    EXPECT_EQ(xml->text("/rss/channel/item[1]/author"), "ann@a.example (Ann & Bob)");
    EXPECT_EQ(xml->text("/rss/channel/item[1]/enclosure/@length"), "0");
    EXPECT_EQ(xml->count("/rss/channel/item[1]/category"), 1);
    EXPECT_EQ(xml->count("/rss/channel/item[1]/pubDate"), 0);
    EXPECT_EQ(xml->count("//itunes:*"), 0);
    EXPECT_EQ(xml->count("/rss/channel/item[2]/enclosure"), 0);
    EXPECT_EQ(xml->count("/rss/channel/item[2]/title"), 1);
}

TEST_F(Writers, Rss1ListsEveryItemInTheSequenceAndPutsTheImageInBothPlaces) {
    CRSSChannel channel;
    channel.m_format = 0;
    channel.m_filePath = u"Z:\\srv\\news.rdf";
    channel.m_title = u"AT&T";
    channel.m_link = u"https://a.example/";
    channel.m_image = u"https://a.example/logo.png";
    channel.m_author = u"Ann & Bob";
    channel.m_language = u"ja";
    channel.m_ttl = 30;
    channel.setCategory({category(u"c")});
    channel.m_pubDate = CTime(1796534400);
    CRSSItem item;
    item.m_link = u"https://a.example/same";
    item.m_title = u"first";
    channel.addItem(item);
    item.m_title = u"second";
    item.m_pubDate = 1796500000;
    channel.addItem(item);

    auto xml = write(channel);
    // Outside a site the file's path is no address: the channel is about its link.
    EXPECT_EQ(xml->text("/rdf:RDF/rss:channel/@rdf:about"), "https://a.example/");
    EXPECT_EQ(xml->count("/rdf:RDF/rss:item[@rdf:about='https://a.example/same']"), 2);
    EXPECT_EQ(xml->count("/rdf:RDF/rss:channel/rss:items/rdf:Seq/rdf:li"), 2);
    EXPECT_EQ(xml->text("/rdf:RDF/rss:channel/rss:items/rdf:Seq/rdf:li[2]/@rdf:resource"),
              "https://a.example/same");
    EXPECT_EQ(xml->text("/rdf:RDF/rss:channel/rss:image/@rdf:resource"),
              "https://a.example/logo.png");
    EXPECT_EQ(xml->count("/rdf:RDF/rss:channel/rss:image/*"), 0);
    EXPECT_EQ(xml->text("/rdf:RDF/rss:image/rss:title"), "AT&T");
    EXPECT_EQ(xml->text("/rdf:RDF/rss:image/rss:url"), "https://a.example/logo.png");
    EXPECT_EQ(xml->text("/rdf:RDF/rss:image/rss:link"), "https://a.example/");
    EXPECT_EQ(xml->text("/rdf:RDF/rss:channel/dc:creator"), "Ann & Bob");
    EXPECT_EQ(xml->count("/rdf:RDF/rss:channel/dc:rights"), 0);
    EXPECT_EQ(xml->text("/rdf:RDF/rss:channel/dc:date"), "2026-12-06T14:20:00+09:00");
    EXPECT_EQ(xml->count("/rdf:RDF/rss:item[1]/dc:date"), 0);
    EXPECT_EQ(xml->count("/rdf:RDF/rss:item[2]/dc:date"), 1);
    EXPECT_EQ(xml->count("//rss:language | //rss:ttl | //rss:category | //language | //ttl"), 0);
}

TEST_F(Writers, Rss1WithoutItemsStillHasAnEmptySequence) {
    CRSSChannel channel;
    channel.m_format = 0;
    auto xml = write(channel);
    EXPECT_EQ(xml->count("/rdf:RDF/rss:channel/rss:items/rdf:Seq"), 1);
    EXPECT_EQ(xml->count("//rdf:li"), 0);
    EXPECT_EQ(xml->count("//rss:image"), 0);
}

TEST_F(Writers, PodcastWritesItunesFieldsAndLeavesOutWhatTheFormatDoesNotCarry) {
    CRSSChannel channel;
    channel.m_format = 2;
    channel.m_title = u"R&D radio";
    channel.m_description = u"about <things>";
    channel.m_pubDate = CTime(1796534400);
    channel.m_ownerEmail = u"ann@a.example";
    channel.m_image = u"https://a.example/cover.jpg";
    channel.m_block = true;
    channel.setCategory({category(u"Technology"), category(u""),
                         category(u"Society & Culture", u"Personal Journals")});
    for (int duration : {3725, 59, 360000, 0}) {
        CRSSItem item;
        item.m_duration = duration;
        item.m_link = u"https://a.example/item";
        item.m_author = u"someone";
        item.addCategory(category(u"x"));
        item.m_pubDate = 1796500000;
        channel.addItem(item);
    }

    auto xml = write(channel);
    EXPECT_FALSE(xml->text("/rss/namespace::itunes").empty());
    EXPECT_EQ(xml->count("/rss/channel/pubDate"), 0);
    EXPECT_EQ(xml->text("/rss/channel/description"), "about <things>");
    EXPECT_EQ(xml->text("/rss/channel/itunes:summary"), "about <things>");
    EXPECT_EQ(xml->text("/rss/channel/itunes:image/@href"), "https://a.example/cover.jpg");
    EXPECT_EQ(xml->count("/rss/channel/itunes:owner/*"), 1);
    EXPECT_EQ(xml->text("/rss/channel/itunes:owner/itunes:email"), "ann@a.example");
    EXPECT_EQ(xml->count("/rss/channel/itunes:category"), 2);
    EXPECT_EQ(xml->count("/rss/channel/itunes:category[1]/itunes:category"), 0);
    EXPECT_EQ(xml->text("/rss/channel/itunes:category[2]/@text"), "Society & Culture");
    EXPECT_EQ(xml->text("/rss/channel/itunes:category[2]/itunes:category/@text"),
              "Personal Journals");
    EXPECT_EQ(xml->text("/rss/channel/itunes:block"), "yes");
    EXPECT_EQ(xml->text("/rss/channel/item[1]/itunes:duration"), "01:02:05");
    EXPECT_EQ(xml->text("/rss/channel/item[2]/itunes:duration"), "00:00:59");
    EXPECT_EQ(xml->text("/rss/channel/item[3]/itunes:duration"), "100:00:00");
    EXPECT_EQ(xml->count("/rss/channel/item[4]/itunes:duration"), 0);
    EXPECT_EQ(xml->count("/rss/channel/item/pubDate"), 4);
    EXPECT_EQ(xml->count("/rss/channel/item/link | /rss/channel/item/author | "
                         "/rss/channel/item/category | /rss/channel/item/description"),
              0);
    EXPECT_EQ(xml->count("/rss/channel/item/itunes:summary | /rss/channel/item/itunes:block"), 0);
}

TEST_F(Writers, PodcastWithoutOwnerOrDescriptionWritesNoOwnerAndNoSummary) {
    CRSSChannel channel;
    channel.m_format = 2;
    auto xml = write(channel);
    EXPECT_EQ(xml->count("/rss/channel/description"), 1);
    EXPECT_EQ(xml->count("//itunes:summary | //itunes:owner | //itunes:block"), 0);
}

TEST_F(Writers, AnUnknownFormatOrNoChannelWritesNothing) {
    CRSSChannel channel;
    for (int format : {3, -1}) {
        channel.m_format = format;
        EXPECT_EQ(writeRssFile(CString(m_dir.windows("feed.xml")), &channel), 0);
    }
    EXPECT_EQ(writeRssFile(CString(m_dir.windows("feed.xml")), nullptr), 0);
    EXPECT_FALSE(std::filesystem::exists(m_dir.native("feed.xml")));
}

TEST_F(Writers, AFailedSaveReturnsZeroAndLeavesTheOldFile) {
    m_dir.write("feed.xml", "old feed");
    CRSSChannel channel;
    for (int format : {0, 1, 2}) {
        channel.m_format = format;
        EXPECT_EQ(
            onFullDisk([&] { return writeRssFile(CString(m_dir.windows("feed.xml")), &channel); }),
            0)
            << format;
        EXPECT_EQ(writeRssFile(CString(m_dir.windows("missing/feed.xml")), &channel), 0);
    }
    EXPECT_EQ(m_dir.read("feed.xml"), "old feed");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.path()), {}), 1);
}

TEST_F(Writers, AFeedWhoseNameIsAsLongAsAFolderAllowsIsStillSaved) {
    // 85 Japanese characters: 255 bytes, the longest name there is.
    std::string name;
    for (int i = 0; i < 85; ++i) {
        name += "記";
    }
    m_dir.write(name, "old feed");
    CRSSChannel channel;
    channel.m_format = 1;
    channel.m_title = u"new";
    EXPECT_EQ(writeRssFile(CString(m_dir.windows(name)), &channel), 1);
    EXPECT_NE(m_dir.read(name).find("<title>new</title>"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.path()), {}), 1);
}

TEST_F(Writers, TheRecordsEncodingIsDeclaredAndWhatItCannotHoldBecomesACharacterReference) {
    CRSSChannel channel;
    channel.m_format = 1;
    channel.m_encoding = u"Shift_JIS";
    channel.m_title = u"日本語 \U0001F399 AT&T";
    channel.m_description = u"bell\u0007 and tab\t";
    CRSSItem item;
    item.m_enclosureUrl = u"https://a.example/\U0001F399\u0001.mp3";
    channel.addItem(item);
    write(channel);
    std::string bytes = m_dir.read("feed.xml");
    EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>", 0), 0u) << bytes;
    EXPECT_NE(bytes.find("&#127897;"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("\x93\xfa\x96\x7b\x8c\xea"), std::string::npos);  // 日本語 in Shift_JIS
    WrittenXml xml(m_dir.native("feed.xml").string());
    ASSERT_TRUE(xml.ok());
    EXPECT_EQ(xml.text("/rss/channel/title"), "日本語 \U0001F399 AT&T");
    EXPECT_EQ(xml.text("/rss/channel/description"), "bell and tab\t");
    EXPECT_EQ(xml.text("/rss/channel/item/enclosure/@url"), "https://a.example/\U0001F399.mp3");
}
