#pragma once
// The one owner of a SQLite connection handle: whoever holds a sqlite3* holds it in this.
#include <sqlite3.h>

#include <utility>

namespace db {

// Closes its connection when it goes, with sqlite3_close_v2: a statement still unfinalized then
// keeps the connection until that statement is finalized, and never leaves it open for good.
class SqliteConnection {
 public:
  SqliteConnection() = default;
  SqliteConnection(SqliteConnection&& other) noexcept : db_(std::exchange(other.db_, nullptr)) {}
  SqliteConnection& operator=(SqliteConnection&& other) noexcept {
    if (this != &other) {
      close();
      db_ = std::exchange(other.db_, nullptr);
    }
    return *this;
  }
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;
  ~SqliteConnection() { close(); }

  // sqlite3_open_v2, after closing what this held: SQLite's result. A failed open may still
  // leave a handle here, whose message says why. The flags default to sqlite3_open's.
  int open(const char* utf8_path, int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) {
    close();
    return sqlite3_open_v2(utf8_path, &db_, flags, nullptr);
  }
  // Closes at once, where a file must be let go at that point: SQLite's result.
  int close() noexcept { return sqlite3_close_v2(std::exchange(db_, nullptr)); }

  sqlite3* get() const noexcept { return db_; }
  explicit operator bool() const noexcept { return db_ != nullptr; }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace db
