// What a feed carries beyond the records: read into the records' kept
// markup, put back by the writers in its place, never doubling what the
// writers write, shared by copies.
#include "TempDir.h"
#include "feed/FeedReaders.h"
#include "feed/FeedWriters.h"
#include "hostapp/feedxml/CLumRssXmlData.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kBlog = R"(<?xml version="1.0" encoding="UTF-8"?>
<rss version="2.0" xmlns:content="http://purl.org/rss/1.0/modules/content/" xmlns:x="urn:x">
<channel xml:lang="en">
  <title>T</title><link>https://a.example/</link><description>D</description>
  <image><url>https://a.example/i.png</url><title>Own title</title><link>https://a.example/</link><width>88</width></image>
  <generator>engine</generator>
  <item x:id="7">
    <title>One</title><title>Second title</title>
    <link>https://a.example/1</link>
    <guid isPermaLink="false">id-1</guid>
    <content:encoded><![CDATA[<p>Full & rich</p>]]></content:encoded>
    <category domain="urn:section">News</category>
    <enclosure url="https://a.example/1.mp3" length="1" type="audio/mpeg"/>
    <enclosure url="https://a.example/1.ogg" length="2" type="audio/ogg"/>
    <itunes:explicit xmlns:itunes="http://www.itunes.com/dtds/podcast-1.0.dtd">no</itunes:explicit>
  </item>
</channel>
</rss>
)";

class KeptMarkupTest : public ::testing::Test {
  protected:
    CString path(const std::string& name) { return CString(dir.windows(name)); }
    void read(const std::string& name, const std::string& bytes, CRSSChannel& channel) {
        dir.write(name, bytes);
        ASSERT_EQ(newsdesk::readRssFile(path(name), &channel), 1);
    }
    std::string write(const std::string& name, const CRSSChannel& channel) {
        EXPECT_EQ(newsdesk::writeRssFile(path(name), &channel), 1);
        return dir.read(name);
    }
    static size_t count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
            ++n;
        }
        return n;
    }
    TempDir dir;
};

TEST_F(KeptMarkupTest, ReadersKeepWhatTheyDoNotTakeInDocumentOrder) {
    CRSSChannel channel;
    read("blog.xml", kBlog, channel);
    ASSERT_EQ(channel.m_items.size(), 1u);
    std::string names;
    for (const auto& e : channel.m_items[0].m_kept.elements()) {
        names += lum::KeptMarkup::nameOf(e.node) + " ";
    }
    EXPECT_EQ(names, "title guid content:encoded enclosure itunes:explicit ");
    ASSERT_EQ(channel.m_items[0].m_kept.attributes().size(), 1u);
    EXPECT_EQ(channel.m_items[0].m_kept.attributes()[0].name(), "x:id");
    // Each copy declares what it uses, so it stands on its own.
    EXPECT_EQ(lum::KeptMarkup::toXml(channel.m_items[0].m_kept.elements()[2].node),
              "<content:encoded xmlns:content=\"http://purl.org/rss/1.0/modules/content/\">"
              "&lt;p&gt;Full &amp; rich&lt;/p&gt;</content:encoded>");
}

TEST_F(KeptMarkupTest, WritersPutItBackOnceWithoutDoublingTheirOwnElements) {
    CRSSChannel channel;
    read("blog.xml", kBlog, channel);
    std::string out = write("out.xml", channel);
    EXPECT_EQ(count(out, "<title>"), 3u) << out;  // channel, image (its own), item
    EXPECT_NE(out.find("<title>Own title</title>"), std::string::npos);
    EXPECT_NE(out.find("<width>88</width>"), std::string::npos);
    EXPECT_EQ(out.find("Second title"), std::string::npos);
    EXPECT_EQ(lum::keptDropsOfLastWrite().at("title"), 1);
    EXPECT_EQ(count(out, "<enclosure "), 2u);
    EXPECT_NE(out.find("<guid isPermaLink=\"false\">id-1</guid>"), std::string::npos);
    EXPECT_NE(out.find("<item x:id=\"7\">"), std::string::npos);
    EXPECT_NE(out.find("<channel xml:lang=\"en\">"), std::string::npos);
    EXPECT_NE(out.find("<category domain=\"urn:section\">News</category>"), std::string::npos);
    EXPECT_NE(out.find("<generator>engine</generator>\n    <item"), std::string::npos) << out;
    // Declared once, on the root; the iTunes one stays local in RSS 2.0, so
    // the file is still told from a podcast.
    EXPECT_EQ(count(out, "xmlns:content="), 1u);
    EXPECT_NE(out.find("<rss xmlns:content="), std::string::npos);
    EXPECT_NE(out.find("<itunes:explicit xmlns:itunes="), std::string::npos);
    EXPECT_EQ(newsdesk::detectRssFormat(path("out.xml")), 1);
    // The second save of what the first wrote is the same file.
    CRSSChannel again;
    ASSERT_EQ(newsdesk::readRssFile(path("out.xml"), &again), 1);
    EXPECT_EQ(write("again.xml", again), out);
}

