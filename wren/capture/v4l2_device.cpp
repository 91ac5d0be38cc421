#include "wren/capture/v4l2_device.h"

#include <fcntl.h>
#include <libv4l2.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "wren/capture/frame_check.h"

namespace wren::capture {
namespace {

constexpr int kNodes = 10;
constexpr unsigned kBuffers = 4;
// A camera may fail to hand over a frame now and then; it is asked again this many times, so
// long apart, before its stream is given up.
constexpr int kDequeueRetries = 3, kRetryDelayMs = 100;
// A call a signal interrupts is made again at once, but not for ever: one interrupted this many
// times in a row fails like any other, and a stream that never delivers ends.
constexpr int kInterruptedTries = 8;

QString node_path(int n) { return QStringLiteral("/dev/video%1").arg(n); }

QString errno_text() { return QString::fromLocal8Bit(std::strerror(errno)); }

QString fixed_text(const __u8* s, std::size_t n) {
  return QString::fromUtf8(reinterpret_cast<const char*>(s),
                           qstrnlen(reinterpret_cast<const char*>(s), n));
}

struct NodeInfo {
  QString path, card, version;
};

// A node is a capture device when it captures single-planar video by streaming; metadata nodes
// of the same camera are not.
bool query_node(const QString& path, NodeInfo* info) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  v4l2_capability cap{};
  const bool ok = ::ioctl(fd, VIDIOC_QUERYCAP, &cap) == 0;
  ::close(fd);
  if (!ok) return false;
  const __u32 caps = (cap.capabilities & V4L2_CAP_DEVICE_CAPS) ? cap.device_caps : cap.capabilities;
  if (!(caps & V4L2_CAP_VIDEO_CAPTURE) || !(caps & V4L2_CAP_STREAMING)) return false;
  info->path = path;
  info->card = fixed_text(cap.card, sizeof cap.card);
  info->version = QStringLiteral("%1 %2.%3.%4")
                      .arg(fixed_text(cap.driver, sizeof cap.driver))
                      .arg((cap.version >> 16) & 0xFF)
                      .arg((cap.version >> 8) & 0xFF)
                      .arg(cap.version & 0xFF);
  return true;
}

bool nth_capture_node(int index, NodeInfo* info) {
  if (index < 0) return false;
  int seen = 0;
  for (int n = 0; n < kNodes; ++n) {
    if (query_node(node_path(n), info) && seen++ == index) return true;
  }
  return false;
}

}  // namespace

V4l2Device::V4l2Device(QString node) : node_(std::move(node)) {
  retry_.setSingleShot(true);
  retry_.callOnTimeout([this] {
    if (!notifier_) return;
    notifier_->setEnabled(true);
    frame_ready();
  });
}

V4l2Device::~V4l2Device() {
  stop_stream(false);
  converter_.reset();
  if (fd_ >= 0) v4l2_close(fd_);
}

int V4l2Device::xioctl(unsigned long request, void* arg) const {
  int r, tries = 0;
  do r = v4l2_ioctl(fd_, request, arg);
  while (r < 0 && errno == EINTR && ++tries < kInterruptedTries);
  return r;
}

bool V4l2Device::connect(QString* error) {
  const int fd = ::open(QFile::encodeName(node_).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = node_ + QStringLiteral(": ") + errno_text();
    return false;
  }
  // Our own converter turns frames into RGB, so libv4l2 passes the device's formats through.
  fd_ = v4l2_fd_open(fd, V4L2_DISABLE_CONVERSION);
  if (fd_ < 0) {
    ::close(fd);
    if (error) *error = node_ + QStringLiteral(": ") + errno_text();
    return false;
  }
  converter_ = std::make_unique<PixelConverter>(fd_);
  return read_format(error) && convertible_or_refused(error) && start_stream(error);
}

bool V4l2Device::convertible_or_refused(QString* error) {
  if (ensure_convertible_format()) return true;
  if (error) *error = node_ + QStringLiteral(": no format of the camera converts to RGB");
  return false;
}

