#pragma once
// How a real SQL Server is reached through the FreeTDS driver.
#include <QString>

#include "db/backend.h"
#include "db/odbc_backend.h"

namespace db {

// The connect to a SQL Server ("." and "(local)" mean this computer; "host,port" names a
// port): a data source of a profile of its own that holds the server, port and database, and
// the login and password as SQLConnect's arguments. No value is parsed as attributes, so none
// can add or change one. A value the profile cannot carry exactly (a control character, a blank
// at either end, more than it holds) or a port that is not one is refused: the target is then
// empty and err names the field.
OdbcTarget freetds_target(const QString& server, const QString& database, const QString& login,
                          const QString& password, DbError& err);

}  // namespace db
