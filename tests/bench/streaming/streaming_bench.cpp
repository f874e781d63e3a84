// Form streaming speed: a form of 1,000 components carrying 10 MB of binary
// data, against memcpy of the same amount; and the cost of a simple property.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/core_objects/fixture.h"

namespace {

constexpr int kComponents = 1000;
constexpr size_t kDataEach = 10 * 1024 * 1024 / kComponents;

std::unique_ptr<TTestForm> MakeForm(bool withData) {
  std::unique_ptr<TTestForm> form(Create<TTestForm>(nullptr));
  form->SetName("Form1");
  for (int i = 0; i < kComponents; ++i) {
    auto* c = Create<TTestControl>(form.get());
    c->SetName("Control" + std::to_string(i));
    c->SetParent(form.get());
    c->FLeft = i;
    c->FTop = i * 2;
    c->FCaption = "Caption";
    if (withData) c->FData.assign(kDataEach, static_cast<char>(i));
  }
  return form;
}

std::string Save(TComponent* c) {
  TMemoryStream ms;
  ms.WriteComponent(c);
  return std::string(static_cast<const char*>(ms.Memory()), static_cast<size_t>(ms.Size()));
}

void BM_Memcpy10MB(benchmark::State& state) {
  std::vector<char> a(kDataEach * kComponents, 1), b(a.size());
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size());
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * a.size()));
}
BENCHMARK(BM_Memcpy10MB)->Unit(benchmark::kMillisecond);

// Into a stream that keeps its memory between rounds (the writer's own cost).
void BM_WriteForm10MB(benchmark::State& state) {
  auto form = MakeForm(true);
  TMemoryStream ms;
  for (auto _ : state) {
    ms.SetPosition(0);
    ms.WriteComponent(form.get());
    benchmark::DoNotOptimize(ms.Memory());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDataEach * kComponents));
}
BENCHMARK(BM_WriteForm10MB)->Unit(benchmark::kMillisecond);

// Into a new memory stream each round (its growth and page faults included).
void BM_WriteForm10MBFreshStream(benchmark::State& state) {
  auto form = MakeForm(true);
  for (auto _ : state) {
    TMemoryStream ms;
    ms.WriteComponent(form.get());
    benchmark::DoNotOptimize(ms.Memory());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDataEach * kComponents));
}
BENCHMARK(BM_WriteForm10MBFreshStream)->Unit(benchmark::kMillisecond);

void BM_ReadForm10MB(benchmark::State& state) {
  auto form = MakeForm(true);
  std::string bin = Save(form.get());
  form.reset();
  TMemoryStream ms;
  ms.WriteBuffer(bin.data(), static_cast<Integer>(bin.size()));
  for (auto _ : state) {
    ms.SetPosition(0);
    std::unique_ptr<TComponent> c(ms.ReadComponent(nullptr));
    benchmark::DoNotOptimize(c.get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDataEach * kComponents));
}
BENCHMARK(BM_ReadForm10MB)->Unit(benchmark::kMillisecond);

// The binary path alone: the same 10 MB as 1,000 binary properties of one
// component (no component creation).
void BM_ReadBinaryOnly10MB(benchmark::State& state) {
  TMemoryStream ms;
  {
    std::string chunk(kDataEach, 'x');
    TWriter w(&ms);
    w.WriteSignature();
    w.WriteStr("TTestControl");
    w.WriteStr("A");
    for (int i = 0; i < kComponents; ++i) {
      w.WriteStr("Data");
      w.WriteBinary(chunk.data(), static_cast<Int64>(chunk.size()));
    }
    w.WriteListEnd();
    w.WriteListEnd();
  }
  for (auto _ : state) {
    ms.SetPosition(0);
    std::unique_ptr<TComponent> c(ms.ReadComponent(nullptr));
    benchmark::DoNotOptimize(c.get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kDataEach * kComponents));
}
BENCHMARK(BM_ReadBinaryOnly10MB)->Unit(benchmark::kMillisecond);

// Per simple property: 1,000 components with Left, Top and Caption each
// (component creation included, so this is an upper bound).
void BM_ReadSimpleProperty(benchmark::State& state) {
  auto form = MakeForm(false);
  std::string bin = Save(form.get());
  form.reset();
  TMemoryStream ms;
  ms.WriteBuffer(bin.data(), static_cast<Integer>(bin.size()));
  for (auto _ : state) {
    ms.SetPosition(0);
    std::unique_ptr<TComponent> c(ms.ReadComponent(nullptr));
    benchmark::DoNotOptimize(c.get());
  }
  state.counters["per_property"] = benchmark::Counter(static_cast<double>(kComponents * 3),
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadSimpleProperty)->Unit(benchmark::kMicrosecond);

void BM_WriteSimpleProperty(benchmark::State& state) {
  auto form = MakeForm(false);
  for (auto _ : state) {
    TMemoryStream ms;
    ms.WriteComponent(form.get());
    benchmark::DoNotOptimize(ms.Memory());
  }
  state.counters["per_property"] = benchmark::Counter(static_cast<double>(kComponents * 3),
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
}
BENCHMARK(BM_WriteSimpleProperty)->Unit(benchmark::kMicrosecond);

// Simple properties alone: one component whose stream sets Left, Top and
// Caption 1,000 times each.
void BM_ReadPropertiesOnly(benchmark::State& state) {
  TMemoryStream ms;
  {
    TWriter w(&ms);
    w.WriteSignature();
    w.WriteStr("TTestControl");
    w.WriteStr("A");
    for (int i = 0; i < 1000; ++i) {
      w.WriteStr("Left");
      w.WriteInteger(i);
      w.WriteStr("Top");
      w.WriteInteger(i * 100);
      w.WriteStr("Caption");
      w.WriteString("Caption");
    }
    w.WriteListEnd();
    w.WriteListEnd();
  }
  for (auto _ : state) {
    ms.SetPosition(0);
    std::unique_ptr<TComponent> c(ms.ReadComponent(nullptr));
    benchmark::DoNotOptimize(c.get());
  }
  state.counters["per_property"] = benchmark::Counter(3000.0, benchmark::Counter::kIsIterationInvariantRate |
                                                                  benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadPropertiesOnly)->Unit(benchmark::kMicrosecond);

// One integer property set through the registry by name.
void BM_SetOrdPropByName(benchmark::State& state) {
  std::unique_ptr<TTestControl> c(Create<TTestControl>(nullptr));
  int i = 0;
  for (auto _ : state) SetOrdProp(c.get(), "Top", ++i);
  benchmark::DoNotOptimize(c->FTop);
}
BENCHMARK(BM_SetOrdPropByName);

}  // namespace

BENCHMARK_MAIN();
