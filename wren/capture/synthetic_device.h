#pragma once
// A test-pattern camera for tests and benchmarks. It is never installed by the program, so a
// test pattern cannot end up as a member's photo.
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "wren/capture/device.h"

namespace wren::capture {

struct SyntheticConfig {
  QString name = QStringLiteral("Synthetic Camera");
  QString version = QStringLiteral("1.0");
  DriverCaps caps{true, true, true};
  FrameSize size{640, 480};
  bool connects = true;
  int frame_interval_ms = 0;  // 0: one still frame; otherwise a moving pattern at this interval
};

class SyntheticDevice final : public QObject, public Device {
  Q_OBJECT
 public:
  explicit SyntheticDevice(SyntheticConfig config);

  bool connect(QString* error) override;
  DriverCaps caps() const override { return config_.caps; }
  FrameSize image_size() const override { return connected_ ? config_.size : FrameSize{}; }
  const Frame* current_frame() override;

  std::vector<FormatChoice> formats() const override;
  std::uint32_t pixel_format() const override { return fourcc_; }
  bool set_format(std::uint32_t fourcc, FrameSize size, QString* error) override;

  std::vector<QString> inputs() const override;
  int input() const override { return input_; }
  bool set_input(int index, QString* error) override;
  std::vector<Control> controls() const override { return controls_; }
  bool set_control(std::uint32_t id, int value, QString* error) override;

  // Test hooks: report a text as the device would, deliver the next frame.
  void report_status(int id, const QString& text);
  void report_error(int id, const QString& text);
  void deliver_frame();
  int frames_delivered() const { return serial_; }
  int frames_converted() const { return renders_; }  // frames drawn for current_frame()

 private:
  void render();

  SyntheticConfig config_;
  bool connected_ = false;
  std::uint32_t fourcc_;
  int input_ = 0;
  int serial_ = 0;
  std::vector<Control> controls_;
  Frame frame_;
  bool stale_ = true;  // frame_ is drawn when it is asked for
  int renders_ = 0;
  QTimer timer_;
};

// A list of synthetic drivers, by index.
class SyntheticDrivers final : public Drivers {
 public:
  explicit SyntheticDrivers(std::vector<SyntheticConfig> configs) : configs_(std::move(configs)) {}
  bool description(int index, QString* name, QString* version) const override;
  std::unique_ptr<Device> open(int index) const override;

  // The device most recently opened, while it lives.
  SyntheticDevice* last_opened() const { return last_.data(); }
  int opened() const { return opened_; }

 private:
  std::vector<SyntheticConfig> configs_;
  mutable QPointer<SyntheticDevice> last_;
  mutable int opened_ = 0;
};

}  // namespace wren::capture
