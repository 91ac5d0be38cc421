#include <gtest/gtest.h>

#include <cstring>
#include <new>

#include "recording_host.h"

namespace {

using namespace xpb;
using test::CoreFixture;
using Log = std::vector<std::string>;

// One input event for the core; positions in layout units of a 361 x 108 button.
struct Ev {
  enum Kind { move, down, up, key_down, key_up, activate, focus_in, focus_out } kind;
  int a = 0, b = 0;
};
Ev mv(int x, int y) { return {Ev::move, x, y}; }
Ev dn(int x, int y) { return {Ev::down, x, y}; }
Ev up(int x, int y) { return {Ev::up, x, y}; }
Ev kd(int key) { return {Ev::key_down, key}; }
Ev ku(int key) { return {Ev::key_up, key}; }
const Ev mnemonic{Ev::activate};
const Ev gain{Ev::focus_in};
const Ev lose{Ev::focus_out};
constexpr int space = 32;

void run(ButtonCore& core, const std::vector<Ev>& events) {
  for (const Ev& e : events) switch (e.kind) {
      case Ev::move:
        core.ue_mousemove(e.a, e.b);
        break;
      case Ev::down:
        core.ue_mousedown(e.a, e.b);
        break;
      case Ev::up:
        core.ue_mouseup(e.a, e.b);
        break;
      case Ev::key_down:
        core.key_down(e.a);
        break;
      case Ev::key_up:
        core.key_up(e.a);
        break;
      case Ev::activate:
        core.activate();
        break;
      case Ev::focus_in:
        core.focus_in();
        break;
      case Ev::focus_out:
        core.focus_out();
        break;
    }
}

struct Sequence {
  const char* name;
  std::vector<Ev> events;
  Log log;
};

// clang-format off
const Sequence sequences[] = {
  {"hover in, inside, out", {mv(100, 50), mv(120, 60), mv(400, 50)},
   {"capture", "hover", "release", "normal"}},
  {"bottom edge is inside, right edge outside", {mv(100, 50), mv(100, 108), mv(361, 50)},
   {"capture", "hover", "release", "normal"}},
  {"press, out, in, release", {mv(100, 50), dn(100, 50), mv(101, 50), mv(-5, 50), mv(100, 50), up(100, 50)},
   {"capture", "hover", "focus", "focused", "pressed", "capture", "focused", "pressed", "hover", "clicked"}},
  {"press, out, release outside", {mv(100, 50), dn(100, 50), mv(101, 50), mv(400, 50), up(400, 50)},
   {"capture", "hover", "focus", "focused", "pressed", "capture", "focused", "release"}},
  {"press and release without a move, then away", {mv(100, 50), dn(100, 50), up(100, 50), mv(100, 50), mv(400, 50)},
   {"capture", "hover", "focus", "focused", "pressed", "hover", "clicked", "capture", "hover", "release", "focused"}},
  {"first move after the press already outside", {dn(100, 50), mv(400, 50), up(400, 50)},
   {"focus", "focused", "pressed", "capture", "release"}},
  {"first move after a release inside already outside", {dn(100, 50), up(100, 50), mv(400, 50), mv(401, 50)},
   {"focus", "focused", "pressed", "hover", "clicked", "capture", "hover", "release", "focused"}},
  {"press anywhere, even outside, shows pressed", {gain, dn(500, 500)},
   {"focused", "pressed"}},
  {"release without a press (second half of a double-click)", {mv(100, 50), up(100, 50)},
   {"capture", "hover", "hover"}},
  {"space held with auto-repeat", {gain, kd(space), kd(space), kd(space), ku(space)},
   {"focused", "pressed", "focused", "clicked"}},
  {"space up without down, then mnemonic", {gain, ku(space), mnemonic},
   {"focused", "focused", "clicked"}},
  {"space pressed, focus lost before the release", {gain, kd(space), lose, gain, ku(space)},
   {"focused", "pressed", "normal", "focused", "focused"}},
  {"mnemonic flashes the pressed look", {mnemonic},
   {"pressed", "sleep 50", "normal", "clicked"}},
  {"focus lost while hovering", {mv(100, 50), gain, lose, mv(120, 50), mv(400, 50)},
   {"capture", "hover", "focused", "normal", "release", "normal"}},
  {"arrows move the focus", {gain, kd(38), gain, kd(40), gain, kd(37), gain, kd(39)},
   {"focused", "prev", "normal", "focused", "next", "normal", "focused", "prev", "normal", "focused", "next", "normal"}},
  {"other keys do nothing", {gain, kd(13), ku(13), kd(65)}, {"focused"}},
};
// clang-format on

TEST(ButtonInput, TransitionSequences) {
  for (const Sequence& s : sequences) {
    SCOPED_TRACE(s.name);
    CoreFixture f;
    run(f.core, s.events);
    EXPECT_EQ(f.host.log, s.log);
  }
}

TEST(ButtonInput, FlagsThroughAPressDraggedOutAndBack) {
  CoreFixture f;
  auto flags = [&] {
    const InputFlags& g = f.core.flags();
    return std::array{g.ib_captured, g.ib_mousein, g.ib_clicked};
  };
  run(f.core, {mv(100, 50)});
  EXPECT_EQ(flags(), (std::array{true, true, false}));  // hover
  run(f.core, {dn(100, 50)});
  EXPECT_EQ(flags(), (std::array{false, true, true}));  // pressed, not moved yet
  run(f.core, {mv(100, 50), mv(400, 50)});
  EXPECT_EQ(flags(), (std::array{true, false, true}));  // pressed, pointer outside
  EXPECT_TRUE(f.core.capture_held());
  run(f.core, {up(400, 50)});
  EXPECT_EQ(flags(), (std::array{false, false, false}));
  EXPECT_FALSE(f.core.capture_held());
}

TEST(ButtonInput, ArrowKeysReturnOneAndSpaceLeavesTheMessageAlone) {
  for (int key : {37, 38, 39, 40}) {
    CoreFixture f;
    EXPECT_EQ(f.core.cb_focus_ue_keydown(key), 1) << key;
  }
  CoreFixture f;
  EXPECT_EQ(f.core.cb_focus_ue_keydown(space), 0);
  EXPECT_TRUE(f.core.flags().ib_spacebar);
}

TEST(ButtonInput, AClickDuringTheClickedHandlerRaisesNoSecondClicked) {
  CoreFixture f;
  f.host.on_clicked = [&] {
    // The handler yields and the user clicks, presses space and the mnemonic again.
    run(f.core, {mv(100, 50), dn(100, 50), up(100, 50), kd(space), ku(space), mnemonic});
    return true;
  };
  run(f.core, {dn(100, 50), up(100, 50)});
  EXPECT_EQ(f.host.clicks, 1);
  EXPECT_FALSE(f.core.in_clicked());

  f.host.on_clicked = nullptr;
  run(f.core, {mnemonic});
  EXPECT_EQ(f.host.clicks, 2);
}

TEST(ButtonInput, TriggereventRunsTheHandlerAtOnceAndHoldsOffUserClicks) {
  CoreFixture f;
  f.host.on_clicked = [&] {
    run(f.core, {dn(100, 50), up(100, 50)});
    return true;
  };
  EXPECT_TRUE(f.core.triggerevent_clicked());
  EXPECT_EQ(f.host.clicks, 1);
  EXPECT_FALSE(f.core.in_clicked());
}

TEST(ButtonInput, DisabledLookAndBackToNormal) {
  CoreFixture f;
  f.core.of_enabled(false);
  f.core.of_enabled(true);
  EXPECT_EQ(f.host.log, (Log{"disabled", "normal"}));
  EXPECT_TRUE(f.core.enabled());
}

// The Close button's handler destroys the window and with it the button: after clicked the
// button must not write to its own memory.
TEST(ButtonInput, AButtonDestroyedByItsHandlerIsNotTouchedAfterwards) {
  const std::vector<std::vector<Ev>> paths = {
      {dn(100, 50), up(100, 50)}, {mnemonic}, {kd(space), ku(space)}};
  for (const auto& path : paths) {
    test::RecordingHost host;
    alignas(ButtonCore) unsigned char memory[sizeof(ButtonCore)];
    auto* core = new (memory) ButtonCore(host);
    host.core = core;
    core->resize(361, 108);
    core->constructor(0);
    core->focus_in();
    host.on_clicked = [&] {
      core->~ButtonCore();
      std::memset(memory, 0xAB, sizeof memory);
      return false;
    };
    run(*core, path);
    EXPECT_EQ(host.clicks, 1);
    for (unsigned char byte : memory) ASSERT_EQ(byte, 0xAB);
  }
}

}  // namespace
