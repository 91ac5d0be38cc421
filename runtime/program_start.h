#pragma once
// What each of the programs does first, in one place: the application object, the Chinese user
// interface and the dialogs service.
#include <QApplication>
#include <QString>

#include "runtime/qt_dialogs.h"

namespace rt {

namespace detail {
// The arguments Qt gets: the program's own path and nothing else. They live as long as the
// application object that refers to them.
struct ProgramArguments {
  explicit ProgramArguments(char* program);
  int argc = 1;
  char* argv[2];
};
}  // namespace detail

// The programs have no command-line options, and Qt's own (-reverse, -style, -platform ...)
// change nothing either: only the program's path reaches Qt. The platform is still chosen by
// QT_QPA_PLATFORM.
class Program : private detail::ProgramArguments, public QApplication {
 public:
  Program(int argc, char** argv);
  ~Program() override;

 private:
  QtDialogs dialogs_;
};

// The system's folder of Qt's translations.
QString qt_translations_folder();

// Qt's own Chinese translation, so that the standard buttons read 确定 / 是(Y) / 否(N) / 取消
// and the file dialog is Chinese, and the system font of a Chinese Windows (宋体, 9 point)
// for whatever names no font of its own: message boxes, menus. False when the translation is
// not in `translations_folder`; everything else is set all the same.
bool use_chinese_ui(const QString& translations_folder = qt_translations_folder());

// Greyed text (disabled labels, fields, check boxes, menu items) in Windows' grey for it,
// rt::kGreyedText, in place of the toolkit's pale grey, for every window of the program, on
// every platform plugin: the program's style sets it, so no palette of the platform theme comes
// without it. Placeholder text is an opaque grey, as text drawn from bitmaps is opaque.
void use_windows_greyed_text();

}  // namespace rt
