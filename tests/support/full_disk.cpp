// A full disk for one folder, loaded with LD_PRELOAD into a test's child process or a real
// program: writes to files in that folder succeed until FULL_DISK_FREE bytes have been written
// (the last one cut short, as a file system cuts it), then fail with ENOSPC, as does fsync of
// a file there once a write there failed.
//
//   FULL_DISK_FOLDER  the folder (absolute, without links); files below it count too
//   FULL_DISK_FREE    the bytes free in it
//   FULL_DISK_ZERO    1: a write that finds no room returns 0, writing nothing, instead of
//                     failing (as some file systems do), and fsync succeeds
//   FULL_DISK_KILL    1: the process ends itself with SIGKILL instead, as if killed in the
//                     middle of the write
//
// Qt's files and the programs' own write through write(); the other calls that write are
// covered all the same.
#include <dlfcn.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::atomic<long long> g_written{0};
std::atomic<bool> g_failed{false};

template <typename F>
F next(const char* name) {
  return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

// Whether `fd` is a file in the folder (a file made unnamed there included).
bool in_folder(int fd) {
  const char* folder = std::getenv("FULL_DISK_FOLDER");
  if (!folder || !*folder) return false;
  char link[64], target[4096];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = ::readlink(link, target, sizeof target - 1);
  if (n <= 0) return false;
  target[n] = '\0';
  const size_t len = std::strlen(folder);
  return std::strncmp(target, folder, len) == 0 && target[len] == '/';
}

// How many of `size` bytes fit; -1 with ENOSPC when none do.
ssize_t room(int fd, size_t size) {
  if (size == 0 || !in_folder(fd)) return ssize_t(size);
  const char* free = std::getenv("FULL_DISK_FREE");
  const long long limit = free ? std::atoll(free) : 0;
  const long long before = g_written.fetch_add(static_cast<long long>(size));
  const long long left = limit - before;
  if (left >= static_cast<long long>(size)) return ssize_t(size);
  if (const char* kill = std::getenv("FULL_DISK_KILL"); kill && std::strcmp(kill, "1") == 0)
    ::raise(SIGKILL);
  g_written.fetch_sub(static_cast<long long>(size) - (left > 0 ? left : 0));
  if (left > 0) return ssize_t(left);
  if (const char* zero = std::getenv("FULL_DISK_ZERO"); zero && std::strcmp(zero, "1") == 0)
    return 0;
  g_failed = true;
  errno = ENOSPC;
  return -1;
}

// Whether the call ends with `fits` rather than going on to write.
bool stops(ssize_t fits, size_t size) { return fits < 0 || (fits == 0 && size > 0); }

size_t total(const iovec* iov, int count) {
  size_t n = 0;
  for (int i = 0; i < count; ++i) n += iov[i].iov_len;
  return n;
}

// The first `fits` bytes of a vector.
int cut(const iovec* iov, int count, size_t fits, iovec* out) {
  int k = 0;
  for (int i = 0; i < count && fits > 0; ++i, ++k) {
    out[k] = iov[i];
    if (out[k].iov_len > fits) out[k].iov_len = fits;
    fits -= out[k].iov_len;
  }
  return k;
}

}  // namespace

extern "C" {

ssize_t write(int fd, const void* buf, size_t size) {
  static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
  const ssize_t fits = room(fd, size);
  return stops(fits, size) ? fits : real(fd, buf, size_t(fits));
}

ssize_t pwrite(int fd, const void* buf, size_t size, off_t at) {
  static const auto real = next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
  const ssize_t fits = room(fd, size);
  return stops(fits, size) ? fits : real(fd, buf, size_t(fits), at);
}

ssize_t pwrite64(int fd, const void* buf, size_t size, off64_t at) {
  static const auto real = next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
  const ssize_t fits = room(fd, size);
  return stops(fits, size) ? fits : real(fd, buf, size_t(fits), at);
}

ssize_t writev(int fd, const iovec* iov, int count) {
  static const auto real = next<ssize_t (*)(int, const iovec*, int)>("writev");
  if (count < 0 || count > IOV_MAX) return real(fd, iov, count);  // refused as it stands
  const size_t size = total(iov, count);
  const ssize_t fits = room(fd, size);
  if (stops(fits, size)) return fits;
  iovec part[IOV_MAX];
  return real(fd, part, cut(iov, count, size_t(fits), part));
}

int fsync(int fd) {
  static const auto real = next<int (*)(int)>("fsync");
  if (g_failed && in_folder(fd)) {
    errno = ENOSPC;
    return -1;
  }
  return real(fd);
}

int fdatasync(int fd) {
  static const auto real = next<int (*)(int)>("fdatasync");
  if (g_failed && in_folder(fd)) {
    errno = ENOSPC;
    return -1;
  }
  return real(fd);
}

}  // extern "C"
