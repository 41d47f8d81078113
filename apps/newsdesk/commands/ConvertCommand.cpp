// newsdesk convert FEED --to rss1|rss2|podcast [-o OUT] [--strict]: a feed
// rewritten in another format, in place unless OUT is given. What the new
// format cannot carry is listed on stderr, one line per kind, and so is what
// it requires and the feed lacks; --strict refuses to drop anything or to
// write a feed that lacks a required field.
#include "Commands.h"
#include "FeedFiles.h"
#include "commands/ConvertCarry.h"
#include "commands/RequiredFields.h"

#include "hostapp/feedxml/KeptMarkup.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>

namespace newsdesk::app {

namespace {

void addDrops(lum::KeptDrops& into, const lum::KeptDrops& more) {
    for (const auto& [name, count] : more) {
        into[name] += count;
    }
}

// What a write of channel would leave out, found by writing it into a
// private folder; false when even that write failed.
bool trialDrops(CommandContext& context, CRSSChannel& channel, lum::KeptDrops& drops) {
    char folder[] = "/tmp/newsdesk-convert-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        context.err << "newsdesk: no room for a trial conversion in /tmp\n";
        return false;
    }
    std::string trial = std::string(folder) + "/feed.xml";
    bool written = writeFeed(context, trial, channel) != SaveOutcome::Failed;
    if (written) {
        addDrops(drops, lum::keptDropsOfLastWrite());
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return written;
}

void reportDrops(CommandContext& context, const lum::KeptDrops& drops) {
    for (const auto& [name, count] : drops) {
        context.err << "dropped: " << count << " " << name << "\n";
    }
}

void reportMissing(CommandContext& context, const std::map<std::string, int>& missing) {
    for (const auto& [name, count] : missing) {
        context.err << "missing: " << count << " " << name << "\n";
    }
}

}  // namespace

int runConvert(CommandContext& context) {
    std::string feed;
    std::string to;
    std::string out;
    bool strict = false;
    const auto& args = context.args;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--to" || args[i] == "-o") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                return usageError(context);
            }
            (args[i] == "--to" ? to : out) = args[i + 1];
            ++i;
        } else if (args[i] == "--strict") {
            strict = true;
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
    lum::KeptDrops drops;
    if (channel.m_format == 0 && *format != 0) {
        carryItemNames(*windowsPathOf(context, feed), channel);
    }
    int plainCategories = 0;
    if (*format == 2 && channel.m_format != 2) {
        plainCategories = keepPlainCategories(channel);
    }
    carryUnwrittenFields(channel, channel.m_format, *format, drops);
    channel.m_format = *format;
    std::string target = out.empty() ? feed : out;
    if (!out.empty()) {
        // An RSS 1.0 channel is about the file it is written to.
        channel.m_filePath = *windowsPathOf(context, target);
    }
    // What the target requires and the feed lacks is said, never made up.
    auto missing = missingFields(channel, *format);
    if (strict) {
        lum::KeptDrops trial = drops;
        if (!trialDrops(context, channel, trial)) {
            return 1;
        }
        if (!trial.empty() || !missing.empty()) {
            reportDrops(context, trial);
            reportMissing(context, missing);
            context.err << "newsdesk: " << feed << ": not converted: " << to
                        << (trial.empty() ? "" : " cannot carry all of it")
                        << (!trial.empty() && !missing.empty() ? " and" : "")
                        << (missing.empty() ? "" : " requires what the feed lacks")
                        << " (--strict)\n";
            return 1;
        }
    }
    if (writeFeed(context, target, channel) == SaveOutcome::Failed) {
        return 1;
    }
    addDrops(drops, lum::keptDropsOfLastWrite());
    reportDrops(context, drops);
    reportMissing(context, missing);
    if (plainCategories > 0) {
        context.err << "plain: " << plainCategories
                    << " category (not in the iTunes category table)\n";
    }
    return 0;
}

}  // namespace newsdesk::app
