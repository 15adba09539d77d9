#pragma once

#include <cstdint>

namespace mpegenc {

enum class MotionPath { kReference, kSse2 };

bool MotionPathAvailable(MotionPath path);
MotionPath FastestMotionPath();

// Sum of absolute differences of two 16x16 blocks.
int Sad16x16(MotionPath path, const std::uint8_t* a, int strideA, const std::uint8_t* b,
             int strideB);

// A w x h prediction (dst stride w) from ref at a half-sample offset hx, hy
// (each 0 or 1), rounded as MPEG motion compensation rounds.
void PredictBlockReference(const std::uint8_t* ref, int stride, int hx, int hy, int w, int h,
                           std::uint8_t* dst);
void PredictLuma16(MotionPath path, const std::uint8_t* ref, int stride, int hx, int hy,
                   std::uint8_t* dst);

}  // namespace mpegenc
