#include "feed/FeedReaders.h"
#include "host/Entries.h"

#include "Fixtures.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using newsdesk::detectRssFormat;
using newsdesk::readRssFile;

namespace {

CString write(const TempDir& dir, const std::string& name, const std::string& xml) {
    dir.write(name, xml);
    return CString(dir.windows(name));
}

}  // namespace

TEST(DetectRssFormat, TellsTheFormatByTheRootAndTheItunesDeclaration) {
    TempDir dir;
    EXPECT_EQ(detectRssFormat(fixturePath("feed/rss20_full.xml")), 1);
    EXPECT_EQ(detectRssFormat(fixturePath("feed/podcast_full.xml")), 2);
    EXPECT_EQ(detectRssFormat(fixturePath("feed/rdf_full.xml")), 0);
    EXPECT_EQ(detectRssFormat(write(dir, "caps.xml", "<RSS version='2.0'/>")), 1);
    EXPECT_EQ(detectRssFormat(write(dir, "capspod.xml",
                                    "<RSS xmlns:itunes='http://www.itunes.com/dtds/"
                                    "podcast-1.0.dtd'/>")),
              2);
    EXPECT_EQ(detectRssFormat(write(dir, "empty-ns.xml", "<rss xmlns:itunes=''/>")), 1);
    EXPECT_EQ(detectRssFormat(fixturePath("feed/not_well_formed.xml")), -1);
    EXPECT_EQ(detectRssFormat(CString(dir.windows("missing.xml"))), -1);
    EXPECT_EQ(detectRssFormat(CString()), -1);
}

TEST(DetectRssFormat, ARootInCapitalsIsReadAsTheFormatDetectionGives) {
    TempDir dir;
    const std::tuple<const char*, const char*, int> cases[] = {
        {"rss2.xml",
         "<RSS version='2.0'><Channel><Title>t</Title><Item><Title>i</Title></Item>"
         "</Channel></RSS>",
         1},
        {"podcast.xml",
         "<RSS version='2.0' xmlns:itunes='http://www.itunes.com/dtds/"
         "podcast-1.0.dtd'><CHANNEL><TITLE>t</TITLE><ITEM><TITLE>i</TITLE></ITEM>"
         "</CHANNEL></RSS>",
         2},
        {"mixed.xml",
         "<Rss version='2.0'><channel><title>t</title><item><title>i</title></item>"
         "</channel></Rss>",
         1},
    };
    for (const auto& [name, xml, format] : cases) {
        CString path = write(dir, name, xml);
        EXPECT_EQ(detectRssFormat(path), format) << name;
        CRSSChannel channel;
        ASSERT_EQ(readRssFile(path, &channel), 1) << name;
        EXPECT_EQ(channel.m_format, format) << name;
        EXPECT_EQ(channel.m_title, u"t") << name;
        ASSERT_EQ(channel.m_items.size(), 1u) << name;
        EXPECT_EQ(channel.m_items[0].m_title, u"i") << name;
    }
}

TEST(DetectRssFormat, AnItunesDeclarationInCapitalsCountsForDetectionAndDispatchAlike) {
    TempDir dir;
    CString path = write(dir, "caps-ns.xml",
                         "<rss XMLNS:ITUNES='http://www.itunes.com/dtds/podcast-1.0.dtd'>"
                         "<channel><title>t</title></channel></rss>");
    EXPECT_EQ(detectRssFormat(path), 2);
    CRSSChannel channel;
    ASSERT_EQ(readRssFile(path, &channel), 1);
    EXPECT_EQ(channel.m_format, 2);
}

TEST(DetectRssFormat, AnyOtherRootCountsAsRss10ButIsNotRead) {
    TempDir dir;
    CString atom =
        write(dir, "atom.xml", "<feed xmlns='http://www.w3.org/2005/Atom'><title>t</title></feed>");
    EXPECT_EQ(detectRssFormat(atom), 0);
    CRSSChannel channel;
    channel.m_title = u"left from before";
    channel.m_items.emplace_back();
    EXPECT_EQ(readRssFile(atom, &channel), 0);
    EXPECT_TRUE(channel.m_title.IsEmpty());
    EXPECT_TRUE(channel.m_items.empty());
}

