#include "wren/capture/capture_window.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "runtime/codepage.h"
#include "runtime/files.h"
#include "wren/capture/capture_dialogs.h"
#include "wren/written_file.h"

namespace wren::capture {
namespace {

constexpr int kCaption = 18, kSizingFrame = 4, kBorder = 1;

CAPTUREPARMS default_setup() {
  CAPTUREPARMS p{};
  p.dwRequestMicroSecPerFrame = 66667;  // 15 frames a second
  p.wPercentDropForError = 10;
  p.wNumVideoRequested = 5;
  p.vKeyAbort = 0x1B;  // Esc
  p.fAbortLeftMouse = -1;
  p.fAbortRightMouse = -1;
  p.wTimeLimit = 30;
  p.wStepCaptureAverageFrames = 5;
  p.AVStreamMaster = 1;
  return p;
}

template <class T>
void copy_out(const T& from, T* to, unsigned size) {
  std::memcpy(to, &from, std::min<std::size_t>(size, sizeof(T)));
}

}  // namespace

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CYCAPTION:
      return kCaption;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return kSizingFrame;
    default:
      return 0;
  }
}

CaptureWindow::CaptureWindow(const QString& title, std::uint32_t style, QRect rect, QWidget* parent,
                             int id)
    : QWidget(parent), title_(title), style_(style), id_(id), setup_(default_setup()) {
  setObjectName(QStringLiteral("capture_window"));
  setGeometry(rect);
  setMouseTracking(true);
  connect(&timer_, &QTimer::timeout, this, &CaptureWindow::preview_tick);
  if (style_ & WS_VISIBLE) show();
}

CaptureWindow::~CaptureWindow() {
  timer_.stop();
  device_.reset();  // stops the stream and closes the device
}

void CaptureWindow::set_style(std::uint32_t style) {
  style_ = style;
  setVisible(style_ & WS_VISIBLE);
  update();
}

void CaptureWindow::set_title(const QString& title) {
  title_ = title;
  update();
}

int CaptureWindow::frame_width() const { return (style_ & WS_THICKFRAME) ? kSizingFrame : kBorder; }

QRect CaptureWindow::client_rect() const {
  const int f = frame_width();
  const int top = f + ((style_ & WS_CAPTION) == WS_CAPTION ? kCaption : 0);
  return QRect(f, top, std::max(0, width() - 2 * f), std::max(0, height() - top - f));
}

bool CaptureWindow::set_callback(CallbackKind kind, Callback callback) {
  if (kind < 0 || kind >= kCallbackKinds) return false;
  callbacks_[kind] = callback;
  return true;
}

void CaptureWindow::report(CallbackKind kind, int id, const QString& text) {
  if (Callback cb = callbacks_[kind]) {
    const QByteArray ansi = rt::to_cp936(text);
    cb(this, id, ansi.constData());
  }
}

bool CaptureWindow::driver_connect(int index) {
  // The driver in use is let go first, so that asking for the same one again reopens it.
  device_.reset();
  driver_index_ = -1;
  update_timer();
  std::unique_ptr<Device> d = drivers().open(index);
  if (!d) return false;
  // Installed first, so that the device can tell how its stream started.
  d->status = [this](int id, const QString& text) { report(OnStatus, id, text); };
  d->error = [this](int id, const QString& text) { report(OnError, id, text); };
  QString why;
  if (!d->connect(&why)) return false;
  device_ = std::move(d);
  driver_index_ = index;
  update_timer();
  return true;
}

bool CaptureWindow::driver_get_caps(CAPDRIVERCAPS* caps, unsigned size) const {
  if (!device_ || !caps) return false;
  const DriverCaps c = device_->caps();
  CAPDRIVERCAPS out{};
  out.wDeviceIndex = static_cast<std::uint32_t>(driver_index_);
  out.fHasDlgVideoSource = c.has_source_dialog ? 1 : 0;
  out.fHasDlgVideoFormat = c.has_format_dialog ? 1 : 0;
  out.fHasDlgVideoDisplay = c.has_display_dialog ? 1 : 0;
  out.fCaptureInitialized = 1;
  copy_out(out, caps, size);
  return true;
}

