#include "hostapp/site/CLumFileOperation.h"

#include "hostapp/files/FileErrors.h"
#include "hostapp/site/LumSiteStaff.h"
#include "hostapp/site/SiteJournal.h"
#include "hostapp/site/SiteMgr50.h"
#include "hostapp/site/SiteScanner.h"
#include "win32/FileApi.h"
#include "win32/PathMapping.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

std::string nativeOf(const CString& path) {
    return nd::win32::toNativePath(path.GetString()).value_or(path.toUtf8());
}

}  // namespace

int CLumFileOperation::execute(CWnd*, SiteMgr50* siteMgr, int operation, const CString& from,
                               const CString& to, CLumSiteDDList* nodes) {
    if (operation != kRename) {
        m_error = "unknown file operation";
        return 0;
    }
    return run(siteMgr, from, to, nodes, false);
}

int CLumFileOperation::preview(SiteMgr50* siteMgr, const CString& from, const CString& to,
                               CLumSiteDDList* nodes) {
    return run(siteMgr, from, to, nodes, true);
}

int CLumFileOperation::run(SiteMgr50* siteMgr, const CString& from, const CString& to,
                           CLumSiteDDList* nodes, bool dryRun) {
    m_failures.clear();
    m_obstacles.clear();
    m_error.clear();
    m_madeFolders.clear();
    m_revisions.clear();
    m_movedPageRevised = false;
    if (from.IsEmpty() || to.IsEmpty()) {
        m_error = "no file name";
        return 0;
    }
    if (::GetFileAttributesW(from.GetString()) == INVALID_FILE_ATTRIBUTES) {
        m_error = lum::fileErrorReason(GetLastError());
        return 0;
    }
    if (::GetFileAttributesW(to.GetString()) != INVALID_FILE_ATTRIBUTES) {
        m_error = lum::fileErrorReason(ERROR_ALREADY_EXISTS);
        return 0;
    }
    // The file leaves its folder by a rename: a folder that refuses it would
    // stop the operation after the pages were revised.
    if (::access(fs::path(nativeOf(from)).parent_path().c_str(), W_OK | X_OK) != 0) {
        m_error = lum::fileErrorReason(nd::win32::errorFromErrno(errno));
        return 0;
    }
    if (!makeFolders(to, true)) {
        return 0;
    }
    if (dryRun) {
        CLumSiteDocBaseCore* docBase = stagePages(siteMgr, from, to, nodes, true);
        if (docBase) {
            m_revisions = docBase->revisions();
            docBase->abandon();
        }
        return refuseObstacles() ? 0 : 1;
    }
    std::vector<CString> folders = std::move(m_madeFolders);
    m_madeFolders.clear();
    // The plan is on record before anything is written, so that whenever
    // the process stops, the next newsdesk to take the site can finish or
    // undo what was begun.
    const std::string root = siteMgr ? siteMgr->location().root : std::string();
    lum::site::Journal journal;
    journal.files = {nativeOf(from)};
    journal.destination = nativeOf(to);
    for (const CString& folder : folders) {
        journal.folders.push_back(nativeOf(folder));
    }
    for (POSITION pos = nodes ? nodes->GetHeadPosition() : nullptr; pos;) {
        const CLumSiteDDNode& node = nodes->GetNext(pos);
        for (POSITION link = node.m_pLinkList ? node.m_pLinkList->GetHeadPosition() : nullptr;
             link;) {
            journal.pages.push_back({nativeOf(node.m_pLinkList->GetNext(link).m_strPath), {}});
        }
    }
    if (!root.empty() && !lum::site::writeJournal(root, journal, m_error)) {
        return 0;
    }
    lum::site::operationStep();
    // Every linking page is written beside itself before anything moves: a
    // read-only page or a full disk refuses the whole operation here, where
    // nothing has changed yet, instead of leaving pages that name a file that
    // is no longer there.
    CLumSiteDocBaseCore* docBase = stagePages(siteMgr, from, to, nodes, false);
    lum::site::operationStep();
    auto giveUp = [&] {
        if (docBase) {
            docBase->abandon();
        }
        if (!root.empty()) {
            lum::site::clearJournal(root);
        }
        m_failures.clear();
        m_revisions.clear();
        return 0;
    };
    if (refuseObstacles()) {
        return giveUp();
    }
    if (docBase && !docBase->syncRevisions()) {
        m_error = "cannot bring the revised pages to disk";
        return giveUp();
    }
    journal.staged = true;
    journal.pages.clear();
    for (const auto& staged :
         docBase ? docBase->staged() : std::vector<lum::AtomicFileBatch::Pending>()) {
        journal.pages.push_back({staged.native, staged.temp});
    }
    if (!root.empty() && !lum::site::writeJournal(root, journal, m_error)) {
        return giveUp();
    }
    lum::site::operationStep();
    if (!makeFolders(to, false)) {
        return giveUp();
    }
    lum::site::operationStep();
    // MoveFileW refuses an existing target, so nothing is ever overwritten.
    if (!::MoveFileW(from.GetString(), to.GetString())) {
        m_error = lum::fileErrorReason(GetLastError());
        removeMadeFolders();
        return giveUp();
    }
    lum::site::operationStep();
    if (docBase) {
        for (const CString& page : docBase->commitRevisions(lum::site::operationStep)) {
            m_failures.push_back({page, "cannot replace " + page.toUtf8()});
        }
        m_revisions = docBase->revisions();
        docBase->abandon();
    }
    if (!root.empty()) {
        lum::site::clearJournal(root);
    }
    return 1;
}

