#include "hostapp/site/CLumSiteDocBaseCore.h"

#include "hostapp/files/FileErrors.h"
#include "hostapp/pages/MovedPageLinks.h"
#include "hostapp/pages/PageRevision.h"
#include "hostapp/site/SiteMgr50.h"
#include "hostapp/site/SiteScanner.h"
#include "hostapp/urls/SiteLinkResolver.h"
#include "win32/FileApi.h"
#include "win32/PathMapping.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

bool readBytes(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    bytes = std::move(buffer).str();
    return !in.bad();
}

}  // namespace

CLumSiteDocBaseCore::CLumSiteDocBaseCore(SiteMgr50* siteMgr) : m_siteMgr(siteMgr) {}

void CLumSiteDocBaseCore::AddFile(const CString& source, const CString& destination) {
    m_moves.push_back({source, destination});
}

BOOL CLumSiteDocBaseCore::ReviseLinkedFile(const CString& page, int) {
    m_error.clear();
    m_blocking = false;
    if (!m_siteMgr) {
        m_error = "no site database";
        return FALSE;
    }
    std::string pageRelative = m_siteMgr->relativePath(page);
    std::optional<std::string> native = nd::win32::toNativePath(page.GetString());
    if (pageRelative.empty() || !native) {
        m_error = "the page lies outside the site";
        return FALSE;
    }
    std::vector<lum::site::FileMove> targets = registeredMoves();
    std::string bytes;
    if (!readBytes(*native, bytes)) {
        m_error = "cannot read " + *native;
        m_blocking = true;
        return FALSE;
    }
    const lum::site::SiteLocation& site = m_siteMgr->location();
    lum::site::SiteLinkResolver resolver(site.url, site.root, site.topPage);
    auto decide = [&](std::string_view, std::string_view base,
                      std::string_view url) -> lum::page::LinkDecision {
        std::string baseUrl = resolver.baseUrl(pageRelative, base);
        std::optional<std::string> reached = resolver.resolveAgainst(baseUrl, url);
        if (!reached) {
            return {};
        }
        for (const lum::site::FileMove& target : targets) {
            if (*reached != target.source) {
                continue;
            }
            if (target.destination.empty()) {
                return {lum::page::LinkAction::Remove, {}};
            }
            std::string value =
                lum::site::linkInSameForm(url, baseUrl, resolver.urlOf(target.destination));
            return {lum::page::LinkAction::Replace, value};
        }
        return {};
    };
    return reviseWith(page, bytes, decide);
}

std::vector<lum::site::FileMove> CLumSiteDocBaseCore::registeredMoves() const {
    std::vector<lum::site::FileMove> moves;
    for (const Move& move : m_moves) {
        std::string source = m_siteMgr->relativePath(move.source);
        if (source.empty()) {
            continue;
        }
        std::string destination;
        if (!move.destination.IsEmpty()) {
            destination = m_siteMgr->relativePath(move.destination);
            if (destination.empty()) {
                continue;  // moved out of the site: no link can reach it by the site's URL
            }
        }
        moves.push_back({source, destination});
    }
    return moves;
}

BOOL CLumSiteDocBaseCore::reviseWith(const CString& page, const std::string& bytes,
                                     const lum::page::LinkDecider& decide) {
    std::optional<lum::page::RevisedPage> revised =
        lum::site::isStylesheetPath(page.toUtf8())
            ? lum::page::reviseStylesheetLinks(bytes, decide, m_error)
            : lum::page::revisePageLinks(bytes, decide, m_error);
    return revised && keep(page, std::move(*revised));
}

BOOL CLumSiteDocBaseCore::keep(const CString& page, lum::page::RevisedPage&& revised,
                               const CString& at) {
    if (revised.changes == 0) {
        return TRUE;
    }
    const CString& written = at.IsEmpty() ? page : at;
    if (m_dryRun ? !lum::AtomicFileBatch::canReplace(written)
                 : !m_saves.add(written, revised.bytes, at.IsEmpty() ? CString() : page)) {
        m_error = "cannot write " + nd::win32::toNativePath(page.GetString()).value_or("the page") +
                  ": " + lum::fileErrorReason(GetLastError());
        m_blocking = true;
        return FALSE;
    }
    m_revisions.push_back({page, std::move(revised.links)});
    m_revisedCount += 1;
    return TRUE;
}

BOOL CLumSiteDocBaseCore::ReviseMovedPage(const CString& from, const CString& to) {
    m_error.clear();
    m_blocking = false;
    if (!m_siteMgr) {
        m_error = "no site database";
        return FALSE;
    }
    std::string oldPath = m_siteMgr->relativePath(from);
    std::string newPath = m_siteMgr->relativePath(to);
    std::optional<std::string> native = nd::win32::toNativePath(from.GetString());
    if (oldPath.empty() || newPath.empty() || !native) {
        m_error = "the page lies outside the site";
        return FALSE;
    }
    std::string bytes;
    if (!readBytes(*native, bytes)) {
        m_error = "cannot read " + *native;
        m_blocking = true;
        return FALSE;
    }
    const lum::site::SiteLocation& site = m_siteMgr->location();
    lum::site::SiteLinkResolver resolver(site.url, site.root, site.topPage);
    lum::site::MovedPageLinks links(resolver, oldPath, newPath, registeredMoves());
    auto decide = [&](std::string_view, std::string_view base, std::string_view url) {
        return links.decide(base, url);
    };
    std::optional<lum::page::RevisedPage> revised =
        lum::site::isStylesheetPath(to.toUtf8())
            ? lum::page::reviseStylesheetLinks(bytes, decide, m_error)
            : lum::page::revisePageLinks(bytes, decide, m_error);
    return revised && keep(to, std::move(*revised), from);
}
