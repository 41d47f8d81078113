// newsdesk --site DIR files: the site's feed file list through
// RssFileListEntry; the dialogs are played from the UI script.
#include "Commands.h"
#include "commands/SiteWriter.h"

#include "hostapp/files/FileErrors.h"
#include "hostapp/records/FunctionTable.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/ui/CLumTktDialogEngineer.h"
#include "win32/UiDriver.h"

#include <ostream>

namespace newsdesk::app {

int runFiles(CommandContext& context) {
    if (!context.args.empty()) {
        return usageError(context);
    }
    if (context.sitePath.empty()) {
        context.err << "newsdesk: files needs --site DIR\n";
        return 2;
    }
    // The list reads the site's feeds from its database: one that cannot be
    // used is said once here rather than shown as an empty list.
    if (LumSiteMgr::getSiteMgr() == nullptr) {
        context.err << "newsdesk: " << LumSiteMgr::siteDatabaseError() << "\n";
        return 1;
    }
    // The list renames, deletes and rebuilds: one writer at a time.
    auto lock = lockOpenSite(context);
    if (!lock) {
        return 1;
    }
    auto list = context.module.entry<lum::RssFileListEntryFn>(lum::slot::RssFileList);
    if (list == nullptr) {
        context.err << "newsdesk: the module offers no RssFileListEntry\n";
        return 1;
    }
    if (!needsSomeoneToAnswer(context)) {
        return 2;
    }
    CLumTktDialogEngineer* panes = CLumTktDialogEngineer::getInstance();
    int before = panes->paneUpdates();
    lum::takeFailedFileOperations();
    list();
    // After a failed script step the dialogs were closed by the failure, not
    // by the person: the failure is the answer.
    if (nd::win32::uiDriver() != nullptr && nd::win32::uiDriver()->aborted()) {
        return 1;
    }
    // The module refreshes the panes after the rebuild that follows a change.
    context.out << (panes->paneUpdates() != before ? "changed\n" : "unchanged\n");
    // The module has shown each failure; without windows they are said here.
    auto failed = lum::takeFailedFileOperations();
    for (const auto& failure : failed) {
        context.err << "newsdesk: " << failure.message << "\n";
    }
    return failed.empty() ? 0 : 1;
}

}  // namespace newsdesk::app
