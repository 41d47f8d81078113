// newsdesk write RECORD.json FEED: a record in the form `read` prints,
// written as a feed.
#include "Commands.h"
#include "FeedFiles.h"
#include "RecordJson.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <ostream>

namespace newsdesk::app {

int runWrite(CommandContext& context) {
    if (context.args.size() != 2) {
        context.err << "newsdesk: usage: write RECORD.json FEED\n";
        return 2;
    }
    const std::string& recordFile = context.args[0];
    std::ifstream in(recordFile, std::ios::binary);
    if (!in) {
        context.err << "newsdesk: " << recordFile << ": cannot be read\n";
        return 1;
    }
    nlohmann::json json;
    try {
        json = nlohmann::json::parse(in);
    } catch (const nlohmann::json::parse_error& e) {
        context.err << "newsdesk: " << recordFile << ": not JSON (byte " << e.byte << ")\n";
        return 1;
    }
    CRSSChannel channel;
    std::string error;
    if (!fromJson(json, channel, error)) {
        context.err << "newsdesk: " << recordFile << ": " << error << "\n";
        return 1;
    }
    return writeFeed(context, context.args[1], channel) ? 0 : 1;
}

}  // namespace newsdesk::app
