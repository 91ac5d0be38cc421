#include "runtime/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>

namespace rt {
namespace {

bool nothing_at(const QByteArray& path) {
  struct stat st;
  return ::lstat(path.constData(), &st) != 0 && errno == ENOENT;
}

}  // namespace

RegularFile read_regular_file(const QString& path, qint64 limit) {
  const QByteArray name = QFile::encodeName(path);
  RegularFile found;
  found.kind = RegularFile::other;
  // Looked at before it is opened: opening a device may do something of its own.
  struct stat before;
  if (::stat(name.constData(), &before) != 0) {
    if (nothing_at(name)) found.kind = RegularFile::missing;
    return found;
  }
  if (!S_ISREG(before.st_mode) || before.st_size > limit) return found;
  // Non-blocking, in case a FIFO has taken the file's place meanwhile.
  const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return found;
  // The file open may have grown since it was looked at: its own size is checked again, and
  // no more than the bound + 1 is read, which tells a file past the bound from one at it.
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_dev != before.st_dev ||
      st.st_ino != before.st_ino || st.st_size > limit) {
    ::close(fd);
    return found;
  }
  QByteArray data;
  data.reserve(qsizetype(st.st_size));
  bool sound = true;
  char buf[1 << 16];
  for (;;) {
    const qint64 room = limit + 1 - data.size();
    const ssize_t n = ::read(fd, buf, size_t(std::min<qint64>(qint64(sizeof buf), room)));
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) break;
    if (n < 0 || data.size() + n > limit) {
      sound = false;
      break;
    }
    data.append(buf, qsizetype(n));
  }
  ::close(fd);
  if (!sound) return found;
  found.kind = RegularFile::file;
  found.data = std::move(data);
  found.device = st.st_dev;
  found.inode = st.st_ino;
  return found;
}

bool still_there(const QString& path, const RegularFile& found) {
  const QByteArray name = QFile::encodeName(path);
  switch (found.kind) {
    case RegularFile::missing:
      return nothing_at(name);
    case RegularFile::file: {
      struct stat st;
      return ::stat(name.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
             st.st_dev == found.device && st.st_ino == found.inode;
    }
    case RegularFile::other:
      break;
  }
  return false;
}

}  // namespace rt
