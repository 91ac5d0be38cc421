#pragma once
// The drawn push button of kestrel's and plover's windows. A window places it, gives it its
// caption through the tag ("&" before the mnemonic letter) and connects to clicked().
#include <QFont>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include "shared/button/button_core.h"

class QShortcut;

class uo_xpbutton : public QWidget, private xpb::ButtonHost {
  Q_OBJECT
 public:
  // Takes the parent's background colour now; without a parent the background is black.
  explicit uo_xpbutton(QWidget* parent);
  ~uo_xpbutton() override;

  void set_tag(const QString& tag);  // the caption; "&" marks the mnemonic letter
  QString tag() const;
  void place(int x, int y, int width, int height);  // in the windows' layout units
  // 0 keeps the button out of the Tab order (a left press still gives it the focus). The number
  // is kept in the property "taborder" for the window that orders its controls.
  void set_taborder(int n);
  int taborder() const;
  void triggerevent_clicked();  // runs the clicked handlers at once, on this thread

  // The button's own functions.
  void of_addpicture(const QString& as_picturename);  // kept only when it ends in "!"
  void of_backcolor(long al_backcolor);
  void of_cancel(bool ab_cancel);    // Esc in the window activates the button
  void of_default(bool ab_default);  // Enter in the window activates the button
  void of_enabled(bool ab_enabled);
  void of_setcolor();
  void of_setfoucs();
  void of_text(const QString& as_text);
  void of_drawhover() {}

  QString caption() const { return caption_; }
  const xpb::ButtonCore& state() const { return core_; }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void setcapture() override {}
  void releasecapture() override {}
  void take_focus() override;
  void move_focus(bool next) override;
  void sleepex(int ms) override;
  void drawn(xpb::Look look) override;
  void changed() override;
  void load_picture(const QString& name) override;
  bool raise_clicked() override;

  QShortcut* make_shortcut();

  xpb::ButtonCore core_;
  QString tag_;
  QString caption_;
  int x_ = 0, y_ = 0;
  int taborder_ = 0;
  QFont caption_font_;
  QPixmap picture_;
  QShortcut* mnemonic_ = nullptr;
  QShortcut* default_ = nullptr;
  QShortcut* cancel_ = nullptr;
};
