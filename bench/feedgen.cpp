// feedgen rss|podcast ITEMS OUT: writes a synthetic feed for benchmarks.
#include "FeedGenerator.h"

#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4 || (std::string(argv[1]) != "rss" && std::string(argv[1]) != "podcast")) {
        std::cerr << "usage: feedgen rss|podcast ITEMS OUT\n";
        return 2;
    }
    auto kind = std::string(argv[1]) == "rss" ? newsdesk::bench::FeedKind::Rss20
                                              : newsdesk::bench::FeedKind::Podcast;
    if (!newsdesk::bench::writeFeedFile(argv[3], kind, std::strtoull(argv[2], nullptr, 10))) {
        std::cerr << "feedgen: cannot write " << argv[3] << "\n";
        return 1;
    }
    return 0;
}
