// The host program's commands. Each runs with the module loaded and returns
// the process exit status; errors go to stderr as one line.
#pragma once

#include "ModuleHost.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace newsdesk::app {

struct CommandContext {
    ModuleHost& module;
    const std::vector<std::string>& args;
    std::ostream& out;
    std::ostream& err;
    const std::string& sitePath;  // the --site folder as given; empty when none
};

struct Command {
    const char* name;
    const char* usage;
    const char* summary;
    int (*run)(CommandContext& context);
};

int runInfo(CommandContext& context);
int runFormat(CommandContext& context);
int runRead(CommandContext& context);
int runDialog(CommandContext& context);
int runStrings(CommandContext& context);
int runWrite(CommandContext& context);
int runConvert(CommandContext& context);
int runRewrite(CommandContext& context);
int runSite(CommandContext& context);

// true for commands that open the --site folder themselves (site init makes it a site).
bool opensItsOwnSite(const std::string& command, const std::vector<std::string>& args);

}  // namespace newsdesk::app
