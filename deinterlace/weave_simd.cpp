#include <cstddef>
#include <cstdint>
#include <cstring>

#include "deinterlace/weave_kernels.h"

#if defined(__i386__) || defined(__x86_64__)
#define BRONTEL_X86_WEAVE 1
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace brontel {

#if BRONTEL_X86_WEAVE

namespace {

// Each instruction set gets its own copy of the weave in its own target
// region, so the rest of the product still runs on a CPU without it.
#if defined(__clang__)
#define BRONTEL_TARGET_REGION_SSE2 \
  _Pragma("clang attribute push(__attribute__((target(\"sse2\"))), apply_to = function)")
#define BRONTEL_TARGET_REGION_AVX2 \
  _Pragma("clang attribute push(__attribute__((target(\"avx2\"))), apply_to = function)")
#define BRONTEL_TARGET_REGION_END _Pragma("clang attribute pop")
#else
#define BRONTEL_TARGET_REGION_SSE2 _Pragma("GCC push_options") _Pragma("GCC target(\"sse2\")")
#define BRONTEL_TARGET_REGION_AVX2 _Pragma("GCC push_options") _Pragma("GCC target(\"avx2\")")
#define BRONTEL_TARGET_REGION_END _Pragma("GCC pop_options")
#endif

BRONTEL_TARGET_REGION_SSE2
namespace sse2 {

struct V {
  using Reg = __m128i;
  static constexpr std::size_t kBytes = 16;
  static Reg Load(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  }
  static void Store(std::uint8_t* p, Reg v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
  static Reg Zero() { return _mm_setzero_si128(); }
  static Reg Set8(char v) { return _mm_set1_epi8(v); }
  static Reg Set16(short v) { return _mm_set1_epi16(v); }
  static Reg And(Reg a, Reg b) { return _mm_and_si128(a, b); }
  static Reg AndNot(Reg notThis, Reg b) { return _mm_andnot_si128(notThis, b); }
  static Reg Or(Reg a, Reg b) { return _mm_or_si128(a, b); }
  static Reg Xor(Reg a, Reg b) { return _mm_xor_si128(a, b); }
  static Reg SubsU8(Reg a, Reg b) { return _mm_subs_epu8(a, b); }
  static Reg AbsDiffU8(Reg a, Reg b) { return Or(SubsU8(a, b), SubsU8(b, a)); }
  static Reg MaxU8(Reg a, Reg b) { return _mm_max_epu8(a, b); }
  static Reg CmpEq8(Reg a, Reg b) { return _mm_cmpeq_epi8(a, b); }
  static Reg CmpEq16(Reg a, Reg b) { return _mm_cmpeq_epi16(a, b); }
  static Reg Add16(Reg a, Reg b) { return _mm_add_epi16(a, b); }
  static Reg Sub16(Reg a, Reg b) { return _mm_sub_epi16(a, b); }
  template <int kCount>
  static Reg SrlI16(Reg a) {
    return _mm_srli_epi16(a, kCount);
  }
  template <int kCount>
  static Reg SllI16(Reg a) {
    return _mm_slli_epi16(a, kCount);
  }
  template <int kCount>
  static Reg SraI16(Reg a) {
    return _mm_srai_epi16(a, kCount);
  }
};

#include "deinterlace/weave_simd_body.inc"

}  // namespace sse2
BRONTEL_TARGET_REGION_END

BRONTEL_TARGET_REGION_AVX2
namespace avx2 {

struct V {
  using Reg = __m256i;
  static constexpr std::size_t kBytes = 32;
  static Reg Load(const std::uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  }
  static void Store(std::uint8_t* p, Reg v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
  }
  static Reg Zero() { return _mm256_setzero_si256(); }
  static Reg Set8(char v) { return _mm256_set1_epi8(v); }
  static Reg Set16(short v) { return _mm256_set1_epi16(v); }
  static Reg And(Reg a, Reg b) { return _mm256_and_si256(a, b); }
  static Reg AndNot(Reg notThis, Reg b) { return _mm256_andnot_si256(notThis, b); }
  static Reg Or(Reg a, Reg b) { return _mm256_or_si256(a, b); }
  static Reg Xor(Reg a, Reg b) { return _mm256_xor_si256(a, b); }
  static Reg SubsU8(Reg a, Reg b) { return _mm256_subs_epu8(a, b); }
  static Reg AbsDiffU8(Reg a, Reg b) { return Or(SubsU8(a, b), SubsU8(b, a)); }
  static Reg MaxU8(Reg a, Reg b) { return _mm256_max_epu8(a, b); }
  static Reg CmpEq8(Reg a, Reg b) { return _mm256_cmpeq_epi8(a, b); }
  static Reg CmpEq16(Reg a, Reg b) { return _mm256_cmpeq_epi16(a, b); }
  static Reg Add16(Reg a, Reg b) { return _mm256_add_epi16(a, b); }
  static Reg Sub16(Reg a, Reg b) { return _mm256_sub_epi16(a, b); }
  template <int kCount>
  static Reg SrlI16(Reg a) {
    return _mm256_srli_epi16(a, kCount);
  }
  template <int kCount>
  static Reg SllI16(Reg a) {
    return _mm256_slli_epi16(a, kCount);
  }
  template <int kCount>
  static Reg SraI16(Reg a) {
    return _mm256_srai_epi16(a, kCount);
  }
};

#include "deinterlace/weave_simd_body.inc"

}  // namespace avx2
BRONTEL_TARGET_REGION_END

bool CpuHasAvx2Raw() {
  unsigned eax = 0;
  unsigned ebx = 0;
  unsigned ecx = 0;
  unsigned edx = 0;
  constexpr unsigned kExtendedFeaturesLeaf = 7;
  if (static_cast<unsigned>(__get_cpuid_max(0, nullptr)) < kExtendedFeaturesLeaf) {
    return false;
  }
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) {
    return false;
  }
  // The OS must save the YMM registers on a task switch.
  if ((ecx & bit_OSXSAVE) == 0 || (ecx & bit_AVX) == 0) {
    return false;
  }
  unsigned xcrLow = 0;
  unsigned xcrHigh = 0;
  __asm__ volatile("xgetbv" : "=a"(xcrLow), "=d"(xcrHigh) : "c"(0));
  constexpr unsigned kXmmAndYmmState = 0x6;
  if ((xcrLow & kXmmAndYmmState) != kXmmAndYmmState) {
    return false;
  }
  __cpuid_count(kExtendedFeaturesLeaf, 0, eax, ebx, ecx, edx);
  return (ebx & bit_AVX2) != 0;
}

}  // namespace

// Win32 callers guarantee a 4-byte stack only, and spilled vectors need more,
// hence the realignment on i686.
#if defined(__i386__)
#define BRONTEL_REALIGN_STACK __attribute__((force_align_arg_pointer))
#else
#define BRONTEL_REALIGN_STACK
#endif

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

bool CpuHasAvx2() {
  static const bool available = CpuHasAvx2Raw();
  return available;
}

bool Sse2WeaveAvailable() {
  static const bool available = CpuHasSse2();
  return available;
}

bool Avx2WeaveAvailable() {
  return CpuHasAvx2();
}

BRONTEL_REALIGN_STACK void WeaveYuy2Sse2(const WeaveJob& job) {
  sse2::Weave(job);
}

BRONTEL_REALIGN_STACK void WeaveYuy2Avx2(const WeaveJob& job) {
  avx2::Weave(job);
}

#else  // not x86

bool CpuHasSse2() {
  return false;
}
bool CpuHasAvx2() {
  return false;
}
bool Sse2WeaveAvailable() {
  return false;
}
bool Avx2WeaveAvailable() {
  return false;
}
void WeaveYuy2Sse2(const WeaveJob& job) {
  WeaveYuy2Reference(job);
}
void WeaveYuy2Avx2(const WeaveJob& job) {
  WeaveYuy2Reference(job);
}

#endif

}  // namespace brontel
