#include "kestrel/rebuild/keep_options.h"

#include <cmath>

namespace rebuild {

std::optional<QDateTime> cut_off_day(const QString& em_1_text) {
  // The field takes the month and the day with or without a leading zero.
  const QDate d = QDate::fromString(em_1_text.trimmed(), QStringLiteral("yyyy/M/d"));
  if (!d.isValid()) return std::nullopt;
  return QDateTime(d, QTime(0, 0, 0));
}

QString month_of(const QDateTime& day) { return day.date().toString(QStringLiteral("yyyyMM")); }

std::optional<double> cut_off_amount(const QString& em_2_text) {
  bool ok = false;
  const double v = em_2_text.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}

}  // namespace rebuild
