#include "hostapp/site/SiteDatabase.h"
#include "hostapp/site/SiteStatement.h"

#include <sqlite3.h>

#include <filesystem>

namespace lum::site {

namespace {

// "NDSI" in the header marks the file as ours; another program's SQLite file
// is refused like any file that is not a site database.
constexpr int kApplicationId = 0x4E445349;

const char* const kSchema[] = {
    "CREATE TABLE files("
    " id INTEGER PRIMARY KEY,"
    " path TEXT NOT NULL UNIQUE,"
    " present INTEGER NOT NULL DEFAULT 0,"
    " size INTEGER NOT NULL DEFAULT -1,"
    " mtime INTEGER NOT NULL DEFAULT -1,"
    " hash INTEGER NOT NULL DEFAULT 0,"
    " kind INTEGER NOT NULL DEFAULT 0,"
    " format INTEGER NOT NULL DEFAULT -1,"
    " title TEXT NOT NULL DEFAULT '')",
    "CREATE INDEX files_path_nocase ON files(path COLLATE NOCASE)",
    "CREATE INDEX files_kind ON files(kind) WHERE kind <> 0",
    "CREATE TABLE links("
    " page INTEGER NOT NULL,"
    " target INTEGER NOT NULL,"
    " element TEXT NOT NULL,"
    " PRIMARY KEY(page, target, element)) WITHOUT ROWID",
    "CREATE TABLE profiles("
    " id INTEGER PRIMARY KEY,"
    " name TEXT NOT NULL UNIQUE,"
    " url TEXT NOT NULL DEFAULT '',"
    " top_file TEXT NOT NULL DEFAULT '',"
    " title TEXT NOT NULL DEFAULT '',"
    " description TEXT NOT NULL DEFAULT '')",
    "CREATE TABLE rss_info("
    " file INTEGER PRIMARY KEY,"
    " title TEXT NOT NULL,"
    " description TEXT NOT NULL,"
    " pub_time INTEGER NOT NULL,"
    " flags INTEGER NOT NULL)",
    "CREATE TABLE start_folders(kind INTEGER PRIMARY KEY, folder TEXT NOT NULL)",
};

void removeDatabaseFiles(const std::string& path) {
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::filesystem::remove(path + suffix, ec);
    }
}

}  // namespace

std::string SiteDatabase::databasePath(const std::string& folder) {
    return (std::filesystem::path(folder) / kDatabaseFile).string();
}

std::unique_ptr<SiteDatabase> SiteDatabase::open(const std::string& folder, OpenMode mode,
                                                 std::string& error) {
    const std::string path = databasePath(folder);
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        error = "site database " + path + " is not a file";
        return nullptr;
    }
    if (!std::filesystem::exists(status) && mode == OpenMode::Existing) {
        error = "no site database " + path + " (newsdesk site rebuild makes it)";
        return nullptr;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        sqlite3* raw = nullptr;
        int rc = sqlite3_open_v2(path.c_str(), &raw,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                 nullptr);
        if (rc != SQLITE_OK) {
            error = "cannot open site database " + path + ": " +
                    (raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
            sqlite3_close(raw);
            return nullptr;
        }
        std::unique_ptr<SiteDatabase> db(new SiteDatabase(raw));
        std::string reason;
        Refusal refusal = db->prepareSchema(reason);
        if (refusal == Refusal::None) {
            return db;
        }
        db.reset();
        // Only a file that is not ours, or is ours from a newer schema, is
        // replaced, and only when asked to; other failures (a read-only
        // folder, a full disk) leave the file alone.
        bool replaceable = refusal == Refusal::NotOurs || refusal == Refusal::Newer;
        if (mode != OpenMode::Recreate || !replaceable || attempt > 0) {
            error = "site database " + path + " " + reason;
            if (replaceable) {
                error += " (newsdesk site rebuild --force replaces it)";
            }
            return nullptr;
        }
        removeDatabaseFiles(path);
    }
    return nullptr;
}

SiteDatabase::SiteDatabase(sqlite3* db) : m_db(db) {
    sqlite3_busy_timeout(m_db, 5000);
    sqlite3_extended_result_codes(m_db, 1);
}

