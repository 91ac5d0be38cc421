#include "runtime/yield.h"

#include <QCoreApplication>

namespace rt {

void yield() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

}  // namespace rt
