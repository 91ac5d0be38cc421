#pragma once
// wren's own lookup in its settings file, a character at a time, over the text the runtime's
// settings reader decodes (byte-order marks, code page 936 otherwise). It finds a key only on
// the line right after its section line (or on a line after one that held "="), and it reads
// on past the section: a key in a later section is found too. CR LF, LF and a CR alone end a
// line.
#include <QString>

namespace wren {

// The value of `key` in `section` of `file`, spaces kept; the default picture path when the
// file cannot be read to a value.
QString GetIniValue(const QString& file, const QString& section, const QString& key);

}  // namespace wren
