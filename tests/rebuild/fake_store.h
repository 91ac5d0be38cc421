#pragma once
// A data store double for the Start action: the export writes the rows a test gives per table
// number, the import reads them back, update() records what would be stored. Results can be
// scripted per table number. Every row has the columns "k" and "emp_id"; "~" stands for null.
#include <QFile>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "kestrel/rebuild/back_store.h"

namespace test {

struct StoreScript {
  std::map<int, QStringList> old_rows;  // rows "k\temp_id" per table number
  std::set<int> retrieve_fails;         // the retrieve reports an error
  std::set<int> save_fails;             // the save writes no file
  std::map<int, long> import_result;    // replaces the import's own result
  std::map<int, int> update_result;     // replaces update()'s 1
  std::function<void(int)> on_update;   // runs inside update(), before it returns
  std::map<int, long> held_offset;      // added to the rows a count finds after the import
  std::map<int, QStringList> stored;    // what update() stored, per table number
  QStringList calls;                    // "import 7", "update 7", ...
};

class FakeStore : public rebuild::BackStore {
 public:
  explicit FakeStore(StoreScript& s) : s_(s) {}

  void set_dataobject(const QString& name) override {
    n_ = name.mid(QStringLiteral("tab_back_").size()).toInt();
    rows_.clear();
  }
  void settransobject(db::Transaction&) override {}
  long retrieve() override {
    if (s_.retrieve_fails.count(n_)) return -1;
    rows_ = s_.old_rows[n_];
    return rows_.size();
  }
  int saveas_text(const QString& path) override {
    if (s_.save_fails.count(n_)) return -1;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return -1;
    for (const QString& r : rows_) f.write((r + "\n").toUtf8());
    return 1;
  }
  void reset() override { rows_.clear(); }
  long importfile(const QString& path) override {
    s_.calls << QString("import %1").arg(n_);
    QFile f(path);
    long result = -5;
    if (f.open(QIODevice::ReadOnly)) {
      const QString all = QString::fromUtf8(f.readAll());
      rows_ = all.split('\n', Qt::SkipEmptyParts);
      result = rows_.isEmpty() ? -2 : rows_.size();
    }
    if (auto it = s_.import_result.find(n_); it != s_.import_result.end()) result = it->second;
    return result;
  }
  long rowcount() override { return rows_.size(); }
  void setcolumn(int col) override { col_ = col; }
  QString getcolumnname() override { return col_ == 1 ? "k" : "emp_id"; }
  void setsort(const QString& criteria) override { sort_col_ = criteria == "k" ? 0 : 1; }
  void sort() override {
    std::stable_sort(rows_.begin(), rows_.end(), [this](const QString& a, const QString& b) {
      const QString x = a.split('\t').value(sort_col_), y = b.split('\t').value(sort_col_);
      if (x == "~" || y == "~") return x == "~" && y != "~";
      return x < y;
    });
  }
  std::optional<QString> getitemnumber_text(long row, const QString& col) override {
    return cell(row, col);
  }
  std::optional<QString> getitemstring(long row, const QString& col) override {
    return cell(row, col);
  }
  void deleterow(long row) override { rows_.removeAt(row - 1); }
  int update() override {
    s_.calls << QString("update %1").arg(n_);
    if (s_.on_update) s_.on_update(n_);
    if (auto it = s_.update_result.find(n_); it != s_.update_result.end()) return it->second;
    s_.stored[n_] = rows_;
    stored_now_[n_] = rows_.size();
    return 1;
  }
  // What this run stored (the emptying leaves nothing else), plus the scripted offset.
  long stored_rowcount() override {
    const auto it = s_.held_offset.find(n_);
    return stored_now_[n_] + (it == s_.held_offset.end() ? 0 : it->second);
  }

 private:
  std::optional<QString> cell(long row, const QString& col) {
    const QString v = rows_.value(row - 1).split('\t').value(col == "k" ? 0 : 1);
    if (v == "~") return std::nullopt;
    return v;
  }
  StoreScript& s_;
  int n_ = 0;
  int col_ = 1;
  int sort_col_ = 0;
  QStringList rows_;
  std::map<int, long> stored_now_;
};

inline rebuild::BackStoreFactory fake_store_factory(StoreScript& s) {
  return [&s] { return std::make_unique<FakeStore>(s); };
}

}  // namespace test
