#include "shared/set_aside_logged.h"

#include <QDateTime>
#include <QFileInfo>

#include "shared/kv_log.h"

namespace shared {

QString set_aside_logged(const std::vector<rt::AsideFile>& files, const QString& reason,
                         const QString& tag,
                         const std::function<QString(const rt::Renamed&)>& line) {
  std::vector<rt::Renamed> renamed;
  const QString suffix = rt::set_aside(files, reason, QDateTime::currentDateTime(), &renamed);
  for (const rt::Renamed& r : renamed)
    append_kv_log(kv_log_line(
        tag, suffix.isEmpty() ? QFileInfo(r.from).fileName() + QStringLiteral("已改名为") +
                                    QFileInfo(r.to).fileName() + QStringLiteral(",未能改回原名")
                              : line(r)));
  return suffix;
}

}  // namespace shared
