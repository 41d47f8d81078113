// Every field a writer writes reads back through its reader unchanged, over
// generated records: Japanese text, characters outside the Basic
// Multilingual Plane, markup characters and entity-like text, spaces at the
// ends, empty and long texts, extreme numbers.
#include "TempDir.h"
#include "TzGuard.h"
#include "WrittenXml.h"
#include "check/FeedCheck.h"
#include "feed/FeedReaders.h"
#include "feed/FeedWriters.h"
#include "hostapp/text/CXMLSitemapUtil.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace {

class Generator {
  public:
    explicit Generator(unsigned seed) : m_random(seed) {}

    CString text() {
        static const char16_t* const kPieces[] = {u"日本語", u"ニュース",
                                                  u"𠮷",     u"😀",
                                                  u"🎙",   u"&",
                                                  u"<",      u">",
                                                  u"\"",     u"'",
                                                  u"&amp;",  u"&lt;b&gt;",
                                                  u"&#38;",  u"AT&T",
                                                  u" ",      u"\t",
                                                  u"\n",     u"a",
                                                  u"Zz9",    u"é",
                                                  u"]]>",    u"<![CDATA[x]]>",
                                                  u"%20",    u"\\"};
        switch (pick(10)) {
            case 0:
                return CString();
            case 1:
                return CString(u'あ', 5000) + u"&<>";
            default: {
                CString out;
                for (int n = pick(12); n > 0; --n) {
                    out += kPieces[pick(std::size(kPieces))];
                }
                if (pick(3) == 0) {
                    out = u"  " + out + u" ";
                }
                return out;
            }
        }
    }
    std::int32_t number() {
        static const std::int32_t kEdges[] = {0, 1, -1, 59, 3600, 2147483647, -2147483647 - 1};
        return pick(3) == 0 ? kEdges[pick(std::size(kEdges))]
                            : static_cast<std::int32_t>(m_random());
    }
    // Seconds since 1970, past 2038 too, up to the last year a date text holds.
    std::int64_t date() {
        static const std::int64_t kEdges[] = {0,          1,          2147483647,
                                              2147483648, 4102444800, 253402128000};
        return pick(4) == 0 ? kEdges[pick(std::size(kEdges))]
                            : static_cast<std::int64_t>(pick(2147483647)) * (1 + pick(4));
    }
    // A date text no parser reads, which a record keeps as it is.
    CString unreadDate() {
        static const char16_t* const kTexts[] = {u"2024年1月15日", u"someday & <never>",
                                                 u"Mon, 15 Jan 2024 08:30:00 XYZ", u" 15.01.2024 "};
        return kTexts[pick(std::size(kTexts))];
    }
    std::int64_t length() {
        static const std::int64_t kEdges[] = {0, 2147483647, 2147483648, 5368709120, INT64_MAX};
        return pick(3) == 0 ? kEdges[pick(std::size(kEdges))] : pick(2147483647);
    }
    bool flag() { return pick(2) == 0; }
    std::vector<CRSSCategory> categories(bool withSub) {
        std::vector<CRSSCategory> list(pick(4));
        for (auto& c : list) {
            c.m_category = text();
            if (withSub) {
                c.m_subCategory = text();
            }
        }
        return list;
    }

    void fill(CRSSChannel& channel, int format) {
        channel.m_format = format;
        for (CString* field :
             {&channel.m_title, &channel.m_description, &channel.m_link, &channel.m_copyright,
              &channel.m_language, &channel.m_subTitle, &channel.m_author, &channel.m_image,
              &channel.m_ownerName, &channel.m_ownerEmail}) {
            *field = text();
        }
        channel.m_pubDate = CTime(date());
        if (channel.m_pubDate.GetTime() == 0 && pick(2) == 0) {
            channel.m_pubDateText = unreadDate();
        }
        channel.m_ttl = number();
        channel.m_block = flag();
        channel.m_categories = categories(format == 2);
        for (int n = pick(5); n > 0; --n) {
            CRSSItem item;
            for (CString* field : {&item.m_title, &item.m_description, &item.m_link, &item.m_author,
                                   &item.m_enclosureUrl, &item.m_enclosureType, &item.m_subTitle,
                                   &item.m_artist, &item.m_keywords, &item.m_comments}) {
                *field = text();
            }
            item.m_pubDate = date();
            if (item.m_pubDate == 0 && pick(2) == 0) {
                item.m_pubDateText = unreadDate();
            }
            item.m_enclosureLength = length();
            item.m_duration = pick(3) == 0 ? number() : pick(400000);
            item.m_block = flag();
            item.m_categories = categories(false);
            channel.addItem(item);
        }
    }

