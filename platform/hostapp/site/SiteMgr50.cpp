#include "hostapp/site/SiteMgr50.h"

#include "hostapp/files/PathUtil.h"
#include "hostapp/urls/UrlUtil.h"

#include <cstring>

namespace {

LPWSTR copyOut(const CString& text) {
    auto* out = new char16_t[static_cast<size_t>(text.GetLength()) + 1];
    std::memcpy(out, text.GetString(),
                (static_cast<size_t>(text.GetLength()) + 1) * sizeof(char16_t));
    return out;
}

SiteRecCell50 recordOf(SiteMgr50& mgr, const lum::site::FileRow& row) {
    SiteRecCell50 cell;
    cell.m_urlId = {SiteMgr50::kFileUrl, static_cast<int>(row.id)};
    cell.m_path = mgr.windowsPath(row.path);
    cell.m_title = CString::fromUtf8(row.title);
    cell.m_format = row.format;
    return cell;
}

}  // namespace

SiteMgr50::SiteMgr50(std::unique_ptr<lum::site::SiteDatabase> db, const CString& root,
                     lum::site::SiteLocation site)
    : m_db(std::move(db)), m_root(root), m_site(std::move(site)) {
    addLastYenMark(m_root);
}

SiteMgr50::~SiteMgr50() = default;

std::string SiteMgr50::relativePath(const CString& path) const {
    CString local = conv_std_path(path);
    if (!isDrivePath(local) || !under_root_p(local, m_root) ||
        local.GetLength() <= m_root.GetLength()) {
        return {};
    }
    std::string relative = local.Mid(m_root.GetLength()).toUtf8();
    for (char& c : relative) {
        if (c == '\\') {
            c = '/';
        }
    }
    return relative;
}

CString SiteMgr50::windowsPath(const std::string& relative) const {
    CString path = m_root + CString::fromUtf8(relative);
    path.Replace(u"/", u"\\");
    return path;
}

int SiteMgr50::UrlGetIDPath(const CString& path, int kind) {
    if (kind != kFileUrl) {
        return -1;
    }
    std::string relative = relativePath(path);
    if (relative.empty()) {
        return -1;
    }
    auto row = m_db->fileByPath(relative);
    return row ? static_cast<int>(row->id) : -1;
}

LPWSTR SiteMgr50::UrlPath(const UrlID50& id) {
    if (id.kind != kFileUrl || id.id < 0) {
        return nullptr;
    }
    auto row = m_db->fileById(id.id);
    return row ? copyOut(windowsPath(row->path)) : nullptr;
}

int SiteMgr50::GetBackLinks(const UrlID50& id, std::vector<SiteRecCell50>** records, int kind) {
    if (records) {
        *records = nullptr;
    }
    if (!records || kind != kFileUrl || id.kind != kFileUrl || id.id < 0 ||
        !m_db->fileById(id.id)) {
        return -1;
    }
    auto* out = new std::vector<SiteRecCell50>;
    // One record per page, however many of its elements link to the file.
    for (const auto& link : m_db->backLinks(id.id)) {
        if (!out->empty() && out->back().m_urlId.id == static_cast<int>(link.pageId)) {
            out->back().m_element += u"," + CString::fromUtf8(link.element);
            continue;
        }
        SiteRecCell50 cell;
        cell.m_urlId = {kFileUrl, static_cast<int>(link.pageId)};
        cell.m_path = windowsPath(link.page);
        cell.m_element = CString::fromUtf8(link.element);
        out->push_back(std::move(cell));
    }
    *records = out;
    return static_cast<int>(out->size());
}

void SiteMgr50::DeleteVecRecCell(std::vector<SiteRecCell50>* records) {
    delete records;
}

void SiteMgr50::DeleteString(LPWSTR text) {
    delete[] text;
}

int SiteMgr50::SiteProfGetID(const CString& name) {
    return static_cast<int>(m_db->profileId(name.toUtf8()));
}

LPWSTR SiteMgr50::GetSiteProfDir(int id, int form) {
    if (!m_db->profile(id)) {
        return nullptr;
    }
    return copyOut(form == 1 ? m_root : m_root.Left(m_root.GetLength() - 1));
}

LPWSTR SiteMgr50::GetSiteProfUrl(int id) {
    auto p = m_db->profile(id);
    return p ? copyOut(CString::fromUtf8(p->url)) : nullptr;
}

LPWSTR SiteMgr50::GetSiteProfTopFile(int id) {
    auto p = m_db->profile(id);
    return p && !p->topFile.empty() ? copyOut(windowsPath(p->topFile)) : nullptr;
}

BOOL SiteMgr50::SetSiteProfTitle(int id, const CString& title) {
    return m_db->setProfileText(id, "title", title.toUtf8()) ? TRUE : FALSE;
}

BOOL SiteMgr50::SetSiteProfDescription(int id, const CString& description) {
    return m_db->setProfileText(id, "description", description.toUtf8()) ? TRUE : FALSE;
}

CString SiteMgr50::GetSiteProfTitle(int id) {
    auto p = m_db->profile(id);
    return p ? CString::fromUtf8(p->title) : CString();
}

CString SiteMgr50::GetSiteProfDescription(int id) {
    auto p = m_db->profile(id);
    return p ? CString::fromUtf8(p->description) : CString();
}

BOOL SiteMgr50::SetRssInfo(const UrlID50& id, const CString& title, const CString& description,
                           std::int32_t pubTime, int flags) {
    if (id.kind != kFileUrl || id.id < 0 || !m_db->fileById(id.id)) {
        return FALSE;
    }
    return m_db->setRssInfo(id.id, {title.toUtf8(), description.toUtf8(), pubTime, flags}) ? TRUE
                                                                                           : FALSE;
}

bool SiteMgr50::GetRssInfo(const UrlID50& id, lum::site::RssInfo& info) {
    if (id.kind != kFileUrl || id.id < 0) {
        return false;
    }
    auto stored = m_db->rssInfo(id.id);
    if (stored) {
        info = *stored;
    }
    return stored.has_value();
}

std::vector<SiteRecCell50> SiteMgr50::feeds() {
    std::vector<SiteRecCell50> records;
    for (const auto& row : m_db->feeds()) {
        records.push_back(recordOf(*this, row));
    }
    return records;
}

bool SiteMgr50::rebuild(bool full, const lum::site::ScanProgress& progress,
                        lum::site::ScanResult& result, std::string& error) {
    return lum::site::scanSite(*m_db, m_site, full, progress, result, error);
}
