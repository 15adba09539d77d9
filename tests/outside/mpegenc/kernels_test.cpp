#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>

#include "outside/mpegenc/dct.h"
#include "outside/mpegenc/motion_kernels.h"

namespace mpegenc {
namespace {

// The random blocks of the IEEE 1180 accuracy test.
class Ieee1180Random {
 public:
  explicit Ieee1180Random(long seed) : state_(seed) {}
  long Next(long lo, long hi) {
    state_ = (state_ * 1103515245 + 12345) & 0xFFFFFFFFL;
    const long i = state_ & 0x7FFFFFFE;
    const double x = static_cast<double>(i) / 2147483647.0;
    return static_cast<long>(x * (lo + hi + 1)) - lo;
  }

 private:
  long state_;
};

TEST(MpegencDct, InverseMeetsIeee1180OnEveryPath) {
  struct Case {
    long lo, hi;
    int sign;
  };
  const Case cases[] = {{256, 255, 1},  {5, 5, 1},  {300, 300, 1},
                        {256, 255, -1}, {5, 5, -1}, {300, 300, -1}};
  for (DctPath path : {DctPath::kReference, DctPath::kSse2}) {
    if (!DctPathAvailable(path)) continue;
    for (const Case& c : cases) {
      Ieee1180Random random(1);
      double sumErr[64] = {}, sumSq[64] = {};
      int peak = 0;
      const int blocks = 10000;
      for (int b = 0; b < blocks; ++b) {
        std::int16_t pixels[64], coeffs[64], expect[64], got[64];
        for (int i = 0; i < 64; ++i)
          pixels[i] = static_cast<std::int16_t>(c.sign * random.Next(c.lo, c.hi));
        ForwardDctReference(pixels, coeffs);
        InverseDctReference(coeffs, expect);
        InverseDct(path, coeffs, got);
        for (int i = 0; i < 64; ++i) {
          const int e = got[i] - expect[i];
          peak = std::max(peak, std::abs(e));
          sumErr[i] += e;
          sumSq[i] += e * e;
        }
      }
      double totalErr = 0, totalSq = 0;
      for (int i = 0; i < 64; ++i) {
        EXPECT_LE(std::fabs(sumErr[i] / blocks), 0.015) << "pixel " << i;
        EXPECT_LE(sumSq[i] / blocks, 0.06) << "pixel " << i;
        totalErr += sumErr[i];
        totalSq += sumSq[i];
      }
      EXPECT_LE(peak, 1);
      EXPECT_LE(std::fabs(totalErr / (64.0 * blocks)), 0.0015);
      EXPECT_LE(totalSq / (64.0 * blocks), 0.02);
      std::int16_t zero[64] = {}, out[64];
      InverseDct(path, zero, out);
      for (int v : out) EXPECT_EQ(v, 0);
    }
  }
}

TEST(MpegencDct, FastForwardAgreesWithReference) {
  if (!DctPathAvailable(DctPath::kSse2)) GTEST_SKIP() << "no SSE2";
  std::mt19937 rng(7);
  for (int b = 0; b < 5000; ++b) {
    std::int16_t in[64], a[64], c[64];
    for (auto& v : in) v = static_cast<std::int16_t>(static_cast<int>(rng() % 511) - 255);
    ForwardDctReference(in, a);
    ForwardDct(DctPath::kSse2, in, c);
    for (int i = 0; i < 64; ++i) ASSERT_LE(std::abs(a[i] - c[i]), 1);
  }
}

TEST(MpegencMotion, FastKernelsMatchReferenceAtEveryHalfSample) {
  if (!MotionPathAvailable(MotionPath::kSse2)) GTEST_SKIP() << "no SSE2";
  std::mt19937 rng(3);
  std::uint8_t a[40 * 40], b[40 * 40];
  for (auto& v : a) v = static_cast<std::uint8_t>(rng());
  for (auto& v : b) v = static_cast<std::uint8_t>(rng());
  EXPECT_EQ(Sad16x16(MotionPath::kSse2, a + 3, 40, b + 41, 40),
            Sad16x16(MotionPath::kReference, a + 3, 40, b + 41, 40));
  for (int hy = 0; hy < 2; ++hy)
    for (int hx = 0; hx < 2; ++hx) {
      std::uint8_t fast[256], slow[256];
      PredictLuma16(MotionPath::kSse2, a + 5, 40, hx, hy, fast);
      PredictLuma16(MotionPath::kReference, a + 5, 40, hx, hy, slow);
      EXPECT_EQ(0, std::memcmp(fast, slow, 256)) << hx << hy;
    }
}

}  // namespace
}  // namespace mpegenc
