#include "rsslink/SiteIcon.h"

#include "hostapp/files/FailedSaves.h"
#include "hostapp/files/PathUtil.h"
#include "hostapp/pages/COrvHTMLDocUtil.h"
#include "hostapp/pages/PageEditIF.h"
#include "hostapp/site/SiteIF.h"
#include "hostapp/urls/UrlUtil.h"
#include "win32/FileApi.h"

namespace newsdesk::rsslink {

namespace {

// How many numbered names are tried before giving up on a free one.
constexpr int kMaxNumberedNames = 999;

CString siteRoot(PageEditIF& page) {
    SiteIF* site = page.getSiteIF();
    if (site != nullptr && !site->isOutSite() && !site->getSiteInfo().rootFolder.IsEmpty()) {
        CString root = site->getSiteInfo().rootFolder;
        addLastYenMark(root);
        return root;
    }
    CString location = fileUrlToPath(page.getPageLocation());
    return location.IsEmpty() ? location : getBasePath(location);
}

// "rss_icon.gif" -> "rss_icon-2.gif"
CString numbered(const CString& name, int n) {
    int dot = name.ReverseFind(u'.');
    CString number = CString::fromUtf8("-" + std::to_string(n));
    return dot <= 0 ? name + number : name.Left(dot) + number + name.Mid(dot);
}

bool isFolder(const CString& path) {
    DWORD attributes = GetFileAttributesW(path.GetString());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// An existing file of this machine that a reference of the page names, and
// the root of the page's site; the path is empty for anything else.
struct LocalFile {
    CString path;
    CString root;
    bool inSite() const { return !root.IsEmpty() && under_root_p(path, root) != 0; }
};

LocalFile localFile(PageEditIF& page, const CString& reference) {
    LocalFile file;
    COrvHTMLDocUtil* doc = page.getDocUtil();
    if (doc == nullptr || reference.IsEmpty()) {
        return file;
    }
    CString path = doc->getFullPath(reference);
    if (isDrivePath(path) && is_file(path)) {
        file.path = path;
        file.root = siteRoot(page);
    }
    return file;
}

}  // namespace

bool namesSiteFile(PageEditIF& page, const CString& reference) {
    LocalFile file = localFile(page, reference);
    return !file.path.IsEmpty() && file.inSite();
}

CString iconInSite(PageEditIF& page, const CString& icon) {
    LocalFile file = localFile(page, icon);
    if (file.path.IsEmpty() || file.root.IsEmpty() || file.inSite()) {
        return icon;
    }
    const CString& path = file.path;
    const CString& root = file.root;
    CString folder = root + kSiteIconFolder;
    if (!isFolder(folder) && !CreateDirectoryW(folder.GetString(), nullptr)) {
        lum::reportFailedSave(folder, GetLastError());
        return CString();
    }
    CString name = getBaseName(path);
    for (int n = 1; n <= kMaxNumberedNames; ++n) {
        CString copy = folder + u"\\" + (n == 1 ? name : numbered(name, n));
        if (is_file(copy) || isFolder(copy)) {
            if (cmp_file(copy, path)) {
                return copy;
            }
            continue;
        }
        if (CopyFileW(path.GetString(), copy.GetString(), TRUE)) {
            return copy;
        }
        DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            continue;  // made meanwhile by someone else
        }
        // What a failed copy left of itself is ours to remove.
        DeleteFileW(copy.GetString());
        lum::reportFailedSave(copy, error);
        return CString();
    }
    lum::reportFailedSave(folder + u"\\" + name, ERROR_FILE_EXISTS);
    return CString();
}

}  // namespace newsdesk::rsslink
