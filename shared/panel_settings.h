#pragma once
// Section "database" of gs_inifile: the reading that fills the panel when a window opens, and
// the writing that the save handlers share.
#include <QString>
#include <vector>

#include "runtime/settings_file.h"

namespace shared {

class connection_panel;

// Fills both connection sets, the kind and cbx_1 from the settings. A missing file, section
// or key gives the defaults: empty texts, kind 1, connect "1"; each network key defaults to
// its local twin. Passwords go into the password and the confirmation field as stored.
void load_panel_settings(connection_panel& p);

// Writes the keys in order, all or none: when any of them cannot be written (a value the file
// cannot hold as typed, a file that cannot be replaced) it shows "错误信息" / "保存设置失败!"
// and the file stays as it was; false then.
using setting = rt::profile_entry;
bool write_settings(const std::vector<setting>& keys);

}  // namespace shared
