// Scripted runs of the real wren, for its end-to-end tests and benchmark. Loaded into the
// program with LD_PRELOAD, and only when the environment variable WREN_TEST_SCRIPT names a
// script file: its commands then drive the menus and dialogs one after another, message boxes
// are answered as soon as they show, and every box, status text and requested fact goes to
// standard output, one line each ("kind|field|field"). The program itself knows nothing of
// this: the library finds its window, menu items, status bar and capture window by object name
// and reads them through Qt's properties.
//
//   wait picture | wait nopicture      there is a picture to save / there is none
//   wait status <text>                 the status bar text contains <text>
//   wait ms <n>
//   menu <item>                        triggers mnuCopy, mnuFormat, mnuSelect ...
//   dialog list <combo>                the items of a combo box of the open dialog
//   dialog choose <combo> <item>       selects the item with that text
//   dialog ok | dialog cancel          the dialog's OK (its default button) or Cancel
//   print state                        state|<capture window title>|<width>x<height>|<rate>|
//                                      <picture: 0 or 1>   (none for the size: no driver)
//   print frames                       frames|<shown>|<ms since start>|<process CPU ms>|
//                                      <thread CPU ms>
//
// A message box prints notice|, failure| or question|<title>|<text> and takes its default
// button. A command that cannot be done in 10 s, or that is not understood, ends the program
// with status 99.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSize>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int kTick = 10, kPatience = 10000;
constexpr int kScriptFailed = 99;

