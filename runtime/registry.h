#pragma once
// The registry as the programs use it: the keys under
// "HKEY_CURRENT_USER\Software\ODBC\ODBC.INI\" are the user's ODBC profile (unixODBC's user
// odbc.ini, which ODBCINI redirects); "...\ODBC Data Sources" is the section of that name.
// Every other key fails. Results: 1 on success, -1 on failure.
#include <QString>

namespace rt {

// Set and delete fail, writing nothing, for a section, name or value that
// registry_text_allowed refuses.
int registry_set(const QString& key, const QString& value_name, const QString& value);
int registry_delete(const QString& key, const QString& value_name);
int registry_get(const QString& key, const QString& value_name, QString& value);

// Whether a text can be written into the profile: one holding a control character (a line
// end, a tab, any of U+0000 to U+001F and U+007F to U+009F) is refused, since the profile is a
// file of lines that would gain lines of its own or read back cut short.
bool registry_text_allowed(const QString& text);

// The profile section a registry key stands for, or an empty text for keys outside it.
QString odbc_section_of_key(const QString& key);

}  // namespace rt
