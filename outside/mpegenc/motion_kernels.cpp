#include "outside/mpegenc/motion_kernels.h"

#include <cstdlib>

#include "outside/mpegenc/simd_kernels.h"

namespace mpegenc {

bool MotionPathAvailable(MotionPath path) {
  return path == MotionPath::kReference || (path == MotionPath::kSse2 && CpuHasSse2());
}

MotionPath FastestMotionPath() {
  return MotionPathAvailable(MotionPath::kSse2) ? MotionPath::kSse2 : MotionPath::kReference;
}

int Sad16x16(MotionPath path, const std::uint8_t* a, int strideA, const std::uint8_t* b,
             int strideB) {
  if (path == MotionPath::kSse2 && CpuHasSse2()) return Sad16x16Sse2(a, strideA, b, strideB);
  int sum = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) sum += std::abs(a[y * strideA + x] - b[y * strideB + x]);
  return sum;
}

void PredictBlockReference(const std::uint8_t* ref, int stride, int hx, int hy, int w, int h,
                           std::uint8_t* dst) {
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* p = ref + y * stride;
    for (int x = 0; x < w; ++x) {
      int v;
      if (hx && hy) {
        v = (p[x] + p[x + 1] + p[x + stride] + p[x + stride + 1] + 2) >> 2;
      } else if (hx) {
        v = (p[x] + p[x + 1] + 1) >> 1;
      } else if (hy) {
        v = (p[x] + p[x + stride] + 1) >> 1;
      } else {
        v = p[x];
      }
      dst[y * w + x] = static_cast<std::uint8_t>(v);
    }
  }
}

void PredictLuma16(MotionPath path, const std::uint8_t* ref, int stride, int hx, int hy,
                   std::uint8_t* dst) {
  if (path == MotionPath::kSse2 && CpuHasSse2()) {
    PredictLuma16Sse2(ref, stride, hx, hy, dst);
  } else {
    PredictBlockReference(ref, stride, hx, hy, 16, 16, dst);
  }
}

}  // namespace mpegenc
