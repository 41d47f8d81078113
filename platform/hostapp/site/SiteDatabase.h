// The site database: one SQLite file in the site folder, beside the site's
// definition, under a hidden name. It holds the site's files (pages, feeds and
// whatever the pages link to), the links from each page to each file, the
// site profile and the RSS information of pages.
//
// The file is opened in WAL mode and every change runs in a transaction, so
// a crash or a kill leaves the last committed state. A file that is not a
// site database, or one written with a newer schema, is refused with one
// line and left as it was; only open() with Recreate replaces it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace lum::site {

inline constexpr char kDatabaseFile[] = ".newsdesk-site.db";
inline constexpr int kSchemaVersion = 1;

// What a file of the site is, as the scan found it.
enum class FileKind : int { Other = 0, Page = 1, Feed = 2 };

// One file of the site as stored. Paths are relative to the site root,
// '/'-separated, UTF-8. A file that pages link to but that does not exist
// has a row too (present false), so its links can still be asked for.
struct FileRow {
    std::int64_t id = -1;
    std::string path;
    bool present = false;
    std::int64_t size = -1;
    std::int64_t mtime = -1;  // nanoseconds since 1970
    std::uint64_t hash = 0;
    FileKind kind = FileKind::Other;
    int format = -1;  // feeds: 0 RSS 1.0, 1 RSS 2.0, 2 podcast
    std::string title;
};

struct Link {
    std::string target;   // relative path of the file linked to
    std::string element;  // "a", "img", "link", "script", "frame" ...
};

struct BackLink {
    std::int64_t pageId = -1;
    std::string page;  // relative path of the linking page
    std::string element;
};

struct Profile {
    std::int64_t id = -1;
    std::string name;
    std::string url;
    std::string topFile;  // relative to the root
    std::string title;
    std::string description;
};

struct RssInfo {
    std::string title;
    std::string description;
    std::int32_t pubTime = 0;
    int flags = 0;
};

class Statement;

class SiteDatabase {
  public:
    enum class OpenMode {
        Existing,  // refuse when there is no database file
        Create,    // make one when there is none
        Recreate,  // like Create, and replace a file that cannot be opened as one
    };
    // folder is the site root as a native path. nullptr with one line in
    // error when the file is missing (Existing), not a database, not a site
    // database, from a newer schema, or cannot be opened for writing.
    static std::unique_ptr<SiteDatabase> open(const std::string& folder, OpenMode mode,
                                              std::string& error);
    static std::string databasePath(const std::string& folder);
    ~SiteDatabase();
    SiteDatabase(const SiteDatabase&) = delete;
    SiteDatabase& operator=(const SiteDatabase&) = delete;

    // Runs body in one transaction (nested calls join the outer one). false,
    // with everything body did rolled back, when body or the commit failed.
    bool transaction(const std::function<bool()>& body);
    const std::string& lastError() const { return m_error; }

    // Files.
    std::vector<FileRow> allFiles();
    std::optional<FileRow> fileById(std::int64_t id);
    // Exact match first, then the same path ignoring letter case.
    std::optional<FileRow> fileByPath(std::string_view path);
    // The id of the row for path, made (absent) when there is none; -1 on failure.
    std::int64_t fileId(std::string_view path);
    bool storeFile(const FileRow& row);  // by row.id
    // Marks the file as gone: no kind, no format, no links from it.
    bool markGone(std::int64_t id);
    std::vector<FileRow> feeds();  // present feeds, by path

    // Links.
    bool replaceLinks(
        std::int64_t pageId,
        const std::vector<std::pair<std::int64_t, std::string>>& targets);  // (target id, element)
    std::vector<BackLink> backLinks(std::int64_t targetId);
    std::vector<Link> linksFrom(std::int64_t pageId);
    // Links of present pages to files that are not there: (page, target)
    // paths, by page and target.
    std::vector<std::pair<std::string, std::string>> missingTargets();
    std::int64_t linkCount();
    // For loading many links at once: the index by target goes, and comes
    // back (also when the database is opened next).
    bool dropTargetIndex();
    bool makeTargetIndex();

    // Profile.
    // The profile named name, made or brought up to date with url and top file.
    std::int64_t ensureProfile(const std::string& name, const std::string& url,
                               const std::string& topFile);
    std::optional<Profile> profile(std::int64_t id);
    std::int64_t profileId(const std::string& name);
    bool setProfileText(std::int64_t id, const char* column, const std::string& text);

    // RSS information of a page.
    bool setRssInfo(std::int64_t fileId, const RssInfo& info);
    std::optional<RssInfo> rssInfo(std::int64_t fileId);

    // Remembered start folders of the folder choosers, by kind.
    bool setStartFolder(int kind, const std::string& folder);
    std::optional<std::string> startFolder(int kind);

  private:
    explicit SiteDatabase(sqlite3* db);
    bool exec(const char* sql);
    // Why a file could not be taken as the site database.
    enum class Refusal {
        None,
        NotOurs,  // not a database, or another program's
        Newer,    // from a newer schema
        Failure,  // a database of ours that cannot be read or written now
    };
    Refusal prepareSchema(std::string& error);
    Statement& statement(const char* sql);
    bool fail(const char* what);

    sqlite3* m_db;
    int m_depth = 0;
    bool m_rollback = false;
    std::string m_error;
    std::vector<std::pair<const char*, std::unique_ptr<Statement>>> m_statements;
};

}  // namespace lum::site
