#pragma once
// What the Start action reads from and writes to kestrel's main window. w_main implements it;
// tests use a recording double.
#include <QString>

#include "shared/connection_panel.h"

namespace rebuild {

class StartWindow {
 public:
  virtual ~StartWindow() = default;

  // The hidden connection panel: the local set's fields as typed, rb_2 and ii_database.
  virtual shared::connection_panel& panel() = 0;

  // The keep options cbx_2 ... cbx_6.
  virtual bool cbx_checked(int n) const = 0;
  virtual QString em_1_text() const = 0;
  virtual QString em_2_text() const = 0;

  virtual void set_st_11(const QString& text) = 0;
  // hpb_1: position to 0, then maxposition; stepit advances the position by one.
  virtual void hpb_start(int maxposition) = 0;
  virtual void hpb_stepit() = 0;

  // w_wait, opened with a text and w_main as parent; its st_1 is overwritten while it is open.
  virtual void open_w_wait(const QString& text) = 0;
  virtual void set_w_wait_text(const QString& text) = 0;
  virtual void close_w_wait() = 0;
};

}  // namespace rebuild
