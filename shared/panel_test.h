#pragma once
#include <QString>

namespace shared {

class connection_panel;

// cb_test2: tries a connection of the chosen kind and, when it works, raises cb_save's
// clicked so that the tested settings can be stored.
void cb_test2_clicked(connection_panel& p);

// When the test closes its connection: after telling the user the outcome (the panel's test) or
// before (plover's own).
enum class disconnect_at { after_message, before_message };

// The test itself. The local kind connects with `local_connect_params`, the data source and
// account fixed by the program that runs the test; the typed values serve only the SQL Server.
// A successful test then raises cb_save's clicked.
void test_connection(connection_panel& p, const QString& local_connect_params,
                     disconnect_at when = disconnect_at::after_message);

}  // namespace shared
