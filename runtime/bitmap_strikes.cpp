#include "runtime/bitmap_strikes.h"

#include <cstdint>

namespace rt {

namespace {

constexpr int kHeaderSize = 8;       // version, number of sizes
constexpr int kSizeRecordSize = 48;  // one BitmapSize record
constexpr int kPpemYAt = 45;         // in the record, after the line metrics and glyph range
constexpr int kBitDepthAt = 46;

uint32_t big_endian_32(const QByteArray& b, int at) {
  auto byte = [&](int i) { return static_cast<uint32_t>(static_cast<uint8_t>(b[at + i])); };
  return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

}  // namespace

std::vector<int> bitmap_strike_sizes(const QByteArray& eblc) {
  if (eblc.size() < kHeaderSize || big_endian_32(eblc, 0) != 0x00020000) return {};
  const uint32_t count = big_endian_32(eblc, 4);
  if (count > static_cast<uint32_t>((eblc.size() - kHeaderSize) / kSizeRecordSize)) return {};
  std::vector<int> sizes;
  for (uint32_t i = 0; i < count; ++i) {
    const int record = kHeaderSize + static_cast<int>(i) * kSizeRecordSize;
    // A greyscale strike is smooth already: only one-bit strikes are what crisp text means.
    if (eblc[record + kBitDepthAt] != 1) continue;
    sizes.push_back(static_cast<uint8_t>(eblc[record + kPpemYAt]));
  }
  return sizes;
}

}  // namespace rt
