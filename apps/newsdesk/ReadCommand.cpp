// newsdesk read FEED: the record the module reads from a feed, as JSON.
#include "Commands.h"
#include "FeedPath.h"
#include "RecordJson.h"

#include "hostapp/CRSSChannel.h"

#include <memory>
#include <ostream>

namespace newsdesk::app {

int runRead(CommandContext& context) {
    if (context.args.size() != 1) {
        context.err << "newsdesk: usage: newsdesk read FEED\n";
        return 2;
    }
    const std::string& native = context.args[0];
    auto path = feedPathArgument(native, context.err);
    if (!path) {
        return 1;
    }
    auto channel = std::make_unique<CRSSChannel>();
    if (context.module.entry<lum::ReadRssFileEntryFn>(lum::slot::ReadRssFile)(*path,
                                                                              channel.get()) == 0) {
        int format = -1;
        context.module.entry<lum::GetRssFormatEntryFn>(lum::slot::GetRssFormat)(*path, &format);
        context.err << "newsdesk: " << native << ": " << unreadableReason(native, format) << "\n";
        return 1;
    }
    context.out << toJson(*channel).dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
                << "\n";
    return 0;
}

}  // namespace newsdesk::app
