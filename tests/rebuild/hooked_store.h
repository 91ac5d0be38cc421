#pragma once
// The real data store with a hook that runs right before each of its calls that can take long
// or that the row check makes, so that a test can look at the windows at those moments.
#include <functional>
#include <memory>

#include "kestrel/rebuild/back_store.h"
#include "kestrel/rebuild/tab_back_store.h"

namespace test {

class HookedStore final : public rebuild::BackStore {
 public:
  // `hook` gets the call's name ("importfile", "getitem") and the table number.
  using Hook = std::function<void(const char* call, int n)>;
  explicit HookedStore(Hook hook) : real_(rebuild::make_tab_back_store()), hook_(std::move(hook)) {}

  void set_dataobject(const QString& name) override {
    n_ = name.mid(QStringLiteral("tab_back_").size()).toInt();
    real_->set_dataobject(name);
  }
  void settransobject(db::Transaction& t) override { real_->settransobject(t); }
  long retrieve() override { return real_->retrieve(); }
  int saveas_text(const QString& path) override { return real_->saveas_text(path); }
  void reset() override { real_->reset(); }
  long importfile(const QString& path) override {
    hook_("importfile", n_);
    return real_->importfile(path);
  }
  long rowcount() override { return real_->rowcount(); }
  void setcolumn(int col) override { real_->setcolumn(col); }
  QString getcolumnname() override { return real_->getcolumnname(); }
  void setsort(const QString& criteria) override { real_->setsort(criteria); }
  void sort() override { real_->sort(); }
  std::optional<QString> getitemnumber_text(long row, const QString& col) override {
    hook_("getitem", n_);
    return real_->getitemnumber_text(row, col);
  }
  std::optional<QString> getitemstring(long row, const QString& col) override {
    hook_("getitem", n_);
    return real_->getitemstring(row, col);
  }
  void deleterow(long row) override { real_->deleterow(row); }
  int update() override { return real_->update(); }
  long stored_rowcount() override { return real_->stored_rowcount(); }

 private:
  std::unique_ptr<rebuild::BackStore> real_;
  Hook hook_;
  int n_ = 0;
};

}  // namespace test
