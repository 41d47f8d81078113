#include "sitefiles/SiteRebuild.h"

#include "hostapp/CLumSiteRebuildProgressDlg.h"
#include "hostapp/CLumTktDialogEngineer.h"
#include "hostapp/LumSiteMgr.h"

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
