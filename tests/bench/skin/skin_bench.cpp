// The portable skin load (text, images cut from the master, sections through
// their parents, palette and indexes) of generated skins of 100 and 200
// sections: doubling the sections must not cost more than about double.
#include <benchmark/benchmark.h>

#include <memory>

#include "SkinBenchSkin.h"
#include "skin/core/acSkinLoad.h"

namespace {

std::unique_ptr<TacSkinConvertor> Pack(int side) {
  auto c = std::make_unique<TacSkinConvertor>();
  TacImageItem item;
  item.FileName = "MASTER.BMP";
  item.IsBitmap = true;
  item.Data = std::make_unique<TMemoryStream>();
  const std::string bytes = skinbench::MasterBmp(side);
  item.Data->WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
  c->ImageItems.push_back(std::move(item));
  return c;
}

// The generated skin of a benchmark's size, its text and container.
struct TBenchSkin {
  int Sections;
  std::string Text;
  std::unique_ptr<TacSkinConvertor> Container = Pack(512);
  TacSkinSource Source;
  explicit TBenchSkin(const benchmark::State& state)
      : Sections(static_cast<int>(state.range(0))), Text(skinbench::SkinText(Sections)) {
    Source.Convertor = Container.get();
  }
};

void Load(benchmark::State& state) {
  TBenchSkin skin(state);
  const int sections = skin.Sections;
  const std::string& text = skin.Text;
  const TacSkinSource& source = skin.Source;
  for (auto _ : state) {
    TacSkinText skinText;
    skinText.LoadFromText(text);
    TacSkinTables tables;
    TacSkinLoader loader(skinText, source, TacSkinLoadOptions{}, TacSkinServices::Platform(), nullptr);
    loader.Load(tables);
    benchmark::DoNotOptimize(tables.Masks.data());
    if (tables.Masks.size() != static_cast<size_t>(3 * sections)) state.SkipWithError("images missing");
  }
  state.counters["images"] = 3.0 * sections;
}

// The same without the master image, so that only the text and the tables count.
void LoadTablesOnly(benchmark::State& state) {
  TBenchSkin skin(state);
  const TacSkinSource& source = skin.Source;
  TacSkinText skinText;
  skinText.LoadFromText(skin.Text);
  for (auto _ : state) {
    TacSkinTables tables;
    TacSkinLoader loader(skinText, source, TacSkinLoadOptions{}, TacSkinServices::Platform(), nullptr);
    loader.LoadAllGeneralData(tables);
    tables.InitConstantIndexes();
    benchmark::DoNotOptimize(tables.Sections.data());
  }
}

}  // namespace

BENCHMARK(Load)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadTablesOnly)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
