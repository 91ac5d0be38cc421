#pragma once
// Another process holding a folder's lock (rt::FolderLock), as a second program at work in the
// folder would, until release() or the end of this object kills it.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QString>

namespace test {

class FolderHolder {
 public:
  explicit FolderHolder(const QString& folder) {
    const QByteArray path = QFile::encodeName(folder);
    int ready[2];
    if (::pipe(ready) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {  // only system calls from here on
      const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY);
      const char ok = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? '1' : '0';
      (void)!::write(ready[1], &ok, 1);
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char ok = '0';
    locked_ = pid_ > 0 && ::read(ready[0], &ok, 1) == 1 && ok == '1';
    ::close(ready[0]);
  }
  ~FolderHolder() { release(); }
  FolderHolder(const FolderHolder&) = delete;
  FolderHolder& operator=(const FolderHolder&) = delete;

  bool locked() const { return locked_; }
  // Kills the holder; the system drops its lock.
  void release() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  bool locked_ = false;
};

}  // namespace test
