// A child process for tests: opens a SQLite database, runs the statements given after its path,
// prints "ready" and holds the file open until its standard input closes.
#include <cstdio>

#include "db/sqlite_connection.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  db::SqliteConnection db;
  if (db.open(argv[1], SQLITE_OPEN_READWRITE) != SQLITE_OK) {
    std::fprintf(stderr, "%s\n", sqlite3_errmsg(db.get()));
    return 1;
  }
  for (int i = 2; i < argc; ++i) {
    if (sqlite3_exec(db.get(), argv[i], nullptr, nullptr, nullptr) != SQLITE_OK) {
      std::fprintf(stderr, "%s\n", sqlite3_errmsg(db.get()));
      return 1;
    }
  }
  std::puts("ready");
  std::fflush(stdout);
  while (std::getchar() != EOF) {
  }
  return 0;
}
