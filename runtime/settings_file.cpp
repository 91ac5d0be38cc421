#include "runtime/settings_file.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>
#include <optional>

#include "runtime/files.h"
#include "runtime/regular_file.h"
#include "runtime/settings_encoding.h"
#include "runtime/whole_file.h"

namespace rt {
namespace {

// Far above any real settings file.
constexpr qint64 kSettingsFileLimit = 16 * 1024 * 1024;

RegularFile read_settings_file(const QString& path) {
  return read_regular_file(path, kSettingsFileLimit);
}

// A line as it stands on disk and as text.
struct Row {
  SettingsLine raw;
  QString text;
};

std::vector<Row> rows_of(const SettingsEncoding& enc, const QByteArray& data) {
  std::vector<Row> rows;
  for (SettingsLine& l : enc.lines(data)) {
    QString text = enc.decode(l.text);
    rows.push_back({std::move(l), std::move(text)});
  }
  return rows;
}

bool ascii_blank(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\v') ||
         c == QLatin1Char('\f') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// Names and values lose the ASCII blanks at their ends only: a full-width space (U+3000) is
// part of the value.
QString trim(const QString& s) {
  qsizetype b = 0, e = s.size();
  while (b < e && ascii_blank(s[b])) ++b;
  while (e > b && ascii_blank(s[e - 1])) --e;
  return s.mid(b, e - b);
}

// The section name of a "[name]" line, or nothing.
std::optional<QString> section_of(const QString& line) {
  const QString t = trim(line);
  if (!t.startsWith(QLatin1Char('['))) return std::nullopt;
  const qsizetype close = t.indexOf(QLatin1Char(']'));
  if (close < 0) return std::nullopt;
  return trim(t.mid(1, close - 1));
}

struct KeyLine {
  QString key;
  QString value;
};

std::optional<KeyLine> key_of(const QString& line) {
  const QString t = trim(line);
  if (t.isEmpty() || t.startsWith(QLatin1Char(';'))) return std::nullopt;
  const qsizetype eq = t.indexOf(QLatin1Char('='));
  if (eq < 0) return std::nullopt;
  return KeyLine{trim(t.left(eq)), trim(t.mid(eq + 1))};
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

// A key that starts like a comment or a section line would not read back either.
bool fits_key(const QString& key) {
  return !key.isEmpty() && fits_line(key, "=") && key.front() != QLatin1Char(';') &&
         key.front() != QLatin1Char('[');
}

// Sets one key in the rows: its line replaced, or a new line after the section's last
// non-blank line, or a new section at the end.
void put(std::vector<Row>& rows, const QString& section, const QString& key, const Row& entry,
         const Row& section_line, const QByteArray& eol) {
  std::optional<size_t> sec, key_at, last_in_sec;
  bool in_section = false;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (auto s = section_of(rows[i].text)) {
      in_section = !sec && same_name(*s, section);
      if (in_section) {
        sec = i;
        last_in_sec = i;
      }
      continue;
    }
    if (!in_section) continue;
    if (!trim(rows[i].text).isEmpty()) last_in_sec = i;
    if (auto k = key_of(rows[i].text); k && !key_at && same_name(k->key, key)) key_at = i;
  }

  if (key_at) {
    rows[*key_at].raw.text = entry.raw.text;
    rows[*key_at].text = entry.text;
  } else if (sec) {
    const size_t at = *last_in_sec;
    if (rows[at].raw.end.isEmpty()) rows[at].raw.end = eol;
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at + 1), entry);
  } else {
    if (!rows.empty() && rows.back().raw.end.isEmpty()) rows.back().raw.end = eol;
    rows.push_back(section_line);
    rows.push_back(entry);
  }
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
  const RegularFile f = read_settings_file(settings_path(file));
  if (f.kind != RegularFile::file) return def;
  const QByteArray& data = f.data;
  const SettingsEncoding enc(data);
  bool in_section = false;
  for (const Row& row : rows_of(enc, data)) {
    if (auto s = section_of(row.text)) {
      in_section = same_name(*s, section);
      continue;
    }
    if (!in_section) continue;
    if (auto k = key_of(row.text); k && same_name(k->key, key)) return k->value;
  }
  return def;
}

bool read_settings_text(const QString& file, QString* text) {
  const RegularFile f = read_settings_file(settings_path(file));
  if (f.kind != RegularFile::file) return false;
  const SettingsEncoding enc(f.data);
  *text = enc.decode(f.data.mid(enc.mark().size()));
  return true;
}

int set_profile_strings(const QString& file, const QString& section,
                        const std::vector<profile_entry>& entries) {
  const QString path = settings_path(file);
  // A value that would not read back as written is refused, as the key or section it
  // would break; and with it the whole batch, before anything is touched.
  if (section.isEmpty() || !fits_line(section, "]")) return -1;
  for (const auto& [key, value] : entries)
    if (!fits_key(key) || !fits_line(value)) return -1;
  if (entries.empty()) return 1;
  // The configuration folder of a new account does not exist yet; Windows always has its own.
  if (path != file && !QDir().mkpath(QFileInfo(path).absolutePath())) return -1;
  // Only a regular file is replaced, or a new one made where there is nothing at all: a FIFO,
  // a device, a folder, a dangling link or a file past the bound is refused, not taken for
  // an empty file.
  const RegularFile found = read_settings_file(path);
  if (found.kind == RegularFile::other) return -1;
  if (found.kind == RegularFile::file && is_read_only(path)) return -1;
  const QByteArray& data = found.data;
  const SettingsEncoding enc(data);
  if (!enc.writable(data)) return -1;

  const auto line = [&](const QString& text, const QByteArray& end) -> std::optional<Row> {
    const auto bytes = enc.encode(text);
    if (!bytes) return std::nullopt;
    return Row{{*bytes, end}, text};
  };
  std::vector<Row> rows = rows_of(enc, data);
  QByteArray eol = enc.encode(QStringLiteral("\r\n")).value_or("\r\n");
  for (const Row& r : rows)
    if (!r.raw.end.isEmpty()) {
      eol = r.raw.end;
      break;
    }
  const std::optional<Row> section_line = line(QLatin1Char('[') + section + QLatin1Char(']'), eol);
  if (!section_line) return -1;
  std::vector<Row> lines;
  for (const auto& [key, value] : entries) {
    std::optional<Row> entry = line(key + QLatin1Char('=') + value, eol);
    if (!entry) return -1;
    lines.push_back(std::move(*entry));
  }
  for (size_t i = 0; i < entries.size(); ++i)
    put(rows, section, entries[i].first, lines[i], *section_line, eol);

  QByteArray out = enc.mark();
  out.reserve(data.size() + 64 * static_cast<qsizetype>(entries.size()) + 32);
  for (const Row& r : rows) out += r.raw.text + r.raw.end;

  // What is replaced must be the file just read, not one that took its place meanwhile.
  WholeFileOptions replace;
  replace.still_wanted = [&] { return still_there(path, found); };
  return write_whole_file(path, out, replace, nullptr) ? 1 : -1;
}

int set_profile_string(const QString& file, const QString& section, const QString& key,
                       const QString& value) {
  return set_profile_strings(file, section, {{key, value}});
}

}  // namespace rt
