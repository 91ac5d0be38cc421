#pragma once
// Setting a file aside under a dated name: what the programs did not make is never overwritten
// or deleted, only renamed, so that it can still be looked at.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

namespace rt {

struct AsideFile {
  QString path;
  // Files beside it named after it (path + "-journal"): they go first and keep their tail after
  // its new name, so that the two still belong together.
  QStringList companions;
};

// Renames every existing file of `files` to its name + "." + reason + "-<yyyyMMdd>-<HHmmss>" of
// `when`, one suffix for them all, with "-2", "-3" … added while one of those names is taken:
// nothing set aside earlier is overwritten. All or none: when a rename fails, the renames done
// are undone. Returns the suffix, or an empty text when the files could not be set aside.
QString set_aside(const std::vector<AsideFile>& files, const QString& reason,
                  const QDateTime& when = QDateTime::currentDateTime());

}  // namespace rt
