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

struct Renamed {
  QString from;
  QString to;
};

// Renames every existing file of `files` to its name + "." + reason + "-<yyyyMMdd>-<HHmmss>" of
// `when`, one suffix for them all, with "-2", "-3" … added while one of the names the files or
// their companions would take is there, whether that file exists now or not: nothing set aside
// earlier is overwritten or paired with a file it did not belong to. All or none: when a rename
// fails, the renames done are undone. Returns the suffix, or an empty text when the files could
// not be set aside. `renamed`, when given, receives what stands under its new name on return:
// every rename on success; on failure those whose undo failed too, to be named to the user.
QString set_aside(const std::vector<AsideFile>& files, const QString& reason,
                  const QDateTime& when = QDateTime::currentDateTime(),
                  std::vector<Renamed>* renamed = nullptr);

}  // namespace rt
