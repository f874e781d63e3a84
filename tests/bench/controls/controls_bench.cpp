// The figures of a skinned list box of 200 names, in one run: each step is
// one WM_VSCROLL SB_LINEDOWN followed by the repaint, from the top to the
// bottom; the same list with the skin and with the skin manager switched off
// (the class library's look). Rounds alternate; the median step of each kind
// counts, and their ratio.
//
//   scripts/wine-exec build/win64/bin/controls_bench.exe [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "../../skin_controls/TextControlsSkin.h"
#include "skin/controls/sListBox.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kNames = 200;

// The time of every line-down step from the top, in microseconds.
void Steps(TsListBox* List, std::vector<double>& Out) {
  HWND wnd = List->WindowHandle();
  SendMessageW(wnd, WM_VSCROLL, SB_TOP, 0);
  UpdateWindow(wnd);
  for (int i = 0; i < kNames; ++i) {
    const Integer top = List->TopIndex();
    const auto start = Clock::now();
    SendMessageW(wnd, WM_VSCROLL, SB_LINEDOWN, 0);
    UpdateWindow(wnd);
    GdiFlush();
    Out.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    if (List->TopIndex() == top) break;  // the bottom
  }
}

double Median(std::vector<double> V) {
  if (V.empty()) return 0;
  std::sort(V.begin(), V.end());
  return V[V.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  Application->Initialize();
  textctl::TSkins skins;
  auto* manager = Create<TsSkinManager>(nullptr);
  manager->SetSkinDirectory(skintest::Ansi(skins.Path()));
  manager->SetSkinName("Controls");
  skinforms::TTestForm form = skinforms::NewSkinnedForm(bsSingle, TBorderIcons{biSystemMenu}, false, 40, 40);
  form.Form->SetBounds(40, 40, 320, 320);
  auto* list = Create<TsListBox>(form.Form);
  list->SetBounds(10, 10, 240, 200);
  list->SetParent(form.Form);
  list->SetItemHeight(16);
  for (int i = 0; i < kNames; ++i) list->Items()->Add("Skin number " + IntToStr(i + 1));
  list->SetItemIndex(3);
  testsupport::PumpMessages(50);

  std::vector<double> skinned, plain;
  for (int r = 0; r < rounds; ++r) {
    if (!manager->Active()) manager->SetActive(true);
    testsupport::PumpMessages(30);
    Steps(list, skinned);
    manager->SetActive(false);
    testsupport::PumpMessages(30);
    Steps(list, plain);
  }
  const double s = Median(skinned), p = Median(plain), ratio = p > 0 ? s / p : 0;
  std::printf("list box of %d names, one SB_LINEDOWN with its repaint: skinned median %.1f us (%zu steps), "
              "unskinned median %.1f us (%zu steps), %.2f x\n",
              kNames, s, skinned.size(), p, plain.size(), ratio);
  form.Form->Free();
  manager->Free();
  return ratio <= 3.0 ? 0 : 1;
}
