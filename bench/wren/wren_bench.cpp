// Preview frame rate on the synthetic camera at 640 x 480, and the time from the snapshot
// command to the written file. Run by hand: build/bench/wren/wren_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "runtime/dialogs.h"
#include "wren/app_path.h"
#include "wren/capture/avicap.h"
#include "wren/capture/synthetic_device.h"
#include "wren/frm_main.h"
#include "wren/wren_core.h"

namespace {

class PrintedDialogs final : public rt::Dialogs {
 public:
  void notice(const QString& t, const QString& x) override { print(t, x); }
  void failure(const QString& t, const QString& x) override { print(t, x); }
  bool question(const QString& t, const QString& x, bool) override { return print(t, x), false; }
  rt::FileChoice open_file(const QString&, const QString&, const QString&) override { return {}; }

 private:
  static void print(const QString& t, const QString& x) {
    std::fprintf(stderr, "box: %s | %s\n", qPrintable(t), qPrintable(x));
  }
};

double preview_fps(int rate_ms, int camera_interval_ms, int seconds) {
  wren::capture::SyntheticConfig cam;
  cam.frame_interval_ms = camera_interval_ms;
  wren::capture::SyntheticDrivers drivers({cam});
  wren::capture::set_drivers(&drivers);
  double fps = 0;
  {
    wren::frmMain form;
    form.resize(700, 600);  // the whole 640 x 480 picture on screen
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) std::fprintf(stderr, "window not exposed\n");
    if (rate_ms != 66) wren::capture::capPreviewRate(wren::hCapWnd, rate_ms);
    QTest::qWait(500);
    const int before = wren::hCapWnd->frames_shown();
    QElapsedTimer t;
    t.start();
    QTest::qWait(seconds * 1000);
    fps = (wren::hCapWnd->frames_shown() - before) * 1000.0 / double(t.elapsed());
  }
  wren::capture::set_drivers(nullptr);
  return fps;
}

void snapshot_times(int runs) {
  wren::capture::SyntheticDrivers drivers({wren::capture::SyntheticConfig{}});
  wren::capture::set_drivers(&drivers);
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    wren::frmMain form;
    QElapsedTimer t;
    t.start();
    form.mnuCopy_Click();
    const double elapsed = double(t.nsecsElapsed()) / 1e6;
    if (!form.unloaded() || !QFileInfo::exists(wren::default_picture_path())) {
      std::fprintf(stderr, "snapshot %d failed\n", i);
      continue;
    }
    ms.push_back(elapsed);
  }
  wren::capture::set_drivers(nullptr);
  if (ms.empty()) return;
  std::sort(ms.begin(), ms.end());
  std::printf(
      "snapshot to file written (640 x 480, %zu runs): median %.2f ms, min %.2f, max %.2f\n",
      ms.size(), ms[ms.size() / 2], ms.front(), ms.back());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  wren::set_app_path(dir.path());
  qputenv("TMPDIR", dir.path().toUtf8());
  PrintedDialogs dialogs;
  rt::set_dialogs(&dialogs);

  std::printf("preview at 640 x 480, rate 66 ms, camera 30 fps: %.1f frames/s\n",
              preview_fps(66, 33, 5));
  std::printf("preview at 640 x 480, rate 66 ms, still camera:  %.1f frames/s\n",
              preview_fps(66, 0, 5));
  std::printf("preview at 640 x 480, rate 0 ms (ceiling):       %.1f frames/s\n",
              preview_fps(0, 0, 3));
  snapshot_times(30);
  return 0;
}
