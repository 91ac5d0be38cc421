#include "runtime/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>

#include "runtime/errno_text.h"
#include "runtime/files.h"

namespace rt {
namespace {

bool failed(QString* reason, const QString& why) {
  if (reason) *reason = why;
  return false;
}

// The file that a link at `path` leads to, as far as links go; a dangling link names the file
// to make. Empty when the links go round.
QString link_end(const QString& path) {
  QFileInfo info(path);
  for (int depth = 0; info.isSymLink(); ++depth) {
    if (depth == 40) return {};
    info.setFile(info.symLinkTarget());
  }
  return info.filePath();
}

// The new file, unnamed while it is filled where the file system allows (a process killed
// meanwhile leaves nothing behind), named just before the rename.
class NewFile {
 public:
  explicit NewFile(const QString& folder) : folder_(QFile::encodeName(folder)) {}
  ~NewFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!name_.isEmpty()) ::unlink(name_.constData());
  }

  bool open(QString* reason) {
    fd_ = ::open(folder_.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ >= 0) return true;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
      return failed(reason, errno_text(errno));
    return take_name(
        [&](const QByteArray& name) {
          fd_ =
              ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
          return fd_ >= 0;
        },
        reason);
  }

  int fd() const { return fd_; }

  bool name(QString* reason) {
    if (!name_.isEmpty()) return true;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
    return take_name(
        [&](const QByteArray& name) {
          return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(),
                          AT_SYMLINK_FOLLOW) == 0;
        },
        reason);
  }

  bool close(QString* reason) {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 || failed(reason, errno_text(errno));
  }

  bool rename_to(const QByteArray& target, QString* reason) {
    if (::rename(name_.constData(), target.constData()) != 0)
      return failed(reason, errno_text(errno));
    name_.clear();
    // The rename itself lasts only once the folder is synced; a file system that cannot sync a
    // folder has the new file in place all the same.
    if (const int dir = ::open(folder_.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
    return true;
  }

 private:
  // A short name of our own, never one made from the target's, so that any name the file
  // system takes can be written; made here and now, a name already taken left alone.
  bool take_name(const std::function<bool(const QByteArray&)>& make, QString* reason) {
    const QByteArray stem = folder_ + "/.salon-" + QByteArray::number(qint64(::getpid())) + "-";
    for (int i = 0; i < 100; ++i) {
      const QByteArray name = stem + QByteArray::number(i);
      if (make(name)) {
        name_ = name;
        return true;
      }
      if (errno != EEXIST) break;
    }
    return failed(reason, errno_text(errno));
  }

  QByteArray folder_;
  QByteArray name_;
  int fd_ = -1;
};

}  // namespace

bool WholeFileSink::write(const char* bytes, qint64 size) {
  while (reason_.isEmpty() && size > 0) {
    const ssize_t n = ::write(fd_, bytes, size_t(std::min<qint64>(size, qint64(1) << 30)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail(errno_text(errno));
    // No errno tells why; the one standing would be some earlier call's.
    if (n == 0) return fail(QStringLiteral("系统没有写入任何数据"));
    bytes += n;
    size -= n;
  }
  return reason_.isEmpty();
}

bool WholeFileSink::fail(const QString& reason) {
  if (reason_.isEmpty()) reason_ = reason;
  return false;
}

bool write_whole_file(const QString& path, const std::function<bool(WholeFileSink&)>& fill,
                      const WholeFileOptions& options, QString* reason) {
  QString target = path;
  struct stat st;
  bool exists = ::lstat(QFile::encodeName(target).constData(), &st) == 0;
  // Before anything that would follow a link.
  if (exists && S_ISLNK(st.st_mode)) {
    if (!options.follow_link) return failed(reason, QStringLiteral("该路径是一个符号链接"));
    target = link_end(path);
    if (target.isEmpty()) return failed(reason, QStringLiteral("符号链接层次太多"));
    exists = ::lstat(QFile::encodeName(target).constData(), &st) == 0;
  }
  if (!exists && errno != ENOENT) return failed(reason, errno_text(errno));
  if (exists && S_ISDIR(st.st_mode)) return failed(reason, QStringLiteral("同名的文件夹已存在"));
  if (exists && !S_ISREG(st.st_mode)) return failed(reason, QStringLiteral("该路径不是普通文件"));
  // Renaming would replace a read-only file; it must stay as it is.
  if (exists && is_read_only(target)) return failed(reason, QStringLiteral("文件是只读的"));
  const QFileInfo info(target);
  if (!info.absoluteDir().exists()) return failed(reason, QStringLiteral("文件夹不存在"));

  NewFile file(info.absolutePath());
  if (!file.open(reason)) return false;
  WholeFileSink sink(file.fd());
  if (!fill(sink))
    return failed(reason, sink.reason().isEmpty() ? QStringLiteral("写入文件失败") : sink.reason());
  if (exists && ::fchmod(file.fd(), st.st_mode & 07777) != 0)
    return failed(reason, errno_text(errno));
  // A write the system had only buffered can still fail here, the disk being full.
  if (::fsync(file.fd()) != 0) return failed(reason, errno_text(errno));
  if (!file.name(reason) || !file.close(reason)) return false;
  if (options.still_wanted && !options.still_wanted())
    return failed(reason, QStringLiteral("文件已被其他程序替换"));
  return file.rename_to(QFile::encodeName(target), reason);
}

bool write_whole_file(const QString& path, const QByteArray& bytes, const WholeFileOptions& options,
                      QString* reason) {
  return write_whole_file(
      path, [&](WholeFileSink& sink) { return sink.write(bytes); }, options, reason);
}

bool copy_whole_file(const QString& from, const QString& to, const WholeFileOptions& options,
                     QString* reason) {
  // Not waiting for a writer, should the source be a FIFO.
  const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (in < 0) return failed(reason, errno_text(errno));
  struct stat source, target;
  QString why;
  if (::fstat(in, &source) != 0)
    why = errno_text(errno);
  else if (!S_ISREG(source.st_mode))
    why = QStringLiteral("源文件不是普通文件");
  // Renaming a copy over its own source would be no copy at all.
  else if (::stat(QFile::encodeName(to).constData(), &target) == 0 &&
           target.st_dev == source.st_dev && target.st_ino == source.st_ino)
    why = QStringLiteral("源文件和目标文件是同一个文件");
  const bool ok = why.isEmpty() && write_whole_file(
                                       to,
                                       [&](WholeFileSink& sink) {
                                         char buf[1 << 16];
                                         for (;;) {
                                           const ssize_t n = ::read(in, buf, sizeof buf);
                                           if (n < 0 && errno == EINTR) continue;
                                           if (n < 0) return sink.fail(errno_text(errno));
                                           if (n == 0) return true;
                                           if (!sink.write(buf, n)) return false;
                                         }
                                       },
                                       options, &why);
  ::close(in);
  return ok || failed(reason, why);
}

}  // namespace rt
