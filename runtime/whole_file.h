#pragma once
// The one way the programs write a whole file: into a new file of their own in the target's
// folder, every write checked (no buffer left to fail later), synced, then renamed over the
// target. A failure anywhere removes the new file and leaves the target byte for byte as it
// was; the reason is the errno of the call that failed, or one of our own.
#include <QByteArray>
#include <QString>
#include <functional>

namespace rt {

// Where the content goes while the new file is filled.
class WholeFileSink {
 public:
  explicit WholeFileSink(int fd) : fd_(fd) {}
  // Writes all of `bytes`, however the system splits it; false once any write failed.
  bool write(const char* bytes, qint64 size);
  bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
  // Records a failure of the filler's own (a read of the source).
  bool fail(const QString& reason);
  const QString& reason() const { return reason_; }

 private:
  int fd_;
  QString reason_;
};

struct WholeFileOptions {
  // A link at the path: replace the file it leads to (as an editor saves), or refuse it.
  bool follow_link = true;
  // Asked right before the rename; false keeps the target as it is.
  std::function<bool()> still_wanted;
};

// Writes the file at `path` with what `fill` puts into the sink (false from `fill` is a
// failure). Refused, touching nothing: a folder or anything but a regular file at the path, a
// read-only file, a missing folder. A replaced file keeps its permissions. `reason` (may be
// null) receives why it failed, in Chinese.
bool write_whole_file(const QString& path, const std::function<bool(WholeFileSink&)>& fill,
                      const WholeFileOptions& options, QString* reason);
bool write_whole_file(const QString& path, const QByteArray& bytes,
                      const WholeFileOptions& options = {}, QString* reason = nullptr);

// The same with a copy of the regular file `from`; refused also when `from` is missing or is
// the file at `to`.
bool copy_whole_file(const QString& from, const QString& to, const WholeFileOptions& options,
                     QString* reason);

}  // namespace rt
