#include "wren/wren_core.h"

#include <cstring>

#include "runtime/codepage.h"
#include "wren/capture/avicap.h"
#include "wren/frm_main.h"

namespace wren {

using namespace capture;

QPointer<CaptureWindow> hCapWnd;

QString callback_text(const char* text) {
  if (!text) return {};
  // A longer text is cut at the buffer's end, never read past it; a double-byte character
  // split there decodes as one replacement character.
  const std::size_t n = strnlen(text, kCallbackTextBytes);
  return rt::from_cp936(QByteArray(text, qsizetype(n)));
}

long ErrorCallBack(CaptureWindow*, int id, const char* text) {
  if (id == 0) return 0;
  SetStatusText(callback_text(text));
  return 0;
}

long StatusCallBack(CaptureWindow*, int id, const char* text) {
  if (id == 0) return 0;
  if (frmMain* f = frmMain::instance()) f->StatusBar->setText(callback_text(text));
  return 0;
}

void SetStatusText(const QString& text) {
  if (frmMain* f = frmMain::instance()) f->StatusBar->setText(text);
}

void ResizeCaptureWindow(CaptureWindow* window) {
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  const int frame_x = GetSystemMetrics(SM_CXFRAME);
  const int frame_y = GetSystemMetrics(SM_CYFRAME);
  CAPSTATUS status{};
  if (!capGetStatus(window, &status, 76)) return;
  SetWindowPos(window, HWND_BOTTOM, 0, 0, int(status.uiImageWidth) + 2 * frame_x,
               int(status.uiImageHeight) + caption + 2 * frame_y, SWP_NOMOVE | SWP_NOZORDER);
}

}  // namespace wren
