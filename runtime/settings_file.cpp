#include "runtime/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>
#include <vector>

#include "runtime/codepage.h"
#include "runtime/files.h"

namespace rt {
namespace {

struct Line {
  QByteArray text;  // without its line end
  QByteArray end;   // "\r\n", "\n" or "" on the last line
};

std::vector<Line> split_lines(const QByteArray& data) {
  std::vector<Line> lines;
  qsizetype start = 0;
  while (start < data.size()) {
    qsizetype nl = data.indexOf('\n', start);
    if (nl < 0) {
      lines.push_back({data.mid(start), {}});
      break;
    }
    qsizetype stop = nl;
    QByteArray end = "\n";
    if (stop > start && data[stop - 1] == '\r') {
      --stop;
      end = "\r\n";
    }
    lines.push_back({data.mid(start, stop - start), end});
    start = nl + 1;
  }
  return lines;
}

// The section name of a "[name]" line, or nothing.
std::optional<QString> section_of(const QByteArray& raw) {
  QByteArray t = raw.trimmed();
  if (!t.startsWith('[')) return std::nullopt;
  qsizetype close = t.indexOf(']');
  if (close < 0) return std::nullopt;
  return from_cp936(t.mid(1, close - 1)).trimmed();
}

struct KeyLine {
  QString key;
  QString value;
};

std::optional<KeyLine> key_of(const QByteArray& raw) {
  QByteArray t = raw.trimmed();
  if (t.isEmpty() || t.startsWith(';')) return std::nullopt;
  qsizetype eq = t.indexOf('=');
  if (eq < 0) return std::nullopt;
  return KeyLine{from_cp936(t.left(eq)).trimmed(), from_cp936(t.mid(eq + 1)).trimmed()};
}

bool same_name(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
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
  bool in_section = false;
  for (const Line& line : split_lines(f.readAll())) {
    if (auto s = section_of(line.text)) {
      in_section = same_name(*s, section);
      continue;
    }
    if (!in_section) continue;
    if (auto k = key_of(line.text); k && same_name(k->key, key)) return k->value;
  }
  return def;
}

int set_profile_string(const QString& file, const QString& section, const QString& key,
                       const QString& value) {
  const QString path = settings_path(file);
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
  std::vector<Line> lines = split_lines(data);
  QByteArray eol = "\r\n";
  for (const Line& l : lines)
    if (!l.end.isEmpty()) {
      eol = l.end;
      break;
    }
  const QByteArray entry = to_cp936(key) + '=' + to_cp936(value);

  // Find the section, the key inside it, and the last non-blank line of the section.
  std::optional<size_t> sec, key_at, last_in_sec;
  bool in_section = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (auto s = section_of(lines[i].text)) {
      in_section = !sec && same_name(*s, section);
      if (in_section) {
        sec = i;
        last_in_sec = i;
      }
      continue;
    }
    if (!in_section) continue;
    if (!lines[i].text.trimmed().isEmpty()) last_in_sec = i;
    if (auto k = key_of(lines[i].text); k && !key_at && same_name(k->key, key)) key_at = i;
  }

  if (key_at) {
    lines[*key_at].text = entry;
  } else if (sec) {
    size_t at = *last_in_sec;
    if (lines[at].end.isEmpty()) lines[at].end = eol;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at + 1), Line{entry, eol});
  } else {
    if (!lines.empty() && lines.back().end.isEmpty()) lines.back().end = eol;
    lines.push_back({'[' + to_cp936(section) + ']', eol});
    lines.push_back({entry, eol});
  }

  QByteArray out;
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