  private:
    std::uint32_t pick(std::uint32_t n) { return m_random() % n; }
    std::mt19937 m_random;
};

// What a reader can give back of a record after its format's writer wrote it.
void keepWhatTheFormatCarries(CRSSChannel& c, const CString& path) {
    int format = c.m_format;
    auto named = [](std::vector<CRSSCategory> list, bool withSub) {
        std::vector<CRSSCategory> out;
        for (auto& category : list) {
            if (!category.m_category.IsEmpty()) {
                if (!withSub) {
                    category.m_subCategory = CString();
                }
                out.push_back(category);
            }
        }
        return out;
    };
    c.m_filePath = path;
    c.m_ttl = format != 0 && c.m_ttl > 0 ? c.m_ttl : 0;
    c.m_categories = format == 0 ? std::vector<CRSSCategory>() : named(c.m_categories, format == 2);
    if (format == 0) {
        c.m_language = c.m_subTitle = c.m_ownerName = c.m_ownerEmail = CString();
        c.m_block = false;
    } else if (format == 1) {
        c.m_subTitle = c.m_author = c.m_ownerName = c.m_ownerEmail = CString();
        c.m_block = false;
    } else {
        c.m_pubDate = CTime(0);
        c.m_pubDateText = CString();
    }
    for (auto& item : c.m_items) {
        if (format != 2) {
            item.m_subTitle = item.m_artist = item.m_keywords = CString();
            item.m_duration = 0;
            item.m_block = false;
        } else {
            item.m_link = item.m_author = CString();
            item.m_duration = item.m_duration > 0 ? item.m_duration : 0;
        }
        if (format == 0) {
            item.m_comments = CString();
        }
        if (format == 0 || item.m_enclosureUrl.IsEmpty()) {
            item.m_enclosureUrl = item.m_enclosureType = CString();
            item.m_enclosureLength = 0;
        }
        item.m_categories =
            format == 1 ? named(item.m_categories, false) : std::vector<CRSSCategory>();
    }
}

void expectSame(const CRSSChannel& a, const CRSSChannel& b, const std::string& where) {
    auto same = [&](const CString& x, const CString& y, const char* field) {
        EXPECT_EQ(x, y) << where << " " << field;
    };
    same(a.m_title, b.m_title, "title");
    same(a.m_description, b.m_description, "description");
    same(a.m_link, b.m_link, "link");
    same(a.m_copyright, b.m_copyright, "copyright");
    same(a.m_language, b.m_language, "language");
    same(a.m_subTitle, b.m_subTitle, "subTitle");
    same(a.m_author, b.m_author, "author");
    same(a.m_image, b.m_image, "image");
    same(a.m_ownerName, b.m_ownerName, "ownerName");
    same(a.m_ownerEmail, b.m_ownerEmail, "ownerEmail");
    same(a.m_filePath, b.m_filePath, "filePath");
    EXPECT_EQ(a.m_pubDate.GetTime(), b.m_pubDate.GetTime()) << where << " pubDate";
    same(a.m_pubDateText, b.m_pubDateText, "pubDateText");
    EXPECT_EQ(a.m_ttl, b.m_ttl) << where << " ttl";
    EXPECT_EQ(a.m_block, b.m_block) << where << " block";
    EXPECT_EQ(a.m_format, b.m_format) << where << " format";
    ASSERT_EQ(a.m_categories.size(), b.m_categories.size()) << where << " categories";
    for (size_t i = 0; i < a.m_categories.size(); ++i) {
        same(a.m_categories[i].m_category, b.m_categories[i].m_category, "category");
        same(a.m_categories[i].m_subCategory, b.m_categories[i].m_subCategory, "subCategory");
    }
    ASSERT_EQ(a.m_items.size(), b.m_items.size()) << where << " items";
    for (size_t i = 0; i < a.m_items.size(); ++i) {
        const CRSSItem& x = a.m_items[i];
        const CRSSItem& y = b.m_items[i];
        std::string item = where + " item " + std::to_string(i);
        for (auto [p, q, field] : {std::tuple{&x.m_title, &y.m_title, "title"},
                                   {&x.m_description, &y.m_description, "description"},
                                   {&x.m_link, &y.m_link, "link"},
                                   {&x.m_author, &y.m_author, "author"},
                                   {&x.m_enclosureUrl, &y.m_enclosureUrl, "enclosureUrl"},
                                   {&x.m_enclosureType, &y.m_enclosureType, "enclosureType"},
                                   {&x.m_subTitle, &y.m_subTitle, "subTitle"},
                                   {&x.m_artist, &y.m_artist, "artist"},
                                   {&x.m_keywords, &y.m_keywords, "keywords"},
                                   {&x.m_comments, &y.m_comments, "comments"}}) {
            EXPECT_EQ(*p, *q) << item << " " << field;
        }
        EXPECT_EQ(x.m_pubDate, y.m_pubDate) << item << " pubDate";
        EXPECT_EQ(x.m_pubDateText, y.m_pubDateText) << item << " pubDateText";
        EXPECT_EQ(x.m_enclosureLength, y.m_enclosureLength) << item << " enclosureLength";
        EXPECT_EQ(x.m_duration, y.m_duration) << item << " duration";
        EXPECT_EQ(x.m_block, y.m_block) << item << " block";
        ASSERT_EQ(x.m_categories.size(), y.m_categories.size()) << item << " categories";
        for (size_t k = 0; k < x.m_categories.size(); ++k) {
            EXPECT_EQ(x.m_categories[k].m_category, y.m_categories[k].m_category) << item;
        }
    }
}

