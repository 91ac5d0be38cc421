#include "kestrel/rebuild/keep_options.h"

#include <cmath>

#include "runtime/dialogs.h"

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

bool keep_options_readable(const StartWindow& w_main) {
  QString refusal;
  if (w_main.cbx_checked(5) && !cut_off_day(w_main.em_1_text()))
    refusal = QStringLiteral("指定时间为空或无效,\r\n请输入正确的日期!");
  else if (w_main.cbx_checked(6) && !cut_off_amount(w_main.em_2_text()))
    refusal = QStringLiteral("指定金额为空或无效,\r\n请输入正确的金额!");
  if (refusal.isEmpty()) return true;
  rt::dialogs().failure(QStringLiteral("错误提示"), refusal);
  return false;
}

}  // namespace rebuild
