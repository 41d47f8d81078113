#include "hostapp/CLumSiteDocBaseCore.h"

#include "hostapp/PageRevision.h"
#include "hostapp/SiteLinkResolver.h"
#include "hostapp/SiteMgr50.h"
#include "win32/PathMapping.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

bool hasScheme(std::string_view url) {
    size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0) {
        return false;
    }
    for (size_t i = 0; i < colon; ++i) {
        char c = url[i];
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.')) {
            return false;
        }
    }
    return url.find_first_of("/?#") > colon;
}

// What follows the path of a link: its query and fragment.
std::string_view suffixOf(std::string_view url) {
    size_t at = url.find_first_of("?#");
    return at == std::string_view::npos ? std::string_view() : url.substr(at);
}

// The path of an absolute URL, from the first slash after its authority.
std::string_view pathOf(std::string_view url) {
    size_t scheme = url.find("://");
    size_t start = scheme == std::string_view::npos ? 0 : url.find('/', scheme + 3);
    return start == std::string_view::npos ? std::string_view("/") : url.substr(start);
}

// target as a link relative to baseUrl's folder; both under the same site.
std::string relativeUrl(std::string_view baseUrl, std::string_view target) {
    std::string_view basePath = pathOf(baseUrl);
    basePath = basePath.substr(0, basePath.find_first_of("?#"));
    std::string_view targetPath = pathOf(target);
    std::string_view baseFolder = basePath.substr(0, basePath.rfind('/') + 1);
    // The longest common run of whole folders.
    size_t common = 0;
    for (size_t i = 0; i < baseFolder.size() && i < targetPath.size(); ++i) {
        if (baseFolder[i] != targetPath[i]) {
            break;
        }
        if (baseFolder[i] == '/') {
            common = i + 1;
        }
    }
    std::string link;
    for (size_t i = common; i < baseFolder.size(); ++i) {
        if (baseFolder[i] == '/') {
            link += "../";
        }
    }
    link += targetPath.substr(common);
    return link.empty() ? std::string("./") : link;
}

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
    struct Target {
        std::string source;
        std::string destination;  // empty: gone
    };
    std::vector<Target> targets;
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
        targets.push_back({source, destination});
    }
    std::string bytes;
    if (!readBytes(*native, bytes)) {
        m_error = "cannot read " + *native;
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
        for (const Target& target : targets) {
            if (*reached != target.source) {
                continue;
            }
            if (target.destination.empty()) {
                return {lum::page::LinkAction::Remove, {}};
            }
            std::string newUrl = resolver.urlOf(target.destination);
            std::string value;
            if (hasScheme(url) || url.substr(0, 2) == "//") {
                value = url.substr(0, 2) == "//" ? newUrl.substr(newUrl.find("//")) : newUrl;
            } else if (!url.empty() && url.front() == '/') {
                value = std::string(pathOf(newUrl));
            } else {
                value = relativeUrl(baseUrl, newUrl);
            }
            value += suffixOf(url);
            return {lum::page::LinkAction::Replace, value};
        }
        return {};
    };
    std::optional<lum::page::RevisedPage> revised =
        lum::page::revisePageLinks(bytes, decide, m_error);
    if (!revised) {
        return FALSE;
    }
    if (revised->changes == 0) {
        return TRUE;
    }
    if (!m_saves.add(page, revised->bytes)) {
        m_error = "cannot write " + *native;
        return FALSE;
    }
    return TRUE;
}
