// newsdesk rewrite FEED: a feed read and written back in place; a feed whose
// content would not change keeps its bytes and modification time.
#include "Commands.h"
#include "FeedFiles.h"

#include <ostream>

namespace newsdesk::app {

int runRewrite(CommandContext& context) {
    if (context.args.size() != 1) {
        context.err << "newsdesk: usage: rewrite FEED\n";
        return 2;
    }
    CRSSChannel channel;
    if (!readFeed(context, context.args[0], channel)) {
        return 1;
    }
    return writeFeed(context, context.args[0], channel) ? 0 : 1;
}

}  // namespace newsdesk::app
