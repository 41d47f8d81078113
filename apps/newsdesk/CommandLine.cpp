#include "CommandLine.h"

#include <cstring>

namespace newsdesk::app {

namespace {

struct ValueOption {
    const char* name;
    const char* needs;  // what the value is, for the error
    std::string CommandLine::*field;
};

const ValueOption kValueOptions[] = {
    {"--module", "a path", &CommandLine::modulePath},
    {"--site", "a folder", &CommandLine::sitePath},
    {"--ui-script", "a file", &CommandLine::uiScript},
    {"--screenshots", "a folder", &CommandLine::screenshots},
};

}  // namespace

std::optional<CommandLine> parseCommandLine(int argc, char** argv, std::string& error) {
    CommandLine line;
    int i = 1;
    for (; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            line.help = true;
            continue;
        }
        if (arg == "--version") {
            line.version = true;
            continue;
        }
        if (arg == "--gui") {
            line.gui = true;
            continue;
        }
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg.size() <= 1 || arg[0] != '-') {
            break;
        }
        const ValueOption* option = nullptr;
        std::string value;
        bool hasValue = false;
        for (const auto& o : kValueOptions) {
            std::size_t length = std::strlen(o.name);
            if (arg == o.name) {
                option = &o;
                if (i + 1 < argc) {
                    value = argv[++i];
                    hasValue = true;
                }
            } else if (arg.compare(0, length, o.name) == 0 && arg.size() > length &&
                       arg[length] == '=') {
                option = &o;
                value = arg.substr(length + 1);
                hasValue = true;
            }
        }
        if (option == nullptr) {
            error = "unknown option " + arg + " (try --help)";
            return std::nullopt;
        }
        // An empty value would quietly mean "none", the opposite of what
        // was asked for.
        if (!hasValue || value.empty()) {
            error = std::string(option->name) + " needs " + option->needs + " (try --help)";
            return std::nullopt;
        }
        line.*(option->field) = value;
    }
    if (i < argc) {
        line.command = argv[i++];
    }
    for (; i < argc; ++i) {
        line.args.emplace_back(argv[i]);
    }
    if (line.gui && (!line.screenshots.empty() || !line.uiScript.empty())) {
        error = "--gui shows the dialogs to a person; it takes no --screenshots or --ui-script";
        return std::nullopt;
    }
    return line;
}

}  // namespace newsdesk::app
