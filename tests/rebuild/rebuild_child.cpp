// A kestrel for the fault-injection tests: presses Start on the real main window in a program
// folder, the whole Start action as the program runs it, with one fault at a chosen statement.
// It prints "started" before the press, "box:<title>|<text>" for every box (questions get their
// preselected answer), "killing" right before it kills itself, and "done" at the end.
//
//   rebuild_child <folder> [--purge] [--kill-at S | --fail-at S | --lock-at S | --pause-at S]
//       --purge     keep options that purge: member consumption not kept, data before
//                   2031/06/20 and amounts from 400.00 on not kept
//       --kill-at   SIGKILL just before statement S runs
//       --fail-at   S fails with an error of the server instead of running
//       --lock-at   just before S, another process locks the old database's data file for good
//       --pause-at  just before S, prints "paused" and waits for a line on stdin
//     S is a statement's beginning ("delete from mem_info"), or "A>B>...": the first statement
//     beginning with B after one beginning with A, and so on.
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include "db/transaction.h"
#include "kestrel/w_main.h"
#include "runtime/dialogs.h"
#include "shared/globals.h"
#include "tests/support/held_database.h"
#include "tests/support/test_environment.h"

namespace {

void say(const QString& line) {
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

class PrintedDialogs final : public rt::Dialogs {
 public:
  void notice(const QString& t, const QString& x) override { say("box:" + t + "|" + x); }
  void failure(const QString& t, const QString& x) override { say("box:" + t + "|" + x); }
  bool question(const QString& t, const QString& x, bool default_yes) override {
    say("box:" + t + "|" + x);
    return default_yes;
  }
  rt::FileChoice open_file(const QString&, const QString&, const QString&) override { return {}; }
};

// Matches the statement S of the options once: the beginnings of statements, separated by ">",
// each looked for after the one before it was seen.
class StatementSpec {
 public:
  explicit StatementSpec(const QString& spec) : steps_(spec.split(QLatin1Char('>'))) {}
  bool matches(const QString& sql) {
    if (next_ >= steps_.size() || !sql.startsWith(steps_[next_])) return false;
    return ++next_ == steps_.size();
  }

 private:
  QStringList steps_;
  qsizetype next_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  test::prepare_test_environment();
  QApplication app(argc, argv);
  QStringList args = app.arguments();
  const bool purge = args.removeAll(QStringLiteral("--purge")) > 0;
  if (args.size() != 2 && args.size() != 4) {
    say(
        QStringLiteral("usage: rebuild_child <folder> [--purge] "
                       "[--kill-at|--fail-at|--lock-at|--pause-at statement]"));
    return 2;
  }
  PrintedDialogs dialogs;
  rt::set_dialogs(&dialogs);
  set_program_folder(args[1]);

  const QString option = args.size() == 4 ? args[2] : QString();
  StatementSpec spec(args.size() == 4 ? args[3] : QString());
  std::optional<test::HeldDatabase> holder;
  if (!option.isEmpty()) {
    sqlca.set_fault_hook([&](const QString& sql) -> std::optional<db::DbError> {
      if (!spec.matches(sql)) return std::nullopt;
      if (option == QLatin1String("--kill-at")) {
        say(QStringLiteral("killing"));
        ::kill(::getpid(), SIGKILL);
      } else if (option == QLatin1String("--fail-at")) {
        return db::DbError{5180, QStringLiteral("Could not open file for read (injected).")};
      } else if (option == QLatin1String("--lock-at")) {
        holder.emplace(gs_apppath + QStringLiteral("velmo40.mdf"),
                       QStringList{QStringLiteral("begin exclusive")});
        say(holder->ready() ? QStringLiteral("locked") : holder->errors());
      } else if (option == QLatin1String("--pause-at")) {
        say(QStringLiteral("paused"));
        std::string line;
        std::getline(std::cin, line);
      }
      return std::nullopt;
    });
  }

  kestrel::w_main w;
  w.open();
  if (purge) {
    w.cbx_3->setChecked(false);
    w.cbx_5->setChecked(true);
    w.em_1->setText(QStringLiteral("2031/06/20"));
    w.cbx_6->setChecked(true);
    w.em_2->setText(QStringLiteral("400.00"));
  }
  say(QStringLiteral("started"));
  w.cb_test->triggerevent_clicked();
  holder.reset();
  say(QStringLiteral("done"));
  return 0;
}
