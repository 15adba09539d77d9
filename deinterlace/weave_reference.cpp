#include "deinterlace/weave_kernels.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace brontel {

namespace {

constexpr int kAdaptiveLumaShift = 3;

}  // namespace

// Written to read like the rule, one unit at a time; the tests trust it.
void WeaveYuy2Reference(const WeaveJob& job) {
  const std::size_t lineBytes = job.lineBytes;
  const std::size_t width = lineBytes / 2;
  const std::size_t pairs = (job.lines - 1) / 2;

  for (std::size_t k = 0; k < pairs; ++k) {
    const std::uint8_t* in0 = job.input + 2 * k * lineBytes;
    const std::uint8_t* in1 = in0 + lineBytes;
    const std::uint8_t* in2 = in1 + lineBytes;
    const std::uint8_t* prev0 = job.history + 2 * k * lineBytes;
    const std::uint8_t* prev1 = prev0 + lineBytes;
    const std::uint8_t* prev2 = prev1 + lineBytes;
    std::uint8_t* out0 = job.output + 2 * k * lineBytes;
    std::uint8_t* out1 = out0 + lineBytes;

    std::memcpy(out0, in0, lineBytes);
    for (std::size_t j = 0; j < width; ++j) {
      const std::size_t luma = 2 * j;
      const std::size_t chroma = luma + 1;
      const int a0 = in0[luma];
      const int a1 = in1[luma];
      const int a2 = in2[luma];
      const int p0 = prev0[luma];
      const int p1 = prev1[luma];
      const int p2 = prev2[luma];

      const int threshold =
          job.adaptive ? std::max<int>(a1 >> kAdaptiveLumaShift, job.lDelta3) : job.lDelta2;
      const bool still = (std::abs(p0 - a0) < threshold || std::abs(p2 - a2) < threshold) &&
                         std::abs(p1 - a1) < threshold;
      if (still) {
        out1[luma] = in1[luma];
        out1[chroma] = in1[chroma];
        continue;
      }
      const int m = (a0 + a2) / 2;
      out1[luma] = static_cast<std::uint8_t>(m);
      out0[luma] = static_cast<std::uint8_t>((a0 + m) / 2);
      out1[chroma] = std::abs(m - a0) > std::abs(m - a2) ? in2[chroma] : in0[chroma];
    }
  }

  const std::size_t tailStart = 2 * pairs * lineBytes;
  std::memcpy(job.output + tailStart, job.input + tailStart, (job.lines - 2 * pairs) * lineBytes);
  std::memcpy(job.history, job.input, job.lines * lineBytes);
}

}  // namespace brontel
