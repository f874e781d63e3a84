// The cost of bringing each stored skin of the main form into use through
// SkinName (the load from the form's data and the broadcast to the program's
// forms) against inflating that skin's data alone, in one run; and the size
// of each skin's data.
//
//   scripts/wine-exec build/win64/bin/monitor_skins_bench.exe [runs]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "app/CalibrDialog.h"
#include "app/ChannelPanelSetup.h"
#include "app/GnrlSetDlg.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/XBV18panel.h"
#include "app/msgForm.h"
#include "app/setPeriod.h"
#include "app/skinSelectDlgU.h"
#include "skin/core/acSkinPack.h"
#include "tests/bench/BestOf.h"

namespace {

void Inflate(TMemoryStream* data) {
  auto* c = new TacSkinConvertor();
  c->PackStream = new TMemoryStream();
  data->SetPosition(0);
  c->PackStream->CopyFrom(data, 0);
  ExtractPackedData(c);
  delete c;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  Application->Initialize();
  CreateMonitorForms();
  // The forms have their windows, as in the running program once each was
  // shown: the broadcast reaches them through their window procedures.
  for (TCustomForm* f : std::initializer_list<TCustomForm*>{Form1, SetupDLG, CalibrDlg, SetingsDlg, setPeriodDlg,
                                                            skinSelectDlg, PanelSettingsForm, MessageForm, XBV18})
    f->HandleNeeded();
  TsSkinManager* manager = Form1->sSkinManager1;
  TsStoredSkins* stored = manager->InternalSkins();
  constexpr long long kLargestStored = 98458;
  constexpr double kBar = 8;
  std::printf("%-24s %8s %12s %12s %7s\n", "stored skin", "bytes", "inflate, ms", "load, ms", "ratio");
  bool within = true;
  for (int i = 0; i < stored->Count(); ++i) {
    TsStoredSkin* item = stored->Items(i);
    const double inflate = Best(runs, [&] { Inflate(item->DataStream()); });
    const double load = Best(runs, [&] { manager->SetSkinName(item->Name()); });
    if (manager->SkinName() != item->Name() || manager->Sections.empty()) {
      std::printf("%s did not load\n", item->Name().c_str());
      return 1;
    }
    const long long size = item->DataStream()->Size();
    const double ratio = load / inflate;
    within = within && ratio <= kBar && size <= kLargestStored;
    std::printf("%-24s %8lld %12.3f %12.3f %7.2f\n", item->Name().c_str(), size, inflate, load, ratio);
  }
  std::printf("bars: ratio at most %.0f, data at most %lld bytes: %s\n", kBar, kLargestStored,
              within ? "held" : "NOT held");
  return within ? 0 : 2;
}
