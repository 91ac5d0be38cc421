#include "wren/get_ini_value.h"

#include "runtime/settings_file.h"
#include "wren/app_path.h"

namespace wren {
namespace {

const QChar kCr = QLatin1Char('\r'), kLf = QLatin1Char('\n');

// The file's text, read one character at a time.
class Reader {
 public:
  explicit Reader(QString text) : text_(std::move(text)) {}
  bool at_end() const { return pos_ >= text_.size(); }
  QChar next() { return text_[pos_++]; }
  QChar peek() const { return text_[pos_]; }

  // The rest of the line, without its end (CR LF, CR or LF). False when there is no line left.
  bool line(QString* out) {
    if (at_end()) return false;
    const qsizetype start = pos_;
    while (!at_end() && peek() != kCr && peek() != kLf) ++pos_;
    if (out) *out = text_.mid(start, pos_ - start);
    if (!at_end() && next() == kCr && !at_end() && peek() == kLf) ++pos_;
    return true;
  }

  // Two characters follow a section line, its CR LF, and are skipped unseen; a LF or a CR
  // without a LF after it is a whole line end on its own.
  void skip_section_line_end() {
    const bool lone_end =
        !at_end() &&
        (peek() == kLf || (peek() == kCr && (pos_ + 1 >= text_.size() || text_[pos_ + 1] != kLf)));
    for (int i = 0; i < (lone_end ? 1 : 2) && !at_end(); ++i) ++pos_;
  }

 private:
  QString text_;
  qsizetype pos_ = 0;
};

// Moves past the line "[section]"; at the end of the file when there is none.
void find_section(Reader& r, const QString& section) {
  while (!r.at_end()) {
    if (r.next() != QLatin1Char('[')) continue;
    QString name;
    while (!r.at_end()) {
      const QChar c = r.next();
      if (c == QLatin1Char(']')) break;
      name += c;
    }
    if (name == section) {
      r.skip_section_line_end();
      return;
    }
  }
}

}  // namespace

QString GetIniValue(const QString& file, const QString& section, const QString& key) {
  QString text;
  if (!rt::read_settings_text(file, &text)) return default_picture_path();
  Reader r(std::move(text));

  find_section(r, section);
  const QString wanted = trim_spaces(key);
  for (;;) {
    // Everything up to the next "=", line ends included, is the key.
    QString collected;
    bool equals = false;
    while (!r.at_end()) {
      const QChar c = r.next();
      if (c == QLatin1Char('=')) {
        equals = true;
        break;
      }
      collected += c;
    }
    if (!equals) return default_picture_path();
    QString value;
    if (!r.line(&value)) return default_picture_path();
    if (trim_spaces(collected) == wanted) return value;
  }
}

}  // namespace wren
