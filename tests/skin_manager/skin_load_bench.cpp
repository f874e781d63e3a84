// The cost of loading a packed skin through the skin manager (a 512 x 512
// master, 100 sections; the manager's broadcast sends nothing yet) against
// inflating the same container's entries, in one run. Run by scripts/bench-skin.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "../bench/BestOf.h"
#include "../bench/skin/SkinBenchSkin.h"
#include "../skin_data/SkinFixture.h"
#include "classlib/ui/Forms.h"
#include "skin/core/sSkinManager.h"

namespace {

}  // namespace

int main() {
  Application->Initialize();
  skinfixture::TTempDir dir("bench");
  skinfixture::WriteFile(dir.Path / "Bench" / "Options.dat", skinbench::SkinText(100));
  skinfixture::WriteFile(dir.Path / "Bench" / "MASTER.BMP", skinbench::MasterBmp(512));
  const AnsiString folder = dir.Path.string(), pack = folder + "\\Bench.asz";
  PackDir(folder + "\\Bench\\", pack);
  std::filesystem::remove_all(dir.Path / "Bench");

  TMemoryStream container;
  container.LoadFromFile(pack);
  const double inflate = Best(20, [&] {
    auto* c = new TacSkinConvertor();
    c->PackStream = new TMemoryStream();
    container.SetPosition(0);
    c->PackStream->CopyFrom(&container, 0);
    ExtractPackedData(c);
    delete c;
  });

  auto* manager = Create<TsSkinManager>(nullptr);
  manager->SetSkinDirectory(folder);
  manager->SetSkinName("Bench");
  if (manager->Masks.size() < 300 || !manager->PackedSource) {
    std::printf("the skin did not load (%zu images)\n", manager->Masks.size());
    return 1;
  }
  const double load = Best(20, [&] { manager->SetSkinName("Bench"); });
  manager->Free();

  const double ratio = load / inflate;
  std::printf("packed skin, 512 x 512 master, 100 sections (%lld bytes)\n", static_cast<long long>(container.Size()));
  std::printf("  inflating its entries    %8.3f ms\n", inflate);
  std::printf("  loading it by SkinName   %8.3f ms\n", load);
  std::printf("  ratio                    %8.2f (at most 6)\n", ratio);
  return ratio <= 6 ? 0 : 2;
}
