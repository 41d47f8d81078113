// newsdesk write [--allow-incomplete] RECORD.json FEED: a record in the form
// `read` prints, written as a feed.
#include "Commands.h"
#include "FeedFiles.h"
#include "InputFile.h"
#include "json/RecordJson.h"

#include <nlohmann/json.hpp>

#include <ostream>

namespace newsdesk::app {

namespace {

// A record of a feed of many thousand items stays well below this.
constexpr std::size_t kLargestRecord = std::size_t{64} << 20;

}  // namespace

int runWrite(CommandContext& context) {
    bool allowIncomplete = false;
    std::vector<std::string> files;
    for (const auto& arg : context.args) {
        if (arg == "--allow-incomplete") {
            allowIncomplete = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return unknownOption(context, arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2 || files[0].empty() || files[1].empty()) {
        return usageError(context);
    }
    const std::string& recordFile = files[0];
    const std::string& feed = files[1];
    if (!windowsPathOf(context, feed)) {
        return 1;
    }
    std::string text;
    std::string error;
    if (!readInputFile(recordFile, kLargestRecord, text, error)) {
        context.err << "newsdesk: " << recordFile << ": " << error << "\n";
        return 1;
    }
    nlohmann::json json;
    try {
        json = nlohmann::json::parse(text);
    } catch (const nlohmann::json::parse_error& e) {
        context.err << "newsdesk: " << recordFile << ": not JSON (byte " << e.byte << ")\n";
        return 1;
    } catch (const nlohmann::json::out_of_range&) {
        context.err << "newsdesk: " << recordFile << ": a number in it is too large\n";
        return 1;
    }
    CRSSChannel channel;
    if (!fromJson(json, channel, error)) {
        context.err << "newsdesk: " << recordFile << ": " << error << "\n";
        return 2;
    }
    std::string missing = missingRequiredFields(json);
    if (!missing.empty() && !allowIncomplete) {
        context.err << "newsdesk: " << recordFile << ": the record has no " << missing
                    << " (write it anyway with --allow-incomplete)\n";
        return 2;
    }
    return writeFeed(context, feed, channel) == SaveOutcome::Failed ? 1 : 0;
}

}  // namespace newsdesk::app
