#include "libc.h"

#include <dlfcn.h>

namespace emulated_v4l2 {
namespace {

template <class F>
void next(F*& f, const char* name) {
  f = reinterpret_cast<F*>(dlsym(RTLD_NEXT, name));
}

}  // namespace

const Libc& libc() {
  static const Libc l = [] {
    Libc x{};
    next(x.open, "open");
    next(x.openat, "openat");
    next(x.close, "close");
    next(x.ioctl, "ioctl");
    next(x.read, "read");
    next(x.mmap, "mmap");
    next(x.munmap, "munmap");
    next(x.syscall, "syscall");
    return x;
  }();
  return l;
}

}  // namespace emulated_v4l2
