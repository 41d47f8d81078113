// The site database's prepared statements, shared by the files that answer
// its queries.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace lum::site {

// A prepared statement kept for the life of the connection.
class Statement {
  public:
    Statement(sqlite3* db, const char* sql) {
        sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr);
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return m_stmt != nullptr; }
    Statement& reset() {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
        m_next = 1;
        return *this;
    }
    Statement& bind(std::int64_t v) {
        sqlite3_bind_int64(m_stmt, m_next++, v);
        return *this;
    }
    Statement& bind(std::string_view v) {
        sqlite3_bind_text(m_stmt, m_next++, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step() { return sqlite3_step(m_stmt); }
    bool run() {
        int rc = step();
        sqlite3_reset(m_stmt);
        return rc == SQLITE_DONE || rc == SQLITE_ROW;
    }
    std::int64_t integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
    std::string text(int column) const {
        auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(m_stmt, column)))
                 : std::string();
    }

  private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_next = 1;
};

}  // namespace lum::site
