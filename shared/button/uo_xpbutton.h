#pragma once
// Stand-in for the drawn push button until its own implementation lands; same interface.
#include <QPushButton>

class uo_xpbutton : public QPushButton {
  Q_OBJECT
 public:
  explicit uo_xpbutton(QWidget* parent);
  void set_tag(const QString& tag);
  QString tag() const { return tag_; }
  void place(int x, int y, int w, int h);
  void triggerevent_clicked() { emit clicked(); }

 private:
  QString tag_;
};