class RoundTrip : public ::testing::TestWithParam<int> {
  protected:
    TzGuard m_tz{"America/New_York"};  // a zone with summer time
    TempDir m_dir;
};

}  // namespace

TEST_P(RoundTrip, EveryWrittenFieldReadsBackUnchanged) {
    int format = GetParam();
    CString path = CString(m_dir.windows("feed.xml"));
    for (unsigned seed = 1; seed <= 40; ++seed) {
        CRSSChannel written;
        Generator(seed * 7 + format).fill(written, format);
        written.m_filePath = path;
        ASSERT_EQ(newsdesk::writeRssFile(path, &written), 1) << "seed " << seed;
        CRSSChannel read;
        ASSERT_EQ(newsdesk::readRssFile(path, &read), 1) << "seed " << seed;
        keepWhatTheFormatCarries(written, path);
        expectSame(written, read,
                   "format " + std::to_string(format) + " seed " + std::to_string(seed));
        if (HasFailure()) {
            break;
        }
    }
}

// The generated records with the values a format gives a form (addresses,
// dates, languages, the iTunes categories) in that form and the required
// ones filled; the rest stays as generated. Whatever the writers add must
// then leave nothing for check to find.
void giveFormsTheirForm(CRSSChannel& channel, int format) {
    CString base = u"https://e.example/";
    channel.m_title = u"T" + channel.m_title;
    channel.m_link = base;
    if (!channel.m_image.IsEmpty()) {
        channel.m_image = base + u"i.png";
    }
    if (!channel.m_language.IsEmpty()) {
        channel.m_language = u"ja";
    }
    if (!channel.m_ownerEmail.IsEmpty()) {
        channel.m_ownerEmail = u"owner@e.example";
    }
    channel.m_pubDateText = CString();
    for (CRSSCategory& category : channel.m_categories) {
        category.m_category = format == 2 ? CString(u"Arts") : u"c" + category.m_category;
        category.m_subCategory = format == 2 ? CString(u"Books") : CString();
    }
    int n = 0;
    for (CRSSItem& item : channel.m_items) {
        CString page = base + CString(std::u16string(1, static_cast<char16_t>(u'a' + n++)));
        item.m_title = u"I" + item.m_title;
        if (!item.m_link.IsEmpty() || format == 0) {
            item.m_link = page;
        }
        if (!item.m_comments.IsEmpty()) {
            item.m_comments = page + u"#comments";
        }
        if (!item.m_enclosureUrl.IsEmpty()) {
            item.m_enclosureUrl = page + u".mp3";
            item.m_enclosureType = n % 2 == 0 ? CString(u"audio/mpeg") : CString();
        }
        item.m_pubDateText = CString();
        for (CRSSCategory& category : item.m_categories) {
            category.m_category = u"c" + category.m_category;
        }
    }
}

