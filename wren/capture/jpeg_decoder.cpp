#include "wren/capture/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// After <cstdio>: it needs size_t and FILE declared.
#include <jerror.h>
#include <jpeglib.h>

namespace wren::capture {
namespace {

// Warnings about the picture's metadata, not its data: the picture is whole.
bool harmless(int code) {
  return code == JWRN_ADOBE_XFORM || code == JWRN_JFIF_MAJOR || code == JWRN_BOGUS_ICC;
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

  static State* of(j_common_ptr c) { return reinterpret_cast<State*>(c->err); }

  [[noreturn]] static void stop(j_common_ptr c, FrameFault fault) {
    State* s = of(c);
    s->fault = fault;
    c->err->format_message(c, s->message);
    std::longjmp(s->jump, 1);
  }
  [[noreturn]] static void error_exit(j_common_ptr c) { stop(c, FrameFault::JpegDamaged); }
  static void emit_message(j_common_ptr c, int level) {
    if (level >= 0 || harmless(c->err->msg_code)) return;  // traces, metadata
    stop(c, ran_out(c->err->msg_code) ? FrameFault::JpegIncomplete : FrameFault::JpegDamaged);
  }
  static void output_message(j_common_ptr) {}
};

JpegDecoder::JpegDecoder() : state_(std::make_unique<State>()) {
  State& s = *state_;
  jpeg_std_error(&s.mgr);
  s.mgr.error_exit = State::error_exit;
  s.mgr.emit_message = State::emit_message;
  s.mgr.output_message = State::output_message;
  s.d.err = &s.mgr;
  if (setjmp(s.jump)) return;  // out of memory: every frame fails below
  jpeg_create_decompress(&s.d);
  s.created = true;

  // Many cameras leave the standard tables out of their frames; read once, they stay for
  // every frame that does not bring its own.
  jpeg_compress_struct c{};
  c.err = &s.mgr;
  unsigned char* tables = nullptr;
  unsigned long tables_size = 0;
  if (setjmp(s.jump)) {
    jpeg_destroy_compress(&c);
    std::free(tables);
    return;
  }
  jpeg_create_compress(&c);
  jpeg_mem_dest(&c, &tables, &tables_size);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_write_tables(&c);
  jpeg_destroy_compress(&c);
  jpeg_mem_src(&s.d, tables, tables_size);
  jpeg_read_header(&s.d, FALSE);
  std::free(tables);
}

JpegDecoder::~JpegDecoder() {
  if (state_->created) jpeg_destroy_decompress(&state_->d);
}

FrameFault JpegDecoder::decode(const std::uint8_t* bytes, std::size_t size, int width, int height,
                               std::uint8_t* rgb, QString* why) {
  State& s = *state_;
  jpeg_decompress_struct& d = s.d;
  if (!s.created) {
    if (why) *why = QStringLiteral("the JPEG decoder could not be created");
    return FrameFault::JpegDamaged;
  }
  s.fault = FrameFault::None;
  // Nothing below holds a resource of its own, so a jump out of libjpeg leaks nothing.
  if (setjmp(s.jump)) {
    jpeg_abort_decompress(&d);
    const bool incomplete = s.fault == FrameFault::JpegIncomplete;
    if (why)
      *why = incomplete ? QStringLiteral("the JPEG data is incomplete (%1 bytes)").arg(size)
                        : QStringLiteral("the JPEG data is damaged (%1 bytes): %2")
                              .arg(size)
                              .arg(QString::fromLatin1(s.message));
    return s.fault;
  }
  jpeg_mem_src(&d, bytes, static_cast<unsigned long>(size));
  jpeg_read_header(&d, TRUE);
  if (d.image_width != JDIMENSION(width) || d.image_height != JDIMENSION(height)) {
    if (why)
      *why = QStringLiteral("the JPEG is %1 x %2, not %3 x %4")
                 .arg(d.image_width)
                 .arg(d.image_height)
                 .arg(width)
                 .arg(height);
    jpeg_abort_decompress(&d);
    return FrameFault::JpegSize;
  }
  d.out_color_space = JCS_RGB;
  jpeg_start_decompress(&d);
  const std::size_t row = std::size_t(width) * 3;
  JSAMPROW rows[16];
  while (d.output_scanline < d.output_height) {
    const JDIMENSION left = d.output_height - d.output_scanline;
    const JDIMENSION n = left < 16 ? left : 16;
    for (JDIMENSION i = 0; i < n; ++i) rows[i] = rgb + (d.output_scanline + i) * row;
    jpeg_read_scanlines(&d, rows, n);
  }
  // Reads on to the end marker, so that a frame cut right before it is no whole frame either.
  jpeg_finish_decompress(&d);
  return FrameFault::None;
}

}  // namespace wren::capture
