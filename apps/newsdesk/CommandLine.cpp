#include "CommandLine.h"

namespace newsdesk::app {

std::optional<CommandLine> parseCommandLine(int argc, char** argv, std::string& error) {
    CommandLine line;
    int i = 1;
    for (; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--module") {
            if (i + 1 >= argc) {
                error = "--module needs a path";
                return std::nullopt;
            }
            line.modulePath = argv[++i];
        } else if (arg.rfind("--module=", 0) == 0) {
            line.modulePath = arg.substr(9);
        } else if (arg == "--site") {
            if (i + 1 >= argc) {
                error = "--site needs a folder";
                return std::nullopt;
            }
            line.sitePath = argv[++i];
        } else if (arg.rfind("--site=", 0) == 0) {
            line.sitePath = arg.substr(7);
        } else if (arg == "--ui-script") {
            if (i + 1 >= argc) {
                error = "--ui-script needs a file";
                return std::nullopt;
            }
            line.uiScript = argv[++i];
        } else if (arg.rfind("--ui-script=", 0) == 0) {
            line.uiScript = arg.substr(12);
        } else if (arg == "--gui") {
            line.gui = true;
        } else if (arg == "--screenshots" || arg.rfind("--screenshots=", 0) == 0) {
            if (arg == "--screenshots") {
                line.screenshots = i + 1 < argc ? argv[++i] : "";
            } else {
                line.screenshots = arg.substr(14);
            }
            if (line.screenshots.empty()) {
                error = "--screenshots needs a folder";
                return std::nullopt;
            }
        } else if (arg == "--") {
            ++i;
            break;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return std::nullopt;
        } else {
            break;
        }
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
