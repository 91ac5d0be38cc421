#pragma once
// A strict reader of 24-bit Windows bitmaps, written apart from the program's writer so that
// the two cannot share a mistake.
#include <QString>
#include <cstdint>
#include <vector>

namespace wren::test {

struct Bitmap {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;  // packed, top row first
  QString error;                  // why the file is no valid bitmap; empty when it is
};

Bitmap read_bmp(const QString& path);

}  // namespace wren::test
