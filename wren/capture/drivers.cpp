#include "wren/capture/device.h"
#include "wren/capture/v4l2_device.h"

namespace wren::capture {
namespace {

const Drivers* installed = nullptr;

}  // namespace

const Drivers& drivers() {
  static const V4l2Drivers cameras;
  return installed ? *installed : cameras;
}

void set_drivers(const Drivers* d) { installed = d; }

}  // namespace wren::capture
