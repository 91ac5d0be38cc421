#include "runtime/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

namespace rt {

FolderLock::FolderLock(const QString& folder) {
  // The folder itself is locked, so no lock file is left behind. Not inherited by programs
  // this one starts (a restart must be able to take the lock).
  fd_ = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
  // Only a lock held elsewhere refuses; a file system without locks lets the run go on.
  busy_ = errno == EWOULDBLOCK;
  ::close(fd_);
  fd_ = -1;
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace rt
