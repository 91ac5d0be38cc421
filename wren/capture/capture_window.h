#pragma once
// The capture window: a child window with its own title bar and sizing frame that connects a
// capture driver, previews its frames and answers the capture messages (see avicap.h).
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "wren/capture/cap_structs.h"
#include "wren/capture/device.h"

namespace wren::capture {

// Window styles the capture window knows.
constexpr std::uint32_t WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000, WS_CAPTION = 0x00C00000,
                        WS_THICKFRAME = 0x00040000;

// Metrics of its frame, by the indices the platform's metrics query uses.
constexpr int SM_CYCAPTION = 4, SM_CXFRAME = 32, SM_CYFRAME = 33;
int GetSystemMetrics(int index);

// The preview interval in milliseconds until the program sets one: the program's own rate, so
// that a driver connected later previews no faster than the first one did.
constexpr int kDefaultPreviewRate = 66;

class CaptureWindow final : public QWidget {
  Q_OBJECT
  // What tests read by name, from a library loaded into the program.
  Q_PROPERTY(QString title READ title)
  Q_PROPERTY(bool connected READ connected)
  Q_PROPERTY(QSize image_size READ image_size)
  Q_PROPERTY(int preview_rate READ preview_rate)
  Q_PROPERTY(bool picture READ has_picture)
  Q_PROPERTY(int frames_shown READ frames_shown)

 public:
  // Status and error callbacks: the window, an id (0: clear the previous text) and a
  // zero-terminated text in code page 936. The result is ignored.
  using Callback = long (*)(CaptureWindow* window, int id, const char* text);
  enum CallbackKind {
    OnError,
    OnStatus,
    OnYield,
    OnFrame,
    OnVideoStream,
    OnWaveStream,
    OnCapControl,
    kCallbackKinds
  };

  CaptureWindow(const QString& title, std::uint32_t style, QRect rect, QWidget* parent, int id);
  ~CaptureWindow() override;

  // The window itself.
  std::uint32_t style() const { return style_; }
  void set_style(std::uint32_t style);
  QString title() const { return title_; }
  void set_title(const QString& title);
  QRect client_rect() const;

  // The capture messages; each answers true on success.
  bool set_callback(CallbackKind kind, Callback callback);
  bool driver_connect(int index);
  bool driver_get_caps(CAPDRIVERCAPS* caps, unsigned size) const;
  bool set_preview(bool on);
  bool set_preview_rate(int milliseconds);
  bool set_scale(bool on);
  bool get_status(CAPSTATUS* status, unsigned size) const;
  bool edit_copy();
  bool dlg_video_format();
  bool dlg_video_source();
  bool dlg_video_display();
  bool dlg_video_compression();
  bool file_set_capture_file(const QString& name);
  bool file_alloc(long bytes);
  bool file_save_as(const QString& name);
  bool get_sequence_setup(CAPTUREPARMS* parms, unsigned size) const;
  bool set_sequence_setup(const CAPTUREPARMS* parms, unsigned size);
  bool capture_sequence();

  // State, for the program and its tests.
  bool connected() const { return device_ != nullptr; }
  Device* device() const { return device_.get(); }
  // The driver's newest frame, converted now if it has not been yet; null when there is none.
  const Frame* current_frame() { return device_ ? device_->current_frame() : nullptr; }
  bool has_picture() { return current_frame() != nullptr; }
  QSize image_size() const;  // the driver's; empty when none is connected
  bool previewing() const { return preview_; }
  bool scaling() const { return scale_; }
  int preview_rate() const { return rate_; }
  QString capture_file() const { return capture_file_; }
  int frames_shown() const { return frames_shown_; }

  static QImage image_of(const Frame& frame);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  int frame_width() const;
  void report(CallbackKind kind, int id, const QString& text);
  void preview_tick();
  void update_timer();

  QString title_;
  std::uint32_t style_;
  int id_;
  std::array<Callback, kCallbackKinds> callbacks_{};
  std::unique_ptr<Device> device_;
  int driver_index_ = -1;
  bool preview_ = false;
  bool scale_ = false;
  int rate_ = kDefaultPreviewRate;
  QTimer timer_;
  QByteArray shown_bytes_;  // keeps the pixels of shown_ alive
  QImage shown_;
  int frames_shown_ = 0;
  QString capture_file_;
  CAPTUREPARMS setup_;
  enum class Drag { None, Move, Right, Bottom, Corner } drag_ = Drag::None;
  QPoint drag_origin_;
  QRect drag_start_;
};

}  // namespace wren::capture
