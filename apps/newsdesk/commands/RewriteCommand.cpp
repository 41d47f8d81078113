// newsdesk rewrite [--quiet] FEED: a feed read and written back in place; a
// feed whose rewritten form equals the file keeps its bytes and time.
#include "Commands.h"
#include "FeedFiles.h"

#include <ostream>

namespace newsdesk::app {

int runRewrite(CommandContext& context) {
    bool quiet = false;
    std::string feed;
    for (const auto& arg : context.args) {
        if (arg == "--quiet" || arg == "-q") {
            quiet = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return unknownOption(context, arg);
        } else if (feed.empty() && !arg.empty()) {
            feed = arg;
        } else {
            return usageError(context);
        }
    }
    if (feed.empty()) {
        return usageError(context);
    }
    CRSSChannel channel;
    if (!readFeed(context, feed, channel)) {
        return 1;
    }
    SaveOutcome outcome = writeFeed(context, feed, channel);
    if (outcome == SaveOutcome::Failed) {
        return 1;
    }
    if (!quiet) {
        context.out << (outcome == SaveOutcome::Unchanged ? "unchanged" : "written") << "\n";
    }
    return 0;
}

}  // namespace newsdesk::app
