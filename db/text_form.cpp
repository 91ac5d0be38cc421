#include "db/text_form.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <cstring>

#include "db/value.h"

namespace db::text_form {
namespace {

bool digits(std::string_view s, size_t from, size_t count) {
  if (from + count > s.size()) return false;
  for (size_t i = from; i < from + count; ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

int number_at(std::string_view s, size_t from, size_t count) {
  int n = 0;
  for (size_t i = from; i < from + count; ++i) n = n * 10 + (s[i] - '0');
  return n;
}

// [+-]digits, or with a fraction and an exponent when `real`.
bool number(std::string_view s, bool real) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t whole = 0, fraction = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) ++whole;
  if (real && i < s.size() && s[i] == '.') {
    ++i;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) ++fraction;
  }
  if (whole + fraction == 0) return false;
  if (real && i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t exp = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) ++exp;
    if (exp == 0) return false;
  }
  return i == s.size();
}

// 'YYYY-MM-DD', 'YYYY-MM-DD HH:MM:SS' or 'YYYY-MM-DD HH:MM:SS.fff' without building a
// QDateTime: imports of a million rows pass through here.
bool quick_datetime(std::string& v) {
  const std::string_view s = v;
  if (s.size() < 10 || !digits(s, 0, 4) || s[4] != '-' || !digits(s, 5, 2) || s[7] != '-' ||
      !digits(s, 8, 2) ||
      !QDate::isValid(number_at(s, 0, 4), number_at(s, 5, 2), number_at(s, 8, 2)))
    return false;
  if (s.size() == 10) {
    v += " 00:00:00.000";
    return true;
  }
  if (s.size() < 19 || s[10] != ' ' || !digits(s, 11, 2) || s[13] != ':' || !digits(s, 14, 2) ||
      s[16] != ':' || !digits(s, 17, 2) ||
      !QTime::isValid(number_at(s, 11, 2), number_at(s, 14, 2), number_at(s, 17, 2)))
    return false;
  if (s.size() == 19) {
    v += ".000";
    return true;
  }
  return s.size() == 23 && s[19] == '.' && digits(s, 20, 3);
}

}  // namespace

void append_escaped(std::string& out, std::string_view value) {
  for (char c : value) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
}

bool append_unescaped(std::string& out, std::string_view field) {
  for (size_t i = 0; i < field.size(); ++i) {
    const char c = field[i];
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++i == field.size()) return false;
    switch (field[i]) {
      case '\\':
        out += '\\';
        break;
      case 't':
        out += '\t';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      default:
        return false;
    }
  }
  return true;
}

bool valid_number(ColumnType type, std::string_view value) {
  return number(value, type != ColumnType::Integer);
}

bool normalize_datetime(std::string& value) {
  if (quick_datetime(value)) return true;
  QDate d;
  QTime t;
  if (!Value::parse_datetime(QString::fromUtf8(value.data(), value.size()), d, t)) return false;
  value = Value::datetime_text(d, t).toStdString();
  return true;
}

bool normalize(ColumnType type, std::string& value) {
  switch (type) {
    case ColumnType::Text:
      return true;
    case ColumnType::DateTime:
      return normalize_datetime(value);
    default:
      return valid_number(type, value);
  }
}

bool valid_utf8(std::string_view b) {
  size_t i = 0;
  const size_t n = b.size();
  while (i < n) {
    // Runs of ASCII, eight bytes at a time.
    while (i + 8 <= n) {
      quint64 word;
      std::memcpy(&word, b.data() + i, 8);
      if (word & 0x8080808080808080ull) break;
      i += 8;
    }
    if (i == n) break;
    const auto c = static_cast<unsigned char>(b[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    // Length of the sequence, smallest code point it may carry, bits of its first byte.
    struct Lead {
      unsigned char mask, value;
      size_t len;
      unsigned min;
    };
    static constexpr Lead kLeads[] = {
        {0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};
    const Lead* lead = nullptr;
    for (const Lead& l : kLeads)
      if ((c & l.mask) == l.value) lead = &l;
    if (!lead) return false;
    const size_t len = lead->len;
    const unsigned min = lead->min;
    unsigned cp = c & static_cast<unsigned char>(~lead->mask);
    if (i + len > n) return false;
    for (size_t k = 1; k < len; ++k) {
      const auto d = static_cast<unsigned char>(b[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += len;
  }
  return true;
}

}  // namespace db::text_form
