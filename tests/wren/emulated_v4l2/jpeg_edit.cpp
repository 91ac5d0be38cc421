#include "jpeg_edit.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>

// After <cstdio>: it needs size_t and FILE declared.
#include <jpeglib.h>

namespace emulated_v4l2 {
namespace {

constexpr std::uint8_t kSos = 0xDA, kEoi = 0xD9;

bool is_restart(std::uint8_t marker) { return marker >= 0xD0 && marker <= 0xD7; }

// The end of the segment whose marker is at `i`, within the frame.
std::size_t segment_end(const JpegBytes& j, std::size_t i) {
  if (i + 4 > j.size()) return j.size();
  return std::min(j.size(), i + 2 + ((std::size_t(j[i + 2]) << 8) | j[i + 3]));
}

// From `i` in a scan's data: the next marker that is neither a stuffed byte nor a restart
// marker; the size of the frame when there is none.
std::size_t after_scan_data(const JpegBytes& j, std::size_t i) {
  for (; i + 1 < j.size(); ++i)
    if (j[i] == 0xFF && j[i + 1] != 0 && j[i + 1] != 0xFF && !is_restart(j[i + 1])) return i;
  return j.size();
}

// The markers of the frame from its start marker on, each with where it is; `visit` returns
// false to stop. Scans are passed over to the marker after their data.
template <typename Visit>
void walk(const JpegBytes& j, Visit visit) {
  std::size_t i = 2;
  while (i + 1 < j.size() && j[i] == 0xFF) {
    const std::uint8_t marker = j[i + 1];
    if (!visit(marker, i) || marker == kEoi) return;
    const std::size_t end = segment_end(j, i);
    i = marker == kSos ? after_scan_data(j, end) : end;
  }
}

}  // namespace

void set_jpeg_header_size(JpegBytes& jpeg, std::uint32_t w, std::uint32_t h) {
  walk(jpeg, [&](std::uint8_t marker, std::size_t i) {
    if (marker < 0xC0 || marker > 0xC2 || i + 9 > jpeg.size()) return marker != kSos;
    jpeg[i + 5] = std::uint8_t(h >> 8);
    jpeg[i + 6] = std::uint8_t(h);
    jpeg[i + 7] = std::uint8_t(w >> 8);
    jpeg[i + 8] = std::uint8_t(w);
    return false;
  });
}

JpegBytes without_segments(const JpegBytes& jpeg, std::uint8_t marker) {
  JpegBytes out(jpeg.begin(), jpeg.begin() + std::min<std::size_t>(2, jpeg.size()));
  std::size_t rest = out.size();
  walk(jpeg, [&](std::uint8_t m, std::size_t i) {
    if (m == kSos) return false;
    rest = segment_end(jpeg, i);
    if (m != marker) out.insert(out.end(), jpeg.begin() + i, jpeg.begin() + rest);
    return true;
  });
  out.insert(out.end(), jpeg.begin() + rest, jpeg.end());
  return out;
}

JpegBytes padded_before_markers(const JpegBytes& jpeg, std::size_t n) {
  JpegBytes out;
  out.reserve(jpeg.size() + 64 * n);
  std::size_t copied = 0;
  auto pad_at = [&](std::size_t i) {
    out.insert(out.end(), jpeg.begin() + copied, jpeg.begin() + i);
    out.insert(out.end(), n, 0);
    copied = i;
  };
  walk(jpeg, [&](std::uint8_t marker, std::size_t i) {
    if (marker == kEoi) pad_at(i);
    if (marker != kSos) return true;
    for (std::size_t k = segment_end(jpeg, i); k + 1 < jpeg.size(); ++k)
      if (jpeg[k] == 0xFF && is_restart(jpeg[k + 1]))
        pad_at(k);
      else if (jpeg[k] == 0xFF && jpeg[k + 1] != 0 && jpeg[k + 1] != 0xFF)
        break;
    return true;
  });
  out.insert(out.end(), jpeg.begin() + copied, jpeg.end());
  return out;
}

JpegBytes cut_after_scans(const JpegBytes& jpeg, unsigned scans) {
  std::size_t end = jpeg.size();
  unsigned seen = 0;
  walk(jpeg, [&](std::uint8_t marker, std::size_t i) {
    if (marker != kSos || seen++ < scans) return true;
    end = i;
    return false;
  });
  JpegBytes out(jpeg.begin(), jpeg.begin() + end);
  if (end < jpeg.size()) {
    out.push_back(0xFF);
    out.push_back(kEoi);
  }
  return out;
}

namespace {

// On the heap, not on the stack of the function that jumps back: what libjpeg changes there
// survives the jump.
struct Decoding {
  jpeg_error_mgr mgr{};  // first: libjpeg hands back its address
  std::jmp_buf jump{};
  jpeg_decompress_struct d{};
  JpegBytes rgb;
};

[[noreturn]] void fail(j_common_ptr c) {
  std::longjmp(reinterpret_cast<Decoding*>(c->err)->jump, 1);
}

}  // namespace

JpegBytes decode_jpeg(const JpegBytes& jpeg) {
  const auto s = std::make_unique<Decoding>();
  jpeg_decompress_struct& d = s->d;
  d.err = jpeg_std_error(&s->mgr);
  s->mgr.error_exit = fail;
  if (setjmp(s->jump)) {
    jpeg_destroy_decompress(&d);
    return {};
  }
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&d, TRUE);
  d.out_color_space = JCS_RGB;
  jpeg_start_decompress(&d);
  s->rgb.resize(std::size_t(d.output_width) * d.output_height * 3);
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = s->rgb.data() + std::size_t(d.output_scanline) * d.output_width * 3;
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  return std::move(s->rgb);
}

}  // namespace emulated_v4l2
