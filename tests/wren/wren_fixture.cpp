#include "tests/wren/wren_fixture.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include "wren/app_path.h"

namespace wren::test {

SyntheticConfig camera(const QString& name, capture::DriverCaps caps) {
  SyntheticConfig c;
  c.name = name;
  c.caps = caps;
  return c;
}

WrenFixture::WrenFixture(std::vector<SyntheticConfig> configs)
    : drivers_(std::make_unique<capture::SyntheticDrivers>(std::move(configs))) {
  set_app_path(folder.path());
  QDir().mkpath(temp_folder());
  qputenv("TMPDIR", temp_folder().toUtf8());
  capture::set_drivers(drivers_.get());
}

WrenFixture::~WrenFixture() { capture::set_drivers(nullptr); }

void on_next_modal(std::function<void(QWidget*)> act) {
  auto tries = std::make_shared<int>(0);
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [act, tries, poll] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      act(w);
      *poll = nullptr;  // breaks the cycle
      return;
    }
    if (++*tries < 500) QTimer::singleShot(10, *poll);
  };
  QTimer::singleShot(0, *poll);
}

}  // namespace wren::test
