// Dates as feeds write them: RFC 822 / RFC 2822 ("Sun, 06 Dec 2026 16:12:26
// +0900") and its relatives, W3C-DTF and ISO 8601 ("2026-12-06T16:12:26+09:00").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lum {

struct FeedDate {
    std::int64_t utc = 0;   // seconds since 1970-01-01 UTC
    int offsetMinutes = 0;  // the zone the text was written in, east of UTC
};

// The mail family of date texts: an optional day name, then day, month name
// and a two-, three- or four-digit year ("06 Dec 2026", "06-Dec-26"; the
// month may come first, "Dec 06 2026"), an optional time h:mm or h:mm:ss and
// a zone; also asctime ("Sun Dec  6 16:12:26 2026") and "2026/12/06
// 16:12:26". Zones: +hhmm, +hh:mm, GMT+hh:mm, names (see FeedDateRfc822.cpp
// for the ambiguous ones) and the military letters; a comment in
// parentheses may follow. A text without a zone is local time (or UTC when
// localIsUtc). nullopt for anything else, never a guess.
std::optional<FeedDate> parseRfc822Date(std::u16string_view text, bool localIsUtc = false);

// W3C-DTF and the ISO 8601 forms feeds use: YYYY, YYYY-MM, YYYY-MM-DD or
// YYYYMMDD, then optionally a time after "T" or a space (hh:mm, :ss and a
// fraction, or hhmmss), with Z, +hh:mm, +hhmm or +hh, or after a space a
// zone name. Texts without a zone are local time (or UTC when localIsUtc).
// nullopt for anything else.
std::optional<FeedDate> parseW3cDtfDate(std::u16string_view text, bool localIsUtc = false);

// Either of the above.
std::optional<FeedDate> parseFeedDate(std::u16string_view text, bool localIsUtc = false);

// "2026-12-06T16:12:26+09:00", in the date's own zone.
std::u16string formatW3cDtf(const FeedDate& date);

}  // namespace lum
