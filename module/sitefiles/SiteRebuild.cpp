#include "sitefiles/SiteRebuild.h"

#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/ui/CLumSiteRebuildProgressDlg.h"
#include "hostapp/ui/CLumTktDialogEngineer.h"

namespace newsdesk::sitefiles {

void rebuildOpenSite() {
    if (!LumSiteMgr::isSiteOpened()) {
        return;
    }
    CLumSiteRebuildProgressDlg rebuild(nullptr, 0);
    rebuild.DoModal();
    if (CLumTktDialogEngineer* panes = CLumTktDialogEngineer::getInstance()) {
        panes->updatePanes();
    }
}

}  // namespace newsdesk::sitefiles
