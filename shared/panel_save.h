#pragma once
// The panel's save buttons: write the connection settings to section "database" of gs_inifile.
namespace shared {

class connection_panel;

// cb_save: the local set, the kind and the use-network flag, then the network set; passwords
// through u_enpt::f_enpt. A network mismatch leaves the local keys written; otherwise the ten
// keys are written all or none.
void cb_save_clicked(connection_panel& p);

// cb_save2: the local set and the kind only, passwords as typed.
void cb_save2_clicked(connection_panel& p);

}  // namespace shared
