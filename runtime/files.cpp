#include "runtime/files.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/whole_file.h"

namespace rt {

bool same_file(const QString& a, const QString& b) {
  struct stat sa, sb;
  if (::stat(QFile::encodeName(a).constData(), &sa) != 0) return false;
  if (::stat(QFile::encodeName(b).constData(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool same_contents(const QString& a, const QString& b) {
  if (!QFileInfo(a).isFile() || !QFileInfo(b).isFile()) return false;
  QFile fa(a), fb(b);
  if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly)) return false;
  if (fa.size() != fb.size()) return false;
  char ba[1 << 16], bb[1 << 16];
  for (;;) {
    const qint64 na = fa.read(ba, sizeof ba), nb = fb.read(bb, sizeof bb);
    if (na < 0 || na != nb) return false;
    if (na == 0) return true;
    if (std::memcmp(ba, bb, size_t(na)) != 0) return false;
  }
}

namespace {

// The names in a folder, without "." and "..".
std::vector<std::string> entries(const std::string& folder) {
  std::vector<std::string> out;
  if (DIR* d = ::opendir(folder.c_str())) {
    while (const dirent* e = ::readdir(d))
      if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
        out.emplace_back(e->d_name);
    ::closedir(d);
  }
  return out;
}

}  // namespace

bool open_by_another_process(const QString& path) {
  struct stat target;
  if (::stat(QFile::encodeName(path).constData(), &target) != 0) return false;
  const std::string self = std::to_string(::getpid());
  // Each entry of /proc/<pid>/fd leads to a file the process holds; processes of other users
  // are not readable and count as not holding it.
  for (const std::string& pid : entries("/proc")) {
    if (pid == self || !std::isdigit(static_cast<unsigned char>(pid[0]))) continue;
    const std::string fds = "/proc/" + pid + "/fd/";
    for (const std::string& fd : entries(fds)) {
      struct stat held;
      if (::stat((fds + fd).c_str(), &held) == 0 && held.st_dev == target.st_dev &&
          held.st_ino == target.st_ino)
        return true;
    }
  }
  return false;
}

bool is_read_only(const QString& path) {
  QFileInfo info(path);
  return info.exists() && !(info.permissions() & QFileDevice::WriteOwner);
}

bool file_exists(const QString& path) { return QFileInfo(path).isFile(); }

bool copy_file(const QString& from, const QString& to) {
  return copy_whole_file(from, to, {}, nullptr);
}

bool delete_file(const QString& path) {
  if (!QFileInfo(path).isFile() || is_read_only(path)) return false;
  return QFile::remove(path);
}

bool remove_file(const QString& path) {
  if (!QFileInfo(path).isFile()) return !QFileInfo::exists(path);
  set_file_attributes(path, 0);
  return delete_file(path);
}

unsigned long set_file_attributes(const QString& path, unsigned long attributes) {
  QFileInfo info(path);
  if (!info.exists()) return 0;
  QFileDevice::Permissions p = info.permissions();
  if (attributes & 1u)
    p &= ~(QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup |
           QFileDevice::WriteOther);
  else
    p |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
  return QFile::setPermissions(path, p) ? 1 : 0;
}

QString program_folder() {
  QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
  QString dir = QFileInfo(exe).absolutePath();
  return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

}  // namespace rt
