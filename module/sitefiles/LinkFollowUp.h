// What follows when the file list renames or deletes feeds: the pages that
// link to them are found in the site database, shown to the user, and
// revised by the host so that no page points at a file that moved or went.
#pragma once

#include "hostapp/site/CLumSiteDDNode.h"
#include "hostapp/site/SiteJournal.h"
#include "hostapp/site/SiteMgr50.h"
#include "mfc/CString.h"

#include <string>
#include <vector>

class CLumSiteDocBaseCore;
class CWnd;

namespace newsdesk {

// One deletion from the file list. The lists hold every path followed by a
// NUL; the shell call wants one more NUL at the end.
class CLumRssFileOp {
  public:
    explicit CLumRssFileOp(CWnd* owner) : m_pOwner(owner) {}

    // Shows the linking pages, has them revised and written beside
    // themselves, deletes the files and gives the pages of the files that are
    // gone their new content; a file still there afterwards is shown with the
    // reason. When a page cannot be written (read-only, a full disk) no file
    // is deleted and the pages are shown. The site's journal holds the plan
    // while it runs. 1 when pages were revised, else 0.
    int deleteWithFollowUp(CLumSiteDDList& nodes);
    // Forgets the lists and the running flag.
    void reset();

    CString m_strFrom;
    CString m_strTo;
    int m_bDelete = 0;
    CWnd* m_pOwner = nullptr;

  private:
    // The linking pages of the nodes that have a link list, revised for
    // their files being gone and written beside themselves, waiting to be
    // given their new content. nullptr, each node's file shown as not
    // deleted with the pages in the way, when a page cannot be read or written.
    CLumSiteDocBaseCore* reviseLinkingPages(CLumSiteDDList& nodes);
    // Brings the staged pages to disk and records them, with the files that
    // go, in the site's journal; false, the failure shown, when it cannot.
    bool recordStaged(const std::string& root, lum::site::Journal& journal,
                      CLumSiteDocBaseCore& staged);
};

// Fills each node's link list with the pages that link to its source file.
// Nodes without a link list, and files the database does not know, are left
// out.
void collectBackLinks(SiteMgr50* siteMgr, CLumSiteDDList& nodes);

// Deletes the files and revises the pages that linked to those that are
// gone. false when nothing was attempted: no application, unsaved pages
// (the user is told) or no paths. true once the deletion ran, whatever it did.
bool deleteFiles(CLumRssFileOp* op, const std::vector<CString>& paths);

// After the file list's Rename: has the host rename oldPath to newPath on
// disk and revise every page linking to it. owner is the file list dialog.
// false when the file was not renamed; that, and each page that could not
// be revised, is shown with the reason and reported to the application.
bool renameFollowUp(CWnd* owner, const CString& oldPath, const CString& newPath);

}  // namespace newsdesk
