#pragma once
// Settings files of the Windows kind ("[section]" and "key=value" lines) in the encoding their
// byte-order mark names (UTF-8, UTF-16 LE or BE), else in code page 936 (settings_encoding.h).
// Not QSettings: a write must keep every other byte of the file.
#include <QString>
#include <utility>
#include <vector>

namespace rt {

// A file named without a folder lives in the user's configuration folder
// ($XDG_CONFIG_HOME, else ~/.config), as Windows keeps such files in its own folder.
QString settings_path(const QString& file);

// The readers here take only a regular file of at most 16 MiB, opened without waiting: a FIFO,
// a device, a folder or a larger file reads as a missing file.

// The value of `key` in `section` (both matched without regard to case), ASCII blanks around
// it removed. `def` is returned only when the file, the section or the key is missing.
QString profile_string(const QString& file, const QString& section, const QString& key,
                       const QString& def);

// The whole text of a settings file, decoded as the readers here decode it (the encoding its
// byte-order mark names, else code page 936), without the mark; line ends are left as they
// are. False when the file cannot be read. For a program that looks keys up its own way.
bool read_settings_text(const QString& file, QString* text);

// Sets keys of one section, in order, creating the file, the section or a key as needed (and
// the configuration folder for a file named without one); every other byte of the file stays
// as it was. All or nothing: every key and value is checked before the file is touched, and the
// file is replaced whole, once. 1 on success; -1 with the file unchanged on any failure, also for
// a value that would not read back as written (one holding a line end or NUL, with blanks at
// its ends, or with a character the file's encoding lacks or U+FFFD, which stands for bytes the
// reader could not decode), for a file that cannot be written back in its own encoding
// (SettingsEncoding::writable) and for anything at the path but a regular file the readers
// take (or nothing at all).
using profile_entry = std::pair<QString, QString>;  // key, value
int set_profile_strings(const QString& file, const QString& section,
                        const std::vector<profile_entry>& entries);

// One key: set_profile_strings with a single entry.
int set_profile_string(const QString& file, const QString& section, const QString& key,
                       const QString& value);

}  // namespace rt
