#pragma once
// The C library's own functions behind the ones this library puts in front of them.
#include <sys/types.h>

#include <cstddef>

namespace emulated_v4l2 {

struct Libc {
  int (*open)(const char*, int, ...);
  int (*openat)(int, const char*, int, ...);
  int (*close)(int);
  int (*ioctl)(int, unsigned long, ...);
  ssize_t (*read)(int, void*, std::size_t);
  void* (*mmap)(void*, std::size_t, int, int, int, off_t);
  int (*munmap)(void*, std::size_t);
  long (*syscall)(long, ...);
};

const Libc& libc();

}  // namespace emulated_v4l2
