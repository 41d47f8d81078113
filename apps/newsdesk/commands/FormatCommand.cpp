// newsdesk format FEED: the format code the module detects.
#include "Commands.h"
#include "FeedPath.h"
#include "InputFile.h"

#include <ostream>

namespace newsdesk::app {

int runFormat(CommandContext& context) {
    if (context.args.size() != 1 || context.args[0].empty()) {
        return usageError(context);
    }
    std::string native = context.args[0];
    StdinCopy input;
    if (native == "-") {
        std::string error;
        if (!input.copy(kLargestPipedFeed, error)) {
            context.err << "newsdesk: " << error << "\n";
            return 1;
        }
        native = input.path();
    } else if (native.size() > 1 && native[0] == '-') {
        return unknownOption(context, native);
    }
    auto path = feedPathArgument(native, context.err);
    if (!path) {
        return 1;
    }
    // What cannot be opened has no format: the same answer read gives.
    std::string unopenable = unopenableReason(native);
    if (!unopenable.empty()) {
        context.err << "newsdesk: " << context.args[0] << ": " << unopenable << "\n";
        return 1;
    }
    int format = -1;
    context.module.entry<lum::GetRssFormatEntryFn>(lum::slot::GetRssFormat)(*path, &format);
    context.out << format << "\n";
    return 0;
}

}  // namespace newsdesk::app
