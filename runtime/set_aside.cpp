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

QString aside_name(const AsideFile& f, const QString& name, const QString& suffix) {
  return f.path + suffix + name.mid(f.path.size());
}

// Each existing file with its new name, in the order of renaming.
std::vector<Renamed> renames(const std::vector<AsideFile>& files, const QString& suffix) {
  std::vector<Renamed> out;
  for (const AsideFile& f : files) {
    for (const QString& c : f.companions)
      if (taken(c)) out.push_back({c, aside_name(f, c, suffix)});
    if (taken(f.path)) out.push_back({f.path, f.path + suffix});
  }
  return out;
}

// Every name the group could take, not only those of the files there now: a data file set
// aside under a name whose journal is another set-aside's would have that journal rolled into it.
bool suffix_free(const std::vector<AsideFile>& files, const QString& suffix) {
  for (const AsideFile& f : files) {
    if (taken(f.path + suffix)) return false;
    for (const QString& c : f.companions)
      if (taken(aside_name(f, c, suffix))) return false;
  }
  return true;
}

}  // namespace

QString set_aside(const std::vector<AsideFile>& files, const QString& reason, const QDateTime& when,
                  std::vector<Renamed>* renamed) {
  const QString stamp = QLatin1Char('.') + reason + QLatin1Char('-') +
                        when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
  std::vector<Renamed> standing;
  QString result;
  for (int n = 1; n < 1000; ++n) {
    const QString suffix = n == 1 ? stamp : stamp + QLatin1Char('-') + QString::number(n);
    if (!suffix_free(files, suffix)) continue;
    const auto todo = renames(files, suffix);
    size_t done = 0;
    while (done < todo.size() && rename_no_replace(todo[done].from, todo[done].to)) ++done;
    if (done == todo.size()) {
      standing = todo;
      result = suffix;
      break;
    }
    const bool lost_race = taken(todo[done].to);
    while (done > 0) {
      --done;
      if (!rename_no_replace(todo[done].to, todo[done].from)) standing.push_back(todo[done]);
    }
    // A file left under its new name ends it: under another suffix the group would be split.
    if (!lost_race || !standing.empty()) break;
  }
  if (renamed) *renamed = std::move(standing);
  return result;
}

}  // namespace rt
