#pragma once
#include <QString>

// Copies fs_from over fs_to: 0 on success, -1 on failure. Copying a file onto itself fails and
// leaves it intact; so does overwriting a database file the embedded server holds attached.
int f_copy_file(const QString& fs_from, const QString& fs_to);
