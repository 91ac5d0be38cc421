#include "db/value.h"

#include <cmath>
#include <cstdio>

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
  return datetime(t.date(), t.time());
}

Value Value::datetime(QDate d, QTime t) {
  if (!d.isValid() || !t.isValid()) return {};
  Value v;
  v.kind_ = Kind::DateTime;
  v.date_ = d;
  v.time_ = t;
  return v;
}

QString Value::datetime_text(const QDateTime& t) { return datetime_text(t.date(), t.time()); }

QString Value::datetime_text(QDate d, QTime t) {
  if (!d.isValid() || !t.isValid()) return {};
  char buf[32];
  const int n = std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", d.year(),
                              d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec());
  return QString::fromLatin1(buf, n);
}

namespace {

// Reads `n` digits at `at`; -1 when they are not all digits.
int digits(QStringView s, qsizetype at, int n) {
  if (at + n > s.size()) return -1;
  int v = 0;
  for (int i = 0; i < n; ++i) {
    const char16_t c = s[at + i].unicode();
    if (c < u'0' || c > u'9') return -1;
    v = v * 10 + (c - u'0');
  }
  return v;
}

}  // namespace

bool Value::parse_datetime(QStringView s, QDate& d, QTime& t) {
  s = s.trimmed();
  // yyyy-MM-dd, then optionally ' ' or 'T' and HH:mm, :ss, and a fraction of any length.
  const int y = digits(s, 0, 4), mo = digits(s, 5, 2), da = digits(s, 8, 2);
  if (y < 0 || mo < 0 || da < 0 || s[4] != u'-' || s[7] != u'-') return false;
  d = QDate(y, mo, da);
  if (!d.isValid()) return false;
  if (s.size() == 10) {
    t = QTime(0, 0);
    return true;
  }
  if (s[10] != u' ' && s[10] != u'T') return false;
  const int h = digits(s, 11, 2), mi = digits(s, 14, 2);
  if (h < 0 || mi < 0 || s[13] != u':') return false;
  int sec = 0, ms = 0;
  qsizetype at = 16;
  if (at < s.size()) {
    if (s[at] != u':' || (sec = digits(s, at + 1, 2)) < 0) return false;
    at += 3;
    if (at < s.size()) {
      if (s[at] != u'.' || at + 1 == s.size()) return false;
      int scale = 100;
      for (qsizetype i = at + 1; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9') return false;
        ms += (c - u'0') * scale;
        scale /= 10;
      }
    }
  }
  t = QTime(h, mi, sec, ms);
  return t.isValid();
}

QDateTime Value::parse_datetime(const QString& s) {
  QDate d;
  QTime t;
  if (!parse_datetime(QStringView(s), d, t)) return {};
  return QDateTime(d, t);
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
      return datetime_text(date_, time_);
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
  if (kind_ == Kind::DateTime) return QDateTime(date_, time_);
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
      return date_ == o.date_ && time_ == o.time_;
  }
  return false;
}

}  // namespace db
