// The preview of the real wren through its V4L2 backend, in front of an emulated camera that
// sends 640 x 480 at 30 frames a second: pictures painted a second and the CPU time the program
// spends a second. Run by hand: build-bench/bench/wren/wren_preview_bench [seconds]
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

#include "tests/wren/wren_process.h"

namespace {

struct Sample {
  double frames = 0, ms = 0, process_cpu_ms = 0, thread_cpu_ms = 0;
};

Sample parse(const QString& line) {
  const QStringList f = line.split(QLatin1Char('|'));
  return {f.value(0).toDouble(), f.value(1).toDouble(), f.value(2).toDouble(),
          f.value(3).toDouble()};
}

void measure(const char* format, int seconds) {
  QTemporaryDir dir;
  wren::test::WrenProcess wren(dir.path());
  wren.set_cameras(QByteArray("[/dev/video0]\ncard = Emulated Camera\nfps = 30\nformats = ") +
                   format + " 640x480\n");
  const wren::test::WrenResult r =
      wren.run({"wait picture", "wait ms 1000", "print frames",
                QStringLiteral("wait ms %1").arg(seconds * 1000), "print frames", "menu mnuExit"},
               (seconds + 30) * 1000);
  const QStringList samples = r.of(QStringLiteral("frames"));
  if (r.exit_status != 0 || samples.size() != 2) {
    std::fprintf(stderr, "%s: run failed (status %d)\n%s\n%s\n", format, r.exit_status,
                 qPrintable(r.lines.join(QLatin1Char('\n'))), qPrintable(r.errors));
    return;
  }
  const Sample a = parse(samples[0]), b = parse(samples[1]);
  const double s = (b.ms - a.ms) / 1000;
  std::printf(
      "%-4s 640 x 480 at 30 fps: %.1f pictures/s shown; CPU %.0f ms/s for the process, %.0f ms/s "
      "on its GUI thread (%.0f s)\n",
      format, (b.frames - a.frames) / s, (b.process_cpu_ms - a.process_cpu_ms) / s,
      (b.thread_cpu_ms - a.thread_cpu_ms) / s, s);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
  measure("YUYV", seconds);
  measure("MJPG", seconds);
  return 0;
}
