// newsdesk format FEED: the format code the module detects.
#include "Commands.h"
#include "FeedPath.h"

#include <ostream>

namespace newsdesk::app {

int runFormat(CommandContext& context) {
    if (context.args.size() != 1) {
        context.err << "newsdesk: usage: newsdesk format FEED\n";
        return 2;
    }
    auto path = feedPathArgument(context.args[0], context.err);
    if (!path) {
        return 1;
    }
    int format = -1;
    context.module.entry<lum::GetRssFormatEntryFn>(lum::slot::GetRssFormat)(*path, &format);
    context.out << format << "\n";
    return 0;
}

}  // namespace newsdesk::app
