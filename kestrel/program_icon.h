#pragma once
// kestrel's program icon, network98.ico, carried in the program's resources. Windows without
// an icon of their own (w_wait) show it; w_main keeps its stock database icon.
#include <QIcon>

namespace kestrel {

QIcon network98_ico();

// Makes network98.ico the application's window icon; part of the start-up, before any window.
void set_program_icon();

}  // namespace kestrel
