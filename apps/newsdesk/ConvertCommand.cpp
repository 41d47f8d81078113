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
        if (args[i] == "--to" || args[i] == "-o") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                return usageError(context);
            }
            (args[i] == "--to" ? to : out) = args[i + 1];
            ++i;
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            return unknownOption(context, args[i]);
        } else if (feed.empty() && !args[i].empty()) {
            feed = args[i];
        } else {
            return usageError(context);
        }
    }
    if (feed.empty() || to.empty()) {
        return usageError(context);
    }
    auto format = formatCode(to);
    if (!format) {
        context.err << "newsdesk: unknown format '" << to << "' (rss1, rss2 or podcast)\n";
        return 2;
    }
    // Both names are checked before anything is read or written.
    if (!windowsPathOf(context, feed) || (!out.empty() && !windowsPathOf(context, out))) {
        return 1;
    }
    CRSSChannel channel;
    if (!readFeed(context, feed, channel)) {
        return 1;
    }
    channel.m_format = *format;
    std::string target = out.empty() ? feed : out;
    if (!out.empty()) {
        // An RSS 1.0 channel is about the file it is written to.
        channel.m_filePath = *windowsPathOf(context, target);
    }
    return writeFeed(context, target, channel) == SaveOutcome::Failed ? 1 : 0;
}

}  // namespace newsdesk::app
