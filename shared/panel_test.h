#pragma once
namespace shared {

class connection_panel;

// cb_test2: tries a connection of the chosen kind and, when it works, raises cb_save's
// clicked so that the tested settings can be stored.
void cb_test2_clicked(connection_panel& p);

}  // namespace shared
