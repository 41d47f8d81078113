// Synthetic feeds for the benchmarks: deterministic RSS 2.0 and podcast files
// of any number of items, with Japanese text, categories and enclosures
// (about 500 bytes per RSS 2.0 item).
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

namespace newsdesk::bench {

enum class FeedKind { Rss20, Podcast };

// Writes a whole feed document of itemCount items to out.
void writeFeed(std::ostream& out, FeedKind kind, std::size_t itemCount);

// The same into a file; false when it cannot be written.
bool writeFeedFile(const std::string& path, FeedKind kind, std::size_t itemCount);

}  // namespace newsdesk::bench
