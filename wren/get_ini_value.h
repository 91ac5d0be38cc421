#pragma once
// wren's own reader of its settings file, a character at a time. It finds a key only on the
// line right after its section line (or on a line after one that held "="), and it reads on
// past the section: a key in a later section is found too.
#include <QString>

namespace wren {

// The value of `key` in `section` of `file` (code page 936), spaces kept; the default picture
// path when the file cannot be read to a value.
QString GetIniValue(const QString& file, const QString& section, const QString& key);

}  // namespace wren
