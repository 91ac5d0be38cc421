#include "config.h"

#include <cerrno>
#include <sstream>

namespace emulated_v4l2 {
namespace {

std::string trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

bool read_size(const std::string& word, FrameSize* size) {
  unsigned w = 0, h = 0;
  char x = 0;
  std::istringstream in(word);
  if (!(in >> w >> x >> h) || x != 'x' || w == 0 || h == 0) return false;
  *size = {w, h};
  return true;
}

// "YUYV 640x480 320x240" -> the format with its sizes.
bool read_format(const std::string& text, FormatConfig* format) {
  std::istringstream in(text);
  std::string name, word;
  if (!(in >> name) || name.size() > 4) return false;
  format->fourcc = fourcc_of(name);
  while (in >> word) {
    FrameSize s;
    if (!read_size(word, &s)) return false;
    format->sizes.push_back(s);
  }
  return !format->sizes.empty();
}

bool yes(const std::string& v) { return v == "yes" || v == "1" || v == "true"; }

}  // namespace

std::uint32_t fourcc_of(const std::string& name) {
  std::uint32_t f = 0;
  for (int i = 0; i < 4; ++i)
    f |= std::uint32_t(i < int(name.size()) ? std::uint8_t(name[i]) : ' ') << (8 * i);
  return f;
}

std::vector<DeviceConfig> parse_config(const std::string& text, std::string* error) {
  std::vector<DeviceConfig> devices;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  auto fail = [&](const std::string& why) {
    if (error && error->empty()) *error = "line " + std::to_string(number) + ": " + why;
  };
  while (std::getline(lines, line)) {
    ++number;
    line = trim(line);
    if (line.empty() || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      devices.emplace_back();
      devices.back().node = line.substr(1, line.size() - 2);
      continue;
    }
    const auto eq = line.find('=');
    if (eq == std::string::npos || devices.empty()) {
      fail("not a key = value line of a device");
      continue;
    }
    DeviceConfig& d = devices.back();
    const std::string key = trim(line.substr(0, eq)), value = trim(line.substr(eq + 1));
    if (key == "card") {
      d.card = value;
    } else if (key == "kind") {
      d.metadata = value == "metadata";
    } else if (key == "formats") {
      std::istringstream list(value);
      std::string one;
      while (std::getline(list, one, ',')) {
        FormatConfig f;
        if (read_format(one, &f))
          d.formats.push_back(f);
        else
          fail("bad format: " + one);
      }
    } else if (key == "format") {
      FormatConfig f;
      if (read_format(value, &f)) {
        d.fourcc = f.fourcc;
        d.size = f.sizes.front();
      } else {
        fail("bad format: " + value);
      }
    } else if (key == "padding") {
      d.padding = std::uint32_t(std::stoul(value));
    } else if (key == "busy") {
      d.busy = yes(value);
    } else if (key == "lose_after") {
      d.lose_after = unsigned(std::stoul(value));
    } else if (key == "bytesused") {
      if (value == "short") {
        d.bytesused = DeviceConfig::Used::Short;
      } else if (value == "luma") {
        d.bytesused = DeviceConfig::Used::Luma;
      } else if (value == "beyond") {
        d.bytesused = DeviceConfig::Used::Beyond;
      } else {
        const unsigned long long n = std::stoull(value);
        if (n > 0xFFFFFFFFull) fail("bytesused beyond 32 bits: " + value);
        d.bytesused = DeviceConfig::Used::Number;
        d.bytesused_number = std::uint32_t(n);
      }
    } else if (key == "error_flag") {
      d.error_flag = yes(value);
    } else if (key == "jpeg_cut") {
      d.jpeg_cut = std::uint32_t(std::stoul(value));
    } else if (key == "jpeg_trailer") {
      d.jpeg_trailer = std::uint32_t(std::stoul(value));
    } else if (key == "jpeg_image" || key == "jpeg_header") {
      FrameSize& z = key == "jpeg_image" ? d.jpeg_image : d.jpeg_header;
      if (!read_size(value, &z)) fail("bad size: " + value);
    } else if (key == "jpeg_huffman" || key == "jpeg_quantization") {
      if (value != "none") fail("not none: " + value);
      (key == "jpeg_huffman" ? d.jpeg_no_huffman : d.jpeg_no_quantization) = value == "none";
    } else if (key == "jpeg_pad") {
      d.jpeg_pad = std::uint32_t(std::stoul(value));
    } else if (key == "jpeg_scans") {
      if (value == "components")
        d.jpeg_scans = JpegMaking::Scans::Components;
      else if (value == "progressive")
        d.jpeg_scans = JpegMaking::Scans::Progressive;
      else
        fail("bad scans: " + value);
    } else if (key == "jpeg_scans_kept") {
      d.jpeg_scans_kept = unsigned(std::stoul(value));
    } else if (key == "spoil_from") {
      d.spoil_from = unsigned(std::stoul(value));
    } else if (key == "eio_after" || key == "eintr_after") {
      d.dqbuf_errno = key == "eio_after" ? EIO : EINTR;
      d.eio_after = unsigned(std::stoul(value));
    } else if (key == "eio_count") {
      d.eio_count = unsigned(std::stoul(value));
    } else if (key == "fps") {
      d.fps = unsigned(std::stoul(value));
      if (d.fps == 0) d.fps = 1;
    } else {
      fail("unknown key " + key);
    }
  }
  for (DeviceConfig& d : devices) {
    if (d.fourcc == 0 && !d.formats.empty()) {
      d.fourcc = d.formats.front().fourcc;
      d.size = d.formats.front().sizes.front();
    }
  }
  return devices;
}

}  // namespace emulated_v4l2
