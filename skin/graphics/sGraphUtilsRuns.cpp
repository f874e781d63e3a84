// The row blend of the transparency sums on vectors: the pixels' bytes as
// 16-bit lanes, the alpha lanes weighing the destination by 256 and the
// source by 0. Written once with the compiler's vector types and built for
// the plain instruction set and for AVX2; the painting's run level (the
// widest the processor has, or one a test sets) picks the form.
#include <cstring>

#include "skin/graphics/acPixelRuns.h"
#include "skin/graphics/sGraphUtilsPixels.h"

namespace gutils {

namespace {

template <class TBytes, class TWords, int Pixels>
[[gnu::always_inline]] inline int SumVectors(std::uint32_t* D, const std::uint32_t* S, int N, std::uint32_t W) {
  TWords wd, ws;
  for (int i = 0; i < Pixels * 4; ++i) {
    wd[i] = static_cast<std::uint16_t>(i % 4 == 3 ? 256 : W);
    ws[i] = static_cast<std::uint16_t>(i % 4 == 3 ? 0 : 256 - W);
  }
  int x = 0;
  for (; x + Pixels <= N; x += Pixels) {
    TBytes d, s;
    std::memcpy(&d, D + x, sizeof d);
    std::memcpy(&s, S + x, sizeof s);
    const TWords r = (__builtin_convertvector(d, TWords) * wd + __builtin_convertvector(s, TWords) * ws) >> 8;
    const TBytes out = __builtin_convertvector(r, TBytes);
    std::memcpy(D + x, &out, sizeof out);
  }
  return x;
}

typedef std::uint8_t TBytes16 __attribute__((vector_size(16)));
typedef std::uint16_t TWords16 __attribute__((vector_size(32)));
int SumPlain(std::uint32_t* D, const std::uint32_t* S, int N, std::uint32_t W) {
  return SumVectors<TBytes16, TWords16, 4>(D, S, N, W);
}

#if defined(__x86_64__) || defined(__i386__)
typedef std::uint8_t TBytes32 __attribute__((vector_size(32)));
typedef std::uint16_t TWords32 __attribute__((vector_size(64)));
[[gnu::target("avx2")]] int SumAvx2(std::uint32_t* D, const std::uint32_t* S, int N, std::uint32_t W) {
  return SumVectors<TBytes32, TWords32, 8>(D, S, N, W);
}
#endif

}  // namespace

void BlendRowKeepAlpha(std::uint32_t* D, const std::uint32_t* S, int N, std::uint32_t W) {
  int x = 0;
  switch (acpixel::RunLevel()) {
#if defined(__x86_64__) || defined(__i386__)
    case acpixel::TRunLevel::Avx2: x = SumAvx2(D, S, N, W); break;
#endif
    case acpixel::TRunLevel::Scalar: break;
    default: x = SumPlain(D, S, N, W); break;
  }
  for (; x < N; ++x) D[x] = (D[x] & 0xFF000000u) | MixRGB(D[x], S[x], W);
}

}  // namespace gutils
