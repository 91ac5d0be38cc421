#include "plover/cb_test.h"

#include "shared/panel_test.h"

namespace plover {

void cb_test_clicked(shared::connection_panel& p) {
  shared::test_connection(p, QStringLiteral("Connectstring='DSN=velmo40;UID=dba;PWD=kpz531274'"),
                          shared::disconnect_at::before_message);
}

}  // namespace plover
