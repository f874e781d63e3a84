// The graphics utilities' pixel loops beside the memory yardsticks of
// pixels_bench_base.cpp: the transparency blends on the same 4 MB as
// BM_Memcpy, the resampler against a plain double-precision separable
// resampler written here, and the mask blur at two radii.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "skin/graphics/sGraphUtils.h"

namespace {

constexpr int kSide = 1024;
constexpr std::int64_t kBytes = std::int64_t(kSide) * kSide * 4;

std::unique_ptr<TacBitmap> Filled(int w, int h, std::uint32_t seed) {
  auto b = NewBitmap32(w, h);
  const TPixelView32 v = PixelsOf(b.get());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) v.At(x, y) = seed * 2654435761u + std::uint32_t(y * 7919 + x * 104729);
  return b;
}

void BM_SumBitmaps(benchmark::State& state) {
  auto dst = Filled(kSide, kSide, 1), src = Filled(kSide, kSide, 2);
  for (auto _ : state) {
    SumBitmaps(dst.get(), src.get(), 102);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_SumBitmaps);

void BM_SumBmpRect(benchmark::State& state) {
  auto dst = Filled(kSide, kSide, 1), src = Filled(kSide, kSide, 2);
  for (auto _ : state) {
    SumBmpRect(dst.get(), src.get(), 102, Rect(0, 0, kSide, kSide), Point(0, 0));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_SumBmpRect);

// ------------------------------------------------------------ resampling

// The straightforward resampler: Mitchell weights in double precision for
// every destination index, a horizontal pass into doubles, a vertical pass,
// each channel rounded and limited at the end.
double Mitchell(double x) {
  x = std::fabs(x);
  if (x < 1) return x * x * (7.0 / 6 * x - 2) + 8.0 / 9;
  if (x < 2) return x * x * (-7.0 / 18 * x + 2) - 10.0 / 3 * x + 16.0 / 9;
  return 0;
}

struct TWeights {
  std::vector<std::vector<std::pair<int, double>>> Lists;
};

TWeights ReferenceWeights(int S, int D) {
  const double scale = S > D ? double(D) / S : 1.0, fw = 2.0 / scale;
  TWeights out;
  out.Lists.resize(static_cast<size_t>(D));
  for (int i = 0; i < D; ++i) {
    const double c = double(i) * S / D;
    for (int j = int(std::floor(c - fw)); j <= int(std::ceil(c + fw)); ++j) {
      const double w = Mitchell((c - j) * scale) * scale;
      if (w == 0) continue;
      int k = j;
      while (k < 0 || k >= S) k = k < 0 ? -k : 2 * S - k - 1;
      out.Lists[static_cast<size_t>(i)].push_back({k, w});
    }
  }
  return out;
}

void ReferenceStretch(TacBitmap* Src, TacBitmap* Dst, int W, int H) {
  const TPixelView32 s = PixelsOf(Src);
  const TWeights cols = ReferenceWeights(s.Width, W), rows = ReferenceWeights(s.Height, H);
  std::vector<double> tmp(static_cast<size_t>(W) * s.Height * 4);
  for (int y = 0; y < s.Height; ++y)
    for (int x = 0; x < W; ++x)
      for (const auto& [j, w] : cols.Lists[static_cast<size_t>(x)]) {
        const std::uint32_t p = s.At(j, y);
        double* t = &tmp[(static_cast<size_t>(y) * W + x) * 4];
        for (int n = 0; n < 4; ++n) t[n] += ((p >> (8 * n)) & 255) * w;
      }
  const TPixelView32 d = PixelsOf(Dst);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      double sum[4] = {0, 0, 0, 0};
      for (const auto& [j, w] : rows.Lists[static_cast<size_t>(y)]) {
        const double* t = &tmp[(static_cast<size_t>(j) * W + x) * 4];
        for (int n = 0; n < 4; ++n) sum[n] += t[n] * w;
      }
      std::uint32_t p = 0;
      for (int n = 0; n < 4; ++n) p |= std::uint32_t(std::clamp(std::lround(sum[n]), 0L, 255L)) << (8 * n);
      d.At(x, y) = p;
    }
}

void BM_Stretch(benchmark::State& state) {
  const int from = static_cast<int>(state.range(0)), to = static_cast<int>(state.range(1));
  auto src = Filled(from, from, 3), dst = NewBitmap32(1, 1);
  for (auto _ : state) {
    Stretch(src.get(), dst.get(), to, to, ftMitchell);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Stretch)->Args({256, 64})->Args({32, 48});

void BM_StretchReference(benchmark::State& state) {
  const int from = static_cast<int>(state.range(0)), to = static_cast<int>(state.range(1));
  auto src = Filled(from, from, 3), dst = NewBitmap32(to, to);
  for (auto _ : state) {
    ReferenceStretch(src.get(), dst.get(), to, to);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_StretchReference)->Args({256, 64})->Args({32, 48});

// ------------------------------------------------------------ blur

void BM_Blur8(benchmark::State& state) {
  auto mask = NewBitmap(pf8bit, 300, 40);
  Byte* first;
  std::ptrdiff_t delta;
  BitmapRows(mask.get(), first, delta);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 300; ++x) first[y * delta + x] = static_cast<Byte>((x / 7 + y / 5) % 2 ? 255 : 0);
  // The work does not depend on the bytes: the same mask is blurred again.
  for (auto _ : state) {
    Blur8(mask.get(), static_cast<double>(state.range(0)));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Blur8)->Arg(1)->Arg(8);

}  // namespace