void out(const QStringList& fields) {
  QString line = fields.join(QLatin1Char('|'));
  line.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
  std::fputs(line.toUtf8().constData(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

double cpu_ms(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

QWidget* main_form() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("frmMain")) return w;
  return nullptr;
}

QWidget* part(const char* name) {
  QWidget* f = main_form();
  return f ? f->findChild<QWidget*>(QLatin1String(name)) : nullptr;
}

QString status_text() {
  QWidget* bar = part("StatusBar");
  return bar ? bar->property("text").toString() : QString();
}

QWidget* capture_window() { return part("capture_window"); }

bool has_picture() {
  QWidget* w = capture_window();
  return w && w->property("picture").toBool();
}

class Script final : public QObject {
  Q_OBJECT

 public:
  explicit Script(QStringList lines) : lines_(std::move(lines)) {
    clock_.start();
    connect(&timer_, &QTimer::timeout, this, &Script::tick);
    timer_.start(kTick);
  }

 private:
  // One command a tick; the ticks go on inside the loop of a modal dialog, so they drive it.
  void tick() {
    watch_status();
    if (answer_box()) return;
    while (pc_ < lines_.size() && lines_[pc_].trimmed().isEmpty()) ++pc_;
    if (pc_ >= lines_.size()) return;
    const QString line = lines_[pc_].trimmed();
    if (!since_.isValid()) since_.start();
    QString error;
    if (!ready(line, &error)) {
      if (!error.isEmpty() || since_.elapsed() > kPatience)
        fail(error.isEmpty() ? QStringLiteral("timeout") : error, line);
      return;
    }
    ++pc_;
    since_.invalidate();
    run(line);
  }

  // Every text the status bar shows, from the one the load left there on.
  void watch_status() {
    if (watching_) return;
    QWidget* bar = part("StatusBar");
    if (!bar) return;
    watching_ = true;
    if (!status_text().isEmpty()) out({"status", status_text()});
    connect(bar, SIGNAL(textChanged(QString)), this, SLOT(status_changed(QString)));
  }

  // A message box is printed and takes its default button.
  bool answer_box() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return false;
    const char* kind = box->icon() == QMessageBox::Critical   ? "failure"
                       : box->icon() == QMessageBox::Question ? "question"
                                                              : "notice";
    out({QString::fromLatin1(kind), box->windowTitle().trimmed(), box->text()});
    QAbstractButton* b = box->defaultButton();
    if (!b) b = box->button(QMessageBox::Ok);
    if (b)
      b->click();
    else
      box->reject();
    return true;
  }

  static QDialog* dialog() { return qobject_cast<QDialog*>(QApplication::activeModalWidget()); }

  // Whether the command can be done now; `error` for one that never can.
  bool ready(const QString& line, QString* error) const {
    const QStringList w = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString& verb = w[0];
    if (verb == QLatin1String("wait") && w.size() >= 2) {
      if (w[1] == QLatin1String("picture")) return has_picture();
      if (w[1] == QLatin1String("nopicture")) return !has_picture();
      if (w[1] == QLatin1String("ms") && w.size() == 3) return since_.elapsed() >= w[2].toInt();
      if (w[1] == QLatin1String("status"))
        return status_text().contains(line.section(QLatin1Char(' '), 2));
    }
    if (verb == QLatin1String("dialog")) return dialog() != nullptr;
    if (verb == QLatin1String("menu") || verb == QLatin1String("print")) return main_form();
    *error = QStringLiteral("not understood");
    return false;
  }

  void run(const QString& line) {
    const QStringList w = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (w[0] == QLatin1String("menu")) {
      QAction* a = w.size() == 2 ? main_form()->findChild<QAction*>(w[1]) : nullptr;
      if (!a) return fail(QStringLiteral("no such menu item"), line);
      // From the event loop: a modal dialog's own loop must not run inside this tick, since a
      // timer is not delivered again while its handler runs.
      QTimer::singleShot(0, a, &QAction::trigger);
    } else if (w[0] == QLatin1String("print") && w.value(1) == QLatin1String("state")) {
      print_state();
    } else if (w[0] == QLatin1String("print") && w.value(1) == QLatin1String("frames")) {
      QWidget* c = capture_window();
      out({"frames", QString::number(c ? c->property("frames_shown").toInt() : 0),
           QString::number(clock_.elapsed()), QString::number(cpu_ms(CLOCK_PROCESS_CPUTIME_ID)),
           QString::number(cpu_ms(CLOCK_THREAD_CPUTIME_ID))});
    } else if (w[0] == QLatin1String("dialog")) {
      run_dialog(line, w);
    } else if (w[0] != QLatin1String("wait")) {
      fail(QStringLiteral("not understood"), line);
    }
  }

  void run_dialog(const QString& line, const QStringList& w) {
    QDialog* d = dialog();
    auto* combo = d->findChild<QComboBox*>(w.value(2));
    if (w.value(1) == QLatin1String("list") && combo) {
      QStringList fields{QStringLiteral("list"), w[2], QString::number(combo->currentIndex())};
      for (int i = 0; i < combo->count(); ++i) fields << combo->itemText(i);
      out(fields);
    } else if (w.value(1) == QLatin1String("choose") && combo) {
      const int i = combo->findText(line.section(QLatin1Char(' '), 3));
      if (i < 0) return fail(QStringLiteral("no such item"), line);
      combo->setCurrentIndex(i);
    } else if (w.value(1) == QLatin1String("ok")) {
      if (auto* box = d->findChild<QDialogButtonBox*>()) {
        box->button(QDialogButtonBox::Ok)->click();
        return;
      }
      for (QPushButton* b : d->findChildren<QPushButton*>())
        if (b->isDefault()) return b->click();
      fail(QStringLiteral("no OK button"), line);
    } else if (w.value(1) == QLatin1String("cancel")) {
      d->reject();
    } else {
      fail(QStringLiteral("not understood"), line);
    }
  }

  static void print_state() {
    QWidget* c = capture_window();
    const QSize size =
        c && c->property("connected").toBool() ? c->property("image_size").toSize() : QSize();
    out({"state", c ? c->property("title").toString() : QString(),
         size.isValid() ? QStringLiteral("%1x%2").arg(size.width()).arg(size.height())
                        : QStringLiteral("none"),
         QString::number(c ? c->property("preview_rate").toInt() : 0),
         QString::number(has_picture() ? 1 : 0)});
  }

  void fail(const QString& why, const QString& line) {
    out({"script", why, line});
    timer_.stop();
    QCoreApplication::exit(kScriptFailed);
  }

  QStringList lines_;
  qsizetype pc_ = 0;
  QElapsedTimer since_, clock_;
  QTimer timer_;
  bool watching_ = false;

 private slots:
  // The status bar's signal, connected by name.
  void status_changed(const QString& text) { out({"status", text}); }
};

void start_script() {
  const QString path = qEnvironmentVariable("WREN_TEST_SCRIPT");
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    out({"script", QStringLiteral("cannot read"), path});
    std::exit(kScriptFailed);
  }
  // Parented to the application, so it goes with it.
  (new Script(QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))))->setParent(qApp);
}

__attribute__((constructor)) void install() {
  if (!qEnvironmentVariableIsEmpty("WREN_TEST_SCRIPT")) qAddPreRoutine(start_script);
}

}  // namespace

#include "wren_test_script.moc"
