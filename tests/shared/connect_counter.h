#pragma once
// Counts the connects tried on sqlca (through its fault hook, which lets each one run).
#include "db/transaction.h"

namespace test {

class connect_counter {
 public:
  connect_counter() {
    sqlca.set_fault_hook([this](const QString& sql) -> std::optional<db::DbError> {
      if (sql.startsWith(QStringLiteral("CONNECT "))) ++count_;
      return std::nullopt;
    });
  }
  ~connect_counter() { sqlca.set_fault_hook({}); }
  int count() const { return count_; }

 private:
  int count_ = 0;
};

}  // namespace test
