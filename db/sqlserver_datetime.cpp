#include "db/sqlserver_datetime.h"

#include <QDate>
#include <cstdio>

namespace db {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Reads a text from left to right.
struct Cursor {
  std::string_view s;
  size_t i = 0;

  bool at_end() const { return i == s.size(); }
  char peek() const { return at_end() ? '\0' : s[i]; }
  bool take(char c) {
    if (peek() != c) return false;
    ++i;
    return true;
  }
  // Blanks; true when there was at least one.
  bool blanks() {
    const size_t from = i;
    while (peek() == ' ') ++i;
    return i > from;
  }
  // A run of `min` to `max` digits, exactly: a longer run is no match.
  bool number(size_t min, size_t max, int& out) {
    size_t n = 0;
    int v = 0;
    while (i + n < s.size() && is_digit(s[i + n])) v = v * 10 + (s[i + n++] - '0');
    if (n < min || n > max) return false;
    i += n;
    out = v;
    return true;
  }
  size_t digits_ahead() const {
    size_t n = 0;
    while (i + n < s.size() && is_digit(s[i + n])) ++n;
    return n;
  }
};

struct Parts {
  int year = 1900, month = 1, day = 1, hour = 0, minute = 0, second = 0, msec = 0;
};

// A month's English name or its first three letters, any case.
bool month_name(Cursor& c, int& month) {
  static const char* const kMonths[] = {"january",   "february", "march",    "april",
                                        "may",       "june",     "july",     "august",
                                        "september", "october",  "november", "december"};
  size_t n = 0;
  while (c.i + n < c.s.size() && lower(c.s[c.i + n]) >= 'a' && lower(c.s[c.i + n]) <= 'z') ++n;
  if (n < 3) return false;
  for (int m = 0; m < 12; ++m) {
    const std::string_view name = kMonths[m];
    if (n != 3 && n != name.size()) continue;
    bool same = true;
    for (size_t k = 0; k < n && same; ++k) same = lower(c.s[c.i + k]) == name[k];
    if (same) {
      c.i += n;
      month = m + 1;
      return true;
    }
  }
  return false;
}

// ".f", ".ff" or ".fff" after the seconds: a fraction of a second, to milliseconds.
bool fraction(Cursor& c, int& msec) {
  if (!c.take('.')) return true;
  const size_t n = c.digits_ahead();
  int v = 0;
  if (!c.number(1, 3, v)) return false;
  for (size_t k = n; k < 3; ++k) v *= 10;
  msec = v;
  return true;
}

// h[h]:mi[:ss[.fff]] [AM|PM], or h[h] AM|PM.
bool time_of_day(Cursor& c, Parts& p) {
  if (!c.number(1, 2, p.hour)) return false;
  const bool clock = c.take(':');
  if (clock) {
    if (!c.number(2, 2, p.minute)) return false;
    if (c.take(':') && (!c.number(2, 2, p.second) || !fraction(c, p.msec))) return false;
  }
  c.blanks();
  const char a = lower(c.peek());
  if ((a == 'a' || a == 'p') && c.i + 1 < c.s.size() && lower(c.s[c.i + 1]) == 'm') {
    c.i += 2;
    if (p.hour < 1 || p.hour > 12) return false;
    p.hour = p.hour % 12 + (a == 'p' ? 12 : 0);
    return true;
  }
  return clock;
}

// yyyy-mm-ddThh:mi:ss[.fff], the ISO form, after the 'T'.
bool iso_time(Cursor& c, Parts& p) {
  return c.number(2, 2, p.hour) && c.take(':') && c.number(2, 2, p.minute) && c.take(':') &&
         c.number(2, 2, p.second) && fraction(c, p.msec);
}

bool date(Cursor& c, Parts& p, bool& iso_t) {
  const size_t lead = c.digits_ahead();
  if (lead == 8) {  // yyyymmdd
    const std::string_view d = c.s.substr(c.i, 8);
    p.year = (d[0] - '0') * 1000 + (d[1] - '0') * 100 + (d[2] - '0') * 10 + (d[3] - '0');
    p.month = (d[4] - '0') * 10 + (d[5] - '0');
    p.day = (d[6] - '0') * 10 + (d[7] - '0');
    c.i += 8;
    return true;
  }
  if (lead == 4) {  // yyyy-m-d or yyyy/m/d: the year first reads as year, month, day
    c.number(4, 4, p.year);
    const char sep = c.peek();
    if ((sep != '-' && sep != '/') || !c.take(sep)) return false;
    const size_t month_digits = c.digits_ahead();
    if (!c.number(1, 2, p.month) || !c.take(sep)) return false;
    const size_t day_digits = c.digits_ahead();
    if (!c.number(1, 2, p.day)) return false;
    iso_t = sep == '-' && month_digits == 2 && day_digits == 2 && c.peek() == 'T';
    return true;
  }
  if (lead == 1 || lead == 2) {
    c.number(1, 2, p.day);
    const char sep = c.peek();
    if (sep == '-' || sep == '/') {  // m/d/yyyy: month first, as date format mdy reads it
      c.take(sep);
      p.month = p.day;
      return c.number(1, 2, p.day) && c.take(sep) && c.number(4, 4, p.year);
    }
    // d mon[,] yyyy
    c.blanks();
    if (!month_name(c, p.month)) return false;
    c.take(',');
    c.blanks();
    return c.number(4, 4, p.year);
  }
  // mon d[,] yyyy
  if (lead != 0 || !month_name(c, p.month)) return false;
  c.blanks();
  if (!c.number(1, 2, p.day)) return false;
  c.take(',');
  c.blanks();
  return c.number(4, 4, p.year);
}

}  // namespace

bool sqlserver_datetime(std::string_view text, std::string& canonical) {
  Cursor c{text};
  c.blanks();
  Parts p;
  if (!c.at_end()) {
    bool iso_t = false;
    if (!date(c, p, iso_t)) return false;
    if (iso_t) {
      c.take('T');
      if (!iso_time(c, p)) return false;
    } else if (c.blanks() && !c.at_end() && !time_of_day(c, p)) {
      return false;
    }
    c.blanks();
    if (!c.at_end()) return false;
    if (!QDate::isValid(p.year, p.month, p.day) || p.hour > 23 || p.minute > 59 || p.second > 59)
      return false;
  }
  char buf[32];
  const int n = std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", p.year,
                              p.month, p.day, p.hour, p.minute, p.second, p.msec);
  canonical.assign(buf, static_cast<size_t>(n));
  return true;
}

}  // namespace db
