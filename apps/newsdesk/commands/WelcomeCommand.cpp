// newsdesk welcome: the welcome navigator through RssWelcomeEntry, with the
// application's icon; what it starts (editing a new or chosen feed, the
// help topics) runs as it would from the application's menus.
#include "Commands.h"
#include "FeedFiles.h"

#include "hostapp/app/CLumAppEngineer.h"
#include "hostapp/files/FailedSaves.h"
#include "hostapp/records/FunctionTable.h"
#include "win32/PathMapping.h"

#include <ostream>

namespace newsdesk::app {

int runWelcome(CommandContext& context) {
    if (!context.args.empty()) {
        return usageError(context);
    }
    auto welcome = context.module.entry<lum::RssWelcomeEntryFn>(lum::slot::RssWelcome);
    if (welcome == nullptr) {
        context.err << "newsdesk: the module offers no RssWelcomeEntry\n";
        return 1;
    }
    if (!needsSomeoneToAnswer(context)) {
        return 2;
    }
    lum::takeFailedSaves();
    CLumRssBeginaviPage* navigator = nullptr;
    (void)welcome(nullptr, &navigator, CLumAppEngineer::getInstance()->getAppIcon());
    auto failed = lum::takeFailedSaves();
    if (!failed.empty()) {
        auto native = nd::win32::toNativePath(failed.front().path.view());
        std::string where = native ? *native : failed.front().path.toUtf8();
        context.err << "newsdesk: " << where
                    << ": not saved: " << saveFailureReason(failed.front().error, where) << "\n";
        return 1;
    }
    return 0;
}

}  // namespace newsdesk::app
