#include "CommandLine.h"

#include <algorithm>
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

struct CommandOptions {
    const char* command;
    std::vector<std::string> options;  // "=" ends an option that takes a value
};

const CommandOptions kCommandOptions[] = {
    {"convert", {"--to=", "-o=", "--strict"}},
    {"dialog", {"--png=", "--controls"}},
    {"insert-link", {"--at="}},
    {"media", {"--to-mp3"}},
    {"rewrite", {"--quiet", "-q"}},
    {"site", {"--url=", "--name=", "--force"}},
    {"write", {"--allow-incomplete"}},
};

// Optimal string alignment distance: insertions, deletions, substitutions
// and swaps of neighbours each count one.
std::size_t slips(const std::string& a, const std::string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) {
        d[i][0] = i;
    }
    for (std::size_t j = 0; j <= b.size(); ++j) {
        d[0][j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

// Splits the command's "--to=rss1" into "--to" "rss1"; an option that takes
// no value refuses one. Arguments after "--" are left as they are.
bool splitOptionValues(CommandLine& line, std::string& error) {
    std::vector<std::string> options = commandOptions(line.command);
    std::vector<std::string> args;
    bool ended = false;
    for (const std::string& arg : line.args) {
        std::size_t equals = arg.find('=');
        if (ended || arg.size() < 2 || arg[0] != '-' || equals == std::string::npos) {
            ended = ended || arg == "--";
            args.push_back(arg);
            continue;
        }
        std::string name = arg.substr(0, equals);
        if (std::find(options.begin(), options.end(), name + "=") != options.end()) {
            args.push_back(name);
            args.push_back(arg.substr(equals + 1));
        } else if (std::find(options.begin(), options.end(), name) != options.end()) {
            error = line.command + ": " + name + " takes no value";
            return false;
        } else {
            args.push_back(arg);
        }
    }
    line.args = std::move(args);
    return true;
}

}  // namespace

std::vector<std::string> commandOptions(const std::string& command) {
    for (const auto& c : kCommandOptions) {
        if (command == c.command) {
            return c.options;
        }
    }
    return {};
}

std::string closestName(const std::string& typed, const std::vector<std::string>& candidates) {
    // One slip in a short name, two in a longer one: more would offer names
    // that only look alike by chance.
    std::size_t allowed = typed.size() <= 4 ? 1 : 2;
    std::string best;
    std::size_t bestSlips = allowed + 1;
    for (const std::string& candidate : candidates) {
        std::size_t n = slips(typed, candidate);
        if (n < bestSlips) {
            best = candidate;
            bestSlips = n;
        }
    }
    return best;
}

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
            std::vector<std::string> names = {"--help", "--version", "--gui"};
            for (const auto& o : kValueOptions) {
                names.emplace_back(o.name);
            }
            std::string near = closestName(arg.substr(0, arg.find('=')), names);
            error = "unknown option " + arg + (near.empty() ? "" : "; did you mean " + near + "?") +
                    " (try --help)";
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
    if (!splitOptionValues(line, error)) {
        return std::nullopt;
    }
    if (line.gui && (!line.screenshots.empty() || !line.uiScript.empty())) {
        error = "--gui shows the dialogs to a person; it takes no --screenshots or --ui-script";
        return std::nullopt;
    }
    return line;
}

}  // namespace newsdesk::app
