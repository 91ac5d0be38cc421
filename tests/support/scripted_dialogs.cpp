#include "tests/support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <QFileInfo>

namespace test {

ScriptedDialogs::ScriptedDialogs() : previous_(&rt::dialogs()) { rt::set_dialogs(this); }
ScriptedDialogs::~ScriptedDialogs() { rt::set_dialogs(previous_); }

void ScriptedDialogs::choose_file(const QString& path) {
  files_.push_back({1, path, QFileInfo(path).fileName()});
}

std::vector<QString> ScriptedDialogs::lines() const {
  std::vector<QString> out;
  for (const Shown& s : shown_) out.push_back(s.title + QLatin1Char('|') + s.text);
  return out;
}

void ScriptedDialogs::show(Shown s) {
  shown_.push_back(std::move(s));
  if (while_shown_) while_shown_(shown_.back());
}

void ScriptedDialogs::notice(const QString& title, const QString& text) {
  show({Shown::Notice, title, text});
}

void ScriptedDialogs::failure(const QString& title, const QString& text) {
  show({Shown::Failure, title, text});
}

bool ScriptedDialogs::question(const QString& title, const QString& text, bool default_yes) {
  show({Shown::Question, title, text, default_yes});
  if (answers_.empty()) {
    ADD_FAILURE() << "unexpected question: " << title.toStdString() << " / " << text.toStdString();
    return false;
  }
  bool a = answers_.front();
  answers_.pop_front();
  return a;
}

rt::FileChoice ScriptedDialogs::open_file(const QString& title, const QString& default_extension,
                                          const QString& filter) {
  show({Shown::OpenFile, title, filter, false, default_extension});
  if (files_.empty()) return {};
  rt::FileChoice c = files_.front();
  files_.pop_front();
  return c;
}

}  // namespace test
