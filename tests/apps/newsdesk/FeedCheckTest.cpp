// newsdesk check's rules: each row a small feed and the one problem it must
// report (where), or none for a valid feed.
#include "TempDir.h"
#include "check/FeedCheck.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using newsdesk::check::Problem;

constexpr const char* kItunes = R"( xmlns:itunes="http://www.itunes.com/dtds/podcast-1.0.dtd")";

std::string rss2(const std::string& channel, const std::string& rootAttributes = "") {
    return "<rss version=\"2.0\"" + rootAttributes +
           "><channel><title>T</title><link>http://e.example/</link><description>D</description>" +
           channel + "</channel></rss>";
}

std::string rss1(const std::string& rest) {
    return R"(<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#" )"
           R"(xmlns="http://purl.org/rss/1.0/" xmlns:dc="http://purl.org/dc/elements/1.1/">)"
           R"(<channel rdf:about="http://e.example/"><title>T</title><link>http://e.example/</link>)"
           R"(<description>D</description><items><rdf:Seq/></items></channel>)" +
           rest + "</rdf:RDF>";
}

// A podcast channel with what the directories ask for besides the given.
std::string podcast(const std::string& channel) {
    return rss2(
        "<itunes:image href=\"http://e.example/a.png\"/>"
        "<itunes:explicit>no</itunes:explicit>" +
            channel,
        kItunes);
}

struct Row {
    std::string xml;
    int format;
    const char* problem;  // the one message expected; empty: valid
};

