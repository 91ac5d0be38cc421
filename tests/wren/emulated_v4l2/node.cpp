#include "node.h"

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/eventfd.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>

#include "frames.h"
#include "libc.h"

namespace emulated_v4l2 {
namespace {

constexpr unsigned kMinBuffers = 2, kMaxBuffers = 8;

struct ControlInfo {
  std::uint32_t id;
  std::uint32_t type;
  const char* name;
  std::int32_t minimum, maximum, step, default_value;
};

// Sorted by id, as V4L2_CTRL_FLAG_NEXT_CTRL walks them.
constexpr ControlInfo kControls[] = {
    {V4L2_CID_BRIGHTNESS, V4L2_CTRL_TYPE_INTEGER, "Brightness", -64, 64, 1, 0},
    {V4L2_CID_CONTRAST, V4L2_CTRL_TYPE_INTEGER, "Contrast", 0, 100, 1, 50},
    {V4L2_CID_AUTO_WHITE_BALANCE, V4L2_CTRL_TYPE_BOOLEAN, "White Balance, Automatic", 0, 1, 1, 1},
    {V4L2_CID_POWER_LINE_FREQUENCY, V4L2_CTRL_TYPE_MENU, "Power Line Frequency", 0, 2, 1, 1},
};
constexpr const char* kPowerLineMenu[] = {"Disabled", "50 Hz", "60 Hz"};
constexpr const char* kInputs[] = {"Camera 1", "Camera 2"};

template <std::size_t N>
void copy_text(std::uint8_t (&to)[N], const std::string& from) {
  std::memset(to, 0, N);
  std::memcpy(to, from.data(), std::min(N - 1, from.size()));
}

std::string format_description(std::uint32_t fourcc) {
  switch (fourcc) {
    case V4L2_PIX_FMT_YUYV:
      return "YUYV 4:2:2";
    case V4L2_PIX_FMT_MJPEG:
      return "Motion-JPEG";
    case V4L2_PIX_FMT_JPEG:
      return "JFIF JPEG";
    case V4L2_PIX_FMT_Z16:
      return "16-bit Depth";
    case V4L2_PIX_FMT_GREY:
      return "8-bit Greyscale";
    case V4L2_PIX_FMT_RGB24:
      return "24-bit RGB 8-8-8";
    case V4L2_PIX_FMT_UYVY:
      return "UYVY 4:2:2";
    case V4L2_PIX_FMT_NV12:
      return "Y/UV 4:2:0";
    case V4L2_PIX_FMT_YUV420:
      return "Planar YUV 4:2:0";
    default:
      return "Unknown";
  }
}

const FormatConfig* find_format(const DeviceConfig& c, std::uint32_t fourcc) {
  for (const FormatConfig& f : c.formats)
    if (f.fourcc == fourcc) return &f;
  return nullptr;
}

const ControlInfo* find_control(std::uint32_t id) {
  for (const ControlInfo& c : kControls)
    if (c.id == id) return &c;
  return nullptr;
}

std::size_t page_rounded(std::size_t n) {
  const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
  return (n + page - 1) / page * page;
}

}  // namespace

Node::Node(DeviceConfig config)
    : config_(std::move(config)),
      fourcc_(config_.fourcc),
      width_(config_.size.width),
      height_(config_.size.height) {
  for (const ControlInfo& c : kControls) control_values_.push_back(c.default_value);
}

Node::~Node() {
  Lock lock(mutex_);
  stop_stream(lock);
  free_buffers();
}

int Node::fail(int error) const {
  errno = error;
  return -1;
}

OpenFile* Node::open(int flags) {
  Lock lock(mutex_);
  if (lost_) {
    errno = ENOENT;
    return nullptr;
  }
  const int fd = eventfd(0, EFD_NONBLOCK | EFD_SEMAPHORE | ((flags & O_CLOEXEC) ? EFD_CLOEXEC : 0));
  if (fd < 0) return nullptr;
  files_.push_back(new OpenFile{fd, (flags & O_NONBLOCK) != 0});
  return files_.back();
}

void Node::close(OpenFile* file) {
  Lock lock(mutex_);
  if (owns_queue(file)) {
    stop_stream(lock);
    free_buffers();
  }
  files_.erase(std::remove(files_.begin(), files_.end(), file), files_.end());
  libc().close(file->fd);
  delete file;
}

int Node::ioctl(OpenFile* file, unsigned long request, void* arg) {
  Lock lock(mutex_);
  if (lost_) return fail(ENODEV);
  if (!arg && request != VIDIOC_LOG_STATUS) return fail(EFAULT);
  // A metadata node has no video capture queue: every buffer type the program names is wrong.
  if (config_.metadata && request != VIDIOC_QUERYCAP) return fail(EINVAL);
  switch (request) {
    case VIDIOC_QUERYCAP:
      return query_cap(arg);
    case VIDIOC_ENUM_FMT:
      return enum_fmt(arg);
    case VIDIOC_ENUM_FRAMESIZES:
      return enum_framesizes(arg);
    case VIDIOC_ENUM_FRAMEINTERVALS:
      return enum_frameintervals(arg);
    case VIDIOC_G_FMT:
      return get_fmt(arg);
    case VIDIOC_TRY_FMT:
      return try_fmt(arg, false, file);
    case VIDIOC_S_FMT:
      return try_fmt(arg, true, file);
    case VIDIOC_G_PARM:
    case VIDIOC_S_PARM:
      return parm(arg);
    case VIDIOC_ENUMINPUT:
      return enum_input(arg);
    case VIDIOC_G_INPUT:
      return get_input(arg);
    case VIDIOC_S_INPUT:
      return set_input(arg, file);
    case VIDIOC_QUERYCTRL:
      return query_ctrl(arg);
    case VIDIOC_QUERYMENU:
      return query_menu(arg);
    case VIDIOC_G_CTRL:
      return get_ctrl(arg);
    case VIDIOC_S_CTRL:
      return set_ctrl(arg);
    case VIDIOC_REQBUFS:
      return reqbufs(arg, file);
    case VIDIOC_QUERYBUF:
      return querybuf(arg, file);
    case VIDIOC_QBUF:
      return qbuf(arg, file);
    case VIDIOC_DQBUF:
      return dqbuf(arg, file, lock);
    case VIDIOC_STREAMON:
      return streamon(arg, file, lock);
    case VIDIOC_STREAMOFF:
      return streamoff(arg, file, lock);
    default:
      return fail(ENOTTY);
  }
}

int Node::query_cap(void* arg) {
  auto* cap = static_cast<v4l2_capability*>(arg);
  std::memset(cap, 0, sizeof *cap);
  copy_text(cap->driver, "emulated");
  copy_text(cap->card, config_.card);
  copy_text(cap->bus_info, "platform:emulated" + config_.node.substr(config_.node.rfind('/') + 1));
  cap->version = (6u << 16) | (1u << 8);
  cap->device_caps =
      (config_.metadata ? V4L2_CAP_META_CAPTURE : V4L2_CAP_VIDEO_CAPTURE) | V4L2_CAP_STREAMING;
  cap->capabilities = cap->device_caps | V4L2_CAP_DEVICE_CAPS;
  return 0;
}

int Node::enum_fmt(void* arg) {
  auto* d = static_cast<v4l2_fmtdesc*>(arg);
  if (d->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || d->index >= config_.formats.size())
    return fail(EINVAL);
  const std::uint32_t index = d->index;
  std::memset(d, 0, sizeof *d);
  d->index = index;
  d->type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  d->pixelformat = config_.formats[index].fourcc;
  d->flags = compressed(d->pixelformat) ? V4L2_FMT_FLAG_COMPRESSED : 0;
  copy_text(d->description, format_description(d->pixelformat));
  return 0;
}

int Node::enum_framesizes(void* arg) {
  auto* s = static_cast<v4l2_frmsizeenum*>(arg);
  const FormatConfig* f = find_format(config_, s->pixel_format);
  if (!f || s->index >= f->sizes.size()) return fail(EINVAL);
  s->type = V4L2_FRMSIZE_TYPE_DISCRETE;
  s->discrete.width = f->sizes[s->index].width;
  s->discrete.height = f->sizes[s->index].height;
  return 0;
}

int Node::enum_frameintervals(void* arg) {
  auto* i = static_cast<v4l2_frmivalenum*>(arg);
  const FormatConfig* f = find_format(config_, i->pixel_format);
  const bool offered = f && std::any_of(f->sizes.begin(), f->sizes.end(), [&](FrameSize s) {
                         return s.width == i->width && s.height == i->height;
                       });
  if (!offered || i->index != 0) return fail(EINVAL);
  i->type = V4L2_FRMIVAL_TYPE_DISCRETE;
  i->discrete = {1, config_.fps};
  return 0;
}

void Node::fill_format(v4l2_format* f, std::uint32_t fourcc, FrameSize size) const {
  std::memset(&f->fmt, 0, sizeof f->fmt);
  v4l2_pix_format& p = f->fmt.pix;
  p.width = size.width;
  p.height = size.height;
  p.pixelformat = fourcc;
  p.field = V4L2_FIELD_NONE;
  p.bytesperline = bytes_per_line(fourcc, size.width, config_.padding);
  p.sizeimage = size_image(fourcc, size.width, size.height, config_.padding);
  p.colorspace = compressed(fourcc) ? V4L2_COLORSPACE_JPEG : V4L2_COLORSPACE_SRGB;
}

int Node::get_fmt(void* arg) {
  auto* f = static_cast<v4l2_format*>(arg);
  if (f->type != V4L2_BUF_TYPE_VIDEO_CAPTURE) return fail(EINVAL);
  fill_format(f, fourcc_, {width_, height_});
  return 0;
}

// The driver picks the format nearest to the request: a format it does not offer becomes the
// current one, a size it does not offer the nearest of that format's sizes.
int Node::try_fmt(void* arg, bool apply, const OpenFile* file) {
  auto* f = static_cast<v4l2_format*>(arg);
  if (f->type != V4L2_BUF_TYPE_VIDEO_CAPTURE) return fail(EINVAL);
  const FormatConfig* format = find_format(config_, f->fmt.pix.pixelformat);
  if (!format) format = find_format(config_, fourcc_);
  FrameSize best = format->sizes.front();
  auto distance = [&](FrameSize s) {
    return std::abs(std::int64_t(s.width) - f->fmt.pix.width) +
           std::abs(std::int64_t(s.height) - f->fmt.pix.height);
  };
  for (FrameSize s : format->sizes)
    if (distance(s) < distance(best)) best = s;
  if (apply) {
    if (config_.busy || !buffers_.empty() || queue_busy(file)) return fail(EBUSY);
    fourcc_ = format->fourcc;
    width_ = best.width;
    height_ = best.height;
  }
  fill_format(f, format->fourcc, best);
  return 0;
}

int Node::parm(void* arg) {
  auto* p = static_cast<v4l2_streamparm*>(arg);
  if (p->type != V4L2_BUF_TYPE_VIDEO_CAPTURE) return fail(EINVAL);
  std::memset(&p->parm, 0, sizeof p->parm);
  p->parm.capture.capability = V4L2_CAP_TIMEPERFRAME;
  p->parm.capture.timeperframe = {1, config_.fps};  // the only rate there is
  return 0;
}

int Node::enum_input(void* arg) {
  auto* in = static_cast<v4l2_input*>(arg);
  if (in->index >= std::size(kInputs)) return fail(EINVAL);
  const std::uint32_t index = in->index;
  std::memset(in, 0, sizeof *in);
  in->index = index;
  copy_text(in->name, kInputs[index]);
  in->type = V4L2_INPUT_TYPE_CAMERA;
  return 0;
}

int Node::get_input(void* arg) {
  *static_cast<int*>(arg) = input_;
  return 0;
}

int Node::set_input(void* arg, const OpenFile* file) {
  const int i = *static_cast<int*>(arg);
  if (i < 0 || i >= int(std::size(kInputs))) return fail(EINVAL);
  if (streaming_ || queue_busy(file)) return fail(EBUSY);
  input_ = i;
  return 0;
}

int Node::query_ctrl(void* arg) {
  auto* q = static_cast<v4l2_queryctrl*>(arg);
  const ControlInfo* c = nullptr;
  if (q->id & V4L2_CTRL_FLAG_NEXT_CTRL) {
    const std::uint32_t after = q->id & ~(V4L2_CTRL_FLAG_NEXT_CTRL | V4L2_CTRL_FLAG_NEXT_COMPOUND);
    for (const ControlInfo& k : kControls) {
      if (k.id > after) {
        c = &k;
        break;
      }
    }
  } else {
    c = find_control(q->id);
  }
  if (!c) return fail(EINVAL);
  std::memset(q, 0, sizeof *q);
  q->id = c->id;
  q->type = c->type;
  copy_text(q->name, c->name);
  q->minimum = c->minimum;
  q->maximum = c->maximum;
  q->step = c->step;
  q->default_value = c->default_value;
  return 0;
}

int Node::query_menu(void* arg) {
  auto* m = static_cast<v4l2_querymenu*>(arg);
  if (m->id != V4L2_CID_POWER_LINE_FREQUENCY || m->index >= std::size(kPowerLineMenu))
    return fail(EINVAL);
  std::uint8_t name[sizeof m->name];  // the field is packed: no reference to it
  copy_text(name, kPowerLineMenu[m->index]);
  std::memcpy(m->name, name, sizeof name);
  m->reserved = 0;
  return 0;
}

int Node::get_ctrl(void* arg) {
  auto* c = static_cast<v4l2_control*>(arg);
  const ControlInfo* info = find_control(c->id);
  if (!info) return fail(EINVAL);
  c->value = control_values_[std::size_t(info - kControls)];
  return 0;
}

int Node::set_ctrl(void* arg) {
  auto* c = static_cast<v4l2_control*>(arg);
  const ControlInfo* info = find_control(c->id);
  if (!info) return fail(EINVAL);
  if (c->value < info->minimum || c->value > info->maximum) return fail(ERANGE);
  control_values_[std::size_t(info - kControls)] = c->value;
  return 0;
}

int Node::reqbufs(void* arg, OpenFile* file) {
  auto* r = static_cast<v4l2_requestbuffers*>(arg);
  if (r->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || r->memory != V4L2_MEMORY_MMAP) return fail(EINVAL);
  if (config_.busy || queue_busy(file) || streaming_) return fail(EBUSY);
  r->capabilities = V4L2_BUF_CAP_SUPPORTS_MMAP;
  free_buffers();  // buffers still mapped stay valid until unmapped (orphaned)
  if (r->count == 0) {
    owner_ = nullptr;
    return 0;
  }
  const unsigned n = std::clamp(r->count, kMinBuffers, kMaxBuffers);
  const std::size_t length = page_rounded(size_image(fourcc_, width_, height_, config_.padding));
  memfd_ = memfd_create("emulated-v4l2", MFD_CLOEXEC);
  if (memfd_ < 0 || ftruncate(memfd_, off_t(length * n)) != 0) {
    free_buffers();
    return fail(ENOMEM);
  }
  memory_size_ = length * n;
  void* p = libc().mmap(nullptr, memory_size_, PROT_READ | PROT_WRITE, MAP_SHARED, memfd_, 0);
  if (p == MAP_FAILED) {
    free_buffers();
    return fail(ENOMEM);
  }
  memory_ = static_cast<std::uint8_t*>(p);
  for (unsigned i = 0; i < n; ++i) {
    Buffer b;
    b.offset = i * length;
    b.length = length;
    buffers_.push_back(b);
  }
  owner_ = file;
  r->count = n;
  return 0;
}

void Node::free_buffers() {
  if (memory_) libc().munmap(memory_, memory_size_);
  if (memfd_ >= 0) libc().close(memfd_);
  memory_ = nullptr;
  memfd_ = -1;
  memory_size_ = 0;
  buffers_.clear();
  ++generation_;
  incoming_.clear();
  outgoing_.clear();
}

void Node::fill_buffer(unsigned index, void* arg) const {
  auto* b = static_cast<v4l2_buffer*>(arg);
  const Buffer& buf = buffers_[index];
  std::memset(b, 0, sizeof *b);
  b->index = index;
  b->type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
  b->memory = V4L2_MEMORY_MMAP;
  b->length = std::uint32_t(buf.length);
  b->m.offset = std::uint32_t(buf.offset);
  b->bytesused = buf.bytesused;
  b->field = V4L2_FIELD_NONE;
  b->sequence = buf.sequence;
  b->timestamp = buf.timestamp;
  b->flags = V4L2_BUF_FLAG_TIMESTAMP_MONOTONIC | (buf.maps ? V4L2_BUF_FLAG_MAPPED : 0) |
             (buf.queued ? V4L2_BUF_FLAG_QUEUED : 0) | (buf.done ? V4L2_BUF_FLAG_DONE : 0) |
             (buf.damaged ? V4L2_BUF_FLAG_ERROR : 0);
}

int Node::querybuf(void* arg, const OpenFile* file) {
  auto* b = static_cast<v4l2_buffer*>(arg);
  if (b->type != V4L2_BUF_TYPE_VIDEO_CAPTURE) return fail(EINVAL);
  if (queue_busy(file)) return fail(EBUSY);
  if (b->index >= buffers_.size()) return fail(EINVAL);
  fill_buffer(b->index, arg);
  return 0;
}

int Node::qbuf(void* arg, const OpenFile* file) {
  auto* b = static_cast<v4l2_buffer*>(arg);
  if (b->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || b->memory != V4L2_MEMORY_MMAP) return fail(EINVAL);
  if (queue_busy(file)) return fail(EBUSY);
  if (b->index >= buffers_.size()) return fail(EINVAL);
  Buffer& buf = buffers_[b->index];
  if (buf.queued || buf.done) return fail(EINVAL);
  buf.queued = true;
  incoming_.push_back(b->index);
  fill_buffer(b->index, arg);
  return 0;
}

int Node::dqbuf(void* arg, const OpenFile* file, Lock& lock) {
  auto* b = static_cast<v4l2_buffer*>(arg);
  if (b->type != V4L2_BUF_TYPE_VIDEO_CAPTURE || b->memory != V4L2_MEMORY_MMAP) return fail(EINVAL);
  if (queue_busy(file)) return fail(EBUSY);
  while (outgoing_.empty()) {
    if (!streaming_) return fail(EINVAL);
    if (file->nonblocking) return fail(EAGAIN);
    changed_.wait(lock);
    if (lost_) return fail(ENODEV);
  }
  // A failing camera: the frame waits, the call fails.
  if (config_.dqbuf_errno && dequeued_ >= config_.eio_after &&
      (config_.eio_count == 0 || eio_failed_ < config_.eio_count)) {
    ++eio_failed_;
    return fail(config_.dqbuf_errno);
  }
  ++dequeued_;
  const unsigned index = outgoing_.front();
  outgoing_.pop_front();
  unsignal(file);
  buffers_[index].done = false;
  fill_buffer(index, arg);
  return 0;
}

int Node::streamon(void* arg, const OpenFile* file, Lock& lock) {
  if (*static_cast<int*>(arg) != V4L2_BUF_TYPE_VIDEO_CAPTURE) return fail(EINVAL);
  if (config_.busy || queue_busy(file)) return fail(EBUSY);
  if (buffers_.empty()) return fail(EINVAL);
  if (streaming_) return 0;
  lock.unlock();  // encoding a JPEG takes a while; nothing else streams meanwhile
  std::vector<std::uint8_t> frame = camera_frame(config_, fourcc_, width_, height_);
  std::vector<std::uint8_t> spoilt =
      compressed(fourcc_) ? spoilt_jpeg(config_, width_, height_) : std::vector<std::uint8_t>();
  lock.lock();
  frame_ = std::move(frame);
  spoilt_frame_ = std::move(spoilt);
  streaming_ = true;
  stopping_ = false;
  producer_ = std::thread([this] { produce(); });
  return 0;
}

int Node::streamoff(void* arg, const OpenFile* file, Lock& lock) {
  if (*static_cast<int*>(arg) != V4L2_BUF_TYPE_VIDEO_CAPTURE) return fail(EINVAL);
  if (queue_busy(file)) return fail(EBUSY);
  stop_stream(lock);
  return 0;
}

// Every buffer comes back to the program, dequeued, as the API has it after STREAMOFF.
void Node::stop_stream(Lock& lock) {
  if (producer_.joinable()) {
    stopping_ = true;
    changed_.notify_all();
    std::thread t = std::move(producer_);
    lock.unlock();
    t.join();
    lock.lock();
  }
  streaming_ = false;
  for (Buffer& b : buffers_) b.queued = b.done = false;
  incoming_.clear();
  outgoing_.clear();
  // No buffer is done any more, so the program's file stops being readable.
  while (owner_ && unsignal(owner_)) continue;
}

void Node::produce() {
  using Clock = std::chrono::steady_clock;
  const auto period = std::chrono::microseconds(1000000 / config_.fps);
  auto next = Clock::now() + period;
  Lock lock(mutex_);
  while (!stopping_ && !lost_) {
    if (changed_.wait_until(lock, next, [this] { return stopping_; })) break;
    next += period;
    const std::uint32_t sequence = sequence_++;
    if (incoming_.empty()) continue;  // no buffer to fill: the frame is dropped
    const unsigned index = incoming_.front();
    incoming_.pop_front();
    Buffer& b = buffers_[index];
    const bool spoilt = produced_++ >= config_.spoil_from;
    const std::vector<std::uint8_t>& frame =
        spoilt && !spoilt_frame_.empty() ? spoilt_frame_ : frame_;
    const std::size_t n = std::min(frame.size(), b.length);
    std::memcpy(memory_ + b.offset, frame.data(), n);
    b.bytesused = std::uint32_t(n);
    b.damaged = false;
    if (spoilt) spoil(b);
    b.sequence = sequence;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    b.timestamp = {now.tv_sec, now.tv_nsec / 1000};
    b.queued = false;
    b.done = true;
    outgoing_.push_back(index);
    signal(owner_);
    changed_.notify_all();
    if (config_.lose_after && ++frames_delivered_ >= config_.lose_after) {
      // Unplugged: every open file wakes and learns it from its next call.
      lost_ = true;
      for (const OpenFile* f : files_) signal(f);
      changed_.notify_all();
    }
  }
}

// What a broken camera reports with a frame.
void Node::spoil(Buffer& b) const {
  using Used = DeviceConfig::Used;
  switch (config_.bytesused) {
    case Used::Frame:
      break;
    case Used::Number:
      b.bytesused = config_.bytesused_number;
      break;
    case Used::Short:
      b.bytesused = b.bytesused > 0 ? b.bytesused - 1 : 0;
      break;
    case Used::Luma:
      b.bytesused = first_plane_size(fourcc_, width_, height_, config_.padding);
      break;
    case Used::Beyond:
      b.bytesused = std::uint32_t(b.length + 1);
      break;
  }
  b.damaged = config_.error_flag;
}

void Node::signal(const OpenFile* file) const {
  if (!file) return;
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = write(file->fd, &one, sizeof one);
}

// Takes back one signal; false when there was none.
bool Node::unsignal(const OpenFile* file) const {
  std::uint64_t v;
  return libc().read(file->fd, &v, sizeof v) == sizeof v;
}

void* Node::mmap(OpenFile* file, void* addr, std::size_t length, int prot, int flags,
                 off_t offset) {
  Lock lock(mutex_);
  auto failed = [](int error) {
    errno = error;
    return MAP_FAILED;
  };
  if (lost_) return failed(ENODEV);
  if (queue_busy(file) || !(flags & MAP_SHARED)) return failed(EINVAL);
  for (unsigned i = 0; i < buffers_.size(); ++i) {
    Buffer& b = buffers_[i];
    if (std::size_t(offset) != b.offset) continue;
    if (length == 0 || length > b.length) return failed(EINVAL);
    void* p = libc().mmap(addr, length, prot, flags, memfd_, offset);
    if (p == MAP_FAILED) return p;
    ++b.maps;
    mappings_.push_back({p, length, i, generation_});
    return p;
  }
  return failed(EINVAL);
}

bool Node::unmapped(void* addr, std::size_t length) {
  Lock lock(mutex_);
  for (auto it = mappings_.begin(); it != mappings_.end(); ++it) {
    if (it->addr != addr || it->length != length) continue;
    if (it->generation == generation_) --buffers_[it->index].maps;
    mappings_.erase(it);
    return true;
  }
  return false;
}

}  // namespace emulated_v4l2
