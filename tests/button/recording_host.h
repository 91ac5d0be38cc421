#pragma once
// A host for the button core that plays the toolkit's part (focus changes report back at once)
// and records every request as a word: "capture", "release", "focus", "next", "prev",
// "sleep 50", "clicked" and the names of the looks drawn.
#include <functional>
#include <string>
#include <vector>

#include "shared/button/button_core.h"

namespace test {

struct RecordingHost : xpb::ButtonHost {
  xpb::ButtonCore* core = nullptr;
  std::vector<std::string> log;
  int clicks = 0;
  // Runs as the window's clicked handler; returns whether the button still exists.
  std::function<bool()> on_clicked;
  std::function<void(xpb::Look)> on_drawn;

  void setcapture() override { log.push_back("capture"); }
  void releasecapture() override { log.push_back("release"); }
  void take_focus() override {
    log.push_back("focus");
    core->focus_in();
  }
  void move_focus(bool next) override {
    log.push_back(next ? "next" : "prev");
    core->focus_out();
  }
  void sleepex(int ms) override { log.push_back("sleep " + std::to_string(ms)); }
  void drawn(xpb::Look look) override {
    log.emplace_back(xpb::look_name(look));
    if (on_drawn) on_drawn(look);
  }
  void changed() override {}
  void load_picture(const QString&) override {}
  bool raise_clicked() override {
    log.push_back("clicked");
    ++clicks;
    return on_clicked ? on_clicked() : true;
  }
};

// A constructed 361 x 108 button with an empty log.
struct CoreFixture {
  RecordingHost host;
  xpb::ButtonCore core{host};
  explicit CoreFixture(bool picture = false) {
    host.core = &core;
    if (picture) core.picture_name = QStringLiteral("Picture!");
    core.resize(361, 108);
    core.constructor(xpb::rgb(236, 233, 216));
    core.of_enabled(true);
    host.log.clear();
  }
};

}  // namespace test
