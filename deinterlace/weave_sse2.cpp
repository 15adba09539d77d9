#include "deinterlace/weave_kernels.h"

#include <algorithm>
#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
#define BRONTEL_HAVE_SSE2_WEAVE 1
#include <cpuid.h>
#include <emmintrin.h>
#endif

namespace brontel {

#if BRONTEL_HAVE_SSE2_WEAVE

// Only these functions may use SSE2, so the rest of the product still runs on
// a CPU without it. Win32 callers guarantee a 4-byte stack only, and spilled
// vectors need 16, hence the realignment on i686.
#if defined(__i386__)
#define BRONTEL_SSE2_FUNCTION __attribute__((target("sse2"), force_align_arg_pointer))
#else
#define BRONTEL_SSE2_FUNCTION __attribute__((target("sse2")))
#endif

namespace {

constexpr std::size_t kVectorBytes = 16;
constexpr int kAdaptiveLumaShift = 3;
// |d| is at most 255, so thresholds outside [0, 256] decide the same way as
// these bounds, and the clamped value fits a signed 16-bit lane.
constexpr int kThresholdMin = 0;
constexpr int kThresholdMax = 256;

int ClampThreshold(std::int32_t value) {
  return std::min<std::int32_t>(std::max<std::int32_t>(value, kThresholdMin), kThresholdMax);
}

// One unit of a line pair's remainder. Equivalent to the reference rule: with
// m = floor((a0 + a2) / 2), m is nearer a2 exactly when a0 > a2 and the sum is
// odd.
inline void WeaveUnitScalar(const std::uint8_t* in0, const std::uint8_t* in1,
                            const std::uint8_t* in2, std::uint8_t* prev0, std::uint8_t* prev1,
                            const std::uint8_t* prev2, std::uint8_t* out0, std::uint8_t* out1,
                            std::size_t x, bool adaptive, int threshold) {
  const int a0 = in0[x];
  const int a1 = in1[x];
  const int a2 = in2[x];
  const int d0 = a0 > prev0[x] ? a0 - prev0[x] : prev0[x] - a0;
  const int d1 = a1 > prev1[x] ? a1 - prev1[x] : prev1[x] - a1;
  const int d2 = a2 > prev2[x] ? a2 - prev2[x] : prev2[x] - a2;
  const int t = adaptive ? std::max(a1 >> kAdaptiveLumaShift, threshold) : threshold;
  const bool still = (d0 < t || d2 < t) && d1 < t;
  out0[x] = in0[x];
  out0[x + 1] = in0[x + 1];
  if (still) {
    out1[x] = in1[x];
    out1[x + 1] = in1[x + 1];
  } else {
    const int m = (a0 + a2) >> 1;
    out1[x] = static_cast<std::uint8_t>(m);
    out0[x] = static_cast<std::uint8_t>((a0 + m) >> 1);
    const bool fromBelow = a0 > a2 && ((a0 ^ a2) & 1) != 0;
    out1[x + 1] = fromBelow ? in2[x + 1] : in0[x + 1];
  }
  prev0[x] = in0[x];
  prev0[x + 1] = in0[x + 1];
  prev1[x] = in1[x];
  prev1[x + 1] = in1[x + 1];
}

BRONTEL_SSE2_FUNCTION inline __m128i AbsDiffU8(__m128i a, __m128i b) {
  return _mm_or_si128(_mm_subs_epu8(a, b), _mm_subs_epu8(b, a));
}

BRONTEL_SSE2_FUNCTION inline __m128i Select(__m128i mask, __m128i ifSet, __m128i ifClear) {
  return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, ifClear));
}

