// Our date reading against an independent one: python3-feedparser reads
// each text of a table, and we must read the same moment. Where feedparser
// is known to misread a form, the table gives the moment instead and says why.
// One row per form and kind of zone: a second row of the same kind takes the
// same path.
#include "hostapp/text/CXMLSitemapUtil.h"

#include "TempDir.h"
#include "TzGuard.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t k0830Z = 1705307400;  // 2024-01-15T08:30:00Z
constexpr std::int64_t kHour = 3600;

enum class Expect { Feedparser, Moment, Refused };

struct Case {
    const char* text;
    Expect expect = Expect::Feedparser;
    std::int64_t moment = 0;
    const char* why = "";
};

Case same(const char* text) {
    return {text};
}
Case moment(const char* text, std::int64_t value, const char* why) {
    return {text, Expect::Moment, value, why};
}
Case refused(const char* text, const char* why) {
    return {text, Expect::Refused, 0, why};
}

const Case kCases[] = {
    same("Mon, 15 Jan 2024 08:30:00 +0900"),
    same("Mon, 15 Jan 2024 08:30:00 +09:00"),
    same("Mon, 15 Jan 2024 08:30:00 -0330"),
    same("Mon, 15 Jan 2024 08:30:00 GMT"),
    same("Mon, 15 Jan 2024 08:30:00 UT"),
    same("Mon, 15 Jan 2024 08:30:00 Z"),
    same("Mon, 15 Jan 2024 08:30:00 EST"),
    same("Mon, 15 Jan 2024 08:30:00 EDT"),
    same("Mon, 15 Jan 2024 08:30:00 PDT"),
    same("Mon, 15 Jan 2024 08:30:00 AST"),
    same("Mon, 15 Jan 2024 08:30:00 ET"),
    same("Mon, 15 Jan 2024 08:30:00 MET"),
    same("Mon, 15 Jan 2024 08:30:00 MEST"),
    same("Mon, 15 Jan 2024 08:30:00 A"),
    same("Mon, 15 Jan 2024 08:30:00 N"),
    same("Mon, 15 Jan 2024 08:30:00 GMT+09:00"),
    same("Mon, 15 Jan 2024 08:30:00 GMT-0500"),
    same("Mon, 15 Jan 2024 08:30:00 +0900 (JST)"),
    same("Monday, 15 January 2024 08:30:00 GMT"),
    same("15 Jan 2024 08:30:00 GMT"),
    same("Mon, 15 Jan 24 08:30:00 GMT"),
    same("Mon, 15 Jan 2024 08:30 GMT"),
    same("Mon, 5 Jan 2024 8:30:00 GMT"),
    same("Mon, Jan 15 2024 08:30:00 GMT"),
    same("15 Jan 2024"),
    same("Mon Jan 15 08:30:00 2024"),
    same("Mon Jan 15 08:30:00 +0900 2024"),
    same("Fri, 2006/09/15 08:19:53 EDT"),
    same("Tue, 19 Jan 2038 03:14:08 +0000"),
    same("Fri, 01 Jan 2100 00:00:00 GMT"),
    same("2024-01-15T08:30:00+09:00"),
    same("2024-01-15T08:30:00Z"),
    same("2024-01-15T08:30:00.123Z"),
    same("2024-01-15T08:30:00-05:00"),
    same("2024-01-15T08:30+09:00"),
    same("2024-01-15T08:30:00+09"),
    same("2024-01-15 08:30:00"),
    same("2024-01-15 08:30:00 +09:00"),
    same("2024-01-15"),
    same("2024-01"),
    same("2024"),
    same("2100-01-01T00:00:00Z"),
    moment("Mon, 15 Jan 2024 08:30:00 CET", k0830Z - kHour,
           "feedparser reads unknown names as UTC"),
    moment("Mon, 15 Jan 2024 08:30:00 CEST", k0830Z - 2 * kHour, "unknown to feedparser"),
    moment("Mon, 15 Jan 2024 08:30:00 BST", k0830Z - kHour, "British Summer Time"),
    moment("Mon, 15 Jan 2024 08:30:00 IST", k0830Z - 5 * kHour - 1800, "India, not Ireland"),
    moment("Mon, 15 Jan 2024 08:30:00 JST", k0830Z - 9 * kHour, "unknown to feedparser"),
    moment("Mon, 15 Jan 2024 08:30:00 B", k0830Z + 2 * kHour, "RFC 822: B is -0200"),
    moment("20240115T083000Z", k0830Z, "feedparser drops a basic-format time"),
    moment("20240115T173000+0900", k0830Z, "feedparser drops a basic-format time"),
    moment("2024-01-15T08:30:00+0530", k0830Z - 5 * kHour - 1800,
           "feedparser's W3C reader drops the minutes of +hhmm"),
    moment("2024/01/15 08:30:00", k0830Z, "feedparser reads the year alone"),
    refused("Mon, 15 Jan 2024 08:30:00 XYZ", "feedparser reads unknown names as UTC"),
    refused("Mon, 15 Jan 2024 08:30:00 GMT trailing", "feedparser ignores what follows"),
};

// feedparser's reading of each text, in seconds since 1970; nullopt where it
// reads nothing.
std::vector<std::optional<std::int64_t>> feedparserReadings() {
    TempDir dir;
    std::string lines;
    for (const Case& c : kCases) {
        lines += std::string(c.text) + "\n";
    }
    dir.write("dates.txt", lines);
    std::string command =
        "TZ=UTC /usr/bin/python3 -c \"import calendar, sys\n"
        "from feedparser.datetimes import _parse_date\n"
        "for line in open(sys.argv[1], encoding='utf-8'):\n"
        "    t = _parse_date(line.rstrip('\\n'))\n"
        "    print(calendar.timegm(t) if t else 'none')\" '" +
        dir.native("dates.txt").string() + "'";
    std::vector<std::optional<std::int64_t>> readings;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return readings;
    }
    char line[64];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        readings.push_back(text.rfind("none", 0) == 0 ? std::nullopt
                                                      : std::optional(std::stoll(text)));
    }
    ::pclose(pipe);
    return readings;
}

}  // namespace

TEST(FeedDateOracle, WeReadWhatFeedparserReadsAndKnowBetterWhereItGuesses) {
    TzGuard tz("UTC");
    auto readings = feedparserReadings();
    ASSERT_EQ(readings.size(), std::size(kCases))
        << "python3-feedparser is needed (scripts/setup.sh installs it)";
    for (size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        CTime time(-1);
        bool read =
            CXMLSitemapUtil::getOleDateTimeFromString(CString::fromUtf8(c.text), time, false);
        std::optional<std::int64_t> ours = read ? std::optional(time.GetTime()) : std::nullopt;
        switch (c.expect) {
            case Expect::Feedparser:
                ASSERT_TRUE(readings[i]) << c.text << ": feedparser reads nothing";
                EXPECT_EQ(ours, readings[i]) << c.text;
                break;
            case Expect::Moment:
                EXPECT_EQ(ours, c.moment) << c.text << " (" << c.why << ")";
                break;
            case Expect::Refused:
                EXPECT_EQ(ours, std::nullopt) << c.text << " (" << c.why << ")";
                break;
        }
    }
}
