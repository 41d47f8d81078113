// newsdesk info: what the module put into the function table.
#include "Commands.h"

#include <cstdio>
#include <ostream>

namespace newsdesk::app {

int runInfo(CommandContext& context) {
    if (!context.args.empty()) {
        return usageError(context);
    }
    context.out << "module: " << context.module.modulePath() << "\n";
    context.out << "result: " << context.module.resultCode() << "\n";
    for (const auto& slot : lum::kRssSlots) {
        char offset[16];
        std::snprintf(offset, sizeof offset, "0x%03zx", slot.offset);
        bool set = context.module.entry<void (*)()>(slot.offset) != nullptr;
        context.out << offset << "  " << slot.entryName
                    << std::string(22 - std::char_traits<char>::length(slot.entryName), ' ')
                    << (set ? "set" : "not set") << "\n";
    }
    return 0;
}

}  // namespace newsdesk::app
