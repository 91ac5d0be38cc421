#pragma once
// A temporary program folder, scripted message boxes and synthetic capture drivers for one
// test of the camera window.
#include <QWidget>
#include <functional>
#include <memory>

#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_program_folder.h"
#include "wren/capture/synthetic_device.h"

namespace wren::test {

using capture::SyntheticConfig;

SyntheticConfig camera(const QString& name = QStringLiteral("Synthetic Camera"),
                       capture::DriverCaps caps = {true, true, true});

inline std::vector<SyntheticConfig> no_camera() { return {}; }

class WrenFixture {
 public:
  explicit WrenFixture(std::vector<SyntheticConfig> configs = {camera()});
  ~WrenFixture();

  capture::SyntheticDevice* device() const { return drivers_->last_opened(); }
  const capture::SyntheticDrivers& drivers() const { return *drivers_; }
  QString temp_folder() const { return folder.file(QStringLiteral("tmp")); }

  ::test::TempProgramFolder folder;
  ::test::ScriptedDialogs dialogs;

 private:
  std::unique_ptr<capture::SyntheticDrivers> drivers_;
};

// Runs `act` on the next modal dialog once it is shown (from inside its exec()).
void on_next_modal(std::function<void(QWidget*)> act);

}  // namespace wren::test
