#pragma once
namespace shared {
class connection_panel;
}

namespace plover {

// cb_test: tries the local set (kind 1 through the old database's own data source and account,
// kind 2 with the typed SQL Server values) and, when it connects, raises cb_save's clicked.
void cb_test_clicked(shared::connection_panel& p);

}  // namespace plover
