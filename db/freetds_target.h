#pragma once
// How a real SQL Server is reached through the FreeTDS driver.
#include <QString>

#include "db/backend.h"
#include "db/odbc_backend.h"

namespace db {

// The connect to a SQL Server ("." and "(local)" mean this computer; "host,port" names a
// port): a data source of a profile of its own that holds the server, port and database, and
// the login and password as SQLConnect's arguments. No value is parsed as attributes, so none
// can add or change one. A value that cannot arrive exactly is refused: in the profile a control
// character or a blank at either end, anywhere more than the login's 128 characters; so is a
// port that is not one. The target is then empty and err names the field.
OdbcTarget freetds_target(const QString& server, const QString& database, const QString& login,
                          const QString& password, DbError& err);

}  // namespace db
