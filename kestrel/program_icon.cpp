#include "kestrel/program_icon.h"

#include <QApplication>

// The resource lives in a static library: pull it in by name.
static void init_resources() { Q_INIT_RESOURCE(kestrel); }

namespace kestrel {

QIcon network98_ico() {
  init_resources();
  return QIcon(QStringLiteral(":/kestrel/network98.ico"));
}

void set_program_icon() { QApplication::setWindowIcon(network98_ico()); }

}  // namespace kestrel
