#pragma once
// File-system calls of this process made to fail or to meet a change at a chosen moment, for
// what a real file system cannot be made to do on cue (a rename back that fails, a file that
// grows between a look and an open). Compiled into a test executable of its own, the
// definitions in fs_faults.cpp stand in front of the C library's; outside a scope they pass
// every call through unchanged.
#include <sys/types.h>

#include <QString>
#include <functional>

namespace test {

// Each rename (renameat2) is first shown to `fault`, which returns the errno to fail it with,
// or 0 to let it run.
class RenameFault {
 public:
  using Fault = std::function<int(const QString& from, const QString& to)>;
  explicit RenameFault(Fault fault);
  ~RenameFault();
  RenameFault(const RenameFault&) = delete;
  RenameFault& operator=(const RenameFault&) = delete;
};

// Right after stat() has looked at `path` for the first time, its file grows (sparsely) to
// `size` bytes.
class GrowAfterStat {
 public:
  GrowAfterStat(const QString& path, off_t size);
  ~GrowAfterStat();
  GrowAfterStat(const GrowAfterStat&) = delete;
  GrowAfterStat& operator=(const GrowAfterStat&) = delete;
  bool grown() const;
};

}  // namespace test
