// The host program's command line: global options, then a command and its
// arguments.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace newsdesk::app {

struct CommandLine {
    std::string modulePath;   // empty: the default beside the program
    std::string sitePath;     // empty: no site is open
    std::string uiScript;     // empty: dialogs have no driver
    std::string screenshots;  // empty: no pictures of the dialogs
    bool gui = false;         // dialogs in real windows
    std::string command;
    std::vector<std::string> args;
    bool help = false;
    bool version = false;
};

// nullopt with a one-line reason in error on a bad option. A command's
// option that takes a value may be given as --to=rss1 or -o=OUT as well as
// in two arguments: args then hold it in two.
std::optional<CommandLine> parseCommandLine(int argc, char** argv, std::string& error);

// The options the command takes, with "=" after those that take a value
// ("--to=", "--strict"); empty for a command without options.
std::vector<std::string> commandOptions(const std::string& command);

// The name among candidates that is a small slip of the keyboard away from
// typed (a letter missing, extra, wrong or two swapped); empty when none is.
std::string closestName(const std::string& typed, const std::vector<std::string>& candidates);

}  // namespace newsdesk::app
