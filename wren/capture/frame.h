#pragma once
#include <QByteArray>

namespace wren::capture {

// One picture as the capture layer hands it on: packed RGB, three bytes a pixel, top row first.
struct Frame {
  int width = 0;
  int height = 0;
  QByteArray rgb;

  bool empty() const {
    return width <= 0 || height <= 0 || rgb.size() < qsizetype(width) * height * 3;
  }
};

}  // namespace wren::capture
