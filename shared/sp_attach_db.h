#pragma once
// The attach statement of a database named by the user, and the names it accepts.
#include <QString>

namespace shared {

// A name that can become a file name in the program folder: not empty, no path separator,
// no "..", none of the characters file names may not hold (\ / : * ? " < > | and controls).
bool database_name_allowed(const QString& name);

// "sp_attach_db 'name','data file','log file'" with every single quote doubled, so that a
// quote in the name or the folder stays inside its literal.
QString sp_attach_db(const QString& name, const QString& data_file, const QString& log_file);

}  // namespace shared
