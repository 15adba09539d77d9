#include "outside/mpegenc/block_coding.h"

#include <algorithm>

namespace mpegenc {
namespace {

const std::uint8_t kDefaultIntraMatrix[64] = {
    8,  16, 19, 22, 26, 27, 29, 34, 16, 16, 22, 24, 27, 29, 34, 37, 19, 22, 26, 27, 29, 34,
    34, 38, 22, 22, 26, 27, 29, 34, 37, 40, 22, 26, 27, 29, 32, 35, 40, 48, 26, 27, 29, 32,
    35, 40, 48, 58, 26, 27, 29, 34, 38, 46, 56, 69, 27, 29, 35, 38, 46, 56, 69, 83};

struct ZigZag {
  std::uint8_t order[64];
  ZigZag() {
    int i = 0;
    for (int s = 0; s < 15; ++s) {
      // Odd diagonals run down-left, even ones up-right.
      for (int k = 0; k <= s; ++k) {
        const int y = (s % 2 == 0) ? s - k : k;
        const int x = s - y;
        if (x < 8 && y < 8) order[i++] = static_cast<std::uint8_t>(8 * y + x);
      }
    }
  }
};
const ZigZag kZigZag;

}  // namespace

const std::uint8_t* DefaultIntraMatrix() {
  return kDefaultIntraMatrix;
}

const std::uint8_t* ZigZagOrder() {
  return kZigZag.order;
}

void Dequantise(const std::int16_t* levels, bool intra, int scale, std::int16_t* out) {
  int sum = 0;
  for (int i = 0; i < 64; ++i) {
    const int level = levels[i];
    int v;
    if (intra && i == 0) {
      v = 8 * level;
    } else if (level == 0) {
      v = 0;
    } else {
      const int w = intra ? kDefaultIntraMatrix[i] : 16;
      const int k = intra ? 0 : (level > 0 ? 1 : -1);
      v = ((2 * level + k) * w * scale) / 32;
      v = std::clamp(v, -2048, 2047);
    }
    out[i] = static_cast<std::int16_t>(v);
    sum += v;
  }
  if ((sum & 1) == 0)
    out[63] = static_cast<std::int16_t>((out[63] & 1) ? out[63] - 1 : out[63] + 1);
}

}  // namespace mpegenc