SiteDatabase::~SiteDatabase() {
    m_statements.clear();
    sqlite3_close(m_db);
}

bool SiteDatabase::exec(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        m_error = message ? message : sqlite3_errmsg(m_db);
        sqlite3_free(message);
        return false;
    }
    return true;
}

SiteDatabase::Refusal SiteDatabase::prepareSchema(std::string& error) {
    // The first read of the header tells a database from any other file.
    sqlite3_stmt* probe = nullptr;
    int rc = sqlite3_prepare_v2(m_db, "PRAGMA application_id", -1, &probe, nullptr);
    std::int64_t appId = 0;
    if (rc == SQLITE_OK && (rc = sqlite3_step(probe)) == SQLITE_ROW) {
        appId = sqlite3_column_int64(probe, 0);
    }
    sqlite3_finalize(probe);
    if ((rc & 0xff) == SQLITE_NOTADB || (rc & 0xff) == SQLITE_CORRUPT) {
        error = "is not a site database";
        return Refusal::NotOurs;
    }
    if (rc != SQLITE_ROW && rc != SQLITE_DONE && rc != SQLITE_OK) {
        error = std::string("cannot be read: ") + sqlite3_errmsg(m_db);
        return Refusal::Failure;
    }
    std::int64_t version = 0;
    std::int64_t tables = 0;
    {
        Statement v(m_db, "PRAGMA user_version");
        if (v.step() == SQLITE_ROW) {
            version = v.integer(0);
        }
        Statement t(m_db, "SELECT count(*) FROM sqlite_schema");
        if (t.step() == SQLITE_ROW) {
            tables = t.integer(0);
        }
    }
    if (appId != kApplicationId && (appId != 0 || tables != 0)) {
        error = "is not a site database (another program's SQLite file)";
        return Refusal::NotOurs;
    }
    if (version > kSchemaVersion) {
        error = "has schema " + std::to_string(version) + ", newer than this newsdesk reads (" +
                std::to_string(kSchemaVersion) + ")";
        return Refusal::Newer;
    }
    // WAL: readers never see a half-written change, and a killed writer's
    // transaction is simply not there when the file is opened next.
    {
        Statement wal(m_db, "PRAGMA journal_mode=WAL");
        if (wal.step() != SQLITE_ROW || wal.text(0) != "wal") {
            error = std::string("cannot be opened for writing: ") + sqlite3_errmsg(m_db);
            return Refusal::Failure;
        }
    }
    // A first scan writes many pages: a larger page cache keeps them from
    // spilling to the log in the middle of a batch, and fewer checkpoints
    // copy the log into the file fewer times.
    if (!exec("PRAGMA synchronous=NORMAL") || !exec("PRAGMA cache_size=-32768") ||
        !exec("PRAGMA wal_autocheckpoint=4096")) {
        error = "cannot be used: " + m_error;
        return Refusal::Failure;
    }
    if (version == kSchemaVersion) {
        if (!makeTargetIndex()) {
            error = "cannot be written: " + m_error;
            return Refusal::Failure;
        }
        return Refusal::None;
    }
    bool made = transaction([&] {
        for (const char* sql : kSchema) {
            if (!exec(sql)) {
                return false;
            }
        }
        return makeTargetIndex() &&
               exec(("PRAGMA application_id=" + std::to_string(kApplicationId)).c_str()) &&
               exec(("PRAGMA user_version=" + std::to_string(kSchemaVersion)).c_str());
    });
    if (!made) {
        error = "cannot be written: " + m_error;
    }
    return made ? Refusal::None : Refusal::Failure;
}

bool SiteDatabase::transaction(const std::function<bool()>& body) {
    if (m_depth > 0) {
        ++m_depth;
        bool ok = body();
        --m_depth;
        if (!ok) {
            m_rollback = true;
        }
        return ok;
    }
    if (!exec("BEGIN IMMEDIATE")) {
        return false;
    }
    m_depth = 1;
    m_rollback = false;
    bool ok = body() && !m_rollback;
    m_depth = 0;
    if (ok && exec("COMMIT")) {
        return true;
    }
    std::string why = m_error;
    exec("ROLLBACK");
    m_error = why;
    return false;
}

