#pragma once
// The emulated /dev/video* nodes of this process and the files open on them.
#include <sys/types.h>

#include <atomic>
#include <cstddef>

namespace emulated_v4l2 {

// Open files and mappings on emulated nodes; the entry points pass everything straight on
// while both are 0, without a look at any table.
extern std::atomic<int> open_files, live_mappings;

// True for the paths the emulator answers: /dev/video followed by digits. Nodes not in the
// configuration do not exist.
bool is_video_node(const char* path);

class Node;
struct OpenFile;

// An open file of an emulated node; empty for any other fd.
struct Handle {
  Node* node = nullptr;
  OpenFile* file = nullptr;
  explicit operator bool() const { return node != nullptr; }
};
Handle find_file(int fd);

// Each of these takes the entry point's name for the trace (EMULATED_V4L2_TRACE names a file
// that gets one line a call).
int open_node(const char* entry, const char* path, int flags);
// True when `fd` was an emulated file, now closed.
bool close_file(const char* entry, int fd);
int ioctl_file(const char* entry, Handle h, unsigned long request, void* arg);
void* mmap_file(const char* entry, Handle h, void* addr, std::size_t length, int prot, int flags,
                off_t offset);
void note_munmap(void* addr, std::size_t length);
ssize_t read_file(const char* entry, Handle h);

}  // namespace emulated_v4l2
