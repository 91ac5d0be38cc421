#pragma once
#include <QString>

// The runtime's Trim: leading and trailing blanks go, every other character stays.
inline QString trim_blanks(const QString& s) {
  qsizetype b = 0, e = s.size();
  while (b < e && s[b] == QLatin1Char(' ')) ++b;
  while (e > b && s[e - 1] == QLatin1Char(' ')) --e;
  return s.mid(b, e - b);
}
