#include "kestrel/rebuild/tab_back_store.h"

#include <optional>
#include <set>

#include "db/data_store.h"
#include "kestrel/rebuild/missing_object.h"
#include "kestrel/rebuild/tab_back_tables.h"

namespace rebuild {

namespace {

// The columns the connected database's table has (lower case); empty when it has no such
// table; nothing, with the connection's status set, when the probe failed for any other
// reason (a lock held too long, an unreadable file): that is no answer about the table.
std::optional<std::set<QString>> columns_present(db::Transaction& t, const QString& table) {
  auto st = t.prepare(QStringLiteral("select * from ") + table + QStringLiteral(" where 1 = 0"));
  db::DbError e;
  if (st && st->execute(e)) {
    std::set<QString> out;
    for (int i = 0; i < st->column_count(); ++i) out.insert(st->column_name(i).toLower());
    return out;
  }
  if (st) t.set_result(false, e);
  // The only error that means the table is not there.
  if (no_such_table(t)) return std::set<QString>{};
  return std::nullopt;
}

// The export of an older database: a column its table lacks is read as null, and a table it
// lacks gives no rows. Columns and tables that every version holds were checked before the
// export began (source_check.h).
QString select_for(const std::set<QString>& present, const db::TableDefinition& d) {
  QStringList items;
  for (const db::ColumnDef& c : d.columns)
    items << (present.count(c.name.toLower()) ? c.name : QStringLiteral("null"));
  if (present.empty())
    return QStringLiteral("select ") + items.join(QStringLiteral(", ")) +
           QStringLiteral(" where 1 = 0");
  return QStringLiteral("select ") + items.join(QStringLiteral(", ")) + QStringLiteral(" from ") +
         d.update_table;
}

class TabBackStore final : public BackStore {
 public:
  void set_dataobject(const QString& name) override {
    name_ = name;
    ds_.set_dataobject(name);
  }
  void settransobject(db::Transaction& t) override {
    trans_ = &t;
    ds_.settransobject(t);
  }
  long retrieve() override {
    const db::TableDefinition* d = ds_.definition();
    if (d && trans_) {
      const std::optional<std::set<QString>> present = columns_present(*trans_, d->update_table);
      if (!present) return -1;
      db::TableDefinition adapted = *d;
      adapted.select_sql = select_for(*present, *d);
      adapted.name = name_ + QStringLiteral("_export");
      db::register_table_definition(adapted);
      ds_.set_dataobject(adapted.name);
      ds_.settransobject(*trans_);
    }
    return ds_.retrieve();
  }
  int saveas_text(const QString& path) override { return ds_.saveas(path); }
  void reset() override { ds_.reset(); }
  long importfile(const QString& path) override { return ds_.importfile(path); }
  std::optional<db::ImportRefusal> import_refusal() const override { return ds_.import_refusal(); }
  long rowcount() override { return ds_.rowcount(); }
  void setcolumn(int col) override { ds_.setcolumn(col); }
  QString getcolumnname() override { return ds_.getcolumnname(); }
  void setsort(const QString& criteria) override { ds_.setsort(criteria); }
  void sort() override { ds_.sort(); }
  std::optional<QString> getitemnumber_text(long row, const QString& col) override {
    const std::optional<double> v = ds_.getitemnumber(row, col);
    if (!v) return std::nullopt;
    return QString::number(*v, 'g', 15);
  }
  std::optional<QString> getitemstring(long row, const QString& col) override {
    return ds_.getitemstring(row, col);
  }
  void deleterow(long row) override { ds_.deleterow(row); }
  int update() override { return ds_.update(); }
  long stored_rowcount() override {
    const db::TableDefinition* d = ds_.definition();
    if (!d || !trans_) return -1;
    const auto row =
        trans_->select_row(QStringLiteral("select count ( *) from ") + d->update_table);
    // A table the database does not have holds no rows; any other failure counts nothing.
    if (no_such_table(*trans_)) return 0;
    return trans_->status == 0 && !row.empty() ? static_cast<long>(row[0].to_integer()) : -1;
  }

 private:
  db::DataStore ds_;
  db::Transaction* trans_ = nullptr;
  QString name_;
};

}  // namespace

std::unique_ptr<BackStore> make_tab_back_store() {
  register_tab_back_definitions();
  return std::make_unique<TabBackStore>();
}

}  // namespace rebuild
