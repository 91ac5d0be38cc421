#include "tests/support/fs_faults.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstdio>

namespace {

test::RenameFault::Fault rename_fault;
QByteArray grow_path;
off_t grow_size = 0;
bool grow_done = false;

template <typename F>
F next(const char* name) {
  return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int renameat2(int olddirfd, const char* oldpath, int newdirfd, const char* newpath,
                         unsigned int flags) noexcept {
  if (rename_fault) {
    if (const int e = rename_fault(QFile::decodeName(oldpath), QFile::decodeName(newpath))) {
      errno = e;
      return -1;
    }
  }
  static const auto real = next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
  return real(olddirfd, oldpath, newdirfd, newpath, flags);
}

extern "C" int stat(const char* __restrict path, struct stat* __restrict buf) noexcept {
  static const auto real = next<int (*)(const char*, struct stat*)>("stat");
  const int r = real(path, buf);
  if (!grow_done && !grow_path.isEmpty() && grow_path == path) {
    grow_done = true;
    const int saved = errno;
    if (::truncate(path, grow_size) != 0) std::perror("growing the file");
    errno = saved;
  }
  return r;
}

namespace test {

RenameFault::RenameFault(Fault fault) { rename_fault = std::move(fault); }
RenameFault::~RenameFault() { rename_fault = nullptr; }

GrowAfterStat::GrowAfterStat(const QString& path, off_t size) {
  grow_path = QFile::encodeName(path);
  grow_size = size;
  grow_done = false;
}
GrowAfterStat::~GrowAfterStat() { grow_path.clear(); }
bool GrowAfterStat::grown() const { return grow_done; }

}  // namespace test
