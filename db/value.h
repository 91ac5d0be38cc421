#pragma once
// A typed value as it passes between the programs and a database: a host value bound to a
// statement, or a column read from a row.
#include <QDateTime>
#include <QString>

namespace db {

class Value {
 public:
  enum class Kind { Null, Text, Integer, Double, Decimal, DateTime };

  Value() = default;
  static Value null() { return {}; }
  static Value text(QString s);
  static Value integer(qint64 i);
  static Value number(double d);
  // A fixed-point number kept as its text ("12.50"), so its scale survives.
  static Value decimal(QString digits);
  static Value datetime(QDateTime t);
  static Value datetime(QDate d, QTime t);

  Kind kind() const { return kind_; }
  bool is_null() const { return kind_ == Kind::Null; }
  bool is_numeric() const {
    return kind_ == Kind::Integer || kind_ == Kind::Double || kind_ == Kind::Decimal;
  }

  // Text forms: numbers in their shortest exact form, decimals as stored, date-times as
  // 'YYYY-MM-DD HH:MM:SS.fff'; null gives an empty text.
  QString to_text() const;
  double to_double() const;  // 0 for null and for text that is no number
  qint64 to_integer() const;
  QDateTime to_datetime() const;  // local time
  // The date and the time of day as stored: databases keep date-times without a zone, and a
  // million rows must not each pay for a time-zone lookup.
  QDate date_part() const { return kind_ == Kind::DateTime ? date_ : to_datetime().date(); }
  QTime time_part() const { return kind_ == Kind::DateTime ? time_ : to_datetime().time(); }

  bool operator==(const Value& o) const;

  static QString datetime_text(const QDateTime& t);  // 'YYYY-MM-DD HH:MM:SS.fff'
  static QString datetime_text(QDate d, QTime t);
  static QDateTime parse_datetime(const QString& s);  // the form above, or without fraction
  // The same forms into a date and a time of day; false when the text is no date-time.
  static bool parse_datetime(QStringView s, QDate& d, QTime& t);

 private:
  Kind kind_ = Kind::Null;
  QString s_;
  double d_ = 0;
  qint64 i_ = 0;
  QDate date_;
  QTime time_;
};

}  // namespace db