// Some cameras start in a format only a codec could decode (H.264, a depth format), or at a
// size whose frames do not convert pixel for pixel; the picture then comes in the format and
// size nearest to it that do: libv4lconvert's choice, else the same format at another size,
// else another format. False when there is none.
bool V4l2Device::ensure_convertible_format() {
  if (PixelConverter::converts_to_rgb(fourcc_, width_, height_)) return true;
  std::vector<std::pair<std::uint32_t, FrameSize>> tries;
  SourceFormat best;
  if (converter_->best_source(width_, height_, &best))
    tries.push_back({best.fourcc, {best.width, best.height}});
  const std::vector<FormatChoice> offered = formats();
  auto distance = [&](FrameSize z) {
    return std::abs(z.width - width_) + std::abs(z.height - height_);
  };
  for (const FormatChoice& f : offered) {
    if (f.fourcc != fourcc_) continue;
    std::vector<FrameSize> sizes = f.sizes;
    std::stable_sort(sizes.begin(), sizes.end(),
                     [&](FrameSize a, FrameSize b) { return distance(a) < distance(b); });
    for (FrameSize z : sizes) tries.push_back({f.fourcc, z});
  }
  for (const FormatChoice& f : offered)
    for (FrameSize z : f.sizes) tries.push_back({f.fourcc, z});
  for (const auto& [fourcc, size] : tries) {
    if (!PixelConverter::converts_to_rgb(fourcc, size.width, size.height)) continue;
    if (request_format(fourcc, size) && read_format(nullptr) &&
        PixelConverter::converts_to_rgb(fourcc_, width_, height_))
      return true;
  }
  return false;
}

bool V4l2Device::request_format(std::uint32_t fourcc, FrameSize size) {
  v4l2_format f{};
  f.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  f.fmt.pix.pixelformat = fourcc;
  f.fmt.pix.width = static_cast<__u32>(size.width);
  f.fmt.pix.height = static_cast<__u32>(size.height);
  f.fmt.pix.field = V4L2_FIELD_ANY;
  return xioctl(VIDIOC_S_FMT, &f) == 0;
}

bool V4l2Device::read_format(QString* error) {
  v4l2_format f{};
  f.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  if (xioctl(VIDIOC_G_FMT, &f) < 0) {
    if (error) *error = QStringLiteral("VIDIOC_G_FMT: ") + errno_text();
    return false;
  }
  fourcc_ = f.fmt.pix.pixelformat;
  width_ = static_cast<int>(f.fmt.pix.width);
  height_ = static_cast<int>(f.fmt.pix.height);
  bytes_per_line_ = static_cast<int>(f.fmt.pix.bytesperline);
  size_image_ = f.fmt.pix.sizeimage;
  return true;
}

SourceFormat V4l2Device::source_format() const {
  return {fourcc_, width_, height_, bytes_per_line_, size_image_};
}

bool V4l2Device::start_stream(QString* error) {
  auto fail = [&](const char* what) {
    if (error) *error = QString::fromLatin1(what) + QStringLiteral(": ") + errno_text();
    stop_stream(false);
    return false;
  };
  v4l2_requestbuffers req{};
  req.count = kBuffers;
  req.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  req.memory = V4L2_MEMORY_MMAP;
  if (xioctl(VIDIOC_REQBUFS, &req) < 0) return fail("VIDIOC_REQBUFS");
  for (unsigned i = 0; i < req.count; ++i) {
    v4l2_buffer b{};
    b.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    b.memory = V4L2_MEMORY_MMAP;
    b.index = i;
    if (xioctl(VIDIOC_QUERYBUF, &b) < 0) return fail("VIDIOC_QUERYBUF");
    void* p = v4l2_mmap(nullptr, b.length, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, b.m.offset);
    if (p == MAP_FAILED) return fail("mmap");
    buffers_.push_back({p, b.length});
    if (xioctl(VIDIOC_QBUF, &b) < 0) return fail("VIDIOC_QBUF");
  }
  v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  if (xioctl(VIDIOC_STREAMON, &type) < 0) return fail("VIDIOC_STREAMON");
  streaming_ = true;
  held_ = -1;
  dequeue_failures_ = 0;
  reported_faults_ = 0;
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { frame_ready(); });
  report_streaming();
  return true;
}

void V4l2Device::report_streaming() {
  if (status)
    status(
        kStreamStatus,
        QStringLiteral("Streaming %1 x %2 %3").arg(width_).arg(height_).arg(fourcc_text(fourcc_)));
}

void V4l2Device::stop_stream(bool report) {
  retry_.stop();
  held_ = -1;  // the stream's end gives every buffer back
  if (notifier_) {
    // This may run inside the notifier's own signal: it goes once that has returned.
    notifier_->setEnabled(false);
    notifier_.release()->deleteLater();
  }
  if (fd_ < 0) return;
  if (streaming_) {
    v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    xioctl(VIDIOC_STREAMOFF, &type);
    streaming_ = false;
    if (report && status) status(kStreamStatus, QStringLiteral("Stream stopped"));
  }
  for (const Buffer& b : buffers_) v4l2_munmap(b.start, b.length);
  if (!buffers_.empty()) {
    v4l2_requestbuffers req{};
    req.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    req.memory = V4L2_MEMORY_MMAP;
    xioctl(VIDIOC_REQBUFS, &req);  // count 0 frees the buffers
  }
  buffers_.clear();
}

