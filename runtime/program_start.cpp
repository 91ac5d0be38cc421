#include "runtime/program_start.h"

#include <QLibraryInfo>
#include <QPalette>
#include <QProxyStyle>
#include <QTranslator>
#include <cmath>

#include "runtime/units.h"
#include "runtime/window_font.h"

namespace rt {

namespace {

// The platform's style, with the programs' text colours. Set by the style, they are part of
// every palette the application derives from the platform theme: the one it starts with, one the
// theme sends later and those it gives to single classes of widgets.
class ProgramStyle : public QProxyStyle {
 public:
  using QProxyStyle::polish;
  void polish(QPalette& pal) override {
    QProxyStyle::polish(pal);
    const QColor grey(kGreyedText.r, kGreyedText.g, kGreyedText.b);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
      pal.setColor(QPalette::Disabled, role, grey);
    // Text drawn from a face's bitmaps is drawn opaque: the placeholder's half-transparent
    // colour would come out as black as the text. It is given as the grey it makes on the field.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      const QColor text = pal.color(group, QPalette::PlaceholderText);
      const QColor base = pal.color(group, QPalette::Base);
      const double a = text.alphaF();
      auto mix = [a](int over, int under) {
        return static_cast<int>(std::lround(over * a + under * (1 - a)));
      };
      pal.setColor(group, QPalette::PlaceholderText,
                   QColor(mix(text.red(), base.red()), mix(text.green(), base.green()),
                          mix(text.blue(), base.blue())));
    }
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

void use_windows_greyed_text() { QApplication::setStyle(new ProgramStyle); }

}  // namespace rt
