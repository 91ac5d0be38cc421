#include "tests/support/kill_point.h"

#include <signal.h>
#include <unistd.h>

#include <memory>

namespace test {

db::Transaction::FaultHook kill_before(long nth, const QString& prefix) {
  auto seen = std::make_shared<long>(0);
  return [nth, prefix, seen](const QString& sql) -> std::optional<db::DbError> {
    if (!prefix.isEmpty() && !sql.startsWith(prefix)) return std::nullopt;
    if (++*seen == nth) ::kill(::getpid(), SIGKILL);
    return std::nullopt;
  };
}

}  // namespace test
