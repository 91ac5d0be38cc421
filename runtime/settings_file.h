#pragma once
// Settings files of the Windows kind ("[section]" and "key=value" lines) in code page 936.
// Not QSettings: a write must keep every other byte of the file.
#include <QString>

namespace rt {

// A file named without a folder lives in the user's configuration folder
// ($XDG_CONFIG_HOME, else ~/.config), as Windows keeps such files in its own folder.
QString settings_path(const QString& file);

// The value of `key` in `section` (both matched without regard to case), blanks around it
// removed. `def` is returned only when the file, the section or the key is missing.
QString profile_string(const QString& file, const QString& section, const QString& key,
                       const QString& def);

// Sets one key, creating the file, the section or the key as needed (and the configuration
// folder for a file named without one); every other byte of the file stays as it was. The file is
// replaced whole or not at all. 1 on success, -1 on failure.
int set_profile_string(const QString& file, const QString& section, const QString& key,
                       const QString& value);

}  // namespace rt
