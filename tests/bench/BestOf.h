// The best of several timed runs, for the benchmark programs run under Wine.
#ifndef DK_TESTS_BENCH_BESTOF_H
#define DK_TESTS_BENCH_BESTOF_H

#include <algorithm>
#include <chrono>

// The best time of Runs runs of Fn, in milliseconds.
template <class Fn>
double Best(int runs, Fn fn) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    fn();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

#endif
