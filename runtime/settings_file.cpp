#include "runtime/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstring>
#include <optional>
#include <vector>

#include "runtime/codepage.h"
#include "runtime/files.h"

namespace rt {
namespace {

struct Line {
  QByteArray text;  // without its line end
  QByteArray end;   // "\r\n", "\n", "\r" or "" on the last line
};

// CR LF, LF and a CR alone each end a line, as Windows programs write and read them.
std::vector<Line> split_lines(const QByteArray& data) {
  std::vector<Line> lines;
  qsizetype start = 0;
  const qsizetype n = data.size();
  while (start < n) {
    qsizetype stop = start;
    while (stop < n && data[stop] != '\n' && data[stop] != '\r') ++stop;
    qsizetype next = stop;
    if (next < n) next += (data[next] == '\r' && next + 1 < n && data[next + 1] == '\n') ? 2 : 1;
    lines.push_back({data.mid(start, stop - start), data.mid(stop, next - stop)});
    start = next;
  }
  return lines;
}

// A file's text: code page 936, or UTF-8 after a byte-order mark (Notepad writes one).
struct Text {
  static constexpr char kBom[] = "\xEF\xBB\xBF";
  bool utf8 = false;

  explicit Text(const QByteArray& data) : utf8(data.startsWith(kBom)) {}
  QByteArray body(const QByteArray& data) const { return utf8 ? data.mid(3) : data; }
  QByteArray head() const { return utf8 ? QByteArray(kBom) : QByteArray(); }
  QString decode(const QByteArray& bytes) const {
    return utf8 ? QString::fromUtf8(bytes) : from_cp936(bytes);
  }
  // The bytes of `s`, or nothing when they would not read back as `s`.
  std::optional<QByteArray> encode(const QString& s) const {
    QByteArray bytes = utf8 ? s.toUtf8() : to_cp936(s);
    if (decode(bytes) != s) return std::nullopt;
    return bytes;
  }
};

// Names and values lose the ASCII blanks at their ends, trimmed as bytes before decoding: a
// full-width space (A1 A1) is part of the value.
QByteArray trim(const QByteArray& raw) { return raw.trimmed(); }

// The section name of a "[name]" line, or nothing.
std::optional<QString> section_of(const Text& enc, const QByteArray& raw) {
  QByteArray t = trim(raw);
  if (!t.startsWith('[')) return std::nullopt;
  qsizetype close = t.indexOf(']');
  if (close < 0) return std::nullopt;
  return enc.decode(trim(t.mid(1, close - 1)));
}

struct KeyLine {
  QString key;
  QString value;
};

std::optional<KeyLine> key_of(const Text& enc, const QByteArray& raw) {
  QByteArray t = trim(raw);
  if (t.isEmpty() || t.startsWith(';')) return std::nullopt;
  qsizetype eq = t.indexOf('=');
  if (eq < 0) return std::nullopt;
  return KeyLine{enc.decode(trim(t.left(eq))), enc.decode(trim(t.mid(eq + 1)))};
}

bool same_name(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool one_of(QChar c, const char* set) {
  return c.unicode() != 0 && c.unicode() < 0x80 && std::strchr(set, char(c.unicode()));
}

// Whether a section, key or value reads back as written from its place on a line: no line
// end or NUL inside, no blank at either end (the reader trims them), none of `stops`.
bool fits_line(const QString& s, const char* stops = "") {
  const char* blanks = " \t\v\f";
  if (!s.isEmpty() && (one_of(s.front(), blanks) || one_of(s.back(), blanks))) return false;
  for (QChar c : s)
    if (c.isNull() || one_of(c, "\r\n") || one_of(c, stops)) return false;
  return true;
}

}  // namespace

QString settings_path(const QString& file) {
  if (file.contains(QLatin1Char('/'))) return file;
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
  return base + QLatin1Char('/') + file;
}

QString profile_string(const QString& file, const QString& section, const QString& key,
                       const QString& def) {
  QFile f(settings_path(file));
  if (!f.open(QIODevice::ReadOnly)) return def;
  const QByteArray data = f.readAll();
  const Text enc(data);
  bool in_section = false;
  for (const Line& line : split_lines(enc.body(data))) {
    if (auto s = section_of(enc, line.text)) {
      in_section = same_name(*s, section);
      continue;
    }
    if (!in_section) continue;
    if (auto k = key_of(enc, line.text); k && same_name(k->key, key)) return k->value;
  }
  return def;
}

bool read_settings_text(const QString& file, QString* text) {
  QFile f(settings_path(file));
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QByteArray data = f.readAll();
  if (f.error() != QFileDevice::NoError) return false;
  const Text enc(data);
  *text = enc.decode(enc.body(data));
  return true;
}

int set_profile_string(const QString& file, const QString& section, const QString& key,
                       const QString& value) {
  const QString path = settings_path(file);
  // A value that would not read back as written is refused, as the key or section it
  // would break; a key that starts like a comment or a section line likewise.
  if (section.isEmpty() || !fits_line(section, "]") || key.isEmpty() || !fits_line(key, "=") ||
      key.front() == QLatin1Char(';') || key.front() == QLatin1Char('[') || !fits_line(value))
    return -1;
  // The configuration folder of a new account does not exist yet; Windows always has its own.
  if (path != file && !QDir().mkpath(QFileInfo(path).absolutePath())) return -1;
  QByteArray data;
  QFileInfo info(path);
  if (info.exists()) {
    if (!info.isFile() || is_read_only(path)) return -1;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    data = f.readAll();
  }
  const Text enc(data);
  const auto key_bytes = enc.encode(key), value_bytes = enc.encode(value),
             section_bytes = enc.encode(section);
  if (!key_bytes || !value_bytes || !section_bytes) return -1;
  std::vector<Line> lines = split_lines(enc.body(data));
  QByteArray eol = "\r\n";
  for (const Line& l : lines)
    if (!l.end.isEmpty()) {
      eol = l.end;
      break;
    }
  const QByteArray entry = *key_bytes + '=' + *value_bytes;

  // Find the section, the key inside it, and the last non-blank line of the section.
  std::optional<size_t> sec, key_at, last_in_sec;
  bool in_section = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (auto s = section_of(enc, lines[i].text)) {
      in_section = !sec && same_name(*s, section);
      if (in_section) {
        sec = i;
        last_in_sec = i;
      }
      continue;
    }
    if (!in_section) continue;
    if (!lines[i].text.trimmed().isEmpty()) last_in_sec = i;
    if (auto k = key_of(enc, lines[i].text); k && !key_at && same_name(k->key, key)) key_at = i;
  }

  if (key_at) {
    lines[*key_at].text = entry;
  } else if (sec) {
    size_t at = *last_in_sec;
    if (lines[at].end.isEmpty()) lines[at].end = eol;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at + 1), Line{entry, eol});
  } else {
    if (!lines.empty() && lines.back().end.isEmpty()) lines.back().end = eol;
    lines.push_back({'[' + *section_bytes + ']', eol});
    lines.push_back({entry, eol});
  }

  QByteArray out = enc.head();
  out.reserve(data.size() + entry.size() + 32);
  for (const Line& l : lines) out += l.text + l.end;

  QSaveFile save(path);
  if (!save.open(QIODevice::WriteOnly)) return -1;
  if (save.write(out) != out.size()) {
    save.cancelWriting();
    return -1;
  }
  return save.commit() ? 1 : -1;
}

}  // namespace rt
