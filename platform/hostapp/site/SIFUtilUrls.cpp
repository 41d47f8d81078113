// How a page refers to a file or URL: relative, from the site's root, or
// absolute. libxml2's URI functions resolve and relate the references.
#include "hostapp/files/PathUtil.h"
#include "hostapp/site/LumSiteMgr.h"
#include "hostapp/site/SIFUtil.h"
#include "hostapp/urls/UrlUtil.h"

#include <libxml/uri.h>

#include <string>

namespace {

std::string takeXml(xmlChar* s) {
    std::string out = s ? reinterpret_cast<const char*>(s) : "";
    xmlFree(s);
    return out;
}

const xmlChar* xml(const std::string& s) {
    return reinterpret_cast<const xmlChar*>(s.c_str());
}

// A Windows path or file URL in its standard file-URL form; other text as it is.
CString asUrl(const CString& location) {
    CString trimmed = location;
    trimmed.Trim();
    if (isDrivePath(trimmed) || isfilescheme(trimmed)) {
        CString path = conv_std_path(trimmed);
        if (!path.IsEmpty()) {
            return cat_file_colon(path);
        }
    }
    return trimmed;
}

// The absolute URL target names for a page at location; empty when it
// cannot be resolved.
std::string absoluteUrl(const CString& target, const CString& location) {
    CString url = asUrl(target);
    if (url.IsEmpty()) {
        return std::string();
    }
    std::string base = asUrl(location).toUtf8();
    return takeXml(xmlBuildURI(xml(url.toUtf8()), xml(base)));
}

bool hasScheme(const std::string& url) {
    return !urlScheme(CString::fromUtf8(url)).IsEmpty();
}

// The published URL of a file of the site names that file: its file URL, so
// that a page of the site can refer to it relatively. Any other URL as it is.
std::string siteFileUrl(SiteIF* site, const std::string& absolute) {
    if (site == nullptr || site->isOutSite()) {
        return absolute;
    }
    const SITE_INFO& info = site->getSiteInfo();
    std::string published = info.siteUrl.toUtf8();
    if (published.empty() || info.rootFolder.IsEmpty() || absolute.rfind(published, 0) != 0) {
        return absolute;
    }
    std::string root = cat_file_colon(info.rootFolder).toUtf8();
    if (root.empty() || root.back() != '/') {
        root += '/';
    }
    return root + absolute.substr(published.size());
}

}  // namespace

CString SIFUtil::getRelUrl(SiteIF* site, const CString& form, const CString& target,
                           const CString& location, const CString&, const CString&, int, CWnd*) {
    std::string absolute = absoluteUrl(target, location);
    if (absolute.empty()) {
        return CString();
    }
    if (!form.IsEmpty() && form.GetAt(0) == u'/') {
        if (site == nullptr || site->isOutSite()) {
            return CString();
        }
        const SITE_INFO& info = site->getSiteInfo();
        CString path = fileUrlToPath(CString::fromUtf8(absolute));
        if (!path.IsEmpty()) {
            if (info.rootFolder.IsEmpty() || !under_root_p(path, info.rootFolder)) {
                return CString();
            }
            return u"/" + encodeUrlPath(path.Mid(info.rootFolder.GetLength()));
        }
        // A public URL of the site counts as inside it too.
        CString url = CString::fromUtf8(absolute);
        if (!info.siteUrl.IsEmpty() && url.Left(info.siteUrl.GetLength()) == info.siteUrl) {
            return u"/" + url.Mid(info.siteUrl.GetLength());
        }
        return CString();
    }
    std::string base = asUrl(location).toUtf8();
    if (base.empty()) {
        return CString();
    }
    std::string named = siteFileUrl(site, absolute);
    std::string relative = takeXml(xmlBuildRelativeURI(xml(named), xml(base)));
    // libxml2 hands back the URL itself when scheme or host differ.
    if (relative.empty() || hasScheme(relative) || relative.rfind("//", 0) == 0) {
        return CString();
    }
    return CString::fromUtf8(relative);
}

CString SIFUtil::convUrl(SiteIF* site, const CString& target, const CString&,
                         const CString& location, const CString&, const CString&, CWnd*) {
    CString absolute = CString::fromUtf8(absoluteUrl(target, location));
    CString path = fileUrlToPath(absolute);
    if (!path.IsEmpty()) {
        CString published = LumSiteMgr::getMySiteUrl(site, path);
        if (!published.IsEmpty()) {
            return published;
        }
    }
    return absolute;
}
