#pragma once
// The text of a settings file in the encoding its byte-order mark names: UTF-8 (EF BB BF),
// UTF-16 little-endian (FF FE) or big-endian (FE FF); without a mark, code page 936. Windows
// tools write all of them, and each program must read the same values from any of them.
#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace rt {

// One line of the file as it stands on disk, in the file's own encoding.
struct SettingsLine {
  QByteArray text;  // without its line end
  QByteArray end;   // CR LF, LF, CR alone, or empty on the last line
};

class SettingsEncoding {
 public:
  // The encoding of a file that starts with `data`.
  explicit SettingsEncoding(const QByteArray& data);

  // The byte-order mark the file starts with (empty for code page 936).
  QByteArray mark() const;
  // The lines after the mark. CR LF, LF and a CR alone each end a line, as Windows programs
  // write and read them. A last odd byte of a UTF-16 file belongs to no line.
  std::vector<SettingsLine> lines(const QByteArray& data) const;

  // A line's text; what does not decode (an unpaired surrogate, a broken sequence) becomes
  // U+FFFD in its own line only.
  QString decode(const QByteArray& bytes) const;
  // The bytes of `s`, or nothing when they would not read back as `s`, or when `s` holds
  // U+FFFD: decode puts that in place of bytes it cannot read, and writing it would put the
  // mark in their place, in every encoding alike.
  std::optional<QByteArray> encode(const QString& s) const;

  // Whether the file can be written back line by line without damaging it: a UTF-16 file
  // needs whole code units and paired surrogates, and no file may hold NUL (a file that does is
  // in an encoding this reader does not know: UTF-16 without its mark, or UTF-32, whose mark
  // starts like UTF-16's).
  bool writable(const QByteArray& data) const;

 private:
  enum class Form { cp936, utf8, utf16le, utf16be };
  bool utf16() const { return form_ == Form::utf16le || form_ == Form::utf16be; }
  char16_t unit(const QByteArray& data, qsizetype at) const;

  Form form_ = Form::cp936;
};

}  // namespace rt