TEST_F(KeptMarkupTest, AWritersNamespaceWhosePrefixKeptMarkupTookIsDeclaredWhereItIsUsed) {
    // The channel's dc:creator (RSS 2.0 has no such field) is kept under an
    // older Dublin Core and takes "dc" at the root; the items' authors are
    // written in the current one. They keep their namespace, and with it
    // their field: read back, the file gives the same record and bytes.
    const char* feed = R"(<?xml version="1.0" encoding="UTF-8"?>
<rss version="2.0" xmlns:dc="http://purl.org/dc/elements/1.0/">
<channel><title>T</title><link>https://a.example/</link><description>D</description>
  <dc:creator>Desk</dc:creator>
  <item><title>One</title><dc:creator>Hanako</dc:creator></item>
</channel>
</rss>
)";
    CRSSChannel channel;
    read("old_dc.xml", feed, channel);
    ASSERT_EQ(channel.m_items.size(), 1u);
    ASSERT_EQ(channel.m_items[0].m_author, CString(u"Hanako"));
    std::string first = write("first.xml", channel);
    EXPECT_NE(first.find("<dc:creator xmlns:dc=\"http://purl.org/dc/elements/1.1/\">Hanako"),
              std::string::npos)
        << first;
    CRSSChannel again;
    ASSERT_EQ(newsdesk::readRssFile(path("first.xml"), &again), 1);
    ASSERT_EQ(again.m_items.size(), 1u);
    EXPECT_EQ(again.m_items[0].m_author, CString(u"Hanako"));
    EXPECT_EQ(write("second.xml", again), first);
}

TEST_F(KeptMarkupTest, TheUsersFieldWinsAndAnEmptyOneIsFilledFromTheFeed) {
    CRSSChannel channel;
    read("blog.xml", kBlog, channel);
    CRSSItem& item = channel.m_items[0];
    item.m_kept.addElementXml("<link>https://a.example/kept</link>", lum::KeptPlace::Host, 1);
    item.m_link = u"https://a.example/changed";
    std::string out = write("changed.xml", channel);
    EXPECT_NE(out.find("https://a.example/changed"), std::string::npos);
    EXPECT_EQ(out.find("https://a.example/kept"), std::string::npos);
    item.m_link.Empty();
    out = write("empty.xml", channel);
    EXPECT_EQ(count(out, "<link>https://a.example/kept</link>"), 1u) << out;
}

TEST_F(KeptMarkupTest, AnotherFormatFamilyKeepsOnlyNamespacedMarkup) {
    CRSSChannel channel;
    read("blog.xml", kBlog, channel);
    channel.m_format = 0;
    std::string out = write("out.rdf", channel);
    EXPECT_EQ(out.find("<guid"), std::string::npos);
    EXPECT_NE(out.find("<content:encoded>"), std::string::npos) << out;
    const lum::KeptDrops& drops = lum::keptDropsOfLastWrite();
    EXPECT_EQ(drops.at("guid"), 1);
    EXPECT_EQ(drops.at("generator"), 1);
    EXPECT_EQ(drops.count("@x:id"), 0u);  // namespaced: kept
    EXPECT_NE(out.find("x:id=\"7\""), std::string::npos);
}

