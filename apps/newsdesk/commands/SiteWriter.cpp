#include "commands/SiteWriter.h"

#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/site/SiteJournal.h"
#include "win32/PathMapping.h"

#include <filesystem>
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
        return lock;
    }
    // Another newsdesk may have stopped half-way through an operation
    // while it held the lock: its journal says what to finish or undo.
    if (std::string said = lum::site::finishInterruptedOperation(folder); !said.empty()) {
        context.err << "newsdesk: " << said << "\n";
    }
    return lock;
}

void finishInterruptedOperation(std::ostream& err) {
    SITE_INFO info;
    LumSiteMgr::getCurrentSiteInfo(info);
    std::optional<std::string> root =
        info.rootFolder.IsEmpty() ? std::nullopt : nd::win32::toNativePath(info.rootFolder.view());
    std::error_code ec;
    if (!root || !std::filesystem::exists(lum::site::journalPath(*root), ec)) {
        return;
    }
    // A journal while another newsdesk holds the lock is that one's own,
    // in use; one that only reads does not wait for it.
    std::string error;
    auto lock = lum::site::SiteLock::acquire(*root, std::chrono::milliseconds(0), error);
    if (!lock) {
        return;
    }
    if (std::string said = lum::site::finishInterruptedOperation(*root); !said.empty()) {
        err << "newsdesk: " << said << "\n";
    }
}

std::unique_ptr<lum::site::SiteLock> lockOpenSite(CommandContext& context) {
    SITE_INFO info;
    LumSiteMgr::getCurrentSiteInfo(info);
    std::optional<std::string> root =
        info.rootFolder.IsEmpty() ? std::nullopt : nd::win32::toNativePath(info.rootFolder.view());
    return lockSite(context, root.value_or(context.sitePath));
}

}  // namespace newsdesk::app
