// newsdesk convert FEED --to rss1|rss2|podcast [-o OUT]: a feed rewritten in
// another format, in place unless OUT is given.
#include "Commands.h"
#include "FeedFiles.h"

#include <ostream>

namespace newsdesk::app {

int runConvert(CommandContext& context) {
    std::string feed;
    std::string to;
    std::string out;
    const auto& args = context.args;
    for (size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "--to" || args[i] == "-o") && i + 1 < args.size()) {
            (args[i] == "--to" ? to : out) = args[i + 1];
            ++i;
        } else if (feed.empty() && !args[i].empty() && args[i][0] != '-') {
            feed = args[i];
        } else {
            feed.clear();
            break;
        }
    }
    if (feed.empty() || to.empty()) {
        context.err << "newsdesk: usage: convert FEED --to rss1|rss2|podcast [-o OUT]\n";
        return 2;
    }
    auto format = formatCode(to);
    if (!format) {
        context.err << "newsdesk: unknown format '" << to << "' (rss1, rss2 or podcast)\n";
        return 2;
    }
    CRSSChannel channel;
    if (!readFeed(context, feed, channel)) {
        return 1;
    }
    channel.m_format = *format;
    std::string target = out.empty() ? feed : out;
    if (!out.empty()) {
        // An RSS 1.0 channel is about the file it is written to.
        auto path = windowsPathOf(context, target);
        if (!path) {
            return 1;
        }
        channel.m_filePath = *path;
    }
    return writeFeed(context, target, channel) ? 0 : 1;
}

}  // namespace newsdesk::app
