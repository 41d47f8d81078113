// Dates as feeds write them: RFC 822 / RFC 1123 ("Sun, 06 Dec 2026 16:12:26
// +0900") and W3C-DTF ("2026-12-06T16:12:26+09:00").
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lum {

struct FeedDate {
    std::int64_t utc = 0;   // seconds since 1970-01-01 UTC
    int offsetMinutes = 0;  // the zone the text was written in, east of UTC
};

// RFC 822: optional day name, day, month name, two- or four-digit year,
// hh:mm with optional :ss, and a zone: GMT, UT, UTC, Z, EST/EDT, CST/CDT,
// MST/MDT, PST/PDT, JST or +hhmm/-hhmm. A text without a zone is taken in
// local time (or in UTC when localIsUtc). nullopt for anything else.
std::optional<FeedDate> parseRfc822Date(std::u16string_view text, bool localIsUtc = false);

// W3C-DTF: YYYY, YYYY-MM, YYYY-MM-DD, then optionally Thh:mm, :ss and a
// fraction, with Z or +hh:mm/-hh:mm. Texts without a zone are local time (or
// UTC when localIsUtc). nullopt for anything else.
std::optional<FeedDate> parseW3cDtfDate(std::u16string_view text, bool localIsUtc = false);

// "2026-12-06T16:12:26+09:00", in the date's own zone.
std::u16string formatW3cDtf(const FeedDate& date);

}  // namespace lum