// Each 16-bit lane is one YUY2 unit: luma in the low byte, chroma in the high.
template <bool kAdaptive>
BRONTEL_SSE2_FUNCTION void WeaveFrame(const WeaveJob& job) {
  const std::size_t lineBytes = job.lineBytes;
  const std::size_t pairs = (job.lines - 1) / 2;
  const int threshold = ClampThreshold(kAdaptive ? job.lDelta3 : job.lDelta2);

  const __m128i lumaMask = _mm_set1_epi16(0x00FF);
  const __m128i chromaMask = _mm_set1_epi16(static_cast<short>(0xFF00));
  const __m128i one = _mm_set1_epi16(1);
  const __m128i thresholdVec = _mm_set1_epi16(static_cast<short>(threshold));

  for (std::size_t k = 0; k < pairs; ++k) {
    const std::uint8_t* in0 = job.input + 2 * k * lineBytes;
    const std::uint8_t* in1 = in0 + lineBytes;
    const std::uint8_t* in2 = in1 + lineBytes;
    std::uint8_t* prev0 = job.history + 2 * k * lineBytes;
    std::uint8_t* prev1 = prev0 + lineBytes;
    const std::uint8_t* prev2 = prev1 + lineBytes;
    std::uint8_t* out0 = job.output + 2 * k * lineBytes;
    std::uint8_t* out1 = out0 + lineBytes;

    std::size_t x = 0;
    for (; x + kVectorBytes <= lineBytes; x += kVectorBytes) {
      const __m128i i0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in0 + x));
      const __m128i i1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in1 + x));
      const __m128i i2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in2 + x));
      const __m128i q0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev0 + x));
      const __m128i q1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev1 + x));
      const __m128i q2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev2 + x));
      // Lines 2k and 2k+1 of the history are not read again; line 2k+2 is the
      // next pair's first line and is replaced then.
      _mm_storeu_si128(reinterpret_cast<__m128i*>(prev0 + x), i0);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(prev1 + x), i1);

      const __m128i d0 = _mm_and_si128(AbsDiffU8(i0, q0), lumaMask);
      const __m128i d1 = _mm_and_si128(AbsDiffU8(i1, q1), lumaMask);
      const __m128i d2 = _mm_and_si128(AbsDiffU8(i2, q2), lumaMask);
      __m128i t = thresholdVec;
      if (kAdaptive) {
        t = _mm_max_epi16(_mm_srli_epi16(_mm_and_si128(i1, lumaMask), kAdaptiveLumaShift), t);
      }
      const __m128i still = _mm_and_si128(
          _mm_or_si128(_mm_cmplt_epi16(d0, t), _mm_cmplt_epi16(d2, t)), _mm_cmplt_epi16(d1, t));

      const __m128i y0 = _mm_and_si128(i0, lumaMask);
      const __m128i y2 = _mm_and_si128(i2, lumaMask);
      const __m128i m = _mm_srli_epi16(_mm_add_epi16(y0, y2), 1);
      const __m128i softened = _mm_srli_epi16(_mm_add_epi16(y0, m), 1);
      const __m128i oddSum = _mm_cmpeq_epi16(_mm_and_si128(_mm_xor_si128(y0, y2), one), one);
      const __m128i fromBelow = _mm_and_si128(_mm_cmpgt_epi16(y0, y2), oddSum);
      const __m128i chroma = _mm_and_si128(Select(fromBelow, i2, i0), chromaMask);

      const __m128i movingOdd = _mm_or_si128(m, chroma);
      const __m128i movingEven = _mm_or_si128(softened, _mm_and_si128(i0, chromaMask));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out0 + x), Select(still, i0, movingEven));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out1 + x), Select(still, i1, movingOdd));
    }
    for (; x < lineBytes; x += 2) {
      WeaveUnitScalar(in0, in1, in2, prev0, prev1, prev2, out0, out1, x, kAdaptive, threshold);
    }
  }

  const std::size_t tailStart = 2 * pairs * lineBytes;
  const std::size_t tailBytes = (job.lines - 2 * pairs) * lineBytes;
  std::memcpy(job.output + tailStart, job.input + tailStart, tailBytes);
  std::memcpy(job.history + tailStart, job.input + tailStart, tailBytes);
}

}  // namespace

bool CpuHasSse2() {
  unsigned eax = 0;
  unsigned ebx = 0;
  unsigned ecx = 0;
  unsigned edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) {
    return false;
  }
  return (edx & bit_SSE2) != 0;
}

bool Sse2WeaveAvailable() {
  static const bool available = CpuHasSse2();
  return available;
}

void WeaveYuy2Sse2(const WeaveJob& job) {
  if (job.adaptive) {
    WeaveFrame<true>(job);
  } else {
    WeaveFrame<false>(job);
  }
}

#else  // no x86

bool CpuHasSse2() {
  return false;
}
bool Sse2WeaveAvailable() {
  return false;
}
void WeaveYuy2Sse2(const WeaveJob& job) {
  WeaveYuy2Reference(job);
}

#endif

}  // namespace brontel
