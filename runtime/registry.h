#pragma once
// The registry as the programs use it: the keys under
// "HKEY_CURRENT_USER\Software\ODBC\ODBC.INI\" are the user's ODBC profile (unixODBC's user
// odbc.ini, which ODBCINI redirects); "...\ODBC Data Sources" is the section of that name.
// Every other key fails. Results: 1 on success, -1 on failure.
#include <QString>

namespace rt {

int registry_set(const QString& key, const QString& value_name, const QString& value);
int registry_delete(const QString& key, const QString& value_name);
int registry_get(const QString& key, const QString& value_name, QString& value);

// The profile section a registry key stands for, or an empty text for keys outside it.
QString odbc_section_of_key(const QString& key);

}  // namespace rt
