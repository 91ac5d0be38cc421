#pragma once
// One emulated V4L2 device node, answering as the kernel's V4L2 API describes: capabilities,
// formats with their frame sizes and intervals, G/S/TRY_FMT, inputs, controls, and memory-mapped
// streaming with REQBUFS, QUERYBUF, QBUF, DQBUF, STREAMON and STREAMOFF. Frames come from a
// thread of its own at the configured rate.
//
// A program holds an eventfd for each open of the node: it is readable while a filled buffer
// waits to be dequeued, and for good once the device has gone away, so poll() and select() on it
// behave as on the real node.
#include <sys/types.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "config.h"

struct v4l2_format;

namespace emulated_v4l2 {

struct OpenFile {
  int fd = -1;  // the eventfd the program holds
  bool nonblocking = false;
};

class Node {
 public:
  explicit Node(DeviceConfig config);
  ~Node();
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

  const std::string& path() const { return config_.node; }

  // A new open file, or null with errno.
  OpenFile* open(int flags);
  void close(OpenFile* file);
  // 0, or -1 with errno.
  int ioctl(OpenFile* file, unsigned long request, void* arg);
  void* mmap(OpenFile* file, void* addr, std::size_t length, int prot, int flags, off_t offset);
  // The program unmapped [addr, addr + length): true when it was a buffer of this node.
  bool unmapped(void* addr, std::size_t length);

 private:
  struct Buffer {
    std::size_t offset = 0, length = 0;
    bool queued = false, done = false;
    bool damaged = false;  // flagged V4L2_BUF_FLAG_ERROR
    int maps = 0;
    std::uint32_t bytesused = 0, sequence = 0;
    timeval timestamp{};
  };
  struct Mapping {
    void* addr;
    std::size_t length;
    unsigned index, generation;  // a mapping outlives the buffers it was made of
  };
  using Lock = std::unique_lock<std::mutex>;

  int fail(int error) const;
  bool owns_queue(const OpenFile* file) const { return owner_ == file; }
  bool queue_busy(const OpenFile* file) const { return owner_ && owner_ != file; }

  int query_cap(void* arg);
  int enum_fmt(void* arg);
  int enum_framesizes(void* arg);
  int enum_frameintervals(void* arg);
  void fill_format(v4l2_format* f, std::uint32_t fourcc, FrameSize size) const;
  int get_fmt(void* arg);
  int try_fmt(void* arg, bool apply, const OpenFile* file);
  int parm(void* arg);
  int enum_input(void* arg);
  int get_input(void* arg);
  int set_input(void* arg, const OpenFile* file);
  int query_ctrl(void* arg);
  int query_menu(void* arg);
  int get_ctrl(void* arg);
  int set_ctrl(void* arg);
  int reqbufs(void* arg, OpenFile* file);
  int querybuf(void* arg, const OpenFile* file);
  int qbuf(void* arg, const OpenFile* file);
  int dqbuf(void* arg, const OpenFile* file, Lock& lock);
  int streamon(void* arg, const OpenFile* file, Lock& lock);
  int streamoff(void* arg, const OpenFile* file, Lock& lock);

  void fill_buffer(unsigned index, void* arg) const;
  void spoil(Buffer& b) const;
  void free_buffers();
  void stop_stream(Lock& lock);
  void produce();
  void signal(const OpenFile* file) const;
  bool unsignal(const OpenFile* file) const;

  const DeviceConfig config_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<OpenFile*> files_;
  bool lost_ = false;

  std::uint32_t fourcc_, width_, height_;
  int input_ = 0;
  std::vector<std::int32_t> control_values_;

  OpenFile* owner_ = nullptr;  // the open file whose buffers these are
  std::vector<Buffer> buffers_;
  int memfd_ = -1;
  std::uint8_t* memory_ = nullptr;
  std::size_t memory_size_ = 0;
  std::vector<Mapping> mappings_;
  unsigned generation_ = 0;
  std::deque<unsigned> incoming_, outgoing_;
  bool streaming_ = false, stopping_ = false;
  std::thread producer_;
  std::vector<std::uint8_t> frame_;
  std::vector<std::uint8_t> spoilt_frame_;  // a broken camera's JPEG; empty: frame_ again
  unsigned frames_delivered_ = 0;
  unsigned produced_ = 0;                   // frames filled, for spoil_from
  unsigned dequeued_ = 0, eio_failed_ = 0;  // for eio_after and eio_count
  std::uint32_t sequence_ = 0;
};

}  // namespace emulated_v4l2
