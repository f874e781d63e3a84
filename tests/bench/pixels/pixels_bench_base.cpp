// The yardsticks of the pixel benchmarks: filling and copying the bytes of a
// 1024 x 1024 32-bit buffer with the C library.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kBytes = 1024 * 1024 * 4;

void BM_Memset(benchmark::State& state) {
  std::vector<std::uint8_t> dst(kBytes);
  for (auto _ : state) {
    std::memset(dst.data(), 0x5A, dst.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_Memset);

void BM_Memcpy(benchmark::State& state) {
  std::vector<std::uint8_t> src(kBytes, 0x33), dst(kBytes);
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), dst.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_Memcpy);

}  // namespace

BENCHMARK_MAIN();
