#include "runtime/set_aside.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <utility>

namespace rt {

namespace {

// A name is taken by anything there, a dangling link included.
bool taken(const QString& path) {
  struct stat st;
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// A rename that fails on a taken name rather than replace what is there.
bool rename_no_replace(const QString& from, const QString& to) {
  const QByteArray f = QFile::encodeName(from), t = QFile::encodeName(to);
  if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without RENAME_NOREPLACE: a hard link refuses a taken name too.
  if (::link(f.constData(), t.constData()) != 0) return false;
  if (::unlink(f.constData()) == 0) return true;
  ::unlink(t.constData());
  return false;
}

// Each existing file with its new name, in the order of renaming.
std::vector<std::pair<QString, QString>> renames(const std::vector<AsideFile>& files,
                                                 const QString& suffix) {
  std::vector<std::pair<QString, QString>> out;
  for (const AsideFile& f : files) {
    for (const QString& c : f.companions)
      if (taken(c)) out.emplace_back(c, f.path + suffix + c.mid(f.path.size()));
    if (taken(f.path)) out.emplace_back(f.path, f.path + suffix);
  }
  return out;
}

}  // namespace

QString set_aside(const std::vector<AsideFile>& files, const QString& reason,
                  const QDateTime& when) {
  const QString stamp = QLatin1Char('.') + reason + QLatin1Char('-') +
                        when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
  for (int n = 1; n < 1000; ++n) {
    const QString suffix = n == 1 ? stamp : stamp + QLatin1Char('-') + QString::number(n);
    const auto todo = renames(files, suffix);
    bool free = true;
    for (const auto& r : todo) free = free && !taken(r.second);
    if (!free) continue;
    size_t done = 0;
    while (done < todo.size() && rename_no_replace(todo[done].first, todo[done].second)) ++done;
    if (done == todo.size()) return suffix;
    const bool lost_race = taken(todo[done].second);
    while (done > 0) {
      --done;
      rename_no_replace(todo[done].second, todo[done].first);
    }
    if (!lost_race) return {};
  }
  return {};
}

}  // namespace rt
