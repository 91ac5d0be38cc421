#pragma once
// What the Start action and f_del_b use of kestrel's main window, without the window itself:
// kestrel::w_main implements it, tests of those actions supply a fake.
#include <QString>

#include "shared/connection_panel.h"

namespace kestrel {

class main_view {
 public:
  virtual ~main_view() = default;

  // The hidden connection panel: the local set's fields, rb_2, ii_database.
  virtual shared::connection_panel& panel() = 0;

  // The keep options cbx_2 .. cbx_6 and their date (em_1) and amount (em_2).
  virtual bool cbx_checked(int n) const = 0;
  virtual QString em_1_text() const = 0;
  virtual QString em_2_text() const = 0;

  // The status line st_11.
  virtual QString st_11_text() const = 0;
  virtual void set_st_11_text(const QString& text) = 0;

  // The progress bar hpb_1; stepit advances the position by one unit, up to maxposition.
  virtual unsigned hpb_1_position() const = 0;
  virtual unsigned hpb_1_maxposition() const = 0;
  virtual void set_hpb_1_position(unsigned position) = 0;
  virtual void set_hpb_1_maxposition(unsigned maxposition) = 0;
  virtual void hpb_1_stepit() = 0;

  // The wait window w_wait, opened with a text and this window as its parent. Opening does
  // not block; the text line st_1 is rewritten while it is open.
  virtual void open_w_wait(const QString& s_inf) = 0;
  virtual bool w_wait_open() const = 0;
  virtual QString w_wait_text() const = 0;
  virtual void set_w_wait_text(const QString& text) = 0;
  virtual void close_w_wait() = 0;
};

// The open main window (the global window variable w_main); null while none is open.
main_view* main_window();
void set_main_window(main_view* w);

// The Start action, run by cb_test's clicked on the user-interface thread. The library
// kestrel_rebuild defines it (kestrel/rebuild/); without that folder the build links an
// action that does nothing.
void start_action(main_view& w);

}  // namespace kestrel
