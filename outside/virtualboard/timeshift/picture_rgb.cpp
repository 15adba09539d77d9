#include "outside/virtualboard/timeshift/picture_rgb.h"

#include <algorithm>

namespace timeshift {
namespace {

inline std::uint8_t Clamp(int v) {
  return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

}  // namespace

void ToBgrx(const mpegenc::Frame420& frame, int width, int height, std::vector<std::uint8_t>* out) {
  width = std::min(width, frame.width);
  height = std::min(height, frame.height);
  out->resize(static_cast<std::size_t>(width) * height * 4);
  const int cstride = frame.ChromaWidth();
  for (int y = 0; y < height; ++y) {
    // Chroma lines belong to one field each: line y takes the chroma line of
    // its own field.
    const int cy = (y / 4) * 2 + (y & 1);
    const std::uint8_t* luma = &frame.y[static_cast<std::size_t>(y) * frame.width];
    const std::uint8_t* cb =
        &frame.cb[static_cast<std::size_t>(std::min(cy, frame.ChromaHeight() - 1)) * cstride];
    const std::uint8_t* cr =
        &frame.cr[static_cast<std::size_t>(std::min(cy, frame.ChromaHeight() - 1)) * cstride];
    std::uint8_t* o = &(*out)[static_cast<std::size_t>(y) * width * 4];
    for (int x = 0; x < width; ++x) {
      const int c = 298 * (luma[x] - 16);
      const int d = cb[x / 2] - 128, e = cr[x / 2] - 128;
      o[4 * x + 0] = Clamp((c + 516 * d + 128) >> 8);
      o[4 * x + 1] = Clamp((c - 100 * d - 208 * e + 128) >> 8);
      o[4 * x + 2] = Clamp((c + 409 * e + 128) >> 8);
      o[4 * x + 3] = 0;
    }
  }
}

}  // namespace timeshift
