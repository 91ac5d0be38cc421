#include "shared/connection_panel.h"

#include "shared/trim_blanks.h"

namespace shared {
namespace {

connection_set read_set(const connection_panel& p, sle first) {
  const auto at = [&](int i) {
    return trim_blanks(p.text(static_cast<sle>(static_cast<int>(first) + i)));
  };
  return {at(0), at(1), at(2), at(3), at(4)};
}

}  // namespace

connection_set read_local_set(const connection_panel& p) { return read_set(p, sle::server_name); }
connection_set read_network_set(const connection_panel& p) {
  return read_set(p, sle::server_name2);
}

int take_kind(connection_panel& p) {
  p.set_ii_database(1);
  if (p.rb_2_checked()) p.set_ii_database(2);
  return p.ii_database();
}

}  // namespace shared
