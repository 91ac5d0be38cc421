#pragma once
namespace shared {
class connection_panel;
}

namespace plover {

// uo_1 "附加": attaches the pair <name>.mdf / <name>.ldf of the program folder, named by the
// local set's database field, on the local set's server through its master database.
void uo_1_clicked(shared::connection_panel& p);

}  // namespace plover
