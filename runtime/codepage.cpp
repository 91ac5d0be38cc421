#include "runtime/codepage.h"

#include <iconv.h>

#include <cerrno>

namespace rt {
namespace {

// What stands for an unconvertible sequence starting with `byte`.
using Replacement = QByteArray (*)(char byte);

// Converts with iconv; an unconvertible sequence is replaced and skipped.
QByteArray convert(const char* to, const char* from, const QByteArray& in, Replacement bad,
                   size_t bad_in_len) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  QByteArray out;
  out.reserve(in.size() * 2 + 8);
  char* src = const_cast<char*>(in.constData());
  size_t src_left = static_cast<size_t>(in.size());
  char buf[4096];
  while (src_left > 0) {
    char* dst = buf;
    size_t dst_left = sizeof buf;
    size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    out.append(buf, static_cast<qsizetype>(dst - buf));
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (truncated input): replace and step over.
      out.append(bad(*src));
      size_t step = std::min(bad_in_len, src_left);
      src += step;
      src_left -= step;
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

QString from_cp936(const QByteArray& bytes) {
  if (bytes.isEmpty()) return QString();
  // GB18030 has no single byte 0x80; Windows' 936 reads it as the euro sign and writes the
  // euro sign so (as GBK does), so it reads back as written.
  QByteArray utf8 = convert(
      "UTF-8", "GB18030", bytes,
      [](char byte) { return QByteArray(byte == '\x80' ? "\xE2\x82\xAC" : "\xEF\xBF\xBD"); }, 1);
  return QString::fromUtf8(utf8);
}

QByteArray to_cp936(const QString& text) {
  if (text.isEmpty()) return QByteArray();
  QByteArray u16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  // One UTF-16 unit at a time is replaced; a surrogate pair yields two '?'.
  return convert(
      "GBK", "UTF-16LE", u16, [](char) { return QByteArray("?"); }, 2);
}

}  // namespace rt
