// Times the whole upgrade chain, from the base fixture (4.00) to 16.10, on the embedded
// server, each round on a fresh fixture in a temporary program folder, and prints each
// round (with the time of each step) and the median, with the number of statements issued.
//
//   upgrade_chain_bench [rounds]      (default 5)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "db/transaction.h"
#include "kestrel/upgrade/chain.h"
#include "shared/globals.h"
#include "tools/fixture.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::vector<qint64> times;
  for (int r = 0; r < rounds; ++r) {
    QTemporaryDir dir;
    set_program_folder(dir.path());
    const QString err = tools::build_fixture();
    if (!err.isEmpty() || !tools::connect_fixture()) {
      std::fprintf(stderr, "fixture: %s\n", qPrintable(err));
      return 1;
    }
    long statements = 0;
    sqlca.set_fault_hook([&](const QString&) -> std::optional<db::DbError> {
      ++statements;
      return std::nullopt;
    });
    // The steps one by one, as run_chain calls them, to see where the time goes.
    QElapsedTimer t;
    t.start();
    QString per_step;
    upgrade::Outcome o = upgrade::Outcome::done;
    for (upgrade::Step step : upgrade::chain_steps()) {
      QElapsedTimer st;
      st.start();
      o = step();
      per_step += QStringLiteral(" %1").arg(st.elapsed());
      if (o == upgrade::Outcome::failed) break;
    }
    times.push_back(t.elapsed());
    sqlca.set_fault_hook({});
    sqlca.disconnect();
    std::printf("round %d: %lld ms (steps:%s), %ld statements, %s\n", r + 1,
                static_cast<long long>(times.back()), qPrintable(per_step), statements,
                upgrade::outcome_name(o));
  }
  std::sort(times.begin(), times.end());
  std::printf("median: %lld ms\n", static_cast<long long>(times[times.size() / 2]));
  return 0;
}
