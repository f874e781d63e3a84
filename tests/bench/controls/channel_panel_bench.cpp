// The repaint of one channel panel of the monitor (329 x 91, three memos in
// the "BAR" section and two bit buttons) as RedrawWindow with its children
// paints it, in one run: from its caches, with every cache marked changed
// (as after a skin repaint), and with no skin at all. Each round times
// kRepaints repaints of each kind; the medians of the rounds are reported
// with the medians of each round's ratios to its plain repaint.
//
//   scripts/wine-exec build/win64/bin/channel_panel_bench.exe [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "../../skin_controls/ControlsFixture.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPanel.h"
#include "skin/core/Smessages.h"
#include "skin/core/sVclUtils.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace controlsfixture;

constexpr int kRepaints = 200;
constexpr UINT kFlags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;

// kRepaints repaints of the panel (each after Before); ms per repaint.
template <class Fn>
double Repaints(HWND Wnd, Fn Before) {
  double total = 0;
  for (int i = 0; i < kRepaints; ++i) {
    Before();
    const auto start = Clock::now();
    RedrawWindow(Wnd, nullptr, nullptr, kFlags);
    GdiFlush();
    total += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  }
  return total / kRepaints;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

TsMemo* AddMemo(TsPanel* Panel, int L, int T, int W, int H, int FontHeight, const char* Text) {
  auto* m = Create<TsMemo>(Panel->Owner());
  m->SetBounds(L, T, W, H);
  m->SetAlignment(taRightJustify);
  m->SetColor(static_cast<TColor>(0xB2B2B2));
  m->Font()->SetName("Arial");
  m->Font()->SetHeight(FontHeight);
  m->SetReadOnly(true);
  m->SetWordWrap(false);
  m->SkinData()->SetSkinSection("BAR");
  m->SetText(Text);
  m->SetParent(Panel);
  return m;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  Application->Initialize();
  TControlsSkins skins;
  // The gradient "PANEL": the panel keeps a cache of its own, as it does
  // under the stored skins.
  TsSkinManager* manager = NewManager(skins, svGradient);
  TForm* form = NewForm(360, 120);
  auto* panel = Create<TsPanel>(form);
  panel->SetBounds(8, 8, 329, 91);
  panel->SkinData()->SetSkinSection("PANEL");
  panel->SetParent(form);
  for (int i = 0; i < 2; ++i) {
    auto* b = Create<TsBitBtn>(form);
    b->SetBounds(280, 3 + 42 * i, 41, 41);
    b->SkinData()->SetSkinSection("PANEL");
    b->SetParent(panel);
  }
  AddMemo(panel, 72, 32, 201, 49, -35, "12,50");
  AddMemo(panel, 8, 32, 57, 49, -35, "1:");
  AddMemo(panel, 8, 2, 265, 30, -21, "Channel 1");
  Application->ProcessMessages();
  const HWND wnd = panel->WindowHandle();
  auto markAll = [panel, manager] {
    SendMessageW(panel->WindowHandle(), SM_ALPHACMD, AlphaCmdParam(ACMD_FLAG_BG_CHANGED), 0);
    for (TWinControl* c : panel->WinControls())
      SendMessageW(c->WindowHandle(), SM_ALPHACMD, AlphaCmdParam(ACMD_FLAG_BG_CHANGED), 0);
  };

  // Every memo must paint (none waiting for its parent), or the figures lie.
  for (TWinControl* c : panel->WinControls())
    if (auto* m = dynamic_cast<TsMemo*>(c); m && InUpdating(m->SkinData()))
      std::printf("warning: %s waits for its parent\n", m->Text().c_str());

  // Rounds alternate between the skin and none (switched outside the timed
  // part), so that a change of the machine's load falls on both alike.
  std::vector<double> cached, rebuilt, plain, cachedRatio, rebuiltRatio;
  for (int r = 0; r < rounds; ++r) {
    if (r > 0) {
      manager->SetActive(true);
      Application->ProcessMessages();
    }
    const double c = Repaints(wnd, [] {});
    const double b = Repaints(wnd, markAll);
    manager->SetActive(false);
    Application->ProcessMessages();
    const double p = Repaints(wnd, [] {});
    cached.push_back(c);
    rebuilt.push_back(b);
    plain.push_back(p);
    cachedRatio.push_back(c / p);
    rebuiltRatio.push_back(b / p);
  }

  std::printf("channel panel repaint, median of %d rounds of %d (ms per repaint)\n", rounds, kRepaints);
  std::printf("  from the caches     %8.4f  %5.2f x plain (limit 1.5)\n", Median(cached), Median(cachedRatio));
  std::printf("  caches rebuilt      %8.4f  %5.2f x plain (limit 8)\n", Median(rebuilt), Median(rebuiltRatio));
  std::printf("  no skin             %8.4f\n", Median(plain));
  form->Free();
  manager->Free();
  return 0;
}
