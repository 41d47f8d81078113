// newsdesk welcome: the welcome navigator through RssWelcomeEntry, with the
// application's icon; what it starts (editing a new or chosen feed, the
// help topics) runs as it would from the application's menus.
#include "Commands.h"
#include "FeedFiles.h"

#include "hostapp/app/CLumAppEngineer.h"
#include "hostapp/files/FailedSaves.h"
#include "hostapp/records/FunctionTable.h"
#include "win32/PathMapping.h"
#include "win32/UiDriver.h"

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
    // Without someone to play the user the navigator would close before it
    // was ever seen, which must not read as a visit.
    if (nd::win32::uiDriver() == nullptr) {
        context.err << "newsdesk: welcome needs --ui-script FILE or --gui to show the navigator\n";
        return 1;
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
