#include "shared/sql_server_connect.h"

#include "db/transaction.h"

namespace shared {

bool sql_server_connect(const QString& server, const QString& db_name, const QString& login,
                        const QString& password, bool auto_commit) {
  sqlca.interface_id = QStringLiteral("MSS Microsoft SQL Server 6.x");
  sqlca.db_name = db_name;
  sqlca.server = server;
  sqlca.login = login;
  sqlca.auto_commit = auto_commit;
  sqlca.connect_params = QString();
  sqlca.password = password;
  sqlca.connect();
  return sqlca.status == 0;
}

}  // namespace shared
