// The host program's commands. Each runs with the module loaded and returns
// the process exit status: 0 done, 1 failed, 2 a usage error; errors go to
// stderr as one line.
#pragma once

#include "ModuleHost.h"
#include "frontend/FrontEnd.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace newsdesk::app {

struct CommandContext;

// One row of the program's table of commands; a new command is one more row.
struct Command {
    const char* name;
    const char* usage;    // the command and its arguments: "convert FEED --to F [-o OUT]"
    const char* summary;  // one line for the command list
    int (*run)(CommandContext& context);
    const char* details = "";  // what COMMAND --help adds to the usage and summary
};

struct CommandContext {
    ModuleHost& module;
    const std::vector<std::string>& args;
    std::ostream& out;
    std::ostream& err;
    const Command* command = nullptr;
    // Where dialogs appear; null when nothing shows them.
    FrontEnd* frontEnd = nullptr;
    std::string sitePath = {};  // the --site folder as given; empty when none
};

// "usage: newsdesk NAME ARGUMENTS", the one form every usage line takes.
std::string usageLine(const Command& command);
// Prints the command's usage line as an error; returns 2.
int usageError(CommandContext& context);
// An option the command does not know; returns 2.
int unknownOption(CommandContext& context, const std::string& option);

// false, after one line naming the three ways a dialog gets answered, when
// nothing would show the command's dialogs: they would close unseen, which
// must not read as a cancel. The caller returns 2 then.
bool needsSomeoneToAnswer(CommandContext& context);

int runInfo(CommandContext& context);
int runFormat(CommandContext& context);
int runRead(CommandContext& context);
int runDialog(CommandContext& context);
int runStrings(CommandContext& context);
int runWrite(CommandContext& context);
int runConvert(CommandContext& context);
int runCheck(CommandContext& context);
int runRewrite(CommandContext& context);
int runEdit(CommandContext& context);
int runOptions(CommandContext& context);
int runMedia(CommandContext& context);
int runWelcome(CommandContext& context);
int runSite(CommandContext& context);
int runFiles(CommandContext& context);
int runInsertLink(CommandContext& context);

// true for commands that open the --site folder themselves (site init makes it a site).
bool opensItsOwnSite(const std::string& command, const std::vector<std::string>& args);

}  // namespace newsdesk::app
