#include "runtime/settings_encoding.h"

#include "runtime/codepage.h"

namespace rt {
namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";
const char kUtf16LeMark[] = "\xFF\xFE";
const char kUtf16BeMark[] = "\xFE\xFF";

// Each surrogate without its partner becomes U+FFFD.
QString replace_unpaired(QString s) {
  for (qsizetype i = 0; i < s.size(); ++i) {
    const QChar c = s.at(i);
    if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate())
      ++i;
    else if (c.isSurrogate())
      s[i] = QChar::ReplacementCharacter;
  }
  return s;
}

}  // namespace

SettingsEncoding::SettingsEncoding(const QByteArray& data) {
  if (data.startsWith(kUtf8Mark))
    form_ = Form::utf8;
  else if (data.startsWith(kUtf16LeMark))
    form_ = Form::utf16le;
  else if (data.startsWith(kUtf16BeMark))
    form_ = Form::utf16be;
}

QByteArray SettingsEncoding::mark() const {
  switch (form_) {
    case Form::utf8:
      return kUtf8Mark;
    case Form::utf16le:
      return kUtf16LeMark;
    case Form::utf16be:
      return kUtf16BeMark;
    case Form::cp936:
      break;
  }
  return {};
}

char16_t SettingsEncoding::unit(const QByteArray& data, qsizetype at) const {
  const auto byte = [&](qsizetype i) { return static_cast<char16_t>(uchar(data[i])); };
  switch (form_) {
    case Form::utf16le:
      return static_cast<char16_t>(byte(at) | byte(at + 1) << 8);
    case Form::utf16be:
      return static_cast<char16_t>(byte(at) << 8 | byte(at + 1));
    default:
      return byte(at);
  }
}

std::vector<SettingsLine> SettingsEncoding::lines(const QByteArray& data) const {
  const QByteArray body = data.mid(mark().size());
  const qsizetype w = utf16() ? 2 : 1;
  const qsizetype n = body.size() - body.size() % w;
  const auto is_end = [&](qsizetype at) {
    const char16_t u = unit(body, at);
    return u == u'\n' || u == u'\r';
  };
  std::vector<SettingsLine> lines;
  qsizetype start = 0;
  while (start < n) {
    qsizetype stop = start;
    while (stop < n && !is_end(stop)) stop += w;
    qsizetype next = stop;
    if (next < n) {
      const bool crlf = unit(body, next) == u'\r' && next + w < n && unit(body, next + w) == u'\n';
      next += crlf ? 2 * w : w;
    }
    lines.push_back({body.mid(start, stop - start), body.mid(stop, next - stop)});
    start = next;
  }
  return lines;
}

QString SettingsEncoding::decode(const QByteArray& bytes) const {
  switch (form_) {
    case Form::cp936:
      return from_cp936(bytes);
    case Form::utf8:
      return QString::fromUtf8(bytes);
    default:
      break;
  }
  QString s;
  s.reserve(bytes.size() / 2);
  for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) s.append(QChar(unit(bytes, i)));
  return replace_unpaired(s);
}

std::optional<QByteArray> SettingsEncoding::encode(const QString& s) const {
  if (s.contains(QChar::ReplacementCharacter)) return std::nullopt;
  QByteArray bytes;
  switch (form_) {
    case Form::cp936:
      bytes = to_cp936(s);
      break;
    case Form::utf8:
      bytes = s.toUtf8();
      break;
    default:
      bytes.reserve(s.size() * 2);
      for (QChar c : s) {
        const auto hi = static_cast<char>(c.unicode() >> 8), lo = static_cast<char>(c.unicode());
        bytes.append(form_ == Form::utf16le ? lo : hi).append(form_ == Form::utf16le ? hi : lo);
      }
      break;
  }
  if (decode(bytes) != s) return std::nullopt;
  return bytes;
}

bool SettingsEncoding::writable(const QByteArray& data) const {
  const QByteArray body = data.mid(mark().size());
  if (!utf16()) return !body.contains('\0');
  if (body.size() % 2 != 0) return false;
  bool pending_high = false;
  for (qsizetype i = 0; i < body.size(); i += 2) {
    const QChar c(unit(body, i));
    if (c.isNull() || (pending_high != c.isLowSurrogate())) return false;
    pending_high = c.isHighSurrogate();
  }
  return !pending_high;
}

}  // namespace rt