// A podcast keeps the channel date it does not write and gives it the
// record's date: the markup in it goes, and the declaration that markup
// needed goes with it, or the second save would differ from the first.
TEST_F(KeptMarkupTest, APodcastsKeptDateLosesTheDeclarationsOfWhatItHeld) {
    CRSSChannel channel;
    read("date.xml",
         "<rss version='2.0' xmlns:itunes='http:/+elsewhere'><channel><title>t</title>"
         "<pubDate>Tue, 16 J<itunes:image href='x'/>an 2024 07:00:00 +0000</pubDate>"
         "</channel></rss>",
         channel);
    ASSERT_EQ(channel.m_format, 2);
    std::string out = write("out.xml", channel);
    EXPECT_NE(out.find("<pubDate>Tue, 16 Jan 2024 07:00:00 +0000</pubDate>"), std::string::npos)
        << out;
    CRSSChannel again;
    ASSERT_EQ(newsdesk::readRssFile(path("out.xml"), &again), 1);
    EXPECT_EQ(write("again.xml", again), out);
}

TEST_F(KeptMarkupTest, OwnFeedsCarryNothingAndCopiesShareUntilChanged) {
    CRSSChannel plain;
    plain.m_format = 1;
    plain.m_title = u"T";
    CRSSItem item;
    item.m_title = u"I";
    plain.addItem(item);
    write("own.xml", plain);
    CRSSChannel read;
    ASSERT_EQ(newsdesk::readRssFile(path("own.xml"), &read), 1);
    EXPECT_TRUE(read.m_kept.empty());
    EXPECT_TRUE(read.m_items[0].m_kept.empty());

    CRSSChannel blog;
    this->read("blog.xml", kBlog, blog);
    CRSSItem copy = blog.m_items[0];
    copy.m_kept.removeElements(nullptr, "guid");
    EXPECT_EQ(copy.m_kept.elements().size(), 4u);
    EXPECT_EQ(blog.m_items[0].m_kept.elements().size(), 5u);
    blog.resetData();
    EXPECT_TRUE(blog.m_kept.empty());
    // The copy's markup outlives the record it came from.
    EXPECT_EQ(lum::KeptMarkup::toXml(copy.m_kept.elements()[0].node),
              "<title>Second title</title>");
}

TEST_F(KeptMarkupTest, MarkupGivenAsTextMustBeOneElementWithoutDeclarations) {
    lum::KeptMarkup kept;
    EXPECT_FALSE(kept.addElementXml("<a>", lum::KeptPlace::Host, 1));
    EXPECT_FALSE(kept.addElementXml("<a/><b/>", lum::KeptPlace::Host, 1));
    EXPECT_FALSE(
        kept.addElementXml("<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>", lum::KeptPlace::Host, 1));
    EXPECT_TRUE(kept.empty());
    EXPECT_TRUE(kept.addElementXml("<p:a xmlns:p=\"urn:p\">x</p:a>", lum::KeptPlace::Host, 1));
    EXPECT_EQ(lum::KeptMarkup::toXml(kept.elements()[0].node), "<p:a xmlns:p=\"urn:p\">x</p:a>");
}

// Markup given as text and markup read from a document live in different
// stores; the first must outlive the second's arrival.
TEST_F(KeptMarkupTest, MarkupFromTextAndFromADocumentLiveTogether) {
    lum::KeptMarkup kept;
    ASSERT_TRUE(kept.addElementXml("<p:a xmlns:p=\"urn:p\">x</p:a>", lum::KeptPlace::Host, 1));
    dir.write("blog.xml", kBlog);
    {
        CLumRssXmlData doc(path("blog.xml"), nullptr);
        NodeArray items;
        doc.getItemNodeArray(items);
        ASSERT_EQ(items.size(), 1u);
        doc.getItemKept(items[0], kept);
    }
    ASSERT_GT(kept.elements().size(), 1u);
    EXPECT_EQ(lum::KeptMarkup::toXml(kept.elements()[0].node), "<p:a xmlns:p=\"urn:p\">x</p:a>");
    EXPECT_EQ(lum::KeptMarkup::toXml(kept.elements()[1].node), "<title>Second title</title>");
}

}  // namespace
