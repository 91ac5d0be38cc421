#pragma once
// Text as Windows tools write it in UTF-16: the byte-order mark, then each code unit.
#include <QByteArray>
#include <QString>

namespace test {

inline QByteArray utf16_file(const QString& text, bool big_endian) {
  QByteArray out = big_endian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
  for (QChar c : text) {
    const char hi = static_cast<char>(c.unicode() >> 8), lo = static_cast<char>(c.unicode());
    out.append(big_endian ? hi : lo).append(big_endian ? lo : hi);
  }
  return out;
}

}  // namespace test
