#pragma once
// Connects sqlca through the ODBC data source fs_dsn; when that fails, registers the data
// source for the local engine and tries again (silently while gi_connect_time is 1, after
// asking once it is 2). Returns 1 or 0; the caller reads sqlca.status to know whether it is
// connected.
#include <QString>

int f_conect(const QString& fs_dsn, const QString& fs_server, const QString& fs_use,
             const QString& fs_password);

// The silent registration: the data source fs_dsn for the database fs_dsn + ".db" with the
// driver and engine in the program folder. 1 when its deciding write (the entry in the list of
// data sources) succeeded, -1 otherwise; also, with nothing written, for a program folder or
// name that holds a control character. The registration after asking refuses those the same way.
int register_in_program_folder(const QString& fs_dsn, const QString& fs_server);

// The registry calls f_conect makes. Tests replace one to imitate a key the user may not
// change, which the real profile cannot be made into.
struct f_conect_registry {
  int (*set)(const QString& key, const QString& value_name, const QString& value);
  int (*remove)(const QString& key, const QString& value_name);
  int (*get)(const QString& key, const QString& value_name, QString& value);
};
f_conect_registry& f_conect_registry_in_use();
