#include "feed/TextFunctions.h"
#include "feed/WrittenFields.h"

#include <gtest/gtest.h>

#include <climits>
#include <regex>
#include <string>

using newsdesk::parseDuration;
using newsdesk::wtoi;
using newsdesk::xmlEscape;
using newsdesk::xmlUnescape;

TEST(XmlUnescape, DecodesTheFourEntitiesOnceInAnyCase) {
    EXPECT_EQ(xmlUnescape(u"a&amp;b"), u"a&b");
    EXPECT_EQ(xmlUnescape(u"&QUOT;x&Gt;&lT;&AMP;"), u"\"x><&");
    EXPECT_EQ(xmlUnescape(u"&amp;lt;"), u"&lt;");
    EXPECT_EQ(xmlUnescape(u"& b"), u"& b");
    EXPECT_EQ(xmlUnescape(u"&apos;&#38;&#x26;"), u"&apos;&#38;&#x26;");
    EXPECT_EQ(xmlUnescape(u"end&am"), u"end&am");
    EXPECT_EQ(xmlUnescape(u"&"), u"&");
    EXPECT_EQ(xmlUnescape(u"&&amp;&"), u"&&&");
}

TEST(XmlEscape, EscapesFourCharactersAndLeavesTheApostrophe) {
    EXPECT_EQ(xmlEscape(u"<>\"&'"), u"&lt;&gt;&quot;&amp;'");
    EXPECT_EQ(xmlEscape(u"日本語"), u"日本語");
    EXPECT_EQ(xmlUnescape(xmlEscape(u"a &amp; <b> \"c\"")), u"a &amp; <b> \"c\"");
}

TEST(ParseDuration, ThreeNumbersAreHoursMinutesAndSeconds) {
    EXPECT_EQ(parseDuration(u"01:02:05"), 3725);
    EXPECT_EQ(parseDuration(u"00:45:30"), 2730);
    EXPECT_EQ(parseDuration(u"100:00:00"), 360000);
    EXPECT_EQ(parseDuration(u"1:2:3:4"), 3723);
}

TEST(ParseDuration, FewerNumbersAreTheLastFieldsSoBareSecondsStaySeconds) {
    EXPECT_EQ(parseDuration(u"2730"), 2730);
    EXPECT_EQ(parseDuration(u"45:30"), 2730);
    EXPECT_EQ(parseDuration(u" 59"), 59);
    EXPECT_EQ(parseDuration(u"12:"), 12);
    EXPECT_EQ(parseDuration(u""), 0);
    EXPECT_EQ(parseDuration(u"unknown"), 0);
    EXPECT_EQ(parseDuration(u"99999999999999:00:00"), INT_MAX);
}

TEST(ParseDuration, AbsurdlyLongNumbersSaturateInsteadOfOverflowing) {
    EXPECT_EQ(parseDuration(u"99999999999999999999:59:59"), INT_MAX);
    EXPECT_EQ(parseDuration(u"-99999999999999999999:00:00"), INT_MIN);
    EXPECT_EQ(parseDuration(u"1:99999999999999999999:00"), INT_MAX);
}

TEST(Wtoi, ReadsTheLeadingDigitsOnly) {
    EXPECT_EQ(wtoi(u"30 minutes"), 30);
    EXPECT_EQ(wtoi(u"  -7"), -7);
    EXPECT_EQ(wtoi(u""), 0);
    EXPECT_EQ(wtoi(u"abc"), 0);
    EXPECT_EQ(wtoi(u"99999999999"), INT_MAX);
}

// The scan that tells an author's address agrees with the pattern it
// replaced, on every short string of the characters that matter.
TEST(IsEmailAddress, AgreesWithTheAddressPattern) {
    const std::regex address(R"([^@\s()<>,;:"]+@[^@\s()<>,;:"]+\.[^@\s()<>,;:".]+( \([^()]*\))?)");
    const std::string alphabet = "a@. ()<";
    std::vector<std::string> words{""};
    for (std::size_t begin = 0, length = 0; length < 5; ++length) {
        std::size_t end = words.size();
        for (std::size_t i = begin; i < end; ++i) {
            for (char c : alphabet) {
                words.push_back(words[i] + c);
            }
        }
        begin = end;
    }
    for (const std::string& word : words) {
        for (const std::string& text : {word, "a@b.c" + word, "a@" + word, word + "@b.c (N)"}) {
            ASSERT_EQ(newsdesk::isEmailAddress(CString::fromUtf8(text)),
                      std::regex_match(text, address))
                << text;
        }
    }
    EXPECT_TRUE(newsdesk::isEmailAddress(u"jane@example.com (Jane Doe)"));
    EXPECT_FALSE(newsdesk::isEmailAddress(u"jane@example.com\t(Jane)"));
}
