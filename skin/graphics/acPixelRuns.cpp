// The run kernels: the scalar forms, the vector forms for SSE2 and AVX2
// (acPixelRunsBody.inc, built twice) and the choice among them.
#include "skin/graphics/acPixelRuns.h"

#include <cwchar>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define AC_RUNS_X86 1
#include <immintrin.h>

#define AC_RUNS_NS runs_sse2
#define AC_TARGET __attribute__((target("sse2")))
#define AC_V __m128i
#define AC_LANES 4
#define AC_X(op) _mm_##op
#define AC_LOAD(p) _mm_loadu_si128(reinterpret_cast<const __m128i*>(p))
#define AC_STORE(p, v) _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v)
#define AC_ZERO _mm_setzero_si128
#define AC_AND _mm_and_si128
#define AC_OR _mm_or_si128
#define AC_ANDNOT _mm_andnot_si128
#include "skin/graphics/acPixelRunsBody.inc"
#undef AC_RUNS_NS
#undef AC_TARGET
#undef AC_V
#undef AC_LANES
#undef AC_X
#undef AC_LOAD
#undef AC_STORE
#undef AC_ZERO
#undef AC_AND
#undef AC_OR
#undef AC_ANDNOT

#define AC_RUNS_NS runs_avx2
#define AC_TARGET __attribute__((target("avx2")))
#define AC_V __m256i
#define AC_LANES 8
#define AC_X(op) _mm256_##op
#define AC_LOAD(p) _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))
#define AC_STORE(p, v) _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v)
#define AC_ZERO _mm256_setzero_si256
#define AC_AND _mm256_and_si256
#define AC_OR _mm256_or_si256
#define AC_ANDNOT _mm256_andnot_si256
#include "skin/graphics/acPixelRunsBody.inc"
#endif

namespace acpixel {

namespace {

TRunLevel Widest() {
#ifdef AC_RUNS_X86
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) return TRunLevel::Avx2;
  if (__builtin_cpu_supports("sse2")) return TRunLevel::Sse2;
#endif
  return TRunLevel::Scalar;
}

TRunLevel& Level() {
  static TRunLevel level = Widest();
  return level;
}

// Runs the widest kernel in use; answers the pixels it did.
#ifdef AC_RUNS_X86
#define AC_DISPATCH(call)                                         \
  (Level() == TRunLevel::Avx2   ? runs_avx2::call                 \
   : Level() == TRunLevel::Sse2 ? runs_sse2::call                 \
                                : 0)
#else
#define AC_DISPATCH(call) 0
#endif

std::uint32_t TowardChannel(int C, int T, int Percent) { return std::uint32_t(C - (C - T) * Percent / 100); }

}  // namespace

TRunLevel RunLevel() { return Level(); }

TRunLevel SetRunLevel(TRunLevel Wanted) {
  const TRunLevel old = Level();
  Level() = static_cast<int>(Wanted) < static_cast<int>(Widest()) ? Wanted : Widest();
  return old;
}

void Fill(std::uint32_t* P, int Count, std::uint32_t Value) {
  if (Count <= 0) return;
  if constexpr (sizeof(wchar_t) == 4) {
    // The C library's wide fill stores as wide as its byte fill does.
    std::wmemset(reinterpret_cast<wchar_t*>(P), static_cast<wchar_t>(Value), static_cast<size_t>(Count));
  } else {
    for (int i = 0; i < Count; ++i) P[i] = Value;
  }
}

void PremultiplyRun(std::uint32_t* P, int Count) {
  for (int i = AC_DISPATCH(Premultiply(P, Count)); i < Count; ++i) P[i] = (P[i] & kAlpha) | Scale(P[i], P[i] >> 24);
}

void BlendTowardRun(std::uint32_t* P, int Count, std::uint32_t Target, int Percent, std::uint32_t Alpha) {
  if (Percent >= 100) {
    Fill(P, Count, (Target & kColour) | Alpha);
    return;
  }
  const int tb = Target & 0xFF, tg = (Target >> 8) & 0xFF, tr = (Target >> 16) & 0xFF;
  for (int i = AC_DISPATCH(BlendToward(P, Count, Target, Percent, Alpha)); i < Count; ++i) {
    const std::uint32_t v = P[i];
    P[i] = TowardChannel(v & 0xFF, tb, Percent) | (TowardChannel((v >> 8) & 0xFF, tg, Percent) << 8) |
           (TowardChannel((v >> 16) & 0xFF, tr, Percent) << 16) | Alpha;
  }
}

void MaskBlendRun(std::uint32_t* D, const std::uint32_t* S, const std::uint32_t* K, int Count, std::uint32_t A,
                  const TKeyFill& Key) {
  for (int i = AC_DISPATCH(MaskBlend(D, S, K, Count, A, Key)); i < Count; ++i) D[i] = MaskPixel(D[i], S[i], K[i], A, Key, i);
}

}  // namespace acpixel
