#include "wren/written_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

#include "runtime/whole_file.h"

namespace wren {
namespace {

// The capture window's status line speaks English, with the system's own text for an error.
QString system_text(int e) { return QString::fromLocal8Bit(std::strerror(e)); }

bool failed(QString* reason, const QString& why) {
  if (reason) *reason = why;
  return false;
}

// A link at the path is refused; one that appears there meanwhile is replaced by the rename,
// never written through.
rt::WholeFileOptions not_through_links() {
  rt::WholeFileOptions o;
  o.follow_link = false;
  return o;
}

}  // namespace

bool is_symbolic_link(const QString& path) {
  struct stat st;
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool replace_file(const QString& path, const QByteArray& bytes, QString* reason) {
  return rt::write_whole_file(path, bytes, not_through_links(), reason);
}

bool copy_over(const QString& from, const QString& to, QString* reason) {
  return rt::copy_whole_file(from, to, not_through_links(), reason);
}

bool allocate_file(const QString& path, qint64 bytes, QString* reason) {
  const int fd = ::open(QFile::encodeName(path).constData(),
                        O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0)
    return failed(reason,
                  errno == ELOOP ? QStringLiteral("it is a symbolic link") : system_text(errno));
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0;
  QString why = ok ? QString() : system_text(errno);
  if (ok && !S_ISREG(st.st_mode)) {
    ok = false;
    why = QStringLiteral("it is not a regular file");
  }
  if (ok && ::ftruncate(fd, off_t(bytes)) != 0) {
    ok = false;
    why = system_text(errno);
  }
  ::close(fd);
  return ok || failed(reason, why);
}

}  // namespace wren
