#pragma once
// The motion-adaptive weave of one YUY2 frame, in a plain reference form and a
// SIMD form that must match it byte for byte. Used by Deinterlacer; exposed
// for the tests and the benchmark.

#include <cstddef>
#include <cstdint>

namespace brontel {

struct WeaveJob {
  const std::uint8_t* input = nullptr;
  std::uint8_t* output = nullptr;
  // Holds the previous input frame; receives this input frame's lines.
  std::uint8_t* history = nullptr;
  std::size_t lineBytes = 0;  // 2 * width
  std::size_t lines = 0;      // at least 1
  bool adaptive = false;      // mode 1113; otherwise mode 1111
  std::int32_t lDelta2 = 0;   // threshold of mode 1111
  std::int32_t lDelta3 = 0;   // lower bound of the threshold of mode 1113
};

// Writes lines 0 .. lines-1 of the output and copies the same input lines into
// the history. Input, output and history must not overlap.
void WeaveYuy2Reference(const WeaveJob& job);

// The same result in one pass over the frame, with 16-byte and 32-byte
// vectors. Call each only when its ...WeaveAvailable() is true.
void WeaveYuy2Sse2(const WeaveJob& job);
void WeaveYuy2Avx2(const WeaveJob& job);

// True when this build has the vector weave and the CPU (and, for AVX2, the
// operating system) runs it. Always false on other architectures.
bool Sse2WeaveAvailable();
bool Avx2WeaveAvailable();
bool CpuHasSse2();
bool CpuHasAvx2();

}  // namespace brontel
