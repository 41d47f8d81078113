// The host's file operations on site files that pages link to: the file is
// moved on disk and every page linking to it is revised to follow.
#pragma once

#include "hostapp/site/CLumSiteDDNode.h"
#include "mfc/CString.h"

#include <string>
#include <vector>

class CWnd;
class SiteMgr50;

class CLumFileOperation {
  public:
    static constexpr int kRename = 5;

    // operation kRename: renames from to to on disk, then revises the pages
    // of the nodes' link lists (revise flag set) so their links reach the
    // new name; a page moved to another folder has its own relative links
    // revised to reach the same files from there. 1 when the file was renamed, 0 when it was not
    // (nothing is changed then); pages that could not be revised are left as they were.
    int execute(CWnd* owner, SiteMgr50* siteMgr, int operation, const CString& from,
                const CString& to, CLumSiteDDList* nodes);

    // The pages the last operation could not revise, each with the reason.
    struct Failure {
        CString page;
        std::string reason;
    };
    const std::vector<Failure>& failures() const { return m_failures; }

    // Whether the last operation moved a page whose own links it revised.
    bool movedPageRevised() const { return m_movedPageRevised; }

  private:
    std::vector<Failure> m_failures;
    bool m_movedPageRevised = false;
};
