#include "commands/SiteWriter.h"

#include "hostapp/site/LumSiteMgr.h"
#include "win32/PathMapping.h"

#include <ostream>

namespace newsdesk::app {

std::unique_ptr<lum::site::SiteLock> lockSite(CommandContext& context, const std::string& folder) {
    // Long enough for a short command of another newsdesk to end, short
    // enough that a person is not left waiting on a long rebuild.
    constexpr std::chrono::milliseconds kWait{3000};
    std::string error;
    std::unique_ptr<lum::site::SiteLock> lock = lum::site::SiteLock::acquire(folder, kWait, error);
    if (!lock) {
        context.err << "newsdesk: " << error << "\n";
    }
    return lock;
}

std::unique_ptr<lum::site::SiteLock> lockOpenSite(CommandContext& context) {
    SITE_INFO info;
    LumSiteMgr::getCurrentSiteInfo(info);
    std::optional<std::string> root =
        info.rootFolder.IsEmpty() ? std::nullopt : nd::win32::toNativePath(info.rootFolder.view());
    return lockSite(context, root.value_or(context.sitePath));
}

}  // namespace newsdesk::app
