// newsdesk options [NAME [on|off]]: the user's options of the host, as the
// module reads them (podcast conversion offer, site URL in auto-discovery).
#include "CommandLine.h"
#include "Commands.h"

#include "hostapp/app/COptionEngineer.h"

#include <ostream>

namespace newsdesk::app {

namespace {

int unknownName(CommandContext& context, const std::string& name) {
    std::vector<std::string> names;
    for (const auto& option : lum::optionNames()) {
        names.emplace_back(option.name);
    }
    std::string near = closestName(name, names);
    context.err << "newsdesk: options: no option " << name
                << (near.empty() ? "" : "; did you mean " + near + "?") << " (names:";
    for (const std::string& option : names) {
        context.err << " " << option;
    }
    context.err << ")\n";
    return 2;
}

}  // namespace

int runOptions(CommandContext& context) {
    COptionEngineer* options = COptionEngineer::getInstance();
    if (context.args.empty()) {
        DWORD flags = options->getFlags();
        for (const auto& option : lum::optionNames()) {
            context.out << option.name << " " << ((flags & option.bit) ? "on" : "off") << "\n";
        }
        return 0;
    }
    if (!context.args.empty() && context.args[0].size() > 1 && context.args[0][0] == '-') {
        return unknownOption(context, context.args[0]);
    }
    if (context.args.size() > 2 ||
        (context.args.size() == 2 && context.args[1] != "on" && context.args[1] != "off")) {
        return usageError(context);
    }
    const lum::OptionName* chosen = nullptr;
    for (const auto& option : lum::optionNames()) {
        if (context.args[0] == option.name) {
            chosen = &option;
        }
    }
    if (chosen == nullptr) {
        return unknownName(context, context.args[0]);
    }
    if (context.args.size() == 1) {
        context.out << chosen->name << " " << ((options->getFlags() & chosen->bit) ? "on" : "off")
                    << "\n";
        return 0;
    }
    if (!options->problem().empty()) {
        context.err << "newsdesk: options not saved: " << options->problem()
                    << "; the file was left as it is: mend or remove it\n";
        return 1;
    }
    DWORD flags = options->getFlags();
    flags = context.args[1] == "on" ? (flags | chosen->bit) : (flags & ~chosen->bit);
    std::string error;
    if (!options->storeFlags(flags, error)) {
        context.err << "newsdesk: options not saved: " << error << "\n";
        return 1;
    }
    return 0;
}

}  // namespace newsdesk::app
