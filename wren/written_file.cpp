#include "wren/written_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <functional>

#include "runtime/files.h"

namespace wren {
namespace {

QString errno_text(int e) { return QString::fromLocal8Bit(std::strerror(e)); }

bool failed(QString* reason, const QString& why) {
  if (reason) *reason = why;
  return false;
}

// The whole buffer, however the system splits the write.
bool write_all(int fd, const QByteArray& bytes) {
  const char* p = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, std::size_t(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    left -= n;
  }
  return true;
}

}  // namespace

bool is_symbolic_link(const QString& path) {
  struct stat st;
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

namespace {

// Fills a new file, open as `fd`; false, with errno set, when it cannot.
using Filler = std::function<bool(int fd)>;

// Writes a new file beside `path` and renames it over `path` (see replace_file).
bool replace_with(const QString& path, const Filler& fill, QString* reason) {
  const QByteArray target = QFile::encodeName(path);
  struct stat st;
  const bool exists = ::lstat(target.constData(), &st) == 0;
  // Before anything that would follow a link.
  if (exists && S_ISLNK(st.st_mode)) return failed(reason, QStringLiteral("该路径是一个符号链接"));
  if (exists && S_ISDIR(st.st_mode)) return failed(reason, QStringLiteral("同名的文件夹已存在"));
  if (exists && !S_ISREG(st.st_mode)) return failed(reason, QStringLiteral("该路径不是普通文件"));
  // Renaming would replace a read-only file; it must stay as it is.
  if (exists && rt::is_read_only(path)) return failed(reason, QStringLiteral("文件是只读的"));
  const QFileInfo info(path);
  if (!info.absoluteDir().exists()) return failed(reason, QStringLiteral("文件夹不存在"));

  // A short name of our own in the target's folder, not one made from the target's name: any
  // name the file system takes can then be written. Created here and now (O_EXCL), never
  // through a link; a name that is taken is left alone and the next one tried.
  const QByteArray folder = QFile::encodeName(info.absolutePath());
  const QByteArray stem = folder + "/.wren-" + QByteArray::number(qint64(::getpid())) + "-";
  QByteArray temp;
  int fd = -1;
  for (int i = 0; fd < 0 && i < 100; ++i) {
    temp = stem + QByteArray::number(i);
    fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return failed(reason, errno_text(errno));
  bool ok = fill(fd) && (!exists || ::fchmod(fd, st.st_mode & 07777) == 0) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  // rename() replaces whatever is at the target, a link too, and never writes through it.
  if (ok && ::rename(temp.constData(), target.constData()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(temp.constData());
    return failed(reason, errno_text(error));
  }
  return true;
}

}  // namespace

bool replace_file(const QString& path, const QByteArray& bytes, QString* reason) {
  return replace_with(
      path, [&](int fd) { return write_all(fd, bytes); }, reason);
}

bool copy_over(const QString& from, const QString& to, QString* reason) {
  const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (in < 0) return failed(reason, errno_text(errno));
  struct stat source, target;
  bool ok = ::fstat(in, &source) == 0;
  QString why = ok ? QString() : errno_text(errno);
  if (ok && !S_ISREG(source.st_mode)) {
    ok = false;
    why = QStringLiteral("it is not a regular file");
  }
  // Renaming a copy over its own source would be no copy at all.
  if (ok && ::stat(QFile::encodeName(to).constData(), &target) == 0 &&
      target.st_dev == source.st_dev && target.st_ino == source.st_ino) {
    ok = false;
    why = QStringLiteral("it is the same file");
  }
  if (ok) {
    ok = replace_with(
        to,
        [&](int fd) {
          char buf[1 << 16];
          for (;;) {
            const ssize_t n = ::read(in, buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return false;
            if (n == 0) return true;
            if (!write_all(fd, QByteArray::fromRawData(buf, qsizetype(n)))) return false;
          }
        },
        &why);
  }
  ::close(in);
  return ok || failed(reason, why);
}

bool allocate_file(const QString& path, qint64 bytes, QString* reason) {
  const int fd = ::open(QFile::encodeName(path).constData(),
                        O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0)
    return failed(reason,
                  errno == ELOOP ? QStringLiteral("it is a symbolic link") : errno_text(errno));
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0;
  QString why = ok ? QString() : errno_text(errno);
  if (ok && !S_ISREG(st.st_mode)) {
    ok = false;
    why = QStringLiteral("it is not a regular file");
  }
  if (ok && ::ftruncate(fd, off_t(bytes)) != 0) {
    ok = false;
    why = errno_text(errno);
  }
  ::close(fd);
  return ok || failed(reason, why);
}

}  // namespace wren