// Statements are found by the address of their text: every caller passes a
// literal or a static string.
Statement& SiteDatabase::statement(const char* sql) {
    for (auto& [text, stmt] : m_statements) {
        if (text == sql) {
            return stmt->reset();
        }
    }
    m_statements.emplace_back(sql, std::make_unique<Statement>(m_db, sql));
    return m_statements.back().second->reset();
}

bool SiteDatabase::fail(const char* what) {
    m_error = std::string(what) + ": " + sqlite3_errmsg(m_db);
    return false;
}

namespace {

constexpr const char* kFileColumns =
    "SELECT id, path, present, size, mtime, hash, kind, format, title FROM files ";

FileRow readFile(const Statement& s) {
    FileRow row;
    row.id = s.integer(0);
    row.path = s.text(1);
    row.present = s.integer(2) != 0;
    row.size = s.integer(3);
    row.mtime = s.integer(4);
    row.hash = static_cast<std::uint64_t>(s.integer(5));
    row.kind = static_cast<FileKind>(s.integer(6));
    row.format = static_cast<int>(s.integer(7));
    row.title = s.text(8);
    return row;
}

}  // namespace

std::vector<FileRow> SiteDatabase::allFiles() {
    static const std::string sql = std::string(kFileColumns) + "ORDER BY id";
    auto& s = statement(sql.c_str());
    std::vector<FileRow> rows;
    while (s.step() == SQLITE_ROW) {
        rows.push_back(readFile(s));
    }
    s.reset();
    return rows;
}

std::optional<FileRow> SiteDatabase::fileById(std::int64_t id) {
    static const std::string sql = std::string(kFileColumns) + "WHERE id = ?";
    auto& s = statement(sql.c_str()).bind(id);
    std::optional<FileRow> row;
    if (s.step() == SQLITE_ROW) {
        row = readFile(s);
    }
    s.reset();
    return row;
}

std::optional<FileRow> SiteDatabase::fileByPath(std::string_view path) {
    static const std::string exact = std::string(kFileColumns) + "WHERE path = ?";
    static const std::string folded =
        std::string(kFileColumns) + "WHERE path = ? COLLATE NOCASE ORDER BY present DESC, id";
    for (const std::string* sql : {&exact, &folded}) {
        auto& s = statement(sql->c_str()).bind(path);
        std::optional<FileRow> row;
        if (s.step() == SQLITE_ROW) {
            row = readFile(s);
        }
        s.reset();
        if (row) {
            return row;
        }
    }
    return std::nullopt;
}

std::int64_t SiteDatabase::fileId(std::string_view path) {
    auto& find = statement("SELECT id FROM files WHERE path = ?").bind(path);
    std::int64_t id = -1;
    if (find.step() == SQLITE_ROW) {
        id = find.integer(0);
    }
    find.reset();
    if (id >= 0) {
        return id;
    }
    if (!statement("INSERT INTO files(path) VALUES(?)").bind(path).run()) {
        fail("cannot add a file");
        return -1;
    }
    return sqlite3_last_insert_rowid(m_db);
}

bool SiteDatabase::storeFile(const FileRow& row) {
    auto& s = statement(
        "UPDATE files SET present = ?, size = ?, mtime = ?, hash = ?, kind = ?, format = ?, "
        "title = ? WHERE id = ?");
    s.bind(row.present ? 1 : 0)
        .bind(row.size)
        .bind(row.mtime)
        .bind(static_cast<std::int64_t>(row.hash))
        .bind(static_cast<std::int64_t>(row.kind))
        .bind(static_cast<std::int64_t>(row.format))
        .bind(row.title)
        .bind(row.id);
    return s.run() || fail("cannot store a file");
}

bool SiteDatabase::markGone(std::int64_t id) {
    return transaction([&] {
        return (statement("UPDATE files SET present = 0, size = -1, mtime = -1, hash = 0, "
                          "kind = 0, format = -1, title = '' WHERE id = ?")
                    .bind(id)
                    .run() &&
                statement("DELETE FROM links WHERE page = ?").bind(id).run()) ||
               fail("cannot mark a file gone");
    });
}