void V4l2Device::frame_ready() {
  v4l2_buffer b{};
  b.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  b.memory = V4L2_MEMORY_MMAP;
  if (xioctl(VIDIOC_DQBUF, &b) < 0) return dequeue_failed(errno);
  if (dequeue_failures_ > 0) {
    dequeue_failures_ = 0;
    report_streaming();  // in place of the failure's text
  }
  if (b.index >= buffers_.size()) return;  // no buffer of ours: nothing to read or give back
  const Buffer& buffer = buffers_[b.index];
  const FrameCheck check =
      check_frame(source_format(), static_cast<const std::uint8_t*>(buffer.start), b.bytesused,
                  buffer.length, b.flags);
  if (!check.good) {
    requeue(b.index);
    report_dropped(check.fault, check.why);
    return;
  }
  if (held_ >= 0) requeue(unsigned(held_));
  held_ = int(b.index);
  held_bytes_ = check.used;
  if (frame_arrived) frame_arrived();
}

void V4l2Device::dequeue_failed(int error_number) {
  if (error_number == EAGAIN) return;
  const QString why =
      node_ + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error_number));
  // A camera that was unplugged is gone for good; any other failure may pass.
  if (error_number != ENODEV && dequeue_failures_ < kDequeueRetries) {
    ++dequeue_failures_;
    if (notifier_) notifier_->setEnabled(false);
    retry_.start(kRetryDelayMs);
    if (status)
      status(kStreamStatus, why + QStringLiteral("; trying again (%1 of %2)")
                                      .arg(dequeue_failures_)
                                      .arg(kDequeueRetries));
    return;
  }
  const bool retried = dequeue_failures_ > 0;
  // Otherwise the camera would wake us for ever; its last frame is no current picture.
  stop_stream(false);
  frame_ = Frame();
  if (error) error(kDeviceError, retried ? why + QStringLiteral("; the stream has stopped") : why);
}

void V4l2Device::requeue(unsigned index) {
  v4l2_buffer b{};
  b.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  b.memory = V4L2_MEMORY_MMAP;
  b.index = index;
  xioctl(VIDIOC_QBUF, &b);
}

void V4l2Device::report_dropped(FrameFault fault, const QString& why) {
  const unsigned bit = 1u << unsigned(fault);
  if (reported_faults_ & bit) return;
  reported_faults_ |= bit;
  if (error) error(kFormatError, QStringLiteral("Frame dropped: ") + why);
}

const Frame* V4l2Device::current_frame() {
  if (held_ >= 0) {
    const unsigned index = unsigned(std::exchange(held_, -1));
    QString why;
    FrameFault fault = FrameFault::None;
    // A frame that does not decode whole leaves the last good picture in place.
    const bool ok =
        converter_->to_rgb(source_format(), static_cast<const std::uint8_t*>(buffers_[index].start),
                           held_bytes_, &frame_, &why, &fault);
    requeue(index);
    if (!ok) report_dropped(fault, why);
  }
  return frame_.empty() ? nullptr : &frame_;
}

std::vector<FormatChoice> V4l2Device::formats() const {
  std::vector<FormatChoice> out;
  if (fd_ < 0) return out;
  for (__u32 i = 0;; ++i) {
    v4l2_fmtdesc d{};
    d.index = i;
    d.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (xioctl(VIDIOC_ENUM_FMT, &d) < 0) break;
    if (!PixelConverter::converts_to_rgb(d.pixelformat)) continue;
    FormatChoice choice{d.pixelformat, fixed_text(d.description, sizeof d.description), {}};
    for (__u32 k = 0;; ++k) {
      v4l2_frmsizeenum s{};
      s.index = k;
      s.pixel_format = d.pixelformat;
      if (xioctl(VIDIOC_ENUM_FRAMESIZES, &s) < 0) break;
      if (s.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
        choice.sizes.push_back({int(s.discrete.width), int(s.discrete.height)});
        continue;
      }
      // A range: offer the usual sizes inside it and its largest.
      for (FrameSize z :
           {FrameSize{160, 120}, FrameSize{320, 240}, FrameSize{640, 480}, FrameSize{1280, 720}}) {
        if (z.width >= int(s.stepwise.min_width) && z.width <= int(s.stepwise.max_width) &&
            z.height >= int(s.stepwise.min_height) && z.height <= int(s.stepwise.max_height))
          choice.sizes.push_back(z);
      }
      choice.sizes.push_back({int(s.stepwise.max_width), int(s.stepwise.max_height)});
      break;
    }
    // Only sizes whose frames convert pixel for pixel are offered.
    if (choice.sizes.empty()) choice.sizes.push_back({width_, height_});
    std::erase_if(choice.sizes, [&](FrameSize z) {
      return !PixelConverter::converts_to_rgb(d.pixelformat, z.width, z.height);
    });
    if (!choice.sizes.empty()) out.push_back(std::move(choice));
  }
  return out;
}

