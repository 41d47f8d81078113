// The streamed JSON of `newsdesk read` must be the bytes that dumping the
// whole record with nlohmann::json gives: scripts compare them.
#include "json/JsonStream.h"
#include "json/RecordJson.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace newsdesk::app {
namespace {

using nlohmann::ordered_json;

std::string library(const ordered_json& value) {
    return value.dump(2, ' ', false, ordered_json::error_handler_t::replace);
}

std::string streamed(const CRSSChannel& channel, const std::string& filePath) {
    std::ostringstream out;
    EXPECT_TRUE(writeRecordJson(out, channel, filePath));
    return out.str();
}

std::string expected(const CRSSChannel& channel, const std::string& filePath) {
    ordered_json json = toJson(channel);
    json["filePath"] = filePath;
    return library(json);
}

TEST(JsonStream, EmptyRecordPrintsAsTheLibraryDoes) {
    CRSSChannel channel;
    EXPECT_EQ(streamed(channel, "/tmp/x.rss"), expected(channel, "/tmp/x.rss"));
}

TEST(JsonStream, ItemsCategoriesAndAwkwardTextPrintAsTheLibraryDoes) {
    CRSSChannel channel;
    channel.m_title = u"quote \" backslash \\ tab \t newline \n cr \r bell \a nul";
    channel.m_title += u'\0';
    channel.m_title += u" del \x7f formfeed \f backspace \b";
    channel.m_description = u"日本語 and 😀 and a lone surrogate ";
    channel.m_description += static_cast<char16_t>(0xD800);
    channel.m_description += u" and U+2028 \u2028";
    channel.m_ttl = 30;
    channel.m_pubDate = CTime(-86400);
    channel.m_format = 2;
    channel.m_block = true;
    channel.m_categories.push_back(CRSSCategory());
    channel.m_categories.back().m_category = u"Music";
    channel.m_categories.back().m_subCategory = u"Jazz & <Blues>";
    for (int i = 0; i < 3; ++i) {
        CRSSItem item;
        item.m_title = u"item \x1f \\ \"quoted\"";
        item.m_description = channel.m_description;
        item.m_description += static_cast<char16_t>(0xDC00);  // a low surrogate alone
        item.m_author = channel.m_title;
        item.m_enclosureLength = 5000000000LL;
        item.m_duration = 3725;
        item.m_pubDate = -1;
        if (i == 2) {
            // Markup the record keeps beyond its fields, on a later item only.
            EXPECT_TRUE(item.m_kept.addElementXml("<guid isPermaLink=\"false\">g &amp; 2</guid>",
                                                  lum::KeptPlace::Host, 1));
        }
        if (i == 1) {
            item.m_categories.resize(2);
            EXPECT_TRUE(item.m_categories[1].m_kept.addElementXml("<x:note xmlns:x=\"urn:x\"/>",
                                                                  lum::KeptPlace::Host, 1));
            item.m_categories[0].m_category = u"a";
            item.m_categories[1].m_subCategory = u"𝄞 ü";
        }
        channel.addItem(std::move(item));
    }
    EXPECT_EQ(streamed(channel, "C:\\feeds\\ü.rss"), expected(channel, "C:\\feeds\\ü.rss"));
    // Items are written from their fields, not through toJson: the same bytes.
    for (const CRSSItem& item : channel.m_items) {
        std::string direct;
        appendItemJson(direct, item, 4);
        std::string viaJson;
        appendPrettyJson(viaJson, toJson(item), 4);
        EXPECT_EQ(direct, viaJson);
    }
}

TEST(JsonStream, PlainRunsMeetingEscapesAndWideCharactersPrintAsTheLibraryDoes) {
    const std::u16string texts[] = {
        u"",
        u"plain",
        u"\"",
        u"\"lead",
        u"trail\\",
        u"a\"b\\c\nd",
        u"~\x7f\x80",
        u"\x1f ok",
        u"ü plain ü",
        u"plain 😀",
        u"😀",
        u" ",
        // Runs of two- and three-byte characters ending at a pair, an
        // unpaired half, an escape, plain text.
        u"日本語😀é\"x",
        u"\xD800日",
        u"é日\xDC00",
        u"ßü日\n",
        u"\x7f日本",
    };
    for (const std::u16string& text : texts) {
        // Written straight from the fields, not through toJson (which the
        // stream falls back to on any difference in its first item).
        CRSSItem item;
        item.m_title = text;
        item.m_description = text + u"<p>" + text + u"</p>";
        std::string direct;
        appendItemJson(direct, item, 4);
        std::string viaJson;
        appendPrettyJson(viaJson, toJson(item), 4);
        EXPECT_EQ(direct, viaJson) << CString(text).toUtf8();
    }
}

TEST(JsonStream, TextThatIsNotUtf8IsReplacedAsTheLibraryReplacesIt) {
    for (std::string bad : {std::string("a\xff"
                                        "b"),
                            std::string("\xc3"), std::string("\xed\xa0\x80"),
                            std::string("\xe0\x80\x80z"), std::string("ok \xf4\x90\x80\x80")}) {
        std::string out;
        appendJsonString(out, bad);
        EXPECT_EQ(out,
                  ordered_json(bad).dump(-1, ' ', false, ordered_json::error_handler_t::replace))
            << bad;
    }
}

TEST(JsonStream, NestedValuesOfEveryKindIndentAsTheLibraryIndents) {
    ordered_json value = ordered_json::parse(
        R"({"a": [], "b": {}, "c": [1, -2, 18446744073709551615, true, null, 1.5, "x"],
            "d": {"e": [{"f": []}, [[]]]}})");
    std::string out;
    appendPrettyJson(out, value, 0);
    EXPECT_EQ(out, library(value));
}

// A large feed's items are written in runs by two threads: every count
// about the runs' bounds comes out whole and in order.
TEST(JsonStream, ManyItemsPrintInTheirOrderAsTheLibraryDoes) {
    for (std::size_t count : {2047u, 2048u, 4097u, 6145u}) {
        CRSSChannel channel;
        channel.m_title = u"many";
        for (std::size_t i = 0; i < count; ++i) {
            CRSSItem item;
            item.m_title = CString(u"item ") + CString::fromUtf8(std::to_string(i));
            item.m_link = u"https://example.com/" + std::u16string(i % 7, u'x');
            channel.m_items.push_back(item);
        }
        EXPECT_EQ(streamed(channel, "/tmp/many.rss"), expected(channel, "/tmp/many.rss")) << count;
    }
}

TEST(JsonStream, AFailedStreamIsReported) {
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    CRSSChannel channel;
    EXPECT_FALSE(writeRecordJson(out, channel, "x"));
}

}  // namespace
}  // namespace newsdesk::app
