#include "runtime/program_start.h"

#include <QLibraryInfo>
#include <QPalette>
#include <QProxyStyle>
#include <QTranslator>

#include "runtime/units.h"
#include "runtime/window_font.h"

namespace rt {

namespace {

// The platform's style, with greyed text in Windows' grey. Applied by the style, the grey is
// part of every palette the application derives from the platform theme, also of those the
// theme sends later or gives to single classes of widgets, which replace a palette set once.
class GreyedTextStyle : public QProxyStyle {
 public:
  using QProxyStyle::polish;
  void polish(QPalette& pal) override {
    QProxyStyle::polish(pal);
    const QColor grey(kGreyedText.r, kGreyedText.g, kGreyedText.b);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
      pal.setColor(QPalette::Disabled, role, grey);
  }
};

}  // namespace

namespace detail {

ProgramArguments::ProgramArguments(char* program) {
  static char unnamed[] = "program";
  argv[0] = program ? program : unnamed;
  argv[1] = nullptr;
}

}  // namespace detail

Program::Program(int argc, char** argv)
    : detail::ProgramArguments(argc > 0 ? argv[0] : nullptr),
      QApplication(detail::ProgramArguments::argc, detail::ProgramArguments::argv) {
  use_chinese_ui();
  use_windows_greyed_text();
  set_dialogs(&dialogs_);
}

Program::~Program() { set_dialogs(nullptr); }

QString qt_translations_folder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

bool use_chinese_ui(const QString& translations_folder) {
  QApplication::setFont(window_font(QStringLiteral("宋体"), 9));
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QStringLiteral("qtbase_zh_CN"), translations_folder)) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  return true;
}

void use_windows_greyed_text() { QApplication::setStyle(new GreyedTextStyle); }

}  // namespace rt
