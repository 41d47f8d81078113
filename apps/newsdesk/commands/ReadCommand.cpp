// newsdesk read FEED: the record the module reads from a feed, as JSON.
#include "Commands.h"
#include "FeedFiles.h"
#include "FeedPath.h"
#include "InputFile.h"
#include "json/JsonStream.h"
#include "json/RecordJson.h"

#include "hostapp/records/CRSSChannel.h"

#include <memory>
#include <ostream>

namespace newsdesk::app {

int runRead(CommandContext& context) {
    if (context.args.size() != 1 || context.args[0].empty()) {
        return usageError(context);
    }
    const std::string& given = context.args[0];
    std::string native = given;
    StdinCopy input;
    if (given == "-") {
        std::string error;
        if (!input.copy(kLargestPipedFeed, error)) {
            context.err << "newsdesk: " << error << "\n";
            return 1;
        }
        native = input.path();
    } else if (given.size() > 1 && given[0] == '-') {
        return unknownOption(context, given);
    }
    auto path = feedPathArgument(native, context.err);
    if (!path) {
        return 1;
    }
    std::string unopenable = unopenableReason(native);
    if (!unopenable.empty()) {
        context.err << "newsdesk: " << given << ": " << unopenable << "\n";
        return 1;
    }
    auto channel = std::make_unique<CRSSChannel>();
    if (context.module.entry<lum::ReadRssFileEntryFn>(lum::slot::ReadRssFile)(*path,
                                                                              channel.get()) == 0) {
        int format = -1;
        context.module.entry<lum::GetRssFormatEntryFn>(lum::slot::GetRssFormat)(*path, &format);
        context.err << "newsdesk: " << given << ": " << unreadableReason(native, format) << "\n";
        return 1;
    }
    reportRepairs(context, given, *channel, native);
    // Printed item by item: the JSON of a large feed is several times its size.
    if (!writeRecordJson(context.out, *channel, displayPath(channel->m_filePath, given, *path)) ||
        !(context.out << "\n")) {
        context.err << "newsdesk: the record could not be printed\n";
        return 1;
    }
    return 0;
}

}  // namespace newsdesk::app
