// The upgrade chain in a process of its own, for the crash tests: connects to a database of a
// program folder as the Start action does, runs the chain and, when told to, ends itself with
// SIGKILL right before the chosen statement.
//
//   upgrade_chain_child <program folder> <database> <kill before statement n, 0: never>
#include <QCoreApplication>
#include <cstdio>

#include "db/embedded_server.h"
#include "db/transaction.h"
#include "kestrel/upgrade/chain.h"
#include "shared/globals.h"
#include "tests/support/kill_point.h"
#include "tools/fixture.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 4) {
    std::fprintf(stderr, "usage: upgrade_chain_child <folder> <database> <statement>\n");
    return 2;
  }
  set_program_folder(args[1]);
  db::set_embedded_server_folder(gs_apppath);
  db::install_embedded_server();
  if (!tools::connect_fixture(args[2])) {
    std::fprintf(stderr, "cannot connect: %s\n", sqlca.db_error_text.toUtf8().constData());
    return 3;
  }
  if (const long n = args[3].toLong(); n > 0) sqlca.set_fault_hook(test::kill_before(n));
  const upgrade::Outcome o = upgrade::run_chain();
  sqlca.set_fault_hook({});
  sqlca.disconnect();
  std::printf("%s\n", upgrade::outcome_name(o));
  return 0;
}
