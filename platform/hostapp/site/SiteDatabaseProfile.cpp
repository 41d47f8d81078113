// The site database's profile, the RSS information of pages and the start
// folders of the file choosers: the small records beside the files and links.
#include "hostapp/site/SiteDatabase.h"
#include "hostapp/site/SiteStatement.h"

#include <cstring>

namespace lum::site {

std::int64_t SiteDatabase::ensureProfile(const std::string& name, const std::string& url,
                                         const std::string& topFile) {
    auto existing = profileId(name);
    if (existing >= 0) {
        auto p = profile(existing);
        if (p && p->url == url && p->topFile == topFile) {
            return existing;  // nothing to write: a read-only look stays read-only
        }
    }
    bool ok = transaction([&] {
        return statement(
                   "INSERT INTO profiles(name, url, top_file) VALUES(?, ?, ?) "
                   "ON CONFLICT(name) DO UPDATE SET url = excluded.url, "
                   "top_file = excluded.top_file")
                   .bind(name)
                   .bind(url)
                   .bind(topFile)
                   .run() ||
               fail("cannot store the site profile");
    });
    return ok ? profileId(name) : -1;
}

std::optional<Profile> SiteDatabase::profile(std::int64_t id) {
    auto& s =
        statement("SELECT id, name, url, top_file, title, description FROM profiles WHERE id = ?");
    s.bind(id);
    std::optional<Profile> p;
    if (s.step() == SQLITE_ROW) {
        p = Profile{s.integer(0), s.text(1), s.text(2), s.text(3), s.text(4), s.text(5)};
    }
    s.reset();
    return p;
}

std::int64_t SiteDatabase::profileId(const std::string& name) {
    auto& s = statement("SELECT id FROM profiles WHERE name = ?").bind(name);
    std::int64_t id = -1;
    if (s.step() == SQLITE_ROW) {
        id = s.integer(0);
    }
    s.reset();
    return id;
}

bool SiteDatabase::setProfileText(std::int64_t id, const char* column, const std::string& text) {
    const char* sql = std::strcmp(column, "title") == 0
                          ? "UPDATE profiles SET title = ? WHERE id = ?"
                          : "UPDATE profiles SET description = ? WHERE id = ?";
    return transaction([&] {
        auto& s = statement(sql).bind(text).bind(id);
        return (s.run() && sqlite3_changes(m_db) == 1) || fail("no such site profile");
    });
}

bool SiteDatabase::setRssInfo(std::int64_t fileId, const RssInfo& info) {
    return transaction([&] {
        return statement(
                   "INSERT OR REPLACE INTO rss_info(file, title, description, pub_time, flags) "
                   "VALUES(?, ?, ?, ?, ?)")
                   .bind(fileId)
                   .bind(info.title)
                   .bind(info.description)
                   .bind(static_cast<std::int64_t>(info.pubTime))
                   .bind(static_cast<std::int64_t>(info.flags))
                   .run() ||
               fail("cannot store RSS information");
    });
}

std::optional<RssInfo> SiteDatabase::rssInfo(std::int64_t fileId) {
    auto& s = statement("SELECT title, description, pub_time, flags FROM rss_info WHERE file = ?");
    s.bind(fileId);
    std::optional<RssInfo> info;
    if (s.step() == SQLITE_ROW) {
        info = RssInfo{s.text(0), s.text(1), static_cast<std::int32_t>(s.integer(2)),
                       static_cast<int>(s.integer(3))};
    }
    s.reset();
    return info;
}

bool SiteDatabase::setStartFolder(int kind, const std::string& folder) {
    return transaction([&] {
        return statement("INSERT OR REPLACE INTO start_folders(kind, folder) VALUES(?, ?)")
                   .bind(static_cast<std::int64_t>(kind))
                   .bind(folder)
                   .run() ||
               fail("cannot store a start folder");
    });
}

std::optional<std::string> SiteDatabase::startFolder(int kind) {
    auto& s = statement("SELECT folder FROM start_folders WHERE kind = ?")
                  .bind(static_cast<std::int64_t>(kind));
    std::optional<std::string> folder;
    if (s.step() == SQLITE_ROW) {
        folder = s.text(0);
    }
    s.reset();
    return folder;
}

}  // namespace lum::site
