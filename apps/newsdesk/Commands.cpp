#include "Commands.h"

#include "CommandLine.h"
#include "win32/UiDriver.h"

#include <ostream>

namespace newsdesk::app {

std::string usageLine(const Command& command) {
    return std::string("usage: newsdesk ") + command.usage;
}

int usageError(CommandContext& context) {
    context.err << "newsdesk: " << usageLine(*context.command) << "\n";
    return 2;
}

int unknownOption(CommandContext& context, const std::string& option) {
    std::vector<std::string> names = commandOptions(context.command->name);
    for (std::string& name : names) {
        if (!name.empty() && name.back() == '=') {
            name.pop_back();
        }
    }
    std::string near = closestName(option.substr(0, option.find('=')), names);
    context.err << "newsdesk: " << context.command->name << ": unknown option " << option
                << (near.empty() ? "" : "; did you mean " + near + "?") << " (try newsdesk "
                << context.command->name << " --help)\n";
    return 2;
}

bool needsSomeoneToAnswer(CommandContext& context) {
    if (nd::win32::uiDriver() != nullptr) {
        return true;
    }
    context.err << "newsdesk: " << context.command->name
                << " shows dialogs: run it on a display, or give --ui-script FILE or "
                   "--screenshots DIR\n";
    return false;
}

}  // namespace newsdesk::app
