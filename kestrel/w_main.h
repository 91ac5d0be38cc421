#pragma once
// kestrel's main window: the kind of the old database, the keep options, the status line and
// progress bar, Start and Close; and the connection panel, present but hidden, whose fields
// the window's open fills from user.ini for the Start action.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>

#include "kestrel/rebuild/start_window.h"
#include "shared/panel_window.h"
#include "shared/w_wait.h"

namespace kestrel {

class w_main final : public shared::panel_window, public rebuild::StartWindow {
 public:
  explicit w_main(QWidget* parent = nullptr);
  ~w_main() override;

  // Events.
  void open();
  void cb_test_clicked();

  // A Start run is in progress: a second Start and closing the window are refused meanwhile.
  bool running() const { return ib_running; }
  bool w_wait_open() const { return !iw_wait.isNull(); }
  QString w_wait_text() const;

  // rebuild::StartWindow
  shared::connection_panel& panel() override { return panel_window::panel(); }
  bool cbx_checked(int n) const override;
  QString em_1_text() const override;
  QString em_2_text() const override { return em_2->text(); }
  void set_st_11(const QString& text) override;
  void hpb_start(int maxposition) override;
  void hpb_stepit() override;
  void open_w_wait(const QString& s_inf) override;
  void set_w_wait_text(const QString& text) override;
  void close_w_wait() override;

  // The window's own controls; the connection panel's are panel_controls'.
  QLabel* st_11;
  QProgressBar* hpb_1;
  QLineEdit* em_2;
  QCheckBox* cbx_6;
  QLineEdit* em_1;
  QCheckBox* cbx_5;
  QCheckBox* cbx_4;
  QCheckBox* cbx_3;
  QCheckBox* cbx_2;
  QGroupBox* gb_4;

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void create();

  QPointer<w_wait> iw_wait;
  bool ib_running = false;
};

}  // namespace kestrel
