#pragma once
// The capture messages, one wrapper each: the capture window's handle first, true when the
// window answered with success. A null handle fails every message.
#include <cstdint>

#include "wren/capture/capture_window.h"

namespace wren::capture {

using CapCallback = CaptureWindow::Callback;

// The name and version of capture driver `index`, zero-terminated in code page 936 and cut to
// the buffers' lengths. False for the first index past the installed drivers.
bool capGetDriverDescriptionA(int index, char* name, int name_length, char* version,
                              int version_length);

// A capture window as a child of `parent`; `title` in code page 936.
CaptureWindow* capCreateCaptureWindowA(const char* title, std::uint32_t style, int x, int y,
                                       int width, int height, QWidget* parent, int id);

inline bool capSetCallbackOnError(CaptureWindow* w, CapCallback cb) {
  return w && w->set_callback(CaptureWindow::OnError, cb);
}
inline bool capSetCallbackOnStatus(CaptureWindow* w, CapCallback cb) {
  return w && w->set_callback(CaptureWindow::OnStatus, cb);
}
inline bool capSetCallbackOnYield(CaptureWindow* w, CapCallback cb) {
  return w && w->set_callback(CaptureWindow::OnYield, cb);
}
inline bool capSetCallbackOnFrame(CaptureWindow* w, CapCallback cb) {
  return w && w->set_callback(CaptureWindow::OnFrame, cb);
}
inline bool capSetCallbackOnVideoStream(CaptureWindow* w, CapCallback cb) {
  return w && w->set_callback(CaptureWindow::OnVideoStream, cb);
}
inline bool capSetCallbackOnWaveStream(CaptureWindow* w, CapCallback cb) {
  return w && w->set_callback(CaptureWindow::OnWaveStream, cb);
}
inline bool capSetCallbackOnCapControl(CaptureWindow* w, CapCallback cb) {
  return w && w->set_callback(CaptureWindow::OnCapControl, cb);
}
inline bool capDriverConnect(CaptureWindow* w, int index) { return w && w->driver_connect(index); }
inline bool capDriverGetCaps(CaptureWindow* w, CAPDRIVERCAPS* caps, unsigned size) {
  return w && w->driver_get_caps(caps, size);
}
bool capFileSetCaptureFile(CaptureWindow* w, const QString& name);  // sent in code page 936
inline bool capFileAlloc(CaptureWindow* w, long bytes) { return w && w->file_alloc(bytes); }
bool capFileSaveAs(CaptureWindow* w, const QString& name);  // sent in code page 936
inline bool capEditCopy(CaptureWindow* w) { return w && w->edit_copy(); }
inline bool capDlgVideoFormat(CaptureWindow* w) { return w && w->dlg_video_format(); }
inline bool capDlgVideoSource(CaptureWindow* w) { return w && w->dlg_video_source(); }
inline bool capDlgVideoDisplay(CaptureWindow* w) { return w && w->dlg_video_display(); }
inline bool capDlgVideoCompression(CaptureWindow* w) { return w && w->dlg_video_compression(); }
inline bool capPreview(CaptureWindow* w, bool on) { return w && w->set_preview(on); }
inline bool capPreviewRate(CaptureWindow* w, int ms) { return w && w->set_preview_rate(ms); }
inline bool capPreviewScale(CaptureWindow* w, bool on) { return w && w->set_scale(on); }
inline bool capGetStatus(CaptureWindow* w, CAPSTATUS* status, unsigned size) {
  return w && w->get_status(status, size);
}
inline bool capCaptureSequence(CaptureWindow* w) { return w && w->capture_sequence(); }
inline bool capCaptureSetSetup(CaptureWindow* w, const CAPTUREPARMS* parms, unsigned size) {
  return w && w->set_sequence_setup(parms, size);
}
inline bool capCaptureGetSetup(CaptureWindow* w, CAPTUREPARMS* parms, unsigned size) {
  return w && w->get_sequence_setup(parms, size);
}

// The few window calls made on the capture window.
constexpr int GWL_STYLE = -16;
constexpr std::uintptr_t HWND_BOTTOM = 1;
constexpr unsigned SWP_NOMOVE = 0x2, SWP_NOZORDER = 0x4;

bool SetWindowTextA(CaptureWindow* w, const char* text);
long SetWindowLongA(CaptureWindow* w, int index, long value);
bool SetWindowPos(CaptureWindow* w, std::uintptr_t insert_after, int x, int y, int cx, int cy,
                  unsigned flags);

}  // namespace wren::capture
