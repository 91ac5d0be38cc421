#pragma once
// The small waiting window: a picture with one line of white text over it. It has no title
// bar, opens centred over its opener and does not block it; the opener writes st_1 as its work
// goes on and ends the window (deletes it) when done. A close request from anywhere else is
// ignored: the window shows the progress of a run that is still going on.
#include <QLabel>
#include <QPixmap>
#include <QWidget>

class w_wait : public QWidget {
 public:
  explicit w_wait(QWidget* parent = nullptr);

  // The open event, with the text the opener passed.
  void open(const QString& s_inf);

  QLabel* st_1;
  QLabel* p_1;

 protected:
  void closeEvent(QCloseEvent* e) override;
};

// The picture the program carries, shown when the program folder has no wait.jpg.
QPixmap w_wait_builtin_picture();
