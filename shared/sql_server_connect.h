#pragma once
#include <QString>

namespace shared {

// Connects sqlca to a SQL Server database as every action of these programs does: the
// "MSS Microsoft SQL Server 6.x" interface, no connect parameters. True when connected.
bool sql_server_connect(const QString& server, const QString& db_name, const QString& login,
                        const QString& password, bool auto_commit);

}  // namespace shared
