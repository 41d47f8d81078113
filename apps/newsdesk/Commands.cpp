#include "Commands.h"

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
    context.err << "newsdesk: " << context.command->name << ": unknown option " << option
                << " (try newsdesk " << context.command->name << " --help)\n";
    return 2;
}

}  // namespace newsdesk::app
