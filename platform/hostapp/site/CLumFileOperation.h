// The host's file operations on site files that pages link to: the file is
// moved on disk and every page linking to it is revised to follow.
#pragma once

#include "hostapp/site/CLumSiteDDNode.h"
#include "hostapp/site/CLumSiteDocBaseCore.h"
#include "mfc/CString.h"

#include <string>
#include <vector>

class CWnd;
class SiteMgr50;

class CLumFileOperation {
  public:
    static constexpr int kRename = 5;

    // operation kRename: renames from to to on disk, making the folders to
    // needs, then revises the pages of the nodes' link lists (revise flag
    // set) so their links reach the new name; a moved page has its own
    // links revised to reach the same files from its new place and name.
    // Before anything changes, every page to revise is revised and written
    // beside itself: when one cannot be read or written (read-only, no room
    // on disk) nothing is done and obstacles() lists them all. While the
    // pages and the file change, the site's journal (SiteJournal.h) holds
    // the plan.
    // 1 when the file was renamed; 0 when it was not (nothing is changed
    // then, and error() says why). Pages that could not be revised (too
    // large, too deeply nested) are left as they were and listed in failures().
    int execute(CWnd* owner, SiteMgr50* siteMgr, int operation, const CString& from,
                const CString& to, CLumSiteDDList* nodes);
    // The same worked out without changing anything: no folder is made, the
    // file stays, no page is written; revisions() lists what would change.
    // 0, with error() and obstacles(), when the rename could not be done.
    int preview(SiteMgr50* siteMgr, const CString& from, const CString& to, CLumSiteDDList* nodes);

    // The pages the last operation could not revise, each with the reason.
    struct Failure {
        CString page;
        std::string reason;
    };
    const std::vector<Failure>& failures() const { return m_failures; }
    // The pages that kept the last operation from starting, each with the reason.
    const std::vector<Failure>& obstacles() const { return m_obstacles; }
    // Why the last operation did not rename the file.
    const std::string& error() const { return m_error; }
    // The folders the last operation made (or would make), outermost first.
    const std::vector<CString>& madeFolders() const { return m_madeFolders; }
    // The pages the last operation revised (or would revise), with their
    // changed links; the moved page under its new name.
    const std::vector<CLumSiteDocBaseCore::Revision>& revisions() const { return m_revisions; }

    // Whether the last operation moved a page whose own links it revised.
    bool movedPageRevised() const { return m_movedPageRevised; }

  private:
    int run(SiteMgr50* siteMgr, const CString& from, const CString& to, CLumSiteDDList* nodes,
            bool dryRun);
    // Makes (or, in a dry run, lists) the missing folders above to; false
    // with m_error when one cannot be made (those made are removed again).
    bool makeFolders(const CString& to, bool dryRun);
    void removeMadeFolders();
    // true, with m_error, when pages in m_obstacles stand in the way.
    bool refuseObstacles();
    // Revises the moved page (when it holds links) and the linking pages,
    // keeping their new bytes (in a dry run only the list); the pages that
    // cannot be read or written go to m_obstacles, the others that cannot be
    // revised to m_failures. nullptr when there is nothing to revise.
    CLumSiteDocBaseCore* stagePages(SiteMgr50* siteMgr, const CString& from, const CString& to,
                                    CLumSiteDDList* nodes, bool dryRun);

    std::vector<Failure> m_failures;
    std::vector<Failure> m_obstacles;
    bool m_movedPage = false;
    std::string m_error;
    std::vector<CString> m_madeFolders;
    std::vector<CLumSiteDocBaseCore::Revision> m_revisions;
    bool m_movedPageRevised = false;
};
