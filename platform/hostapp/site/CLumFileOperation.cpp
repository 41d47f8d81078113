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
    if (!makeFolders(to, dryRun)) {
        return 0;
    }
    // MoveFileW refuses an existing target, so nothing is ever overwritten.
    if (!dryRun && !::MoveFileW(from.GetString(), to.GetString())) {
        m_error = lum::fileErrorReason(GetLastError());
        removeMadeFolders();
        return 0;
    }
    revisePages(siteMgr, from, to, nodes, dryRun);
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

void CLumFileOperation::revisePages(SiteMgr50* siteMgr, const CString& from, const CString& to,
                                    CLumSiteDDList* nodes, bool dryRun) {
    // A moved page's (or stylesheet's) links to itself by name, and in
    // another folder its relative links, would otherwise name the wrong place.
    bool movedPage = siteMgr && lum::site::holdsLinks(from.toUtf8());
    if (!nodes && !movedPage) {
        return;
    }
    CLumSiteDocBaseCore* docBase = LumSiteStaff::getSiteDocBase(nullptr, nullptr);
    if (!docBase) {
        return;
    }
    docBase->setDryRun(dryRun);
    docBase->AddFile(from, to);
    if (movedPage) {
        if (!docBase->ReviseMovedPage(from, to)) {
            m_failures.push_back({to, docBase->lastError()});
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
                m_failures.push_back({page.m_strPath, docBase->lastError()});
            }
        }
    }
    for (const CString& page : docBase->commitRevisions()) {
        m_failures.push_back({page, "cannot replace " + page.toUtf8()});
    }
    m_revisions = docBase->revisions();
    docBase->destroy();
}
