#pragma once
// Cameras through V4L2: the capture devices among /dev/video0 ... /dev/video9, in order, are
// drivers 0 ... 9. Frames are read on the thread that connects the device. Every frame is taken
// from the camera and given back at once, except the newest good one, which is held until it is
// converted (when the picture is shown or saved) or a newer good one replaces it.
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <memory>

#include "wren/capture/device.h"
#include "wren/capture/frame_check.h"
#include "wren/capture/pixel_converter.h"

namespace wren::capture {

class V4l2Device final : public Device {
 public:
  explicit V4l2Device(QString node);
  ~V4l2Device() override;  // stops the stream and closes the device

  bool connect(QString* error) override;
  DriverCaps caps() const override { return {true, true, false}; }
  FrameSize image_size() const override { return {width_, height_}; }
  const Frame* current_frame() override;

  std::vector<FormatChoice> formats() const override;
  std::uint32_t pixel_format() const override { return fourcc_; }
  bool set_format(std::uint32_t fourcc, FrameSize size, QString* error) override;

  std::vector<QString> inputs() const override;
  int input() const override;
  bool set_input(int index, QString* error) override;
  std::vector<Control> controls() const override;
  bool set_control(std::uint32_t id, int value, QString* error) override;

 private:
  struct Buffer {
    void* start = nullptr;
    std::size_t length = 0;
  };
  bool request_format(std::uint32_t fourcc, FrameSize size);  // VIDIOC_S_FMT
  bool read_format(QString* error);
  bool ensure_convertible_format();
  SourceFormat source_format() const;
  bool start_stream(QString* error);
  void stop_stream(bool report);  // `report`: tell the status callback
  void report_streaming();
  void frame_ready();
  void dequeue_failed(int error_number);
  void requeue(unsigned index);
  void report_dropped(FrameFault fault, const QString& why);
  bool convertible_or_refused(QString* error);
  int xioctl(unsigned long request, void* arg) const;

  QString node_;
  int fd_ = -1;
  std::uint32_t fourcc_ = 0;
  int width_ = 0, height_ = 0, bytes_per_line_ = 0;
  std::uint32_t size_image_ = 0;
  std::vector<Buffer> buffers_;
  bool streaming_ = false;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::unique_ptr<PixelConverter> converter_;
  Frame frame_;    // the newest frame converted
  int held_ = -1;  // the buffer of the newest good frame not yet converted
  std::size_t held_bytes_ = 0;
  int dequeue_failures_ = 0;  // in a row
  QTimer retry_;
  unsigned reported_faults_ = 0;  // each kind once a stream, not for every frame
};

class V4l2Drivers final : public Drivers {
 public:
  bool description(int index, QString* name, QString* version) const override;
  std::unique_ptr<Device> open(int index) const override;
};

}  // namespace wren::capture
