#include "wren/capture/jpeg_decoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// After <cstdio>: it needs size_t and FILE declared.
#include <jerror.h>
#include <jpeglib.h>

namespace wren::capture {
namespace {

// Warnings that leave the picture whole: about its metadata, or about padding before a marker,
// which many cameras send and libjpeg skips.
bool harmless(int code) {
  return code == JWRN_ADOBE_XFORM || code == JWRN_JFIF_MAJOR || code == JWRN_BOGUS_ICC ||
         code == JWRN_EXTRANEOUS_DATA;
}

QString incomplete_text(std::size_t size) {
  return QStringLiteral("the JPEG data is incomplete (%1 bytes)").arg(size);
}

// The data ran out: cut short, or under a header of a larger picture.
bool ran_out(int code) { return code == JWRN_HIT_MARKER || code == JWRN_JPEG_EOF; }

}  // namespace

struct JpegDecoder::State {
  jpeg_error_mgr mgr{};  // first: libjpeg hands back its address
  std::jmp_buf jump{};
  FrameFault fault = FrameFault::None;
  char message[JMSG_LENGTH_MAX] = {};
  jpeg_decompress_struct d{};
  bool created = false;
  // A frame of several scans: the bit down to which each coefficient of each component came
  // (the last refinement brings bit 0); -1: not yet.
  signed char bits[MAX_COMPONENTS][DCTSIZE2] = {};

  static State* of(j_common_ptr c) { return reinterpret_cast<State*>(c->err); }

  [[noreturn]] static void stop(j_common_ptr c, FrameFault fault) {
    State* s = of(c);
    s->fault = fault;
    c->err->format_message(c, s->message);
    std::longjmp(s->jump, 1);
  }
  [[noreturn]] static void error_exit(j_common_ptr c) { stop(c, FrameFault::JpegDamaged); }
  static void emit_message(j_common_ptr c, int level) {
    if (level >= 0 || harmless(c->err->msg_code)) return;  // traces, metadata, padding
    stop(c, ran_out(c->err->msg_code) ? FrameFault::JpegIncomplete : FrameFault::JpegDamaged);
  }
  static void output_message(j_common_ptr) {}

  // The scan libjpeg has just started. libjpeg itself refuses a progression that does not
  // follow on from the scans before.
  void note_scan() {
    const int first = d.progressive_mode ? std::clamp(d.Ss, 0, DCTSIZE2 - 1) : 0;
    const int last = d.progressive_mode ? std::clamp(d.Se, 0, DCTSIZE2 - 1) : DCTSIZE2 - 1;
    const auto to = static_cast<signed char>(d.progressive_mode ? d.Al : 0);
    for (int i = 0; i < d.comps_in_scan; ++i)
      if (first <= last)
        std::fill(bits[d.cur_comp_info[i]->component_index] + first,
                  bits[d.cur_comp_info[i]->component_index] + last + 1, to);
  }
  bool every_coefficient_whole() const {
    for (int c = 0; c < d.num_components; ++c)
      if (std::any_of(bits[c], bits[c] + DCTSIZE2, [](signed char b) { return b != 0; }))
        return false;
    return true;
  }
};

JpegDecoder::JpegDecoder() : state_(std::make_unique<State>()) {
  State& s = *state_;
  jpeg_std_error(&s.mgr);
  s.mgr.error_exit = State::error_exit;
  s.mgr.emit_message = State::emit_message;
  s.mgr.output_message = State::output_message;
}

JpegDecoder::~JpegDecoder() {
  if (state_->created) jpeg_destroy_decompress(&state_->d);
}

FrameFault JpegDecoder::decode(const std::uint8_t* bytes, std::size_t size, int width, int height,
                               std::uint8_t* rgb, QString* why) {
  State& s = *state_;
  jpeg_decompress_struct& d = s.d;
  s.fault = FrameFault::None;
  auto fail = [&](FrameFault fault, const QString& text) {
    if (s.created) jpeg_destroy_decompress(&d);
    s.created = false;
    if (why) *why = text;
    return fault;
  };
  // Nothing below holds a resource of its own but the decompressor, so a jump out of libjpeg
  // leaks nothing.
  if (setjmp(s.jump)) {
    return fail(s.fault, s.fault == FrameFault::JpegIncomplete
                             ? incomplete_text(size)
                             : QStringLiteral("the JPEG data is damaged (%1 bytes): %2")
                                   .arg(size)
                                   .arg(QString::fromLatin1(s.message)));
  }
  // A decompressor of its own for each frame: libjpeg keeps the tables a frame brings for the
  // frames after it, and a frame that brings none must not be decoded with another's. For
  // Huffman tables a frame leaves out, libjpeg takes the standard ones, as cameras mean it to;
  // without quantization tables it stops.
  d.err = &s.mgr;
  jpeg_create_decompress(&d);
  s.created = true;
  jpeg_mem_src(&d, bytes, static_cast<unsigned long>(size));
  jpeg_read_header(&d, TRUE);
  if (d.image_width != JDIMENSION(width) || d.image_height != JDIMENSION(height)) {
    return fail(FrameFault::JpegSize, QStringLiteral("the JPEG is %1 x %2, not %3 x %4")
                                          .arg(d.image_width)
                                          .arg(d.image_height)
                                          .arg(width)
                                          .arg(height));
  }
  d.out_color_space = JCS_RGB;
  // A frame cut at a scan boundary with an end marker appended decodes without a word from
  // libjpeg, grey or in false colours; so the scans of such a frame are counted as they come,
  // all before the picture is put together from them. A frame of one scan streams through.
  const bool scans = jpeg_has_multiple_scans(&d);
  if (scans) d.buffered_image = TRUE;
  jpeg_start_decompress(&d);
  if (scans) {
    for (auto& b : s.bits) std::fill(b, b + DCTSIZE2, -1);
    s.note_scan();
    for (int r; (r = jpeg_consume_input(&d)) != JPEG_REACHED_EOI;) {
      if (r == JPEG_SUSPENDED) return fail(FrameFault::JpegIncomplete, incomplete_text(size));
      if (r == JPEG_REACHED_SOS) s.note_scan();
    }
    if (!s.every_coefficient_whole())
      return fail(FrameFault::JpegIncomplete, incomplete_text(size));
    jpeg_start_output(&d, d.input_scan_number);
  }
  const std::size_t row = std::size_t(width) * 3;
  JSAMPROW rows[16];
  while (d.output_scanline < d.output_height) {
    const JDIMENSION left = d.output_height - d.output_scanline;
    const JDIMENSION n = left < 16 ? left : 16;
    for (JDIMENSION i = 0; i < n; ++i) rows[i] = rgb + (d.output_scanline + i) * row;
    if (jpeg_read_scanlines(&d, rows, n) == 0)
      return fail(FrameFault::JpegIncomplete, incomplete_text(size));
  }
  if (scans) jpeg_finish_output(&d);
  // Reads on to the end marker, so that a frame cut right before it is no whole frame either.
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  s.created = false;
  return FrameFault::None;
}

}  // namespace wren::capture
