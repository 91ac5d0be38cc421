#include "wren/test_script.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "runtime/dialogs.h"
#include "wren/capture/avicap.h"
#include "wren/frm_main.h"
#include "wren/wren_core.h"

namespace wren {
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

// Boxes are printed, not shown; a question takes its preselected answer.
class PrintedDialogs final : public rt::Dialogs {
 public:
  void notice(const QString& t, const QString& x) override { out({"notice", t, x}); }
  void failure(const QString& t, const QString& x) override { out({"failure", t, x}); }
  bool question(const QString& t, const QString& x, bool default_yes) override {
    out({"question", t, x});
    return default_yes;
  }
  rt::FileChoice open_file(const QString& t, const QString&, const QString&) override {
    out({"open_file", t});
    return {};
  }
};

QAction* menu_item(const QString& name) {
  frmMain* f = frmMain::instance();
  if (!f) return nullptr;
  const std::pair<const char*, QAction * frmMain::*> items[] = {
      {"mnuAllocate", &frmMain::mnuAllocate}, {"mnuExit", &frmMain::mnuExit},
      {"mnuCopy", &frmMain::mnuCopy},         {"mnuStart", &frmMain::mnuStart},
      {"mnuDisplay", &frmMain::mnuDisplay},   {"mnuFormat", &frmMain::mnuFormat},
      {"mnuSource", &frmMain::mnuSource},     {"mnuCompression", &frmMain::mnuCompression},
      {"mnuSelect", &frmMain::mnuSelect},     {"mnuScale", &frmMain::mnuScale},
      {"mnuPreview", &frmMain::mnuPreview},   {"mnuAlwaysVisible", &frmMain::mnuAlwaysVisible},
  };
  for (const auto& [n, item] : items)
    if (name == QLatin1String(n)) return f->*item;
  return nullptr;
}

double cpu_ms(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

class Script final : public QObject {
 public:
  Script(QStringList lines, QObject* parent) : QObject(parent), lines_(std::move(lines)) {
    rt::set_dialogs(&dialogs_);
    clock_.start();
    connect(&timer_, &QTimer::timeout, this, &Script::tick);
    timer_.start(kTick);
  }
  ~Script() override {
    if (&rt::dialogs() == &dialogs_) rt::set_dialogs(nullptr);
  }

 private:
  // One command a tick; the ticks go on inside the loop of a modal dialog, so they drive it.
  void tick() {
    if (frmMain* f = frmMain::instance(); f && !watching_) {
      watching_ = true;
      // What the load reported came before the first tick.
      if (!f->StatusBar->text().isEmpty()) out({"status", f->StatusBar->text()});
      connect(f->StatusBar, &StatusBarControl::textChanged, this, [](const QString& t) {
        out({"status", t});
      });
    }
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

  static QDialog* dialog() { return qobject_cast<QDialog*>(QApplication::activeModalWidget()); }

  // Whether the command can be done now; `error` for one that never can.
  bool ready(const QString& line, QString* error) const {
    const QStringList w = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString& verb = w[0];
    const capture::Frame* frame = hCapWnd ? hCapWnd->current_frame() : nullptr;
    if (verb == QLatin1String("wait") && w.size() >= 2) {
      if (w[1] == QLatin1String("picture")) return frame != nullptr;
      if (w[1] == QLatin1String("nopicture")) return frame == nullptr;
      if (w[1] == QLatin1String("ms") && w.size() == 3) return since_.elapsed() >= w[2].toInt();
      if (w[1] == QLatin1String("status")) {
        frmMain* f = frmMain::instance();
        return f && f->StatusBar->text().contains(line.section(QLatin1Char(' '), 2));
      }
    }
    if (verb == QLatin1String("dialog")) return dialog() != nullptr;
    if (verb == QLatin1String("menu") || verb == QLatin1String("print")) return true;
    *error = QStringLiteral("not understood");
    return false;
  }

  void run(const QString& line) {
    const QStringList w = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (w[0] == QLatin1String("menu")) {
      QAction* a = w.size() == 2 ? menu_item(w[1]) : nullptr;
      if (!a) return fail(QStringLiteral("no such menu item"), line);
      // From the event loop: a modal dialog's own loop must not run inside this tick, since a
      // timer is not delivered again while its handler runs.
      QTimer::singleShot(0, a, &QAction::trigger);
    } else if (w[0] == QLatin1String("print") && w.value(1) == QLatin1String("state")) {
      print_state();
    } else if (w[0] == QLatin1String("print") && w.value(1) == QLatin1String("frames")) {
      out({"frames", QString::number(hCapWnd ? hCapWnd->frames_shown() : 0),
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

  void print_state() const {
    capture::CAPSTATUS status{};
    const bool connected = capture::capGetStatus(hCapWnd, &status, 76);
    out({"state", hCapWnd ? hCapWnd->title() : QString(),
         connected ? QStringLiteral("%1x%2").arg(status.uiImageWidth).arg(status.uiImageHeight)
                   : QStringLiteral("none"),
         QString::number(hCapWnd ? hCapWnd->preview_rate() : 0),
         QString::number(hCapWnd && hCapWnd->current_frame() ? 1 : 0)});
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
  PrintedDialogs dialogs_;
  bool watching_ = false;
};

}  // namespace

void start_test_script() {
  const QString path = qEnvironmentVariable("WREN_TEST_SCRIPT");
  if (path.isEmpty()) return;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    out({"script", QStringLiteral("cannot read"), path});
    std::exit(kScriptFailed);
  }
  new Script(QString::fromUtf8(f.readAll()).split(QLatin1Char('\n')), qApp);  // qApp owns it
}

}  // namespace wren