TEST_P(RoundTrip, WhatIsWrittenPassesCheck) {
    int format = GetParam();
    CString path = CString(m_dir.windows("feed.xml"));
    const newsdesk::check::CategoryTable table{{"Arts", {"Books"}}};
    for (unsigned seed = 1; seed <= 40; ++seed) {
        CRSSChannel written;
        Generator(seed * 7 + format).fill(written, format);
        giveFormsTheirForm(written, format);
        written.m_filePath = path;
        ASSERT_EQ(newsdesk::writeRssFile(path, &written), 1) << "seed " << seed;
        std::vector<newsdesk::check::Problem> problems;
        ASSERT_TRUE(
            newsdesk::check::checkFeed(m_dir.native("feed.xml").string(), format, table, problems));
        for (const auto& problem : problems) {
            // A podcast's rating (itunes:explicit) is the author's to give:
            // check warns while no record field holds it.
            if (problem.warning) {
                continue;
            }
            ADD_FAILURE() << "seed " << seed << " " << problem.line << ":" << problem.column << " "
                          << problem.message;
        }
        if (HasFailure()) {
            break;
        }
    }
}

std::string formatName(const ::testing::TestParamInfo<int>& info) {
    return info.param == 0 ? "Rss1" : info.param == 1 ? "Rss2" : "Podcast";
}

INSTANTIATE_TEST_SUITE_P(AllFormats, RoundTrip, ::testing::Values(0, 1, 2), formatName);

TEST(DateTexts, ADateNoParserReadsIsWrittenBackAsItWasInEveryFormat) {
    TzGuard tz("Asia/Tokyo");
    TempDir dir;
    const std::tuple<const char*, const char*, const char*> feeds[] = {
        {"rss2.xml",
         "<rss version='2.0'><channel><title>t</title><pubDate>gestern</pubDate>"
         "<item><pubDate>2024年1月15日</pubDate></item>"
         "<item><pubDate>Thu, 01 Jan 1970 00:00:00 GMT</pubDate></item></channel></rss>",
         "/rss/channel"},
        {"podcast.xml",
         "<rss version='2.0' xmlns:itunes='http://www.itunes.com/dtds/podcast-1.0.dtd'>"
         "<channel><title>t</title><item><pubDate>2024年1月15日</pubDate></item>"
         "<item><pubDate>Thu, 01 Jan 1970 00:00:00 GMT</pubDate></item></channel></rss>",
         "/rss/channel"},
        {"rdf.xml",
         "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' "
         "xmlns='http://purl.org/rss/1.0/' xmlns:dc='http://purl.org/dc/elements/1.1/'>"
         "<channel><title>t</title><dc:date>gestern</dc:date></channel>"
         "<item><dc:date>2024年1月15日</dc:date></item>"
         "<item><dc:date>1970-01-01T00:00:00Z</dc:date></item></rdf:RDF>",
         "/rdf:RDF/rss:channel"},
    };
    for (const auto& [name, xml, channelPath] : feeds) {
        dir.write(name, xml);
        CRSSChannel channel;
        ASSERT_EQ(newsdesk::readRssFile(CString(dir.windows(name)), &channel), 1) << name;
        ASSERT_EQ(channel.m_items.size(), 2u) << name;
        EXPECT_EQ(channel.m_items[0].m_pubDate, 0) << name;
        EXPECT_EQ(channel.m_items[0].m_pubDateText, u"2024年1月15日") << name;
        CString out(dir.windows(std::string("out-") + name));
        ASSERT_EQ(newsdesk::writeRssFile(out, &channel), 1) << name;
        WrittenXml written(dir.native(std::string("out-") + name).string());
        bool rdf = std::string(name) == "rdf.xml";
        std::string items = rdf ? "/rdf:RDF/rss:item" : std::string(channelPath) + "/item";
        std::string date = rdf ? "/dc:date" : "/pubDate";
        EXPECT_EQ(written.text(items + "[1]" + date), "2024年1月15日") << name;
        // The first second of 1970 is a date, not the absence of one.
        CRSSChannel back;
        ASSERT_EQ(newsdesk::readRssFile(out, &back), 1) << name;
        EXPECT_EQ(written.count(items + "[2]" + date), 1) << name;
        EXPECT_EQ(back.m_items.at(1).m_pubDate, 0) << name;
        CTime epoch(-1);
        EXPECT_TRUE(
            CXMLSitemapUtil::getOleDateTimeFromString(back.m_items[1].m_pubDateText, epoch, false))
            << name;
        EXPECT_EQ(epoch.GetTime(), 0) << name;
        if (std::string(name) != "podcast.xml") {
            EXPECT_EQ(written.text(std::string(channelPath) + (rdf ? "/dc:date" : "/pubDate")),
                      "gestern")
                << name;
        }
    }
}
