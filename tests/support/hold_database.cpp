// A child process for tests: opens a SQLite database, runs the statements given after its path,
// prints "ready" and holds the file open until its standard input closes.
#include <sqlite3.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
    sqlite3_close(db);
    return 1;
  }
  for (int i = 2; i < argc; ++i) {
    if (sqlite3_exec(db, argv[i], nullptr, nullptr, nullptr) != SQLITE_OK) {
      std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
      sqlite3_close(db);
      return 1;
    }
  }
  std::puts("ready");
  std::fflush(stdout);
  while (std::getchar() != EOF) {
  }
  sqlite3_close(db);
  return 0;
}