std::vector<FileRow> SiteDatabase::feeds() {
    static const std::string sql =
        std::string(kFileColumns) + "WHERE kind = 2 AND present = 1 ORDER BY path";
    auto& s = statement(sql.c_str());
    std::vector<FileRow> rows;
    while (s.step() == SQLITE_ROW) {
        rows.push_back(readFile(s));
    }
    s.reset();
    return rows;
}

bool SiteDatabase::replaceLinks(std::int64_t pageId,
                                const std::vector<std::pair<std::int64_t, std::string>>& targets) {
    // Rows go in sixteen to a statement: a page's links are many small rows.
    constexpr size_t kRows = 16;
    static const std::string many = [] {
        std::string sql = "INSERT OR IGNORE INTO links(page, target, element) VALUES (?, ?, ?)";
        for (size_t i = 1; i < kRows; ++i) {
            sql += ", (?, ?, ?)";
        }
        return sql;
    }();
    return transaction([&] {
        if (!statement("DELETE FROM links WHERE page = ?").bind(pageId).run()) {
            return fail("cannot replace links");
        }
        size_t i = 0;
        for (; i + kRows <= targets.size(); i += kRows) {
            auto& s = statement(many.c_str());
            for (size_t k = i; k < i + kRows; ++k) {
                s.bind(pageId).bind(targets[k].first).bind(targets[k].second);
            }
            if (!s.run()) {
                return fail("cannot store a link");
            }
        }
        for (; i < targets.size(); ++i) {
            if (!statement("INSERT OR IGNORE INTO links(page, target, element) VALUES(?, ?, ?)")
                     .bind(pageId)
                     .bind(targets[i].first)
                     .bind(targets[i].second)
                     .run()) {
                return fail("cannot store a link");
            }
        }
        return true;
    });
}

std::vector<BackLink> SiteDatabase::backLinks(std::int64_t targetId) {
    auto& s = statement(
        "SELECT l.page, f.path, l.element FROM links l JOIN files f ON f.id = l.page "
        "WHERE l.target = ? AND f.present = 1 ORDER BY f.path, l.element");
    s.bind(targetId);
    std::vector<BackLink> links;
    while (s.step() == SQLITE_ROW) {
        links.push_back({s.integer(0), s.text(1), s.text(2)});
    }
    s.reset();
    return links;
}

std::vector<Link> SiteDatabase::linksFrom(std::int64_t pageId) {
    auto& s = statement(
        "SELECT f.path, l.element FROM links l JOIN files f ON f.id = l.target "
        "WHERE l.page = ? ORDER BY f.path, l.element");
    s.bind(pageId);
    std::vector<Link> links;
    while (s.step() == SQLITE_ROW) {
        links.push_back({s.text(0), s.text(1)});
    }
    s.reset();
    return links;
}

std::vector<std::pair<std::string, std::string>> SiteDatabase::missingTargets() {
    auto& s = statement(
        "SELECT DISTINCT p.path, t.path FROM links l JOIN files p ON p.id = l.page "
        "JOIN files t ON t.id = l.target WHERE p.present = 1 AND t.present = 0 "
        "ORDER BY p.path, t.path");
    std::vector<std::pair<std::string, std::string>> missing;
    while (s.step() == SQLITE_ROW) {
        missing.emplace_back(s.text(0), s.text(1));
    }
    s.reset();
    return missing;
}

std::int64_t SiteDatabase::linkCount() {
    auto& s = statement("SELECT count(*) FROM links");
    std::int64_t n = s.step() == SQLITE_ROW ? s.integer(0) : -1;
    s.reset();
    return n;
}

bool SiteDatabase::dropTargetIndex() {
    return exec("DROP INDEX IF EXISTS links_target");
}

bool SiteDatabase::makeTargetIndex() {
    return exec("CREATE INDEX IF NOT EXISTS links_target ON links(target)");
}

}  // namespace lum::site
