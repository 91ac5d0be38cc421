#pragma once
// A dialogs service for tests: records every box and answers from a queue.
#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "runtime/dialogs.h"
#include "tests/support/qt_print.h"

namespace test {

struct Shown {
  enum Kind { Notice, Failure, Question, OpenFile } kind;
  QString title;
  QString text;
  bool default_yes = false;  // questions only
  // Open-file dialogs: the text holds the filter, the title the title.
  QString default_extension;
  bool operator==(const Shown&) const = default;
};

class ScriptedDialogs final : public rt::Dialogs {
 public:
  ScriptedDialogs();   // installs itself
  ~ScriptedDialogs();  // restores the service it replaced

  // Answers, taken in order. A question with no queued answer fails the test and says No;
  // a file dialog with none is cancelled.
  void answer(bool yes) { answers_.push_back(yes); }
  void choose_file(const QString& path);
  void cancel_file() { files_.push_back({}); }

  // Runs while each box is open, to look at what the program has done by then.
  void while_shown(std::function<void(const Shown&)> f) { while_shown_ = std::move(f); }

  const std::vector<Shown>& shown() const { return shown_; }
  void clear() { shown_.clear(); }
  // The titles and texts, "title|text" a line, for compact expectations.
  std::vector<QString> lines() const;

  void notice(const QString& title, const QString& text) override;
  void failure(const QString& title, const QString& text) override;
  bool question(const QString& title, const QString& text, bool default_yes) override;
  rt::FileChoice open_file(const QString& title, const QString& default_extension,
                           const QString& filter) override;

 private:
  void show(Shown s);

  rt::Dialogs* previous_;
  std::function<void(const Shown&)> while_shown_;
  std::deque<bool> answers_;
  std::deque<rt::FileChoice> files_;
  std::vector<Shown> shown_;
};

}  // namespace test
