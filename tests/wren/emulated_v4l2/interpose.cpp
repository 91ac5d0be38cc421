// The C library's entry points that reach a device node, put in front of the library's own when
// this library is preloaded. Calls on emulated nodes go to the emulator; everything else goes
// on unchanged. libv4l2 and libv4lconvert reach the device through syscall(), the program
// through open(), ioctl() and the rest; glibc's 64-bit and checking variants are covered too.
#undef _FORTIFY_SOURCE
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdarg>

#include "emulator.h"
#include "libc.h"

using namespace emulated_v4l2;

namespace {

mode_t mode_arg(int flags, va_list ap) {
  return (flags & (O_CREAT | O_TMPFILE)) ? mode_t(va_arg(ap, int)) : 0;
}

int open_path(const char* entry, const char* path, int flags, mode_t mode) {
  return is_video_node(path) ? open_node(entry, path, flags) : libc().open(path, flags, mode);
}

int openat_path(const char* entry, int dirfd, const char* path, int flags, mode_t mode) {
  return is_video_node(path) ? open_node(entry, path, flags)
                             : libc().openat(dirfd, path, flags, mode);
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  va_list ap;
  va_start(ap, flags);
  const mode_t mode = mode_arg(flags, ap);
  va_end(ap);
  return open_path("open", path, flags, mode);
}

int openat(int dirfd, const char* path, int flags, ...) {
  va_list ap;
  va_start(ap, flags);
  const mode_t mode = mode_arg(flags, ap);
  va_end(ap);
  return openat_path("openat", dirfd, path, flags, mode);
}

int __open_2(const char* path, int flags) { return open_path("__open_2", path, flags, 0); }
int __openat_2(int dirfd, const char* path, int flags) {
  return openat_path("__openat_2", dirfd, path, flags, 0);
}

int close(int fd) { return close_file("close", fd) ? 0 : libc().close(fd); }

int ioctl(int fd, unsigned long request, ...) {
  va_list ap;
  va_start(ap, request);
  void* arg = va_arg(ap, void*);
  va_end(ap);
  if (const Handle h = find_file(fd)) return ioctl_file("ioctl", h, request, arg);
  return libc().ioctl(fd, request, arg);
}

void* mmap(void* addr, size_t length, int prot, int flags, int fd, off_t offset) {
  if (const Handle h = find_file(fd))
    return mmap_file("mmap", h, addr, length, prot, flags, offset);
  return libc().mmap(addr, length, prot, flags, fd, offset);
}

int munmap(void* addr, size_t length) {
  note_munmap(addr, length);
  return libc().munmap(addr, length);
}

ssize_t read(int fd, void* buf, size_t count) {
  if (const Handle h = find_file(fd)) return read_file("read", h);
  return libc().read(fd, buf, count);
}

// On a 64-bit system the 64-bit variants are the same functions under a second name.
int open64(const char* path, int flags, ...) __attribute__((alias("open")));
int openat64(int dirfd, const char* path, int flags, ...) __attribute__((alias("openat")));
int __open64_2(const char* path, int flags) __attribute__((alias("__open_2")));
int __openat64_2(int dirfd, const char* path, int flags) __attribute__((alias("__openat_2")));
void* mmap64(void* addr, size_t length, int prot, int flags, int fd, off_t offset)
    __attribute__((alias("mmap")));

long syscall(long number, ...) {
  va_list ap;
  va_start(ap, number);
  long a[6];
  for (long& x : a) x = va_arg(ap, long);
  va_end(ap);
  switch (number) {
    case SYS_open:
      if (is_video_node(reinterpret_cast<const char*>(a[0])))
        return open_node("syscall(open)", reinterpret_cast<const char*>(a[0]), int(a[1]));
      break;
    case SYS_openat:
      if (is_video_node(reinterpret_cast<const char*>(a[1])))
        return open_node("syscall(openat)", reinterpret_cast<const char*>(a[1]), int(a[2]));
      break;
    case SYS_close:
      if (close_file("syscall(close)", int(a[0]))) return 0;
      break;
    case SYS_ioctl:
      if (const Handle h = find_file(int(a[0])))
        return ioctl_file("syscall(ioctl)", h, static_cast<unsigned long>(a[1]),
                          reinterpret_cast<void*>(a[2]));
      break;
    case SYS_read:
      if (const Handle h = find_file(int(a[0]))) return read_file("syscall(read)", h);
      break;
    case SYS_mmap:
      if (const Handle h = find_file(int(a[4])))
        return reinterpret_cast<long>(mmap_file("syscall(mmap)", h, reinterpret_cast<void*>(a[0]),
                                                size_t(a[1]), int(a[2]), int(a[3]), off_t(a[5])));
      break;
    case SYS_munmap:
      note_munmap(reinterpret_cast<void*>(a[0]), size_t(a[1]));
      break;
  }
  return libc().syscall(number, a[0], a[1], a[2], a[3], a[4], a[5]);
}

}  // extern "C"
