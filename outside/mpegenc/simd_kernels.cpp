#include "outside/mpegenc/simd_kernels.h"

#include <cmath>

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#define MPEGENC_HAVE_X86 1
#define MPEGENC_SSE2 __attribute__((target("sse2")))
#endif

namespace mpegenc {

#if MPEGENC_HAVE_X86

bool CpuHasSse2() {
#if defined(__x86_64__)
  return true;
#else
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2") != 0;
  }();
  return has;
#endif
}

namespace {

// basis[u][x] = C(u)/2 cos((2x+1) u pi / 16); columns[x][u] is its transpose.
struct alignas(16) FloatBasis {
  float rows[8][8];
  float columns[8][8];
  FloatBasis() {
    const double pi = 3.14159265358979323846;
    for (int u = 0; u < 8; ++u)
      for (int x = 0; x < 8; ++x) {
        const double c = u == 0 ? std::sqrt(0.5) : 1.0;
        const float v = static_cast<float>(c / 2.0 * std::cos((2 * x + 1) * u * pi / 16.0));
        rows[u][x] = v;
        columns[x][u] = v;
      }
  }
};

const FloatBasis& Basis() {
  static const FloatBasis basis;
  return basis;
}

MPEGENC_SSE2 inline void LoadRow(const std::int16_t* p, __m128& lo, __m128& hi) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i sign = _mm_srai_epi16(v, 15);
  lo = _mm_cvtepi32_ps(_mm_unpacklo_epi16(v, sign));
  hi = _mm_cvtepi32_ps(_mm_unpackhi_epi16(v, sign));
}

MPEGENC_SSE2 inline void StoreRow(std::int16_t* p, __m128 lo, __m128 hi, __m128i minV,
                                  __m128i maxV) {
  __m128i packed = _mm_packs_epi32(_mm_cvtps_epi32(lo), _mm_cvtps_epi32(hi));
  packed = _mm_max_epi16(_mm_min_epi16(packed, maxV), minV);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), packed);
}

// out_row[k] = sum_j in[k][j] * m[j] for vector rows m: a row-by-matrix product
// for all eight rows, then the second pass combines rows with the scalar basis.
MPEGENC_SSE2 void Transform(const std::int16_t in[64], std::int16_t out[64],
                            const float (*firstPass)[8], const float (*secondPass)[8], int lo,
                            int hi) {
  __m128 tLo[8], tHi[8];
  for (int r = 0; r < 8; ++r) {
    alignas(16) float row[8];
    __m128 a, b;
    LoadRow(in + 8 * r, a, b);
    _mm_store_ps(row, a);
    _mm_store_ps(row + 4, b);
    __m128 accLo = _mm_setzero_ps(), accHi = _mm_setzero_ps();
    for (int j = 0; j < 8; ++j) {
      const __m128 s = _mm_set1_ps(row[j]);
      accLo = _mm_add_ps(accLo, _mm_mul_ps(s, _mm_load_ps(firstPass[j])));
      accHi = _mm_add_ps(accHi, _mm_mul_ps(s, _mm_load_ps(firstPass[j] + 4)));
    }
    tLo[r] = accLo;
    tHi[r] = accHi;
  }
  const __m128i minV = _mm_set1_epi16(static_cast<short>(lo));
  const __m128i maxV = _mm_set1_epi16(static_cast<short>(hi));
  for (int k = 0; k < 8; ++k) {
    __m128 accLo = _mm_setzero_ps(), accHi = _mm_setzero_ps();
    for (int r = 0; r < 8; ++r) {
      const __m128 s = _mm_set1_ps(secondPass[k][r]);
      accLo = _mm_add_ps(accLo, _mm_mul_ps(s, tLo[r]));
      accHi = _mm_add_ps(accHi, _mm_mul_ps(s, tHi[r]));
    }
    StoreRow(out + 8 * k, accLo, accHi, minV, maxV);
  }
}

}  // namespace

// Forward: rows first (T = f A^T, vectors over u are columns[x]), then F = A T.
MPEGENC_SSE2 void ForwardDctSse2(const std::int16_t in[64], std::int16_t out[64]) {
  const FloatBasis& b = Basis();
  Transform(in, out, b.columns, b.rows, -2048, 2047);
}

// Inverse: rows first (T = F A, vectors over x are rows[u]), then f = A^T T.
MPEGENC_SSE2 void InverseDctSse2(const std::int16_t in[64], std::int16_t out[64]) {
  const FloatBasis& b = Basis();
  Transform(in, out, b.rows, b.columns, -256, 255);
}

MPEGENC_SSE2 static inline __m128i load(const std::uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

MPEGENC_SSE2 int Sad16x16Sse2(const std::uint8_t* a, int strideA, const std::uint8_t* b,
                              int strideB) {
  __m128i acc = _mm_setzero_si128();
  for (int y = 0; y < 16; ++y) {
    const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + y * strideA));
    const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + y * strideB));
    acc = _mm_add_epi64(acc, _mm_sad_epu8(va, vb));
  }
  return _mm_cvtsi128_si32(acc) + _mm_cvtsi128_si32(_mm_srli_si128(acc, 8));
}

MPEGENC_SSE2 void PredictLuma16Sse2(const std::uint8_t* ref, int stride, int hx, int hy,
                                    std::uint8_t* dst) {
  if (!hx && !hy) {
    for (int y = 0; y < 16; ++y)
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 16 * y), load(ref + y * stride));
  } else if (hx && !hy) {
    for (int y = 0; y < 16; ++y) {
      const std::uint8_t* p = ref + y * stride;
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 16 * y),
                       _mm_avg_epu8(load(p), load(p + 1)));
    }
  } else if (!hx && hy) {
    for (int y = 0; y < 16; ++y) {
      const std::uint8_t* p = ref + y * stride;
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 16 * y),
                       _mm_avg_epu8(load(p), load(p + stride)));
    }
  } else {
    // (a + b + c + d + 2) >> 2 exactly, in 16 bits.
    const __m128i zero = _mm_setzero_si128();
    const __m128i two = _mm_set1_epi16(2);
    for (int y = 0; y < 16; ++y) {
      const std::uint8_t* p = ref + y * stride;
      const __m128i a = load(p), b = load(p + 1), c = load(p + stride), d = load(p + stride + 1);
      __m128i lo =
          _mm_add_epi16(_mm_add_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero)),
                        _mm_add_epi16(_mm_unpacklo_epi8(c, zero), _mm_unpacklo_epi8(d, zero)));
      __m128i hi =
          _mm_add_epi16(_mm_add_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero)),
                        _mm_add_epi16(_mm_unpackhi_epi8(c, zero), _mm_unpackhi_epi8(d, zero)));
      lo = _mm_srli_epi16(_mm_add_epi16(lo, two), 2);
      hi = _mm_srli_epi16(_mm_add_epi16(hi, two), 2);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 16 * y), _mm_packus_epi16(lo, hi));
    }
  }
}

#else  // no x86: the dispatchers never call these

bool CpuHasSse2() {
  return false;
}
void ForwardDctSse2(const std::int16_t*, std::int16_t*) {}
void InverseDctSse2(const std::int16_t*, std::int16_t*) {}
int Sad16x16Sse2(const std::uint8_t*, int, const std::uint8_t*, int) {
  return 0;
}
void PredictLuma16Sse2(const std::uint8_t*, int, int, int, std::uint8_t*) {}

#endif

}  // namespace mpegenc
