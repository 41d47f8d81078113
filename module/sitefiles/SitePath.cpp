#include "sitefiles/SitePath.h"

#include "hostapp/files/PathUtil.h"
#include "hostapp/site/LumSiteMgr.h"

#include <vector>

namespace newsdesk::sitefiles {

CString normalizedPath(const CString& path) {
    std::u16string text(path.view());
    for (char16_t& c : text) {
        if (c == u'/') {
            c = u'\\';
        }
    }
    // As on Wine, a path from the root ("/home/ann/site") names the root of
    // the current drive, Z:, which is this machine's file system.
    if (text.size() >= 1 && text[0] == u'\\' && (text.size() == 1 || text[1] != u'\\')) {
        text.insert(0, u"Z:");
    }
    std::vector<std::u16string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u'\\', start);
        if (end == std::u16string::npos) {
            end = text.size();
        }
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    bool trailing = !text.empty() && text.back() == u'\\';
    std::vector<std::u16string> kept;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::u16string& part = parts[i];
        if (i > 0 && (part.empty() || part == u".")) {
            continue;
        }
        if (part == u"..") {
            // The first part is the drive ("Z:"): nothing lies above it.
            if (kept.size() <= 1) {
                return CString();
            }
            kept.pop_back();
            continue;
        }
        kept.push_back(part);
    }
    std::u16string out;
    for (size_t i = 0; i < kept.size(); ++i) {
        if (i > 0) {
            out += u'\\';
        }
        out += kept[i];
    }
    if (trailing && (out.empty() || out.back() != u'\\')) {
        out += u'\\';
    }
    return CString(out.c_str());
}

bool insideOpenSite(const CString& normalized) {
    SITE_INFO info;
    if (!LumSiteMgr::getCurrentSiteInfo(info)) {
        return true;
    }
    return !normalized.IsEmpty() && under_root_p(normalized, info.rootFolder) != 0;
}

}  // namespace newsdesk::sitefiles
