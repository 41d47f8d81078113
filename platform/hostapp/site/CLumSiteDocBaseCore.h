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
    // The page moves from from to to: its relative links are rewritten to
    // name the same files and folders from its new place, those to
    // registered files their new names. It is read at from; its new content
    // is written beside it and takes the name to at commitRevisions (after
    // the page has moved there). FALSE, the page untouched, when it cannot be
    // read or written.
    BOOL ReviseMovedPage(const CString& from, const CString& to);
    // Whether the last FALSE came from reading or writing the page, which an
    // operation must not go on without, rather than from a page that cannot
    // be revised (too large, too deeply nested) and is left as it was.
    bool lastFailureBlocks() const { return m_blocking; }
    // How many pages the revisions so far changed.
    size_t revisedCount() const { return m_revisedCount; }

    // A preview: revisions are worked out and listed, no page is written; a
    // page that could not be written is refused as it would be.
    void setDryRun(bool dryRun) { m_dryRun = dryRun; }
    struct Revision {
        CString page;
        std::vector<lum::page::LinkChange> links;
    };
    // Every page the revisions so far changed, with its changed links.
    const std::vector<Revision>& revisions() const { return m_revisions; }

    // The revised pages and where their new content waits.
    const std::vector<lum::AtomicFileBatch::Pending>& staged() const { return m_saves.pending(); }
    // Brings the new content of every revised page to disk; false when it could not.
    bool syncRevisions() { return m_saves.sync(); }
    // Replaces every revised page at once, each atomically, with one sync for
    // all of them (afterEach is called after each page). The pages that could
    // not be replaced (each left as it was).
    std::vector<CString> commitRevisions(const std::function<void()>& afterEach = {}) {
        return m_saves.commit(afterEach);
    }
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
    // Lists the revised page and keeps its bytes for commitRevisions, written
    // beside at (the page itself when empty).
    BOOL keep(const CString& page, lum::page::RevisedPage&& revised, const CString& at = CString());

    SiteMgr50* m_siteMgr;
    std::vector<Move> m_moves;
    std::string m_error;
    bool m_blocking = false;
    size_t m_revisedCount = 0;
    bool m_dryRun = false;
    std::vector<Revision> m_revisions;
    lum::AtomicFileBatch m_saves;
};
