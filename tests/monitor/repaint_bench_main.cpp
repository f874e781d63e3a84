// The cost of a skin repaint broadcast to the monitor's nine forms, all shown,
// against nine single forced repaints of the same forms, in one run. Rounds
// alternate; the best round counts.
//
//   scripts/wine-exec build/win64/bin/monitor_repaint_bench.exe [rounds]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "app/CalibrDialog.h"
#include "app/ChannelPanelSetup.h"
#include "app/GnrlSetDlg.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/XBV18panel.h"
#include "app/msgForm.h"
#include "app/setPeriod.h"
#include "app/skinSelectDlgU.h"
#include "skin/core/Smessages.h"
#include "skin/forms/sSkinProvider.h"
#include "tests/bench/BestOf.h"

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  Application->Initialize();
  CreateMonitorForms();
  TsSkinManager* manager = Form1->sSkinManager1;
  manager->SetSkinName("GrayPlastic (internal)");
  std::vector<TCustomForm*> forms{Form1,         SetupDLG,          CalibrDlg,   SetingsDlg, setPeriodDlg,
                                  skinSelectDlg, PanelSettingsForm, MessageForm, XBV18};
  int left = 10;
  for (TCustomForm* f : forms) {
    f->SetBounds(left, left, std::min(f->Width(), 500), std::min(f->Height(), 400));
    f->Show();
    left += 20;
  }
  Application->ProcessMessages();
  // Each form's provider: its own or the one the window-creation hook gave it.
  std::vector<TsSkinProvider*> providers;
  for (TCustomForm* f : forms) {
    auto* p = reinterpret_cast<TsSkinProvider*>(
        SendMessageW(f->WindowHandle(), SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_PROVIDER), 0));
    if (!p) {
      std::printf("%s has no skin provider\n", f->Name().c_str());
      return 1;
    }
    providers.push_back(p);
  }
  double broadcast = 1e300, singles = 1e300;
  for (int r = 0; r < rounds; ++r) {
    broadcast = std::min(broadcast, Best(1, [&] {
                           manager->RepaintForms(false);
                           Application->ProcessMessages();
                         }));
    singles = std::min(singles, Best(1, [&] {
                         for (size_t i = 0; i < forms.size(); ++i) {
                           providers[i]->SkinData()->BGChanged = true;
                           RedrawWindow(forms[i]->WindowHandle(), nullptr, nullptr,
                                        RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                         }
                         Application->ProcessMessages();
                       }));
  }
  const double ratio = broadcast / singles;
  std::printf("repaint broadcast to the monitor's nine shown forms: %.2f ms; nine forced single repaints: %.2f ms "
              "(%.2f x, bar 1.25)\n",
              broadcast, singles, ratio);
  for (TCustomForm* f : forms) f->Hide();
  return ratio <= 1.25 ? 0 : 2;
}
