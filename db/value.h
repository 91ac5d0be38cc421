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
  QDateTime to_datetime() const;

  bool operator==(const Value& o) const;

  static QString datetime_text(const QDateTime& t);   // 'YYYY-MM-DD HH:MM:SS.fff'
  static QDateTime parse_datetime(const QString& s);  // the form above, or without fraction

 private:
  Kind kind_ = Kind::Null;
  QString s_;
  double d_ = 0;
  qint64 i_ = 0;
  QDateTime t_;
};

}  // namespace db