bool CaptureWindow::set_preview(bool on) {
  if (!device_) return false;
  preview_ = on;
  update_timer();
  if (on) preview_tick();
  return true;
}

bool CaptureWindow::set_preview_rate(int milliseconds) {
  if (!device_ || milliseconds < 0) return false;
  rate_ = milliseconds;
  update_timer();
  return true;
}

bool CaptureWindow::set_scale(bool on) {
  if (!device_) return false;
  scale_ = on;
  update();
  return true;
}

void CaptureWindow::update_timer() {
  if (device_ && preview_) {
    timer_.start(rate_);
  } else {
    timer_.stop();
  }
}

void CaptureWindow::preview_tick() {
  const Frame* f = current_frame();
  if (!f) {
    // A camera that went away leaves no picture behind.
    if (!shown_.isNull()) {
      shown_ = QImage();
      shown_bytes_.clear();
      update();
    }
    return;
  }
  shown_bytes_ = f->rgb;  // shared, not copied; the device converts into another buffer
  shown_ = QImage(reinterpret_cast<const uchar*>(shown_bytes_.constData()), f->width, f->height,
                  f->width * 3, QImage::Format_RGB888);
  update();
}

QSize CaptureWindow::image_size() const {
  if (!device_) return {};
  const FrameSize s = device_->image_size();
  return {s.width, s.height};
}

bool CaptureWindow::get_status(CAPSTATUS* status, unsigned size) const {
  if (!device_ || !status) return false;
  const FrameSize s = device_->image_size();
  CAPSTATUS out{};
  out.uiImageWidth = static_cast<std::uint32_t>(s.width);
  out.uiImageHeight = static_cast<std::uint32_t>(s.height);
  out.fLiveWindow = preview_ ? 1 : 0;
  out.fScale = scale_ ? 1 : 0;
  out.fCapFileExists = !capture_file_.isEmpty() && rt::file_exists(capture_file_);
  copy_out(out, status, size);
  return true;
}

QImage CaptureWindow::image_of(const Frame& frame) {
  if (frame.empty()) return {};
  return QImage(reinterpret_cast<const uchar*>(frame.rgb.constData()), frame.width, frame.height,
                frame.width * 3, QImage::Format_RGB888)
      .copy();
}

bool CaptureWindow::edit_copy() {
  const Frame* f = current_frame();
  if (!f) return false;
  QGuiApplication::clipboard()->setImage(image_of(*f));
  return true;
}

bool CaptureWindow::dlg_video_format() {
  if (!device_ || !device_->caps().has_format_dialog) return false;
  QString why;
  if (!run_format_dialog(*device_, this, &why)) report(OnError, kFormatError, why);
  if (preview_) preview_tick();  // without preview, nothing is converted until a snapshot
  return true;
}

bool CaptureWindow::dlg_video_source() {
  if (!device_ || !device_->caps().has_source_dialog) return false;
  QString why;
  if (!run_source_dialog(*device_, this, &why)) report(OnError, kDeviceError, why);
  if (preview_) preview_tick();
  return true;
}

bool CaptureWindow::dlg_video_display() {
  if (!device_ || !device_->caps().has_display_dialog) return false;
  run_display_dialog(*device_, this);
  return true;
}

bool CaptureWindow::dlg_video_compression() {
  if (!device_) return false;
  run_compression_dialog(this);
  return true;
}

bool CaptureWindow::file_set_capture_file(const QString& name) {
  if (!device_ || name.isEmpty()) return false;
  capture_file_ = name;
  return true;
}

