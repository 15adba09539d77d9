#include "outside/virtualboard/picture_yuy2.h"

#include <cstring>
#include <vector>

namespace {

struct Rgb {
  int r, g, b;
};

Rgb Split(uint32_t pixel) {
  return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
          static_cast<int>(pixel & 0xFF)};
}

// BT.601, studio range, in 8-bit fixed point.
uint8_t Luma(const Rgb& c) {
  return static_cast<uint8_t>(((66 * c.r + 129 * c.g + 25 * c.b + 128) >> 8) + 16);
}
uint8_t ChromaU(int r, int g, int b) {
  return static_cast<uint8_t>(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128);
}
uint8_t ChromaV(int r, int g, int b) {
  return static_cast<uint8_t>(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128);
}

}  // namespace

void InterleaveFieldsToYuy2(const Frame& top, const Frame& bottom, uint8_t* yuy2) {
  const int width = top.width & ~1;
  for (int y = 0; y < top.height; ++y) {
    const Frame& field = (y & 1) == 0 ? top : bottom;
    const uint32_t* line = field.pixels.data() + static_cast<size_t>(y) * field.width;
    uint8_t* out = yuy2 + static_cast<size_t>(y) * top.width * 2;
    // The synthetic pictures are mostly runs of one colour: a pair like the
    // one before it costs a copy, not a conversion.
    uint32_t lastLeft = ~line[0], lastRight = 0;
    uint8_t pair[4] = {};
    for (int x = 0; x < width; x += 2) {
      if (line[x] != lastLeft || line[x + 1] != lastRight) {
        lastLeft = line[x];
        lastRight = line[x + 1];
        const Rgb a = Split(lastLeft);
        const Rgb b = Split(lastRight);
        const int r = (a.r + b.r) / 2, g = (a.g + b.g) / 2, bl = (a.b + b.b) / 2;
        pair[0] = Luma(a);
        pair[1] = ChromaU(r, g, bl);
        pair[2] = Luma(b);
        pair[3] = ChromaV(r, g, bl);
      }
      std::memcpy(out, pair, 4);
      out += 4;
    }
  }
}

namespace {

uint32_t Clamp8(int value) {
  return static_cast<uint32_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

}  // namespace

void Yuy2ToFrame(const uint8_t* yuy2, int width, int height, Frame& out) {
  // A YUY2 line holds whole pixel pairs: an odd width is not a picture.
  if (width < 2 || (width & 1) != 0 || height < 1 || out.width < 1 || out.height < 1) return;
  const size_t stride = static_cast<size_t>(width) * 2;
  // Where each target column reads, worked out once a picture rather than
  // with two 64-bit divisions a pixel (a library call on i686).
  std::vector<uint32_t> columns(static_cast<size_t>(out.width));
  for (int x = 0; x < out.width; ++x) {
    const int sx = static_cast<int>(static_cast<int64_t>(x) * width / out.width);
    const uint32_t pair = static_cast<uint32_t>(sx & ~1) * 2;
    // The pair's offset, and in the top bit whether the second luma is meant.
    columns[static_cast<size_t>(x)] = pair | ((sx & 1) != 0 ? 0x80000000u : 0u);
  }
  for (int y = 0; y < out.height; ++y) {
    // The first and the last source line under this one, averaged: shrunk to
    // half height, an interlaced picture then shows both of its fields, as a
    // television would, rather than one of them.
    const int first = static_cast<int>(static_cast<int64_t>(y) * height / out.height);
    int last = static_cast<int>(static_cast<int64_t>(y + 1) * height / out.height) - 1;
    if (last < first) last = first;
    const uint8_t* a = yuy2 + static_cast<size_t>(first) * stride;
    const uint8_t* b = yuy2 + static_cast<size_t>(last) * stride;
    uint32_t* target = out.pixels.data() + static_cast<size_t>(y) * out.width;
    for (int x = 0; x < out.width; ++x) {
      const uint32_t column = columns[static_cast<size_t>(x)];
      const size_t pair = column & 0x7FFFFFFFu;
      const size_t luma = pair + ((column & 0x80000000u) != 0 ? 2 : 0);
      const int c = 298 * ((a[luma] + b[luma] + 1) / 2 - 16);
      const int d = (a[pair + 1] + b[pair + 1] + 1) / 2 - 128;
      const int e = (a[pair + 3] + b[pair + 3] + 1) / 2 - 128;
      target[x] = Clamp8((c + 409 * e + 128) >> 8) << 16 |
                  Clamp8((c - 100 * d - 208 * e + 128) >> 8) << 8 |
                  Clamp8((c + 516 * d + 128) >> 8);
    }
  }
}
