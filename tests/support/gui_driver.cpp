// Drives a real program's window from inside it, for end-to-end tests: loaded with LD_PRELOAD
// into kestrel or plover, it plays a script of user actions and writes what it sees to a log.
//
//   SALON_DRIVER_SCRIPT  actions, separated by ",", taken in order:
//                          click:<object name>   presses that button of the open window
//                          window                waits for the program's window to show and
//                                                writes "window <title>"
//                          close                 closes that window, as its close box does
//                          yes, no, ok           answers the message box that is showing
//                          type:<text>           types the text, key by key, into the control
//                                                that has the keyboard focus
//                          unexec                takes the execute bits off the program file
//                          shot:<file>           once the window has been on the screen for half
//                                                a second, writes it as the display shows it to
//                                                <file> (PNG) and its shown controls to
//                                                <file>.txt, a line each: object name, class,
//                                                x y width height in the window, 1 when enabled,
//                                                text as shown (tab-separated)
//   SALON_DRIVER_LOG     file the lines "start <program folder>", "window <title>",
//                        "box <title>|<text>" and "end" are appended to.
//
// Only the first process of a test plays the script: one that finds a "start" line in the log
// already was started again by the program, and it ends as soon as its window is open.
#include <sys/stat.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

namespace {

QString log_path() { return qEnvironmentVariable("SALON_DRIVER_LOG"); }

void log_line(const QString& line) {
  QFile f(log_path());
  if (f.open(QIODevice::Append)) f.write(line.toUtf8() + '\n');
}

// The program's window on the screen, other than a message box.
QWidget* shown_window() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && !qobject_cast<QMessageBox*>(w) && w->windowHandle() &&
        w->windowHandle()->isExposed())
      return w;
  return nullptr;
}

// The picture comes from the display, not from the widgets painting themselves again.
void write_shot(QWidget* window, const QString& file) {
  window->screen()->grabWindow(window->winId()).save(file, "PNG");
  QFile list(file + QStringLiteral(".txt"));
  if (!list.open(QIODevice::WriteOnly)) return;
  for (QWidget* c : window->findChildren<QWidget*>()) {
    if (!c->isVisible()) continue;
    QString text;
    if (auto* l = qobject_cast<QLabel*>(c)) text = l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(c)) text = b->text();
    if (auto* e = qobject_cast<QLineEdit*>(c)) text = e->displayText();
    const QRect r(c->mapTo(window, QPoint(0, 0)), c->size());
    list.write(
        QStringList{
            c->objectName(), QString::fromLatin1(c->metaObject()->className()),
            QStringLiteral("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()),
            c->isEnabled() ? QStringLiteral("1") : QStringLiteral("0"), text}
            .join(QLatin1Char('\t'))
            .toUtf8() +
        '\n');
  }
}

// A key as the keyboard gives it: Qt's key codes of ASCII letters, digits and signs are their
// upper-case character codes.
void type_key(QWidget* to, QChar ch) {
  const int key = ch.toUpper().unicode();
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
  QCoreApplication::sendEvent(to, &press);
  QCoreApplication::sendEvent(to, &release);
}

class Driver : public QObject {
 public:
  Driver() {
    QFile f(log_path());
    const bool restarted = f.open(QIODevice::ReadOnly) && f.readAll().contains("start ");
    log_line(QStringLiteral("start ") + QCoreApplication::applicationDirPath());
    if (restarted) {
      QTimer::singleShot(200, qApp, [] { QCoreApplication::exit(0); });
      return;
    }
    script_ =
        qEnvironmentVariable("SALON_DRIVER_SCRIPT").split(QLatin1Char(','), Qt::SkipEmptyParts);
    timer_.callOnTimeout(this, &Driver::step);
    timer_.start(50);
  }

 private:
  void step() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box && box != last_box_) {
      last_box_ = box;
      log_line(QStringLiteral("box ") + box->windowTitle() + QLatin1Char('|') + box->text());
    }
    if (script_.isEmpty()) return;
    const QString action = script_.first();
    if (action == QStringLiteral("unexec")) {
      script_.removeFirst();
      ::chmod(QFile::encodeName(QCoreApplication::applicationFilePath()).constData(), 0644);
    } else if (action.startsWith(QStringLiteral("shot:")) && !box) {
      QWidget* window = shown_window();
      if (!window || ++shown_ticks_ < 10) return;
      script_.removeFirst();
      write_shot(window, action.mid(5));
    } else if ((action == QStringLiteral("window") || action == QStringLiteral("close")) && !box) {
      if (QWidget* window = shown_window()) {
        script_.removeFirst();
        if (action == QStringLiteral("window"))
          log_line(QStringLiteral("window ") + window->windowTitle());
        else
          QMetaObject::invokeMethod(window, "close", Qt::QueuedConnection);
      }
    } else if (action.startsWith(QStringLiteral("type:")) && !box) {
      // Without a window manager nothing activates the window: the driver does, as a user's
      // click on it would.
      QWidget* window = shown_window();
      if (!window) return;
      if (!window->isActiveWindow()) {
        window->activateWindow();
        return;
      }
      QWidget* focus = QApplication::focusWidget();
      if (!focus) return;
      script_.removeFirst();
      for (const QChar ch : action.mid(5)) type_key(focus, ch);
    } else if (action.startsWith(QStringLiteral("click:")) && !box) {
      for (QWidget* w : QApplication::allWidgets())
        if (w->objectName() == action.mid(6) && w->isVisible()) {
          script_.removeFirst();
          // Queued, so the action runs from the event loop as a user's click would.
          QMetaObject::invokeMethod(w, "clicked", Qt::QueuedConnection);
          return;
        }
    } else if (box) {
      const QMessageBox::StandardButton which = action == QStringLiteral("yes")  ? QMessageBox::Yes
                                                : action == QStringLiteral("no") ? QMessageBox::No
                                                                                 : QMessageBox::Ok;
      if (QAbstractButton* b = box->button(which)) {
        script_.removeFirst();
        b->click();
      }
    }
  }

  QTimer timer_;
  QStringList script_;
  QMessageBox* last_box_ = nullptr;
  int shown_ticks_ = 0;
};

void start_driver() {
  // Parented to the application, so it goes with it.
  (new Driver)->setParent(qApp);
}

__attribute__((constructor)) void install() {
  if (!log_path().isEmpty()) qAddPreRoutine(start_driver);
}

// Plain C here: Qt may be gone by the time the process unloads its libraries.
__attribute__((destructor)) void finish() {
  const char* path = std::getenv("SALON_DRIVER_LOG");
  if (!path || !*path) return;
  if (std::FILE* f = std::fopen(path, "a")) {
    std::fputs("end\n", f);
    std::fclose(f);
  }
}

}  // namespace
