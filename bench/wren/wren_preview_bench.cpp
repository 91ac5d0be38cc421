// The preview of the real wren through its V4L2 backend, in front of an emulated camera that
// sends 30 frames a second: pictures painted a second and the CPU time the program spends a
// second, for YUYV and Motion-JPEG at 640 x 480 and 1280 x 720, and with the preview off.
// Each case runs `runs` times; the figures are the median and the range of the runs.
// Run by hand: build-bench/bench/wren/wren_preview_bench [seconds] [runs]
#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

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

struct Rate {
  double pictures = 0, process = 0, thread = 0;  // a second
};

// One run; false when the program did not get through its script.
bool run_once(const char* format, const char* size, bool preview, int seconds, Rate* rate) {
  QTemporaryDir dir;
  wren::test::WrenProcess wren(dir.path());
  wren.set_cameras(QByteArray("[/dev/video0]\ncard = Emulated Camera\nfps = 30\nformats = ") +
                   format + " " + size + "\n");
  QStringList script{QStringLiteral("wait picture")};
  if (!preview) script << QStringLiteral("menu mnuPreview");
  script << QStringLiteral("wait ms 1000") << QStringLiteral("print frames")
         << QStringLiteral("wait ms %1").arg(seconds * 1000) << QStringLiteral("print frames")
         << QStringLiteral("menu mnuExit");
  const wren::test::WrenResult r = wren.run(script, (seconds + 30) * 1000);
  const QStringList samples = r.of(QStringLiteral("frames"));
  if (r.exit_status != 0 || samples.size() != 2) {
    std::fprintf(stderr, "%s %s: run failed (status %d)\n%s\n%s\n", format, size, r.exit_status,
                 qPrintable(r.lines.join(QLatin1Char('\n'))), qPrintable(r.errors));
    return false;
  }
  const Sample a = parse(samples[0]), b = parse(samples[1]);
  const double s = (b.ms - a.ms) / 1000;
  *rate = {(b.frames - a.frames) / s, (b.process_cpu_ms - a.process_cpu_ms) / s,
           (b.thread_cpu_ms - a.thread_cpu_ms) / s};
  return true;
}

struct Spread {
  double median, low, high;
};

Spread spread(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return {v[v.size() / 2], v.front(), v.back()};
}

void measure(const char* format, const char* size, bool preview, int seconds, int runs) {
  std::vector<double> pictures, process, thread;
  for (int i = 0; i < runs; ++i) {
    Rate r;
    if (!run_once(format, size, preview, seconds, &r)) continue;
    pictures.push_back(r.pictures);
    process.push_back(r.process);
    thread.push_back(r.thread);
  }
  if (pictures.empty()) return;
  const Spread p = spread(pictures), c = spread(process), t = spread(thread);
  std::printf(
      "%-4s %-9s preview %-3s: %5.1f pictures/s; CPU ms/s: process %4.0f (%.0f-%.0f), GUI thread "
      "%4.0f (%.0f-%.0f); %zu runs of %d s\n",
      format, size, preview ? "on" : "off", p.median, c.median, c.low, c.high, t.median, t.low,
      t.high, pictures.size(), seconds);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  for (const char* size : {"640x480", "1280x720"})
    for (const char* format : {"YUYV", "MJPG"}) measure(format, size, true, seconds, runs);
  measure("YUYV", "640x480", false, seconds, runs);
  return 0;
}
