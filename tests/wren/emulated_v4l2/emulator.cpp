#include "emulator.h"

#include <linux/videodev2.h>
#include <sys/mman.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>

#include "config.h"
#include "node.h"

namespace emulated_v4l2 {

std::atomic<int> open_files{0}, live_mappings{0};

namespace {

struct Registry {
  std::mutex mutex;
  std::vector<std::unique_ptr<Node>> nodes;
  std::map<int, Handle> files;
  FILE* trace = nullptr;
};

// Made once, never destroyed: frames may still be on their way while the process exits.
Registry& registry() {
  static Registry* r = [] {
    auto* reg = new Registry;
    if (const char* t = std::getenv("EMULATED_V4L2_TRACE")) reg->trace = std::fopen(t, "a");
    const char* path = std::getenv("EMULATED_V4L2");
    if (!path) return reg;
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    std::vector<DeviceConfig> devices;
    try {
      devices = parse_config(text.str(), &error);
    } catch (const std::exception& e) {
      error = e.what();
    }
    if (!in || !error.empty())
      std::fprintf(stderr, "emulated_v4l2: %s: %s\n", path, in ? error.c_str() : "cannot read");
    for (DeviceConfig& d : devices) reg->nodes.push_back(std::make_unique<Node>(std::move(d)));
    return reg;
  }();
  return *r;
}

const char* request_name(unsigned long request) {
  switch (request) {
#define NAME(r) \
  case r:       \
    return #r;
    NAME(VIDIOC_QUERYCAP)
    NAME(VIDIOC_ENUM_FMT)
    NAME(VIDIOC_ENUM_FRAMESIZES)
    NAME(VIDIOC_ENUM_FRAMEINTERVALS)
    NAME(VIDIOC_G_FMT)
    NAME(VIDIOC_S_FMT)
    NAME(VIDIOC_TRY_FMT)
    NAME(VIDIOC_G_PARM)
    NAME(VIDIOC_S_PARM)
    NAME(VIDIOC_ENUMINPUT)
    NAME(VIDIOC_G_INPUT)
    NAME(VIDIOC_S_INPUT)
    NAME(VIDIOC_QUERYCTRL)
    NAME(VIDIOC_QUERYMENU)
    NAME(VIDIOC_G_CTRL)
    NAME(VIDIOC_S_CTRL)
    NAME(VIDIOC_REQBUFS)
    NAME(VIDIOC_QUERYBUF)
    NAME(VIDIOC_QBUF)
    NAME(VIDIOC_DQBUF)
    NAME(VIDIOC_STREAMON)
    NAME(VIDIOC_STREAMOFF)
#undef NAME
    default:
      return nullptr;
  }
}

void trace(const char* entry, const std::string& what, long result) {
  Registry& r = registry();
  if (!r.trace) return;
  const int error = errno;
  std::fprintf(r.trace, "%s %s -> %ld%s%s\n", entry, what.c_str(), result, result < 0 ? " " : "",
               result < 0 ? std::strerror(error) : "");
  std::fflush(r.trace);
  errno = error;
}

}  // namespace

Handle find_file(int fd) {
  if (open_files.load() == 0) return {};
  Registry& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  const auto it = r.files.find(fd);
  return it == r.files.end() ? Handle{} : it->second;
}

bool is_video_node(const char* path) {
  if (!path || std::strncmp(path, "/dev/video", 10) != 0 || !path[10]) return false;
  for (const char* p = path + 10; *p; ++p)
    if (*p < '0' || *p > '9') return false;
  return true;
}

int open_node(const char* entry, const char* path, int flags) {
  Registry& r = registry();
  Node* node = nullptr;
  for (const auto& n : r.nodes)
    if (n->path() == path) node = n.get();
  errno = ENOENT;
  OpenFile* file = node ? node->open(flags) : nullptr;
  if (file) {
    std::lock_guard<std::mutex> lock(r.mutex);
    r.files[file->fd] = {node, file};
    ++open_files;
  }
  trace(entry, path, file ? file->fd : -1);
  return file ? file->fd : -1;
}

bool close_file(const char* entry, int fd) {
  if (open_files.load() == 0) return false;
  Registry& r = registry();
  Handle h;
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    const auto it = r.files.find(fd);
    if (it == r.files.end()) return false;
    h = it->second;
    r.files.erase(it);
    --open_files;
  }
  h.node->close(h.file);
  trace(entry, h.node->path() + " close", 0);
  return true;
}

int ioctl_file(const char* entry, Handle h, unsigned long request, void* arg) {
  const int result = h.node->ioctl(h.file, request, arg);
  const char* name = request_name(request);
  std::ostringstream what;
  what << h.node->path() << ' ';
  if (name)
    what << name;
  else
    what << "0x" << std::hex << request;
  trace(entry, what.str(), result);
  return result;
}

void* mmap_file(const char* entry, Handle h, void* addr, std::size_t length, int prot, int flags,
                off_t offset) {
  void* p = h.node->mmap(h.file, addr, length, prot, flags, offset);
  if (p != MAP_FAILED) ++live_mappings;
  trace(entry, h.node->path() + " mmap offset " + std::to_string(offset), p == MAP_FAILED ? -1 : 0);
  return p;
}

void note_munmap(void* addr, std::size_t length) {
  if (live_mappings.load() == 0) return;
  for (const auto& n : registry().nodes) {
    if (n->unmapped(addr, length)) {
      --live_mappings;
      trace("munmap", n->path(), 0);
      return;
    }
  }
}

ssize_t read_file(const char* entry, Handle h) {
  // The nodes offer streaming only, no read() I/O.
  errno = EINVAL;
  trace(entry, h.node->path() + " read", -1);
  return -1;
}

}  // namespace emulated_v4l2
