#pragma once
// sqlca's connection for one step of the Start action.
#include "db/transaction.h"

namespace rebuild {

// Disconnects sqlca when the step that connects it ends, whichever way it ends: after the
// failure box the step shows before it returns. end() lets the connection go at once, where
// what follows must come after it.
class ConnectionGuard {
 public:
  ConnectionGuard() = default;
  ConnectionGuard(const ConnectionGuard&) = delete;
  ConnectionGuard& operator=(const ConnectionGuard&) = delete;
  ~ConnectionGuard() { end(); }

  void end() {
    if (ended_) return;
    ended_ = true;
    sqlca.disconnect();
  }

 private:
  bool ended_ = false;
};

}  // namespace rebuild
