#include "wren/capture/avicap.h"

#include <algorithm>
#include <cstring>

#include "runtime/codepage.h"

namespace wren::capture {
namespace {

// Copies as much as fits, always zero-terminated.
void put_ansi(const QString& text, char* buffer, int length) {
  if (!buffer || length <= 0) return;
  const QByteArray bytes = rt::to_cp936(text);
  const int n = std::min<int>(int(bytes.size()), length - 1);
  std::memcpy(buffer, bytes.constData(), std::size_t(n));
  buffer[n] = '\0';
}

// Text and file names cross the capture interface in code page 936, as the window expects.
QString from_ansi(const char* text) { return text ? rt::from_cp936(QByteArray(text)) : QString(); }

}  // namespace

bool capGetDriverDescriptionA(int index, char* name, int name_length, char* version,
                              int version_length) {
  QString n, v;
  if (!drivers().description(index, &n, &v)) return false;
  put_ansi(n, name, name_length);
  put_ansi(v, version, version_length);
  return true;
}

CaptureWindow* capCreateCaptureWindowA(const char* title, std::uint32_t style, int x, int y,
                                       int width, int height, QWidget* parent, int id) {
  return new CaptureWindow(from_ansi(title), style, QRect(x, y, width, height), parent, id);
}

bool capFileSetCaptureFile(CaptureWindow* w, const QString& name) {
  return w && w->file_set_capture_file(from_ansi(rt::to_cp936(name).constData()));
}

bool capFileSaveAs(CaptureWindow* w, const QString& name) {
  return w && w->file_save_as(from_ansi(rt::to_cp936(name).constData()));
}

bool SetWindowTextA(CaptureWindow* w, const char* text) {
  if (!w) return false;
  w->set_title(from_ansi(text));
  return true;
}

long SetWindowLongA(CaptureWindow* w, int index, long value) {
  if (!w || index != GWL_STYLE) return 0;
  const long previous = long(w->style());
  w->set_style(std::uint32_t(value));
  return previous;
}

bool SetWindowPos(CaptureWindow* w, std::uintptr_t, int x, int y, int cx, int cy, unsigned flags) {
  if (!w) return false;
  const QPoint at = (flags & SWP_NOMOVE) ? w->pos() : QPoint(x, y);
  w->setGeometry(at.x(), at.y(), std::max(0, cx), std::max(0, cy));
  return true;
}

}  // namespace wren::capture
