#pragma once
// An exclusive lock on a folder between processes, held while the object lives. The system
// drops it when the process ends, however it ends, so a crash never leaves the folder locked.
#include <QString>

namespace rt {

class FolderLock {
 public:
  explicit FolderLock(const QString& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // Another process holds the lock on the folder.
  bool busy() const { return busy_; }

 private:
  int fd_ = -1;
  bool busy_ = false;
};

}  // namespace rt
