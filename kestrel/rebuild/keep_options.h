#pragma once
// The working values of the date and amount purge groups, from the texts of em_1 and em_2.
// A text that does not convert gives no value: its group then deletes nothing.
#include <QDateTime>
#include <QString>
#include <optional>

#include "kestrel/rebuild/start_window.h"

namespace rebuild {

// em_1 ("yyyy/mm/dd"): midnight of that day.
std::optional<QDateTime> cut_off_day(const QString& em_1_text);
// The day's "yyyymm", compared with wage_data.month_id.
QString month_of(const QDateTime& day);
// em_2 ("0.00"): the amount; empty or not a number gives none.
std::optional<double> cut_off_amount(const QString& em_2_text);

// A checked date or amount option whose field is empty or does not convert would delete nothing
// and look done: it is refused with a box that names the field, and false is returned.
bool keep_options_readable(const StartWindow& w_main);

}  // namespace rebuild
