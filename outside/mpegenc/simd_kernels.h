#pragma once

#include <cstdint>

// The SSE2 kernels behind the dispatching functions of dct.h and
// motion_kernels.h. Call them only when CpuHasSse2() is true.
namespace mpegenc {

bool CpuHasSse2();

void ForwardDctSse2(const std::int16_t in[64], std::int16_t out[64]);
void InverseDctSse2(const std::int16_t in[64], std::int16_t out[64]);

int Sad16x16Sse2(const std::uint8_t* a, int strideA, const std::uint8_t* b, int strideB);
// 16x16 prediction at a half-sample position (hx, hy each 0 or 1) into dst
// (stride 16), with the rounding of MPEG motion compensation.
void PredictLuma16Sse2(const std::uint8_t* ref, int stride, int hx, int hy, std::uint8_t* dst);

}  // namespace mpegenc
