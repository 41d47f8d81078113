#include "hostapp/site/LumSiteMgr.h"

#include "hostapp/files/PathUtil.h"
#include "hostapp/site/SiteDefinition.h"
#include "hostapp/urls/UrlUtil.h"
#include "win32/PathMapping.h"

#include <map>
#include <memory>
#include <optional>

namespace {

struct OpenSiteState {
    SITE_INFO info;
    std::unique_ptr<SiteMgr50> database;
    std::string databaseError;
};

std::optional<OpenSiteState>& openSiteState() {
    static std::optional<OpenSiteState> state;
    return state;
}

std::map<int, CString>& runStartFolders(bool shared) {
    static std::map<int, CString> sharedFolders;
    static std::map<int, CString> siteFolders;
    return shared ? sharedFolders : siteFolders;
}

}  // namespace

bool LumSiteMgr::openSite(const CString& folder, std::string& error) {
    auto definition = readSiteDefinition(folder, error);
    if (!definition) {
        return false;
    }
    openSiteState().emplace();
    openSiteState()->info =
        SITE_INFO{definition->name, definition->folder, definition->url, definition->topPage};
    runStartFolders(false).clear();
    return true;
}

void LumSiteMgr::closeSite() {
    openSiteState().reset();
    runStartFolders(false).clear();
}

bool LumSiteMgr::isSiteOpened() {
    return openSiteState().has_value();
}

bool LumSiteMgr::getCurrentSiteInfo(SITE_INFO& info) {
    if (!openSiteState()) {
        return false;
    }
    info = openSiteState()->info;
    return true;
}

SiteIF* LumSiteMgr::getOutStandingSiteIF() {
    return openSiteState() ? lum::newSiteIF(openSiteState()->info, false) : nullptr;
}

CString LumSiteMgr::getMySiteUrl(SiteIF* site, const CString& path) {
    if (site == nullptr || site->isOutSite()) {
        return CString();
    }
    const SITE_INFO& info = site->getSiteInfo();
    CString local = conv_std_path(path);
    if (info.rootFolder.IsEmpty() || !isDrivePath(local) || !under_root_p(local, info.rootFolder)) {
        return CString();
    }
    // The path may spell the drive letter in the other case; the root's
    // length is the same either way.
    CString rest = local.GetLength() > info.rootFolder.GetLength()
                       ? local.Mid(info.rootFolder.GetLength())
                       : CString();
    return info.siteUrl + encodeUrlPath(rest);
}

CString LumSiteMgr::getCurrentSiteTopUrl() {
    return openSiteState()
               ? openSiteState()->info.siteUrl + encodeUrlPath(openSiteState()->info.topPage)
               : CString();
}

CString LumSiteMgr::getCurrentSiteName() {
    return openSiteState() ? openSiteState()->info.siteName : CString();
}

bool LumSiteMgr::openSiteDatabase(lum::site::SiteDatabase::OpenMode mode, std::string& error) {
    auto& state = openSiteState();
    if (!state) {
        error = "no site is open";
        return false;
    }
    state->database.reset();
    const SITE_INFO& info = state->info;
    auto native = nd::win32::toNativePath(info.rootFolder.view());
    if (!native) {
        error = "site folder " + info.rootFolder.toUtf8() + " is not on this machine";
        state->databaseError = error;
        return false;
    }
    auto db = lum::site::SiteDatabase::open(*native, mode, error);
    if (!db) {
        state->databaseError = error;
        return false;
    }
    std::string topPage = info.topPage.toUtf8();
    for (char& c : topPage) {
        if (c == '\\') {
            c = '/';
        }
    }
    if (db->ensureProfile(info.siteName.toUtf8(), info.siteUrl.toUtf8(), topPage) < 0) {
        error = "site database " + lum::site::SiteDatabase::databasePath(*native) +
                " cannot be written: " + db->lastError();
        state->databaseError = error;
        return false;
    }
    state->database = std::make_unique<SiteMgr50>(
        std::move(db), info.rootFolder,
        lum::site::SiteLocation{*native, info.siteUrl.toUtf8(), topPage});
    state->databaseError.clear();
    return true;
}

SiteMgr50* LumSiteMgr::getSiteMgr() {
    auto& state = openSiteState();
    if (!state) {
        return nullptr;
    }
    if (!state->database) {
        std::string error;
        openSiteDatabase(lum::site::SiteDatabase::OpenMode::Create, error);
    }
    return state->database.get();
}

const std::string& LumSiteMgr::siteDatabaseError() {
    static const std::string none = "no site is open";
    return openSiteState() ? openSiteState()->databaseError : none;
}

bool LumSiteMgr::GetRssInSite(std::vector<SiteRecCell50>** records) {
    if (records == nullptr) {
        return false;
    }
    *records = nullptr;
    SiteMgr50* db = getSiteMgr();
    if (db == nullptr) {
        return false;
    }
    // The list must be the folder's, also when files changed since the last
    // rebuild; with nothing changed this reads no file.
    lum::site::ScanResult result;
    std::string error;
    if (!db->rebuild(false, {}, result, error)) {
        openSiteState()->databaseError = error;
        return false;
    }
    *records = new std::vector<SiteRecCell50>(db->feeds());
    return true;
}

void LumSiteMgr::DeleteVecRecCell(std::vector<SiteRecCell50>* records) {
    delete records;
}

CString LumSiteMgr::getRssFileName(const CString& topFile) {
    if (topFile.IsEmpty()) {
        return CString();
    }
    CString name = getBaseName(topFile);
    int dot = name.ReverseFind(u'.');
    CString stem = dot > 0 ? name.Left(dot) : name;
    return getBasePath(topFile) + stem + u".rss";
}

CString LumSiteMgr::getInitDir(int kind, bool shared) {
    if (!shared) {
        if (SiteMgr50* db = openSiteState() ? getSiteMgr() : nullptr) {
            auto folder = db->database().startFolder(kind);
            return folder ? CString::fromUtf8(*folder) : CString();
        }
    }
    auto& folders = runStartFolders(shared);
    auto it = folders.find(kind);
    return it == folders.end() ? CString() : it->second;
}

void LumSiteMgr::setInitDir(const CString& folder, int kind, bool shared) {
    if (!shared) {
        if (SiteMgr50* db = openSiteState() ? getSiteMgr() : nullptr) {
            db->database().setStartFolder(kind, folder.toUtf8());
            return;
        }
    }
    runStartFolders(shared)[kind] = folder;
}

SiteIF* OutSMgr::findOutSite() {
    return lum::newSiteIF(SITE_INFO{}, true);
}