bool CLumFileOperation::refuseObstacles() {
    if (m_obstacles.empty()) {
        return false;
    }
    m_error = m_obstacles.size() == 1
                  ? m_obstacles.front().reason
                  : std::to_string(m_obstacles.size()) + " pages could not be revised";
    m_failures.clear();
    m_revisions.clear();
    return true;
}

bool CLumFileOperation::makeFolders(const CString& to, bool dryRun) {
    fs::path folder = fs::path(nativeOf(to)).parent_path();
    std::vector<fs::path> missing;
    for (fs::path at = folder; !at.empty(); at = at.parent_path()) {
        std::error_code ec;
        fs::file_status status = fs::status(at, ec);
        if (fs::exists(status)) {
            if (!fs::is_directory(status)) {
                m_error = "cannot make folder " +
                          (missing.empty() ? at : missing.front()).string() + ": " + at.string() +
                          " is a file";
                return false;
            }
            break;
        }
        missing.insert(missing.begin(), at);
        if (at == at.parent_path()) {
            break;
        }
    }
    // The first folder is made, or the file takes its new name, in the
    // nearest folder there is: one that refuses it would stop the operation
    // after the pages were revised.
    fs::path existing = missing.empty() ? folder : missing.front().parent_path();
    if (dryRun && ::access(existing.c_str(), W_OK | X_OK) != 0) {
        const std::string reason = lum::fileErrorReason(nd::win32::errorFromErrno(errno));
        m_error = missing.empty()
                      ? reason
                      : "cannot make folder " + missing.front().string() + ": " + reason;
        return false;
    }
    for (const fs::path& at : missing) {
        std::error_code ec;
        if (!dryRun && !fs::create_directory(at, ec)) {
            m_error = "cannot make folder " + at.string() + ": " +
                      lum::fileErrorReason(nd::win32::errorFromErrno(ec.value()));
            removeMadeFolders();
            return false;
        }
        m_madeFolders.push_back(
            CString(nd::win32::toWindowsPath(at.string()).value_or(std::u16string())));
    }
    return true;
}

void CLumFileOperation::removeMadeFolders() {
    for (auto it = m_madeFolders.rbegin(); it != m_madeFolders.rend(); ++it) {
        std::error_code ec;
        fs::remove(nativeOf(*it), ec);  // only while still empty
    }
    m_madeFolders.clear();
}

CLumSiteDocBaseCore* CLumFileOperation::stagePages(SiteMgr50* siteMgr, const CString& from,
                                                   const CString& to, CLumSiteDDList* nodes,
                                                   bool dryRun) {
    // A moved page's (or stylesheet's) links to itself by name, and in
    // another folder its relative links, would otherwise name the wrong place.
    m_movedPage = siteMgr && lum::site::holdsLinks(from.toUtf8());
    if (!nodes && !m_movedPage) {
        return nullptr;
    }
    CLumSiteDocBaseCore* docBase = LumSiteStaff::getSiteDocBase(nullptr, nullptr);
    if (!docBase) {
        return nullptr;
    }
    docBase->setDryRun(dryRun);
    docBase->AddFile(from, to);
    auto failed = [&](const CString& page) {
        (docBase->lastFailureBlocks() ? m_obstacles : m_failures)
            .push_back({page, docBase->lastError()});
    };
    if (m_movedPage) {
        if (!docBase->ReviseMovedPage(from, to)) {
            failed(to);
            m_movedPage = false;  // said once; it moves as it is
        }
        m_movedPageRevised = docBase->revisedCount() > 0;
    }
    for (POSITION pos = nodes ? nodes->GetHeadPosition() : nullptr; pos;) {
        const CLumSiteDDNode& node = nodes->GetNext(pos);
        if (!node.m_pLinkList) {
            continue;
        }
        for (POSITION link = node.m_pLinkList->GetHeadPosition(); link;) {
            const CLumSiteDDLinkNode& page = node.m_pLinkList->GetNext(link);
            // A page linking to itself is no longer at its old name; its
            // links were revised above.
            if (page.m_strPath == from) {
                continue;
            }
            if (page.m_bRevise && !docBase->ReviseLinkedFile(page.m_strPath, 0)) {
                failed(page.m_strPath);
            }
        }
    }
    return docBase;
}
