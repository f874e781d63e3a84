// The 32-bit painting's loops on a 1024 x 1024 bitmap (the bytes of the
// yardsticks BM_Memset and BM_Memcpy): fills and gradients against memset,
// blends and masked copies against memcpy.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "skin/core/sMaskData.h"
#include "skin/graphics/Sgradient.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

constexpr int kSide = 1024;
constexpr std::int64_t kBytes = std::int64_t(kSide) * kSide * 4;

// A bitmap of varied pixels (every channel and alpha value occurs).
std::unique_ptr<TacBitmap> Varied(int w, int h) {
  auto b = CreateBmp32(w, h);
  const TPixelView32 v = PixelsOf(b.get());
  std::uint32_t x = 0x12345678u;
  for (int y = 0; y < v.Height; ++y)
    for (int i = 0; i < v.Width; ++i) {
      x = x * 1664525u + 1013904223u;
      v.At(i, y) = x;
    }
  return b;
}

void BM_FillRect32(benchmark::State& state) {
  auto b = CreateBmp32(kSide, kSide);
  for (auto _ : state) {
    FillRect32(b.get(), Rect(0, 0, kSide, kSide), 0x336699, 255);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_FillRect32);

void BM_UpdateAlpha(benchmark::State& state) {
  auto b = Varied(kSide, kSide);
  for (auto _ : state) {
    UpdateAlpha(b.get());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_UpdateAlpha);

void BM_BlendColorRect32(benchmark::State& state) {
  auto b = Varied(kSide, kSide);
  for (auto _ : state) {
    BlendColorRect32(b.get(), Rect(0, 0, kSide, kSide), 0x336699, 40, 255);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_BlendColorRect32);

// A masked piece as large as the destination: pictures over their masks in
// a source twice as high, no key pixels, the destination's bytes counted.
void BM_CopyByMask32(benchmark::State& state) {
  auto dst = Varied(kSide, kSide);
  auto src = Varied(kSide, 2 * kSide);
  TsMaskData md;
  md.SrcRect = Rect(0, 0, kSide, 2 * kSide);
  md.MaskKind = 1;
  const TPixelView32 s = PixelsOf(src.get());
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      if (s.At(x, y) == 0x00FF00FFu) s.At(x, y) = 0;
  for (auto _ : state) {
    CopyByMask32(Rect(0, 0, kSide, kSide), Rect(0, 0, kSide, kSide), dst.get(), src.get(), EmptyCI, md);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_CopyByMask32);

void BM_PaintGradVertical(benchmark::State& state) {
  auto b = CreateBmp32(kSide, kSide);
  TsGradArray data;
  PrepareGradArray("16777215;8421504;66;0;0;8421504;0;34;0;0", data);
  for (auto _ : state) {
    PaintGrad(b.get(), Rect(0, 0, kSide, kSide), data);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_PaintGradVertical);

}  // namespace
