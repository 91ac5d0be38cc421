#include "db/text_form.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <algorithm>
#include <charconv>
#include <cmath>
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

// The date and time of 'YYYY-MM-DD[ HH:MM:SS[.fff]]': how far they are valid (0 none, 10 the
// date, 19 with the time), without building a QDateTime: imports of a million rows pass here.
size_t valid_datetime_head(std::string_view s) {
  if (s.size() < 10 || !digits(s, 0, 4) || s[4] != '-' || !digits(s, 5, 2) || s[7] != '-' ||
      !digits(s, 8, 2) ||
      !QDate::isValid(number_at(s, 0, 4), number_at(s, 5, 2), number_at(s, 8, 2)))
    return 0;
  if (s.size() < 19 || s[10] != ' ' || !digits(s, 11, 2) || s[13] != ':' || !digits(s, 14, 2) ||
      s[16] != ':' || !digits(s, 17, 2) ||
      !QTime::isValid(number_at(s, 11, 2), number_at(s, 14, 2), number_at(s, 17, 2)))
    return 10;
  return 19;
}

// 'YYYY-MM-DD', 'YYYY-MM-DD HH:MM:SS' or 'YYYY-MM-DD HH:MM:SS.fff', completed.
bool quick_datetime(std::string& v) {
  const size_t head = valid_datetime_head(v);
  if (head == 10 && v.size() == 10) {
    v += " 00:00:00.000";
    return true;
  }
  if (head != 19) return false;
  if (v.size() == 19) {
    v += ".000";
    return true;
  }
  return canonical_datetime(v);
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
  if (!number(value, type != ColumnType::Integer)) return false;
  // from_chars takes no '+'; it reports overflow and underflow as out of range.
  if (value.front() == '+') value.remove_prefix(1);
  const char* end = value.data() + value.size();
  if (type == ColumnType::Integer) {
    qint64 i = 0;
    return std::from_chars(value.data(), end, i).ec == std::errc();
  }
  double d = 0;
  if (std::from_chars(value.data(), end, d).ec != std::errc()) return false;
  return type != ColumnType::Decimal || std::fabs(d) < 1e38;
}

bool round_decimal(std::string& value, int scale) {
  if (scale < 0) return false;
  // Most values have few enough places, and no exponent: nothing to do.
  const size_t dot = value.find('.');
  if (value.find_first_of("eE") == std::string::npos &&
      (dot == std::string::npos || value.size() - dot - 1 <= static_cast<size_t>(scale)))
    return false;
  // The value is ±0.DIGITS × 10^point: its digits without the point, where the point lies.
  const std::string_view v = value;
  size_t i = 0;
  const bool negative = v[0] == '-';
  if (v[0] == '-' || v[0] == '+') ++i;
  std::string digits;
  long long point = 0;
  bool seen_point = false;
  for (; i < v.size() && v[i] != 'e' && v[i] != 'E'; ++i) {
    if (v[i] == '.') {
      seen_point = true;
    } else {
      digits += v[i];
      if (!seen_point) ++point;
    }
  }
  if (i < v.size()) {
    // A valid number's exponent can be large only with as many zeros to balance it.
    long long exponent = 0;
    const bool down = v[++i] == '-';
    if (v[i] == '-' || v[i] == '+') ++i;
    for (; i < v.size(); ++i) exponent = std::min(exponent * 10 + (v[i] - '0'), 1000000000LL);
    point += down ? -exponent : exponent;
  }
  const long long places = static_cast<long long>(digits.size()) - point;
  if (places <= scale) return false;
  // Keep the digits up to `scale` places; the first dropped digit decides.
  const long long keep = point + scale;
  std::string kept;  // the value × 10^scale, as digits
  if (keep > 0) kept = digits.substr(0, static_cast<size_t>(keep));
  const bool up = keep >= 0 && digits[static_cast<size_t>(keep)] >= '5';
  if (kept.empty()) kept = "0";
  if (up) {
    size_t k = kept.size();
    while (k > 0 && kept[k - 1] == '9') kept[--k] = '0';
    if (k == 0)
      kept.insert(kept.begin(), '1');
    else
      ++kept[k - 1];
  }
  if (kept.size() <= static_cast<size_t>(scale))
    kept.insert(0, static_cast<size_t>(scale) + 1 - kept.size(), '0');
  std::string whole = kept.substr(0, kept.size() - static_cast<size_t>(scale));
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
  const std::string fraction = kept.substr(kept.size() - static_cast<size_t>(scale));
  const bool zero = whole == "0" && fraction.find_first_not_of('0') == std::string::npos;
  value = (negative && !zero ? "-" : "") + whole + (scale > 0 ? "." + fraction : "");
  return true;
}

bool normalize_datetime(std::string& value) {
  if (quick_datetime(value)) return true;
  QDate d;
  QTime t;
  if (!Value::parse_datetime(QString::fromUtf8(value.data(), value.size()), d, t)) return false;
  value = Value::datetime_text(d, t).toStdString();
  return true;
}

bool canonical_datetime(std::string_view s) {
  return s.size() == 23 && s[19] == '.' && digits(s, 20, 3) && valid_datetime_head(s) == 19;
}

bool normalize(const ColumnDef& column, std::string& value) {
  switch (column.type) {
    case ColumnType::Text:
      return true;
    case ColumnType::DateTime: {
      // Milliseconds at most: a longer fraction would be cut, changing the value.
      const size_t dot = value.find('.');
      if (dot != std::string::npos && dot + 4 < value.size() && value[dot + 4] >= '0' &&
          value[dot + 4] <= '9')
        return false;
      return normalize_datetime(value);
    }
    case ColumnType::Decimal:
      if (!valid_number(column.type, value)) return false;
      round_decimal(value, column.scale);
      return true;
    default:
      return valid_number(column.type, value);
  }
}

bool valid_utf8(std::string_view b) { return valid_utf8_prefix(b) == b.size(); }

size_t valid_utf8_prefix(std::string_view b) {
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
    if (!lead) return i;
    const size_t len = lead->len;
    const unsigned min = lead->min;
    unsigned cp = c & static_cast<unsigned char>(~lead->mask);
    if (i + len > n) return i;
    for (size_t k = 1; k < len; ++k) {
      const auto d = static_cast<unsigned char>(b[i + k]);
      if ((d & 0xC0) != 0x80) return i;
      cp = (cp << 6) | (d & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return i;
    i += len;
  }
  return n;
}

}  // namespace db::text_form
