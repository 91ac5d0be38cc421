#include "wren/capture/synthetic_device.h"

#include <linux/videodev2.h>

#include <algorithm>

namespace wren::capture {
namespace {

constexpr std::uint32_t kBrightness = V4L2_CID_BRIGHTNESS;

// Seven colour bars of the usual test card.
constexpr unsigned char kBars[7][3] = {{192, 192, 192}, {192, 192, 0}, {0, 192, 192}, {0, 192, 0},
                                       {192, 0, 192},   {192, 0, 0},   {0, 0, 192}};

}  // namespace

SyntheticDevice::SyntheticDevice(SyntheticConfig config)
    : config_(std::move(config)), fourcc_(V4L2_PIX_FMT_RGB24) {
  Control brightness;
  brightness.id = kBrightness;
  brightness.name = QStringLiteral("Brightness");
  brightness.minimum = -64;
  brightness.maximum = 64;
  brightness.value = 0;
  controls_.push_back(brightness);
  QObject::connect(&timer_, &QTimer::timeout, this, &SyntheticDevice::deliver_frame);
}

bool SyntheticDevice::connect(QString* error) {
  if (!config_.connects) {
    if (error) *error = QStringLiteral("device does not answer");
    return false;
  }
  connected_ = true;
  stale_ = true;
  if (config_.frame_interval_ms > 0) timer_.start(config_.frame_interval_ms);
  return true;
}

const Frame* SyntheticDevice::current_frame() {
  if (!connected_) return nullptr;
  if (stale_) render();
  return frame_.empty() ? nullptr : &frame_;
}

std::vector<FormatChoice> SyntheticDevice::formats() const {
  const std::vector<FrameSize> sizes{{160, 120}, {320, 240}, {640, 480}, {800, 600}};
  return {{V4L2_PIX_FMT_RGB24, QStringLiteral("24-bit RGB 8-8-8"), sizes},
          {V4L2_PIX_FMT_YUYV, QStringLiteral("YUYV 4:2:2"), sizes}};
}

bool SyntheticDevice::set_format(std::uint32_t fourcc, FrameSize size, QString* error) {
  for (const FormatChoice& f : formats()) {
    if (f.fourcc != fourcc) continue;
    if (std::find(f.sizes.begin(), f.sizes.end(), size) == f.sizes.end()) break;
    fourcc_ = fourcc;
    config_.size = size;
    stale_ = true;
    return true;
  }
  if (error) *error = QStringLiteral("format not offered");
  return false;
}

std::vector<QString> SyntheticDevice::inputs() const {
  return {QStringLiteral("Colour bars"), QStringLiteral("Grey ramp")};
}

bool SyntheticDevice::set_input(int index, QString* error) {
  if (index < 0 || index >= static_cast<int>(inputs().size())) {
    if (error) *error = QStringLiteral("no such input");
    return false;
  }
  input_ = index;
  stale_ = true;
  return true;
}

bool SyntheticDevice::set_control(std::uint32_t id, int value, QString* error) {
  for (Control& c : controls_) {
    if (c.id != id) continue;
    c.value = std::clamp(value, c.minimum, c.maximum);
    stale_ = true;
    return true;
  }
  if (error) *error = QStringLiteral("no such control");
  return false;
}

void SyntheticDevice::report_status(int id, const QString& text) {
  if (status) status(id, text);
}

void SyntheticDevice::report_error(int id, const QString& text) {
  if (error) error(id, text);
}

void SyntheticDevice::deliver_frame() {
  if (!connected_) return;
  ++serial_;
  stale_ = true;
  if (frame_arrived) frame_arrived();
}

// Colour bars (or a grey ramp) with a white block that moves one step a frame, so that a
// frozen preview shows.
void SyntheticDevice::render() {
  stale_ = false;
  ++renders_;
  const int w = config_.size.width, h = config_.size.height;
  const int shift = controls_.front().value;
  frame_.width = w;
  frame_.height = h;
  frame_.rgb.resize(qsizetype(w) * h * 3);
  auto* p = reinterpret_cast<unsigned char*>(frame_.rgb.data());
  const int block = std::max(1, h / 8);
  const int bx = (serial_ * 4) % std::max(1, w - block), by = h - 2 * block;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x, p += 3) {
      unsigned char c[3];
      if (input_ == 0) {
        const unsigned char* bar = kBars[std::min(6, x * 7 / w)];
        std::copy(bar, bar + 3, c);
      } else {
        c[0] = c[1] = c[2] = static_cast<unsigned char>(x * 255 / std::max(1, w - 1));
      }
      if (y >= by && y < by + block && x >= bx && x < bx + block) c[0] = c[1] = c[2] = 255;
      for (int i = 0; i < 3; ++i)
        p[i] = static_cast<unsigned char>(std::clamp(c[i] + shift, 0, 255));
    }
  }
}

bool SyntheticDrivers::description(int index, QString* name, QString* version) const {
  if (index < 0 || index >= static_cast<int>(configs_.size())) return false;
  if (name) *name = configs_[index].name;
  if (version) *version = configs_[index].version;
  return true;
}

std::unique_ptr<Device> SyntheticDrivers::open(int index) const {
  if (index < 0 || index >= static_cast<int>(configs_.size())) return nullptr;
  auto d = std::make_unique<SyntheticDevice>(configs_[index]);
  last_ = d.get();
  ++opened_;
  return d;
}

}  // namespace wren::capture
