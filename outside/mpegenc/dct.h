#pragma once

#include <cstdint>

namespace mpegenc {

// 8x8 two-dimensional DCT as defined for MPEG video:
// F(u,v) = C(u)C(v)/4 * sum f(x,y) cos((2x+1)u pi/16) cos((2y+1)v pi/16).
// Blocks are row-major (index = 8 * y + x).

// Double-precision transforms, rounded to the nearest integer: the accuracy
// yardstick. The inverse clips to [-256, 255], the forward to [-2048, 2047].
void ForwardDctReference(const std::int16_t in[64], std::int16_t out[64]);
void InverseDctReference(const std::int16_t in[64], std::int16_t out[64]);

enum class DctPath { kReference, kSse2 };

// The paths this CPU can run; kReference always.
bool DctPathAvailable(DctPath path);
void ForwardDct(DctPath path, const std::int16_t in[64], std::int16_t out[64]);
void InverseDct(DctPath path, const std::int16_t in[64], std::int16_t out[64]);

// The fastest available path.
DctPath FastestDctPath();

}  // namespace mpegenc
