// The CPU time wren's decoder takes for one Motion-JPEG frame of the emulated camera's pattern,
// at 640 x 480 and 1280 x 720: the median of `rounds` rounds of 100 frames, in microseconds of
// the thread's CPU time, so that other programs on the machine count less than in the preview
// bench.
// Run by hand: build-bench/bench/wren/jpeg_decode_bench [rounds]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "pattern.h"
#include "wren/capture/jpeg_decoder.h"

namespace {

double thread_cpu_us() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  constexpr int kFrames = 100;
  for (const auto& [w, h] : {std::pair{640, 480}, std::pair{1280, 720}}) {
    const std::vector<std::uint8_t> jpeg = emulated_v4l2::pattern_jpeg(w, h);
    std::vector<std::uint8_t> rgb(std::size_t(w) * h * 3);
    wren::capture::JpegDecoder decoder;
    std::vector<double> per_frame;
    for (int r = 0; r < rounds; ++r) {
      const double start = thread_cpu_us();
      for (int i = 0; i < kFrames; ++i)
        if (decoder.decode(jpeg.data(), jpeg.size(), w, h, rgb.data(), nullptr) !=
            wren::capture::FrameFault::None)
          return 1;
      per_frame.push_back((thread_cpu_us() - start) / kFrames);
    }
    std::sort(per_frame.begin(), per_frame.end());
    std::printf("MJPG %4dx%-4d: %6.0f us CPU a frame (%.0f-%.0f), %zu rounds of %d frames\n", w, h,
                per_frame[per_frame.size() / 2], per_frame.front(), per_frame.back(),
                per_frame.size(), kFrames);
  }
  return 0;
}
