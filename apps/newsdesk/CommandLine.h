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

// nullopt with a one-line reason in error on a bad option.
std::optional<CommandLine> parseCommandLine(int argc, char** argv, std::string& error);

}  // namespace newsdesk::app