bool V4l2Device::set_format(std::uint32_t fourcc, FrameSize size, QString* error) {
  if (fd_ < 0) return false;
  stop_stream(true);
  frame_ = Frame();  // a picture in the old format is no current picture
  const bool set = request_format(fourcc, size);
  const QString why = errno_text();
  // Whatever happened, stream again in the format the device now has, if its frames convert.
  const bool running = read_format(error) && convertible_or_refused(error) && start_stream(error);
  if (!set && error) *error = QStringLiteral("VIDIOC_S_FMT: ") + why;
  return set && running;
}

std::vector<QString> V4l2Device::inputs() const {
  std::vector<QString> out;
  if (fd_ < 0) return out;
  for (__u32 i = 0;; ++i) {
    v4l2_input in{};
    in.index = i;
    if (xioctl(VIDIOC_ENUMINPUT, &in) < 0) break;
    out.push_back(fixed_text(in.name, sizeof in.name));
  }
  return out;
}

int V4l2Device::input() const {
  int i = 0;
  return fd_ >= 0 && xioctl(VIDIOC_G_INPUT, &i) == 0 ? i : 0;
}

bool V4l2Device::set_input(int index, QString* error) {
  if (fd_ < 0) return false;
  if (index == input()) return true;
  stop_stream(true);
  frame_ = Frame();  // the picture of the other input is no current picture
  int i = index;
  const bool set = xioctl(VIDIOC_S_INPUT, &i) == 0;
  const QString why = errno_text();
  const bool running = read_format(error) && convertible_or_refused(error) && start_stream(error);
  if (!set && error) *error = QStringLiteral("VIDIOC_S_INPUT: ") + why;
  return set && running;
}

std::vector<Control> V4l2Device::controls() const {
  std::vector<Control> out;
  if (fd_ < 0) return out;
  v4l2_queryctrl q{};
  q.id = V4L2_CTRL_FLAG_NEXT_CTRL;
  while (xioctl(VIDIOC_QUERYCTRL, &q) == 0) {
    const bool usable =
        !(q.flags & (V4L2_CTRL_FLAG_DISABLED | V4L2_CTRL_FLAG_READ_ONLY | V4L2_CTRL_FLAG_INACTIVE));
    Control c;
    c.id = q.id;
    c.name = fixed_text(q.name, sizeof q.name);
    c.minimum = q.minimum;
    c.maximum = q.maximum;
    c.step = q.step > 0 ? q.step : 1;
    c.default_value = q.default_value;
    v4l2_control value{q.id, 0};
    c.value = xioctl(VIDIOC_G_CTRL, &value) == 0 ? value.value : q.default_value;
    if (q.type == V4L2_CTRL_TYPE_INTEGER) {
      c.kind = Control::Integer;
    } else if (q.type == V4L2_CTRL_TYPE_BOOLEAN) {
      c.kind = Control::Boolean;
    } else if (q.type == V4L2_CTRL_TYPE_MENU) {
      c.kind = Control::Menu;
      for (int k = q.minimum; k <= q.maximum; ++k) {
        v4l2_querymenu m{};
        m.id = q.id;
        m.index = static_cast<__u32>(k);
        if (xioctl(VIDIOC_QUERYMENU, &m) == 0)
          c.menu.emplace_back(k, fixed_text(m.name, sizeof m.name));
      }
    } else {
      q.id |= V4L2_CTRL_FLAG_NEXT_CTRL;
      continue;  // buttons, strings and the like have no place in the dialog
    }
    if (usable) out.push_back(std::move(c));
    q.id |= V4L2_CTRL_FLAG_NEXT_CTRL;
  }
  return out;
}

bool V4l2Device::set_control(std::uint32_t id, int value, QString* error) {
  if (fd_ < 0) return false;
  v4l2_control c{id, value};
  if (xioctl(VIDIOC_S_CTRL, &c) == 0) return true;
  if (error) *error = QStringLiteral("VIDIOC_S_CTRL: ") + errno_text();
  return false;
}

bool V4l2Drivers::description(int index, QString* name, QString* version) const {
  NodeInfo info;
  if (!nth_capture_node(index, &info)) return false;
  if (name) *name = info.card;
  if (version) *version = info.version;
  return true;
}

std::unique_ptr<Device> V4l2Drivers::open(int index) const {
  NodeInfo info;
  if (!nth_capture_node(index, &info)) return nullptr;
  return std::make_unique<V4l2Device>(info.path);
}

}  // namespace wren::capture
