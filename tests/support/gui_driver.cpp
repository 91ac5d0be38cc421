// Drives a real program's window from inside it, for end-to-end tests: loaded with LD_PRELOAD
// into kestrel or plover, it plays a script of user actions and writes what it sees to a log.
//
//   SALON_DRIVER_SCRIPT  actions, separated by ",", taken in order:
//                          click:<object name>   presses that button of the open window
//                          window                waits for the program's window to show and
//                                                writes "window <title>"
//                          close                 closes that window, as its close box does
//                          yes, no, ok           answers the message box that is showing
//                          unexec                takes the execute bits off the program file
//   SALON_DRIVER_LOG     file the lines "start <program folder>", "window <title>",
//                        "box <title>|<text>" and "end" are appended to.
//
// Only the first process of a test plays the script: one that finds a "start" line in the log
// already was started again by the program, and it ends as soon as its window is open.
#include <sys/stat.h>

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

QString log_path() { return qEnvironmentVariable("SALON_DRIVER_LOG"); }

void log_line(const QString& line) {
  QFile f(log_path());
  if (f.open(QIODevice::Append)) f.write(line.toUtf8() + '\n');
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
    } else if ((action == QStringLiteral("window") || action == QStringLiteral("close")) && !box) {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !w->windowTitle().isEmpty()) {
          script_.removeFirst();
          if (action == QStringLiteral("window"))
            log_line(QStringLiteral("window ") + w->windowTitle());
          else
            QMetaObject::invokeMethod(w, "close", Qt::QueuedConnection);
          return;
        }
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