const Row kRows[] = {
    {rss2("<item><title>I</title><link>http://e.example/1</link><guid>x</guid>"
          "<pubDate>Tue, 04 May 2010 10:00:00 GMT</pubDate><author>a@e.example (A)</author>"
          "<enclosure url=\"http://e.example/a.mp3\" length=\"1\" type=\"audio/mpeg\"/></item>"),
     1, ""},
    {"<rss version=\"2.0\"><channel><title>T</title><description>D</description></channel></rss>",
     1, "<channel> has no <link>"},
    {rss2("<item><link/><title>I</title></item>"), 1, "<link> must be a full URL, not empty"},
    {rss2("<item><title>I</title><author>Jane</author></item>"), 1,
     "<author> must be an e-mail address: \"Jane\""},
    {rss2("<pubDate>yesterday</pubDate>"), 1, "<pubDate> must be an RFC 822 date: \"yesterday\""},
    {rss2("<language>en us</language>"), 1, "<language> must be a language code: \"en us\""},
    {rss2("<ttl>soon</ttl>"), 1, "<ttl> must be a whole number: \"soon\""},
    {rss2("<item><title>I</title><enclosure url=\"http://e.example/a.mp3\" length=\"1\"/></item>"),
     1, "<enclosure> has no type attribute"},
    {rss2("<item><title>I</title><enclosure url=\"http://e.example/a\" length=\"1\" type=\"mp3\"/>"
          "</item>"),
     1, "the type of <enclosure> must be a MIME type: \"mp3\""},
    {rss2("<item><title>A</title><title>B</title></item>"), 1,
     "<title> appears more than once in <item>"},
    {rss2("<item><guid>x</guid></item>"), 1, "<item> has neither <title> nor <description>"},
    {rss2("<item><title>I</title>"
          "<enclosure url=\"http://e.example/a.mp3\" length=\"1\" type=\"audio/mpeg\"/>"
          "<enclosure url=\"http://e.example/b.mp3\" length=\"1\" type=\"audio/mpeg\"/></item>"),
     1, "<enclosure> appears more than once in <item>; most readers take only the first"},
    {rss2("<item><title>I</title><wibble/></item>"), 1, "<wibble> is not defined in <item>"},
    {podcast("<itunes:category text=\"Arts\"><itunes:category text=\"Books\"/></itunes:category>"),
     2, ""},
    {podcast("<itunes:category text=\"Zeta\"/>"), 2, "\"Zeta\" is not an iTunes category"},
    {podcast("<itunes:category text=\"Arts\"><itunes:category text=\"Golf\"/></itunes:category>"),
     2, "\"Golf\" is not an iTunes subcategory of \"Arts\""},
    {podcast("<itunes:category text=\"Arts\"/><itunes:frobnicate/>"), 2,
     "<itunes:frobnicate> is not defined in <channel>"},
    {podcast("<itunes:category text=\"Arts\"/><item><title>I</title>"
             "<itunes:duration>an hour</itunes:duration></item>"),
     2, "<itunes:duration> must be a duration (seconds, MM:SS or HH:MM:SS): \"an hour\""},
    {rss2("<itunes:image href=\"http://e.example/a.png\"/><itunes:category text=\"Arts\"/>",
          kItunes),
     2, "<channel> has no <itunes:explicit>; podcast directories refuse a show without it"},
    {rss2("<itunes:category text=\"Arts\"/>", kItunes), 1, ""},
    {rss2("<content:items xmlns:content=\"http://purl.org/rss/1.0/modules/content/\"/>"), 1,
     "<content:items> is not defined in <channel>"},
    {rss1(R"(<item rdf:about="http://e.example/1"><title>I</title><link>http://e.example/1</link>)"
          R"(<dc:date>2010-05-04T10:00:00Z</dc:date></item>)"),
     0, ""},
    {rss1(R"(<item><title>I</title><link>http://e.example/1</link></item>)"), 0,
     "<item> has no rdf:about attribute"},
    {rss1(R"(<item rdf:about="http://e.example/1"><title>I</title></item>)"), 0,
     "<item> has no <link>"},
    {rss1(
         R"(<item rdf:about="http://e.example/a b"><title>I</title><link>http://e.example/1</link>)"
         R"(</item>)"),
     0, "the rdf:about of <item> must be a full URL: \"http://e.example/a b\""},
    {rss1(R"(<item rdf:about="http://e.example/1"><title>I</title><link>http://e.example/1</link>)"
          R"(<dc:date>Tue, 04 May 2010 10:00:00 GMT</dc:date></item>)"),
     0, "<dc:date> must be a W3C-DTF date: \"Tue, 04 May 2010 10:00:00 GMT\""},
    {rss1(R"(<item rdf:about="http://e.example/1"><title>I</title><link>http://e.example/1</link>)"
          R"(<dc:language>en</dc:language><dc:language>fr</dc:language></item>)"),
     0, "<dc:language> appears more than once in <item>"},
    {"<rss version=\"2.0\"><channel><title>T</title></chanel></rss>", 1, "not well-formed XML"},
};

TEST(FeedCheck, ReportsTheOneProblemOfEachSmallFeed) {
    TempDir dir;
    const newsdesk::check::CategoryTable table{{"Arts", {"Books", "Design"}}};
    int n = 0;
    for (const Row& row : kRows) {
        std::string name = "feed" + std::to_string(++n) + ".xml";
        dir.write(name, row.xml);
        std::vector<Problem> problems;
        ASSERT_TRUE(
            newsdesk::check::checkFeed(dir.native(name).string(), row.format, table, problems));
        std::string all;
        for (const Problem& p : problems) {
            all += std::to_string(p.line) + ":" + std::to_string(p.column) + " " + p.message + "\n";
        }
        if (*row.problem == '\0') {
            EXPECT_TRUE(problems.empty()) << row.xml << "\n" << all;
        } else {
            ASSERT_EQ(problems.size(), 1u) << row.xml << "\n" << all;
            EXPECT_EQ(problems[0].message.substr(0, std::string(row.problem).size()), row.problem)
                << row.xml;
            // What directories or readers ask beyond the format warns; the
            // rest is an error.
            EXPECT_EQ(problems[0].warning,
                      std::string(row.problem).find("directories") != std::string::npos ||
                          std::string(row.problem).find("readers") != std::string::npos)
                << row.xml;
        }
    }
}

TEST(FeedCheck, GivesTheLineAndColumnWhereTheElementStarts) {
    TempDir dir;
    dir.write("feed.xml",
              "<rss version=\"2.0\"><channel><title>T</title><link>http://e.example/</link>\n"
              "<description>D</description>\n"
              "  <item><title>I</title>\n"
              "    <author\n"
              "      >Jane</author></item></channel></rss>\n");
    std::vector<Problem> problems;
    ASSERT_TRUE(newsdesk::check::checkFeed(dir.native("feed.xml").string(), 1, {}, problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].line, 4);
    EXPECT_EQ(problems[0].column, 5);
}

}  // namespace
