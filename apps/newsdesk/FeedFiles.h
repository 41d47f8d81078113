// What the write, convert and rewrite commands share: reading a feed and
// writing a record through the module's entry points, with the checks that
// let a command refuse before anything is touched.
#pragma once

#include "Commands.h"
#include "hostapp/records/CRSSChannel.h"

#include <optional>
#include <string>

namespace newsdesk::app {

// The Windows path of a path the user typed; nullopt (and one line on err)
// when it has none.
std::optional<CString> windowsPathOf(CommandContext& context, const std::string& native);

// Reads the feed at native into channel with ReadRssFileEntry. false, with
// one line on err naming the file and why, when it does not read.
bool readFeed(CommandContext& context, const std::string& native, CRSSChannel& channel);

// One line on err per repair the feed needed to be read ("entities",
// "encoding", "dropped entities"), naming the feed as shown; the entity names read as characters
// are looked up in the file at native (the copy of standard input included).
void reportRepairs(CommandContext& context, const std::string& shown, const CRSSChannel& channel,
                   const std::string& native);

enum class SaveOutcome {
    Failed,     // one line on err says why; any old file is as it was
    Written,    // the file holds the channel, newly written
    Unchanged,  // the file already held it and was left as it was
};

// Why no feed could be saved at native, before anything is tried: "is a
// folder", "no such folder", "the folder is not writable"; empty when
// nothing stands in the way.
std::string savePlaceProblem(const std::string& native);

// Writes channel to native with RewriteRssFileEntry after checking what can
// be checked beforehand (a known format, a folder that is there and
// writable, no folder at the path), then asks the module how the save went
// (the thread's last error it leaves).
SaveOutcome writeFeed(CommandContext& context, const std::string& native, CRSSChannel& channel);

// Why a save failed, from the error the module left, in words.
std::string saveFailureReason(unsigned long error, const std::string& native);

// "rss1" 0, "rss2" 1, "podcast" 2; nullopt for anything else.
std::optional<int> formatCode(const std::string& name);

}  // namespace newsdesk::app
