#pragma once
// Reading a file that may be anything a user or another program left at its path: only a
// regular file is opened, never in a way that waits (a FIFO without a writer), and no more of
// it than a bound, so that no kind of file can stall a program or fill its memory.
#include <sys/types.h>

#include <QByteArray>
#include <QString>

namespace rt {

struct RegularFile {
  enum Kind {
    missing,  // nothing at the path, not even a dangling link
    file,     // a regular file (through links), read whole into `data`
    other,    // a FIFO, device, folder or dangling link, a file past the bound, a read error
  };
  Kind kind = missing;
  QByteArray data;
  dev_t device = 0;
  ino_t inode = 0;
};

// The file at `path`, when it is a regular file of at most `limit` bytes.
RegularFile read_regular_file(const QString& path, qint64 limit);

// Whether `path` still names what read_regular_file found there: the same regular file, or
// nothing at all.
bool still_there(const QString& path, const RegularFile& found);

}  // namespace rt
