#pragma once
// Snapshots as Windows bitmap files: 24 bits a pixel, rows bottom-up, each padded to 4 bytes.
#include <QByteArray>
#include <QString>

#include "wren/capture/frame.h"

namespace wren {

// The whole file for `frame`; empty for an empty frame.
QByteArray encode_bmp(const capture::Frame& frame);

// Writes the file beside `path` and renames it over `path`, so a failure leaves any file
// already there as it was. False, with a reason, when the picture was not written (also for a
// path on a Windows drive, "D:/...", and for a symbolic link at the path).
bool write_bmp_file(const QString& path, const capture::Frame& frame, QString* reason);

}  // namespace wren