TEST(ReadRssFile, RoutesEachRootToItsReader) {
    CRSSChannel channel;
    ASSERT_EQ(readRssFile(fixturePath("feed/rss20_full.xml"), &channel), 1);
    EXPECT_EQ(channel.m_format, 1);
    ASSERT_EQ(readRssFile(fixturePath("feed/podcast_full.xml"), &channel), 1);
    EXPECT_EQ(channel.m_format, 2);
    ASSERT_EQ(readRssFile(fixturePath("feed/rdf_full.xml"), &channel), 1);
    EXPECT_EQ(channel.m_format, 0);
    EXPECT_EQ(channel.m_items.size(), 2u) << "the RSS 2.0 items of earlier reads are gone";
}

TEST(ReadRssFile, UnreadableFilesGiveZeroAndAResetChannel) {
    TempDir dir;
    CRSSChannel channel;
    for (const CString& path :
         {fixturePath("feed/not_well_formed.xml"), CString(dir.windows("missing.xml")),
          write(dir, "nochannel.xml", "<rss version='2.0'><item/></rss>"),
          write(dir, "rdfnochannel.xml",
                "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'/>"),
          fixturePath("feed/unsafe_billion_laughs.xml")}) {
        channel.m_title = u"stale";
        EXPECT_EQ(readRssFile(path, &channel), 0) << path;
        EXPECT_TRUE(channel.m_title.IsEmpty());
    }
    EXPECT_EQ(readRssFile(fixturePath("feed/rss20_full.xml"), nullptr), 0);
}

TEST(Entries, FormatAndReadEntriesAnswerThroughTheirArguments) {
    CString path = fixturePath("feed/podcast_full.xml");
    int format = 99;
    newsdesk::GetRssFormatEntry(path, &format);
    EXPECT_EQ(format, 2);
    newsdesk::GetRssFormatEntry(path, nullptr);
    CString bad = fixturePath("feed/not_well_formed.xml");
    newsdesk::GetRssFormatEntry(bad, &format);
    EXPECT_EQ(format, -1);
    CRSSChannel channel;
    EXPECT_EQ(newsdesk::ReadRssFileEntry(path, &channel), 1);
    EXPECT_EQ(channel.m_filePath, path);
    EXPECT_EQ(newsdesk::ReadRssFileEntry(bad, &channel), 0);
}

TEST(ReadRssFile, EveryFormatReadsTheSameFromAJapaneseEncoding) {
    for (const auto& [utf8, japanese, encoding] :
         {std::tuple{"feed/podcast_full.xml", "feed/podcast_shift_jis.xml", u"Shift_JIS"},
          std::tuple{"feed/rdf_full.xml", "feed/rdf_euc_jp.xml", u"EUC-JP"}}) {
        CRSSChannel expected;
        CRSSChannel actual;
        ASSERT_EQ(readRssFile(fixturePath(utf8), &expected), 1);
        ASSERT_EQ(readRssFile(fixturePath(japanese), &actual), 1) << japanese;
        EXPECT_EQ(actual.m_encoding, encoding);
        EXPECT_EQ(actual.m_format, expected.m_format);
        EXPECT_EQ(actual.m_title, expected.m_title);
        EXPECT_EQ(actual.m_author, expected.m_author);
        EXPECT_EQ(actual.m_description, expected.m_description);
        ASSERT_EQ(actual.m_items.size(), expected.m_items.size());
        for (size_t i = 0; i < actual.m_items.size(); ++i) {
            EXPECT_EQ(actual.m_items[i].m_title, expected.m_items[i].m_title);
            EXPECT_EQ(actual.m_items[i].m_description, expected.m_items[i].m_description);
            EXPECT_EQ(actual.m_items[i].m_keywords, expected.m_items[i].m_keywords);
        }
    }
}

