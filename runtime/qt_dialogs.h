#pragma once
#include "runtime/dialogs.h"

namespace rt {

// The dialogs service on Qt's message boxes and file dialog.
class QtDialogs final : public Dialogs {
 public:
  void notice(const QString& title, const QString& text) override;
  void failure(const QString& title, const QString& text) override;
  bool question(const QString& title, const QString& text, bool default_yes) override;
  FileChoice open_file(const QString& title, const QString& default_extension,
                       const QString& filter) override;
};

}  // namespace rt
