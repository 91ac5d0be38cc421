#pragma once
// What the forms share: the capture window, its callbacks and the routines around it.
#include <QPointer>

#include "wren/capture/capture_window.h"

namespace wren {

// The capture window, created by frmMain's load.
extern QPointer<capture::CaptureWindow> hCapWnd;

// The capture window's status and error callbacks: they show `text` in frmMain's status bar.
long ErrorCallBack(capture::CaptureWindow* window, int id, const char* text);
long StatusCallBack(capture::CaptureWindow* window, int id, const char* text);

void SetStatusText(const QString& text);

// Gives `window` the outer size around a client area as large as the driver's image.
void ResizeCaptureWindow(capture::CaptureWindow* window);

// The callbacks copy at most this many bytes of a text.
constexpr int kCallbackTextBytes = 510;
QString callback_text(const char* text);

}  // namespace wren
