#pragma once
// The data store operations the Start action uses on `ds_back`, so the action's sequence can
// be driven against the real data store or a test double. Results are held at full width.
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "db/data_store.h"
#include "db/transaction.h"

namespace rebuild {

class BackStore {
 public:
  virtual ~BackStore() = default;
  virtual void set_dataobject(const QString& name) = 0;
  virtual void settransobject(db::Transaction& t) = 0;
  // Rows retrieved, or -1 (the connection's status tells why).
  virtual long retrieve() = 0;
  // Tab-separated text, no heading line; 1 on success.
  virtual int saveas_text(const QString& path) = 0;
  virtual void reset() = 0;
  // Rows read, or a negative code (-2, -5: nothing to import).
  virtual long importfile(const QString& path) = 0;
  // Where and why the last importfile refused its file, when it says.
  virtual std::optional<db::ImportRefusal> import_refusal() const { return std::nullopt; }
  virtual long rowcount() = 0;
  virtual void setcolumn(int col) = 0;
  virtual QString getcolumnname() = 0;
  virtual void setsort(const QString& criteria) = 0;
  virtual void sort() = 0;
  // The cell's number as decimal text, or null.
  virtual std::optional<QString> getitemnumber_text(long row, const QString& col) = 0;
  virtual std::optional<QString> getitemstring(long row, const QString& col) = 0;
  virtual void deleterow(long row) = 0;
  // 1 on success.
  virtual int update() = 0;
  // The rows the definition's table holds in the database the store is bound to (0 when the
  // database has no such table); -1 when they cannot be counted.
  virtual long stored_rowcount() = 0;
};

using BackStoreFactory = std::function<std::unique_ptr<BackStore>()>;

}  // namespace rebuild
