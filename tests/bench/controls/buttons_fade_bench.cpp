// The blend of one fade step of a 41 x 41 bit button, natively: the old look
// copied into the frame and the new look blended over it (what TsFadeTimer
// does before it draws), against a memcpy of the same 41 x 41 x 4 bytes.
// The blend should cost at most 8 memcpy of those bytes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "skin/graphics/acBitmap.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

constexpr int kSide = 41;
constexpr std::int64_t kBytes = std::int64_t(kSide) * kSide * 4;

std::unique_ptr<TacBitmap> Filled(std::uint32_t Seed) {
  auto b = NewBitmap32(kSide, kSide);
  const TPixelView32 v = PixelsOf(b.get());
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) v.At(x, y) = Seed * 2654435761u + std::uint32_t(y * 7919 + x * 104729);
  return b;
}

void BM_FadeStepBlend41(benchmark::State& state) {
  auto start = Filled(1), cache = Filled(2), frame = Filled(3);
  int step = 1;
  for (auto _ : state) {
    CopyPixels32(frame.get(), 0, 0, start.get(), TRect{0, 0, kSide, kSide});
    SumBitmaps(frame.get(), cache.get(), (255 - step * 255 / 11) & 0xFF);
    step = step % 10 + 1;
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_FadeStepBlend41);

void BM_Memcpy41(benchmark::State& state) {
  std::vector<std::uint8_t> src(static_cast<size_t>(kBytes), 1), dst(static_cast<size_t>(kBytes));
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), dst.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_Memcpy41);

}  // namespace

BENCHMARK_MAIN();
