#pragma once
// The files wren writes, the snapshot and the capture file, are opened without following a
// symbolic link at their path: a link placed there must not turn a write into a write over the
// file it points to.
#include <QByteArray>
#include <QString>

namespace wren {

// Whether `path` itself is a symbolic link (to anything, or to nothing).
bool is_symbolic_link(const QString& path);

// Writes `bytes` into a new file in the folder of `path`, under a short name of its own, and
// renames it over `path`, so that a failure leaves a file already there as it was, and a link
// that appears at `path` meanwhile is replaced, never followed. A file replaced keeps its
// permissions. False, with a reason (in Chinese, for the user's message box), when nothing was
// written: a link, a folder or a read-only file at `path`, or a missing folder, is refused.
bool replace_file(const QString& path, const QByteArray& bytes, QString* reason);

// The same with a copy of the regular file `from`; refused also when `from` is missing or `to`
// is that same file.
bool copy_over(const QString& from, const QString& to, QString* reason);

// Makes `path` a regular file of `bytes` bytes, creating it when missing; refused, with a reason
// in English like the capture window's other texts, for a link and for anything but a regular
// file.
bool allocate_file(const QString& path, qint64 bytes, QString* reason);

}  // namespace wren
