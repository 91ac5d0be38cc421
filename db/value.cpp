#include "db/value.h"

#include <cmath>

namespace db {

Value Value::text(QString s) {
  Value v;
  v.kind_ = Kind::Text;
  v.s_ = std::move(s);
  return v;
}

Value Value::integer(qint64 i) {
  Value v;
  v.kind_ = Kind::Integer;
  v.i_ = i;
  return v;
}

Value Value::number(double d) {
  Value v;
  v.kind_ = Kind::Double;
  v.d_ = d;
  return v;
}

Value Value::decimal(QString digits) {
  Value v;
  v.kind_ = Kind::Decimal;
  v.s_ = std::move(digits);
  return v;
}

Value Value::datetime(QDateTime t) {
  if (!t.isValid()) return {};
  Value v;
  v.kind_ = Kind::DateTime;
  v.t_ = std::move(t);
  return v;
}

QString Value::datetime_text(const QDateTime& t) {
  return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

QDateTime Value::parse_datetime(const QString& s) {
  const QString t = s.trimmed();
  for (const char* f : {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm",
                        "yyyy-MM-ddTHH:mm:ss.zzz", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd"}) {
    QDateTime d = QDateTime::fromString(t, QLatin1String(f));
    if (d.isValid()) return d;
  }
  // Fractions of other lengths ("…:05.1", "…:05.123456").
  qsizetype dot = t.lastIndexOf(QLatin1Char('.'));
  if (dot > 0) {
    QDateTime d = QDateTime::fromString(t.left(dot), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (d.isValid()) {
      QString frac = t.mid(dot + 1).leftJustified(3, QLatin1Char('0')).left(3);
      bool ok = false;
      int ms = frac.toInt(&ok);
      if (ok) return d.addMSecs(ms);
    }
  }
  return {};
}

QString Value::to_text() const {
  switch (kind_) {
    case Kind::Null:
      return {};
    case Kind::Text:
    case Kind::Decimal:
      return s_;
    case Kind::Integer:
      return QString::number(i_);
    case Kind::Double:
      return QString::number(d_, 'g', 15);
    case Kind::DateTime:
      return datetime_text(t_);
  }
  return {};
}

double Value::to_double() const {
  switch (kind_) {
    case Kind::Integer:
      return static_cast<double>(i_);
    case Kind::Double:
      return d_;
    case Kind::Text:
    case Kind::Decimal: {
      bool ok = false;
      double d = s_.trimmed().toDouble(&ok);
      return ok ? d : 0;
    }
    default:
      return 0;
  }
}

qint64 Value::to_integer() const {
  switch (kind_) {
    case Kind::Integer:
      return i_;
    case Kind::Double:
    case Kind::Decimal:
    case Kind::Text:
      return static_cast<qint64>(std::llround(to_double()));
    default:
      return 0;
  }
}

QDateTime Value::to_datetime() const {
  if (kind_ == Kind::DateTime) return t_;
  if (kind_ == Kind::Text) return parse_datetime(s_);
  return {};
}

bool Value::operator==(const Value& o) const {
  if (kind_ != o.kind_) return false;
  switch (kind_) {
    case Kind::Null:
      return true;
    case Kind::Text:
    case Kind::Decimal:
      return s_ == o.s_;
    case Kind::Integer:
      return i_ == o.i_;
    case Kind::Double:
      return d_ == o.d_;
    case Kind::DateTime:
      return t_ == o.t_;
  }
  return false;
}

}  // namespace db
