#include "runtime/window_title.h"

#include <QWidget>

namespace rt {

void set_window_title(QWidget* window, const QString& title) {
  window->setWindowTitle(title.isEmpty() ? QStringLiteral(" ") : title);
}

}  // namespace rt
