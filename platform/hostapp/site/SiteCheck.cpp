#include "hostapp/site/SiteCheck.h"

#include "hostapp/pages/PageLimits.h"
#include "hostapp/pages/PageLinks.h"
#include "hostapp/pages/PageText.h"
#include "hostapp/urls/SiteLinkResolver.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace lum::site {

namespace {

bool readBytes(const std::filesystem::path& path, std::string& bytes) {
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

std::vector<BrokenReference> findBrokenReferences(SiteDatabase& db, const SiteLocation& site) {
    std::map<std::string, std::set<std::string>> missing;  // by page
    for (auto& [page, target] : db.missingTargets()) {
        missing[page].insert(target);
    }
    SiteLinkResolver resolver(site.url, site.root, site.topPage);
    std::vector<BrokenReference> broken;
    for (const auto& [page, targets] : missing) {
        std::string bytes;
        if (!readBytes(std::filesystem::path(site.root) / page, bytes)) {
            continue;  // gone since the rebuild
        }
        std::string text;
        std::string base;
        std::vector<lum::page::PageLink> links;
        if (isStylesheetPath(page)) {
            text = std::move(bytes);
            links = lum::page::stylesheetLinks(text);
        } else {
            text = lum::page::decodePage(bytes).text;
            if (!lum::page::withinParseLimits(text)) {
                continue;
            }
            lum::page::PageLinks parsed = lum::page::extractLinks(text);
            base = std::move(parsed.base);
            links = std::move(parsed.links);
        }
        const std::string baseUrl = resolver.baseUrl(page, base);
        for (const lum::page::PageLink& link : links) {
            std::optional<std::string> reached = resolver.resolveAgainst(baseUrl, link.url);
            if (!reached || !targets.count(*reached)) {
                continue;
            }
            auto [line, column] = lum::page::lineAndColumn(text, link.offset);
            broken.push_back({page, line, column, link.element, link.url, *reached});
        }
    }
    return broken;
}

}  // namespace lum::site
