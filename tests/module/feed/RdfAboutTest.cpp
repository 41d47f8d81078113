// What an RSS 1.0 channel and its items say they are about, outside a site.
#include "Fixtures.h"
#include "TempDir.h"
#include "WrittenXml.h"
#include "feed/FeedReaders.h"
#include "feed/FeedWriters.h"

#include <gtest/gtest.h>

using newsdesk::readRssFile;
using newsdesk::writeRssFile;

namespace {

const char kRdfStart[] =
    "<?xml version='1.0' encoding='UTF-8'?>"
    "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' "
    "xmlns='http://purl.org/rss/1.0/'>";

class RdfAbout : public ::testing::Test {
  protected:
    // Reads the file name, writes the record back to the same file and
    // parses what was written.
    std::unique_ptr<WrittenXml> rewrite(const std::string& name, CRSSChannel& channel) {
        CString path(m_dir.windows(name));
        EXPECT_EQ(readRssFile(path, &channel), 1);
        EXPECT_EQ(writeRssFile(path, &channel), 1);
        return std::make_unique<WrittenXml>(m_dir.native(name).string());
    }

    TempDir m_dir;
};

}  // namespace

TEST_F(RdfAbout, TheChannelKeepsTheUriTheFeedGaveIt) {
    CRSSChannel channel;
    ASSERT_EQ(readRssFile(fixturePath("feed/rdf_full.xml"), &channel), 1);
    EXPECT_EQ(channel.m_about, u"http://example.com/index.rdf");

    m_dir.write("feed.rdf", std::string(kRdfStart) +
                                "<channel rdf:about='https://a.example/feed.rdf'><title>t</title>"
                                "<link>https://a.example/</link></channel></rdf:RDF>");
    auto xml = rewrite("feed.rdf", channel);
    EXPECT_EQ(xml->text("/rdf:RDF/rss:channel/@rdf:about"), "https://a.example/feed.rdf");
}

TEST_F(RdfAbout, WithoutAUriTheChannelIsAboutItsLinkNeverAPathOfThisMachine) {
    // What saves outside a site used to write: the file's own path.
    m_dir.write("old.rdf", std::string(kRdfStart) +
                               "<channel rdf:about='Z:\\tmp\\old.rdf'><title>t</title>"
                               "<link>https://a.example/</link></channel></rdf:RDF>");
    CRSSChannel channel;
    auto xml = rewrite("old.rdf", channel);
    EXPECT_TRUE(channel.m_about.IsEmpty());
    EXPECT_EQ(xml->text("/rdf:RDF/rss:channel/@rdf:about"), "https://a.example/");

    m_dir.write("none.rdf", std::string(kRdfStart) +
                                "<channel><title>t</title><link>https://b.example/</link>"
                                "</channel></rdf:RDF>");
    CRSSChannel other;
    xml = rewrite("none.rdf", other);
    EXPECT_EQ(xml->text("/rdf:RDF/rss:channel/@rdf:about"), "https://b.example/");
}

TEST_F(RdfAbout, NothingToBeAboutGivesNoEmptyAbout) {
    CRSSChannel channel;
    channel.m_format = 0;
    channel.m_filePath = CString(m_dir.windows("empty.rdf"));
    CRSSItem linked;
    linked.m_title = u"linked";
    linked.m_link = u"https://a.example/1";
    CRSSItem unlinked;
    unlinked.m_title = u"no link";
    channel.addItem(linked);
    channel.addItem(unlinked);
    ASSERT_EQ(writeRssFile(channel.m_filePath, &channel), 1);
    WrittenXml xml(m_dir.native("empty.rdf").string());
    EXPECT_EQ(xml.count("/rdf:RDF/rss:channel/@rdf:about"), 0);
    EXPECT_EQ(xml.text("/rdf:RDF/rss:item[1]/@rdf:about"), "https://a.example/1");
    EXPECT_EQ(xml.count("/rdf:RDF/rss:item[2]/@rdf:about"), 0);
    EXPECT_EQ(xml.text("/rdf:RDF/rss:item[2]/rss:title"), "no link");
}
