#pragma once
// What a capture driver offers the capture window. One implementation drives V4L2 cameras; a
// synthetic one stands in for a camera in tests and benchmarks.
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "wren/capture/frame.h"

namespace wren::capture {

struct DriverCaps {
  bool has_source_dialog = false;
  bool has_format_dialog = false;
  bool has_display_dialog = false;
};

struct FrameSize {
  int width = 0;
  int height = 0;
  bool operator==(const FrameSize&) const = default;
};

// A pixel format the device delivers, with the frame sizes it offers in that format.
struct FormatChoice {
  std::uint32_t fourcc = 0;
  QString description;
  std::vector<FrameSize> sizes;
};

// A picture control of the device (brightness, contrast, ...).
struct Control {
  enum Kind { Integer, Boolean, Menu };
  std::uint32_t id = 0;
  Kind kind = Integer;
  QString name;
  int minimum = 0, maximum = 0, step = 1, default_value = 0, value = 0;
  std::vector<std::pair<int, QString>> menu;  // value, text (menu controls only)
};

class Device {
 public:
  virtual ~Device() = default;

  // Opens the device and starts delivering frames. False, with a reason, when it cannot.
  virtual bool connect(QString* error) = 0;
  virtual DriverCaps caps() const = 0;
  virtual FrameSize image_size() const = 0;
  // The newest good frame as RGB, or null before the first one has arrived. A frame that came
  // since the last call is converted now: frames are converted only when they are shown or
  // saved.
  virtual const Frame* current_frame() = 0;

  virtual std::vector<FormatChoice> formats() const = 0;
  virtual std::uint32_t pixel_format() const = 0;
  // Stops the stream, applies the format and starts again.
  virtual bool set_format(std::uint32_t fourcc, FrameSize size, QString* error) = 0;

  virtual std::vector<QString> inputs() const = 0;
  virtual int input() const = 0;
  virtual bool set_input(int index, QString* error) = 0;
  virtual std::vector<Control> controls() const = 0;
  virtual bool set_control(std::uint32_t id, int value, QString* error) = 0;

  // Called on the thread that owns the capture window.
  std::function<void()> frame_arrived;
  std::function<void(int id, const QString& text)> status;
  std::function<void(int id, const QString& text)> error;
};

// Ids of the texts a device reports through `status` and `error`; 0 clears the previous text.
enum ReportId : int { kClear = 0, kDeviceError = 1, kFormatError = 2, kStreamStatus = 3 };

// The installed capture drivers, by index from 0.
class Drivers {
 public:
  virtual ~Drivers() = default;
  // False for the first index past the installed drivers.
  virtual bool description(int index, QString* name, QString* version) const = 0;
  // A device for the driver, not yet connected; null when there is no such driver.
  virtual std::unique_ptr<Device> open(int index) const = 0;
};

// The service in use: the V4L2 cameras unless a test or benchmark installs its own.
const Drivers& drivers();
void set_drivers(const Drivers* d);  // null restores the cameras

}  // namespace wren::capture
