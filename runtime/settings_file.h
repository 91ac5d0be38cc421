#pragma once
// Settings files of the Windows kind ("[section]" and "key=value" lines) in code page 936, or
// in UTF-8 when the file starts with a byte-order mark. CR LF, LF or a CR alone ends a line.
// Not QSettings: a write must keep every other byte of the file.
#include <QString>

namespace rt {

// A file named without a folder lives in the user's configuration folder
// ($XDG_CONFIG_HOME, else ~/.config), as Windows keeps such files in its own folder.
QString settings_path(const QString& file);

// The value of `key` in `section` (both matched without regard to case), ASCII blanks around
// it removed. `def` is returned only when the file, the section or the key is missing.
QString profile_string(const QString& file, const QString& section, const QString& key,
                       const QString& def);

// The whole text of a settings file, decoded as the readers here decode it (the encoding its
// byte-order mark names, else code page 936), without the mark; line ends are left as they
// are. False when the file cannot be read. For a program that looks keys up its own way.
bool read_settings_text(const QString& file, QString* text);

// Sets one key, creating the file, the section or the key as needed (and the configuration
// folder for a file named without one); every other byte of the file stays as it was. The file is
// replaced whole or not at all. 1 on success, -1 on failure, also (with nothing written) for a
// value that would not read back as written: one holding a line end or NUL, with blanks at its
// ends, or with a character the file's code page lacks.
int set_profile_string(const QString& file, const QString& section, const QString& key,
                       const QString& value);

}  // namespace rt