bool CaptureWindow::file_alloc(long bytes) {
  if (!device_ || capture_file_.isEmpty() || bytes < 0) return false;
  QString why;
  if (is_symbolic_link(capture_file_))
    why = QStringLiteral("it is a symbolic link");
  else if (rt::is_read_only(capture_file_))
    why = QStringLiteral("the file is read-only");
  if (why.isEmpty() && allocate_file(capture_file_, bytes, &why)) return true;
  report(OnError, kDeviceError,
         QStringLiteral("Cannot allocate the capture file %1: %2").arg(capture_file_, why));
  return false;
}

bool CaptureWindow::file_save_as(const QString& name) {
  if (!device_ || capture_file_.isEmpty()) return false;
  return copy_over(capture_file_, name, nullptr);
}

bool CaptureWindow::get_sequence_setup(CAPTUREPARMS* parms, unsigned size) const {
  if (!device_ || !parms) return false;
  copy_out(setup_, parms, size);
  return true;
}

bool CaptureWindow::set_sequence_setup(const CAPTUREPARMS* parms, unsigned size) {
  if (!device_ || !parms) return false;
  std::memcpy(&setup_, parms, std::min<std::size_t>(size, sizeof setup_));
  return true;
}

// This capture window records no video sequences.
bool CaptureWindow::capture_sequence() { return false; }

void CaptureWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  p.fillRect(rect(), pal.color(QPalette::Button));
  p.setPen(pal.color(QPalette::Dark));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  const int f = frame_width();
  if ((style_ & WS_CAPTION) == WS_CAPTION) {
    const QRect caption(f, f, std::max(0, width() - 2 * f), kCaption);
    p.fillRect(caption, pal.color(QPalette::Highlight));
    p.setPen(pal.color(QPalette::HighlightedText));
    QFont font = p.font();
    font.setBold(true);
    p.setFont(font);
    p.drawText(caption.adjusted(4, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, title_);
  }
  const QRect client = client_rect();
  if (!device_ || shown_.isNull()) {
    p.fillRect(client, pal.color(QPalette::Window));
    return;
  }
  p.setClipRect(client);
  if (scale_) {
    p.drawImage(client, shown_);
  } else {
    p.fillRect(client, Qt::black);
    p.drawImage(client.topLeft(), shown_);
  }
  ++frames_shown_;
}

// A child window with a title bar is moved by it, and resized by its sizing frame when it has
// one.
void CaptureWindow::mousePressEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  const int f = frame_width();
  const bool sizing = style_ & WS_THICKFRAME;
  const bool right = sizing && pos.x() >= width() - f;
  const bool bottom = sizing && pos.y() >= height() - f;
  if (right && bottom)
    drag_ = Drag::Corner;
  else if (right)
    drag_ = Drag::Right;
  else if (bottom)
    drag_ = Drag::Bottom;
  else if (pos.y() < f + kCaption && (style_ & WS_CAPTION) == WS_CAPTION)
    drag_ = Drag::Move;
  else
    drag_ = Drag::None;
  drag_origin_ = e->globalPosition().toPoint();
  drag_start_ = geometry();
}

void CaptureWindow::mouseMoveEvent(QMouseEvent* e) {
  if (drag_ == Drag::None) return;
  const QPoint d = e->globalPosition().toPoint() - drag_origin_;
  const int min_w = 2 * frame_width() + 20, min_h = 2 * frame_width() + kCaption;
  QRect g = drag_start_;
  if (drag_ == Drag::Move) g.translate(d);
  if (drag_ == Drag::Right || drag_ == Drag::Corner) g.setWidth(std::max(min_w, g.width() + d.x()));
  if (drag_ == Drag::Bottom || drag_ == Drag::Corner)
    g.setHeight(std::max(min_h, g.height() + d.y()));
  setGeometry(g);
}

void CaptureWindow::mouseReleaseEvent(QMouseEvent*) { drag_ = Drag::None; }

}  // namespace wren::capture