// A rewrite compares against the stored file's date alone; it must be the
// date a full read gives, failures included.
TEST(ReadChannelDate, IsTheDateAFullReadGives) {
    TempDir dir;
    std::vector<CString> files;
    for (const char* name :
         {"rss20_full.xml", "podcast_full.xml", "rdf_full.xml", "rss20_dates_in_the_wild.xml",
          "not_well_formed.xml", "rss20_shift_jis.xml", "unsafe_billion_laughs.xml"}) {
        files.push_back(fixturePath(std::string("feed/") + name));
    }
    files.push_back(write(dir, "no-channel.xml", "<rss version='2.0'><item/></rss>"));
    files.push_back(write(dir, "rdf-no-channel.xml",
                          "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'/>"));
    files.push_back(
        write(dir, "bad-date.xml", "<rss><channel><pubDate>someday</pubDate></channel></rss>"));
    files.push_back(write(dir, "dated.xml",
                          "<rss><channel><pubDate>Tue, 10 Jun 2003 04:00:00 GMT</pubDate>"
                          "</channel></rss>"));
    files.push_back(write(dir, "other-root.xml", "<feed><pubDate>x</pubDate></feed>"));
    const std::string date = "Tue, 10 Jun 2003 04:00:00 GMT";
    const std::vector<std::string> documents = {
        "<rss><channel><item/><pubDate>" + date + "</pubDate></channel></rss>",
        "<rss><channel/><channel><pubDate>" + date + "</pubDate></channel></rss>",
        "<rss><channel><item><pubDate>" + date + "</pubDate></item></channel></rss>",
        "<rss><channel><PUBDATE>" + date + "</PUBDATE><pubDate>x</pubDate></channel></rss>",
        "<!DOCTYPE rss [<!ENTITY d '" + date + "'>]><rss><channel><pubDate>&d;</pubDate>" +
            "</channel></rss>",
        "<rss><channel><pubDate>" + date + "</pubDate>&nbsp;</channel></rss>",
        "<rss><channel><pubDate>Tue, <b>10</b> Jun 2003 04:00:00 GMT</pubDate></channel></rss>",
        "<rss><pubDate>" + date + "</pubDate><channel/></rss>",
        "<rss xmlns:itunes='i'><channel><pubDate>" + date + "</pubDate></channel></rss>",
    };
    for (std::size_t i = 0; i < documents.size(); ++i) {
        files.push_back(write(dir, "case" + std::to_string(i) + ".xml", documents[i]));
        // Cut short anywhere, the file reads as no date, or as the tree reads it.
        for (std::size_t cut = 0; cut < documents[i].size(); cut += 9) {
            files.push_back(write(dir,
                                  "cut" + std::to_string(i) + "_" + std::to_string(cut) + ".xml",
                                  documents[i].substr(0, cut)));
        }
    }
    files.push_back(CString(dir.windows("missing.xml")));
    // Each date asked before the file is read (passed over) and after (as
    // the read left it).
    std::vector<std::int64_t> before;
    for (const CString& file : files) {
        before.push_back(newsdesk::readChannelDate(file).GetTime());
    }
    int dated = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        CRSSChannel channel;
        readRssFile(files[i], &channel);
        EXPECT_EQ(newsdesk::readChannelDate(files[i]).GetTime(), channel.m_pubDate.GetTime())
            << files[i].toUtf8();
        EXPECT_EQ(before[i], channel.m_pubDate.GetTime()) << files[i].toUtf8();
        dated += channel.m_pubDate.GetTime() != 0;
    }
    EXPECT_GE(dated, 8);
    // A file changed since it was read gives its new date.
    CString changed(dir.windows("case0.xml"));
    CRSSChannel channel;
    ASSERT_EQ(readRssFile(changed, &channel), 1);
    write(dir, "case0.xml",
          "<rss><channel><pubDate>Wed, 11 Jun 2003 04:00:00 GMT</pubDate>"
          "<title>longer now</title></channel></rss>");
    EXPECT_EQ(newsdesk::readChannelDate(changed).GetTime(), 1055304000);
}
