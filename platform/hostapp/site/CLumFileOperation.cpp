#include "hostapp/site/CLumFileOperation.h"

#include "hostapp/files/FileErrors.h"
#include "hostapp/site/LumSiteStaff.h"
#include "hostapp/site/SiteScanner.h"
#include "win32/FileApi.h"
#include "win32/PathMapping.h"

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
    if (dryRun) {
        if (!makeFolders(to, true)) {
            return 0;
        }
        CLumSiteDocBaseCore* docBase = stagePages(siteMgr, from, to, nodes, true);
        if (docBase) {
            m_revisions = docBase->revisions();
            docBase->abandon();
        }
        return 1;
    }
    // Every linking page is written beside itself before anything moves: a
    // read-only page or a full disk refuses the whole operation here, where
    // nothing has changed yet, instead of leaving pages that name a file that
    // is no longer there.
    CLumSiteDocBaseCore* docBase = stagePages(siteMgr, from, to, nodes, false);
    if (!m_obstacles.empty()) {
        if (docBase) {
            docBase->abandon();
        }
        m_error = m_obstacles.size() == 1
                      ? m_obstacles.front().reason
                      : std::to_string(m_obstacles.size()) + " pages could not be revised";
        m_failures.clear();
        return 0;
    }
    auto giveUp = [&] {
        if (docBase) {
            docBase->abandon();
        }
        m_failures.clear();
        m_revisions.clear();
        return 0;
    };
    if (!makeFolders(to, false)) {
        return giveUp();
    }
    // MoveFileW refuses an existing target, so nothing is ever overwritten.
    if (!::MoveFileW(from.GetString(), to.GetString())) {
        m_error = lum::fileErrorReason(GetLastError());
        removeMadeFolders();
        return giveUp();
    }
    if (docBase) {
        if (m_movedPage && !docBase->ReviseMovedPage(from, to)) {
            m_failures.push_back({to, docBase->lastError()});
        }
        m_movedPageRevised = m_movedPage && docBase->revisedCount() > m_linkingRevised;
        for (const CString& page : docBase->commitRevisions()) {
            m_failures.push_back({page, "cannot replace " + page.toUtf8()});
        }
        m_revisions = docBase->revisions();
        docBase->abandon();
    }
    return 1;
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
    m_linkingRevised = 0;
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
    // In a dry run the moved page is revised from its old name; otherwise it
    // is only tried now and revised for real once it has moved.
    if (m_movedPage) {
        if (dryRun) {
            if (!docBase->ReviseMovedPage(from, to)) {
                failed(to);
            }
            m_movedPageRevised = docBase->revisedCount() > 0;
        } else if (!docBase->ProbeMovedPage(from, to)) {
            failed(to);
            m_movedPage = false;  // said once; it moves as it is
        }
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
    if (!dryRun) {
        m_linkingRevised = docBase->revisedCount();
    }
    return docBase;
}
