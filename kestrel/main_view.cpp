#include "kestrel/main_view.h"

namespace kestrel {
namespace {
main_view* g_main = nullptr;
}

main_view* main_window() { return g_main; }
void set_main_window(main_view* w) { g_main = w; }

}  // namespace kestrel
