#pragma once
namespace shared {

class connection_panel;

// cb_create and cb_create2: copy the template files base.mdf / base.ldf of the program folder
// to files named after the local set's database and attach them on the server's master. Files
// of those names that hold anything else are set aside under a dated name first.
void cb_create_clicked(connection_panel& p);

}  // namespace shared
