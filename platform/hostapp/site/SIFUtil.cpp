#include "hostapp/site/SIFUtil.h"

#include "hostapp/files/PathUtil.h"
#include "hostapp/urls/UrlUtil.h"
#include "win32/FileApi.h"

namespace {

bool exists(const CString& path) {
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

CString percentDecoded(const CString& text) {
    return fileUrlToPath(u"file:///Z:/" + text).Mid(3);
}

// The local path a URL of a document in folder names, or empty.
CString localPathOf(const CString& url, const CString& folder) {
    CString trimmed = url;
    trimmed.Trim();
    if (trimmed.IsEmpty()) {
        return CString();
    }
    if (isfilescheme(trimmed) || isDrivePath(trimmed)) {
        return conv_std_path(trimmed);
    }
    char16_t first = trimmed.GetAt(0);
    if (!urlScheme(trimmed).IsEmpty() || first == u'/' || first == u'\\' || first == u'#' ||
        first == u'?') {
        return CString();
    }
    // A relative reference counts only when it names something that is there.
    int end = trimmed.FindOneOf(u"?#");
    CString relative = end >= 0 ? trimmed.Left(end) : trimmed;
    for (const CString& candidate : {relative, percentDecoded(relative)}) {
        CString path = conv_std_path(folder + candidate);
        if (exists(path)) {
            return path;
        }
    }
    return CString();
}

}  // namespace

int SIFUtil::addResources(SiteIF* site, SiteIF*, const CString& fileUrl, int, URL_ITEM_LIST& list,
                          int, CWnd*) {
    if (!takesResources(site, fileUrl)) {
        return 0;
    }
    const CString& root = site->getSiteInfo().rootFolder;
    CString folder = getBasePath(conv_std_path(fileUrl));
    for (URL_ITEM* item : list) {
        CString path = localPathOf(item->url, folder);
        if (!path.IsEmpty() && under_root_p(path, root)) {
            item->localPath = path;
        }
    }
    return 1;
}

bool SIFUtil::takesResources(SiteIF* site, const CString& fileUrl) {
    if (site == nullptr || site->isOutSite()) {
        return false;
    }
    const CString& root = site->getSiteInfo().rootFolder;
    CString filePath = conv_std_path(fileUrl);
    return !root.IsEmpty() && isDrivePath(filePath) && under_root_p(filePath, root);
}

CString SIFUtil::normalizeURL(SiteIF*, const CString& location, CWnd*) {
    CString trimmed = location;
    trimmed.Trim();
    if (isfilescheme(trimmed) || isDrivePath(trimmed)) {
        CString path = conv_std_path(trimmed);
        return path.IsEmpty() ? trimmed : cat_file_colon(path);
    }
    return trimmed;
}

CString SIFUtil::PCPathtoURL(const CString& path) {
    CString local = conv_std_path(path);
    return isDrivePath(local) ? cat_file_colon(local) : CString();
}

BasePropertyIF* SIFUtil::getPropertyIF(SiteIF* site, const CString& url, const CString&, CWnd*) {
    CString path = conv_std_path(url);
    if (!isDrivePath(path) || !is_file(path)) {
        return nullptr;
    }
    bool inside = site == nullptr || site->isOutSite() ||
                  site->getSiteInfo().rootFolder.IsEmpty() ||
                  under_root_p(path, site->getSiteInfo().rootFolder);
    return BasePropertyIF::create(cat_file_colon(path), inside ? path : CString());
}
