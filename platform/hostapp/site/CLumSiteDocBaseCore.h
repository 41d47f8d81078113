// Revises the site's pages after files moved or went: the moves are
// registered first, then each linking page is revised once for all of them.
#pragma once

#include "hostapp/files/AtomicFileBatch.h"
#include "hostapp/pages/MovedPageLinks.h"
#include "hostapp/pages/PageRevision.h"
#include "mfc/CString.h"

#include <optional>
#include <string>
#include <vector>

class SiteMgr50;

class CLumSiteDocBaseCore {
  public:
    explicit CLumSiteDocBaseCore(SiteMgr50* siteMgr);
    // Gives the revised pages their new content (see commitRevisions) and
    // frees the object.
    void destroy() {
        commitRevisions();
        delete this;
    }
    // Frees the object without giving any page its revised content.
    void abandon() { delete this; }

    // source moved to destination; an empty destination: source is gone.
    void AddFile(const CString& source, const CString& destination);
    // Revises the page's links to the registered files: links to a moved
    // file reach its new name (relative links stay relative); a link to a
    // file that is gone is removed (an auto-discovery link goes, an anchor
    // keeps its content). Only the changed parts of the page change; it is
    // written in its own encoding beside the page and takes the page's name
    // at commitRevisions. FALSE, the page untouched, when it cannot be read
    // or written.
    BOOL ReviseLinkedFile(const CString& page, int flags);
    // The page itself moved from from to to (it is at to now): its relative
    // links are rewritten to name the same files and folders from its new
    // place, those to registered files their new names. FALSE, the page
    // untouched, when it cannot be read or written.
    BOOL ReviseMovedPage(const CString& from, const CString& to);
    // Before the page moves from from to to: its revision for the new place
    // is worked out and written beside it, then dropped. FALSE when it could
    // not be read or written (read-only, no room on disk); the page is untouched.
    BOOL ProbeMovedPage(const CString& from, const CString& to);
    // Whether the last FALSE came from reading or writing the page, which an
    // operation must not go on without, rather than from a page that cannot
    // be revised (too large, too deeply nested) and is left as it was.
    bool lastFailureBlocks() const { return m_blocking; }
    // How many pages the revisions so far changed.
    size_t revisedCount() const { return m_revisedCount; }

    // A preview: revisions are worked out and listed, no page is written, and
    // ReviseMovedPage reads the page at its old name (it has not moved).
    void setDryRun(bool dryRun) { m_dryRun = dryRun; }
    struct Revision {
        CString page;
        std::vector<lum::page::LinkChange> links;
    };
    // Every page the revisions so far changed, with its changed links.
    const std::vector<Revision>& revisions() const { return m_revisions; }

    // Replaces every revised page at once, each atomically, with one sync for
    // all of them. The pages that could not be replaced (each left as it was).
    std::vector<CString> commitRevisions() { return m_saves.commit(); }
    const std::string& lastError() const { return m_error; }

  private:
    ~CLumSiteDocBaseCore() = default;
    struct Move {
        CString source;
        CString destination;
    };
    // The registered moves by paths relative to the site root.
    std::vector<lum::site::FileMove> registeredMoves() const;
    // Revises the page's bytes with the decider and keeps them for commitRevisions.
    BOOL reviseWith(const CString& page, const std::string& bytes,
                    const lum::page::LinkDecider& decide);
    // Lists the revised page and keeps its bytes for commitRevisions.
    BOOL keep(const CString& page, lum::page::RevisedPage&& revised);
    // The moved page's bytes read from at (its old or new name) and revised
    // for its new place; nullopt with m_error when unreadable or unrevisable.
    std::optional<lum::page::RevisedPage> reviseMoved(const CString& from, const CString& to,
                                                      const CString& at);

    SiteMgr50* m_siteMgr;
    std::vector<Move> m_moves;
    std::string m_error;
    bool m_blocking = false;
    size_t m_revisedCount = 0;
    bool m_dryRun = false;
    std::vector<Revision> m_revisions;
    lum::AtomicFileBatch m_saves;
};
