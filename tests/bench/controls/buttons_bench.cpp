// One figure of a skinned bit button's state fade, in one run: a fade step of
// a 41 x 41 bit button as the button runs it (the blend of its old look with
// its new cache and the copy to its window, with the window's DC taken and
// given back) against one BitBlt of a 41 x 41 32-bit bitmap to the same
// window, the DC taken the same way. Each round times a batch of each; the
// medians of the rounds and their ratio are printed. Fails when a step costs
// more than three copies.
//
//   scripts/wine-exec build/win64/bin/buttons_bench.exe [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "../../skin_controls/ButtonsFixture.h"
#include "classlib/ui/PaintScope.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kFrames = 200;  // per round

double StepsMicroseconds(TsFadeTimer* Timer) {
  const auto start = Clock::now();
  for (int i = 0; i < kFrames; ++i) {
    Timer->FadeStep = 1 + i % (Timer->FadeSteps > 1 ? Timer->FadeSteps - 1 : 1);
    Timer->Change();
  }
  GdiFlush();
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kFrames;
}

double BitBltMicroseconds(HWND Wnd, TacBitmap* Bmp) {
  HDC src = Bmp->Canvas()->Handle();
  const auto start = Clock::now();
  for (int i = 0; i < kFrames; ++i) {
    TWindowDC dc(Wnd);
    BitBlt(dc.Handle(), 0, 0, 41, 41, src, 0, 0, SRCCOPY);
  }
  GdiFlush();
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kFrames;
}

double Median(std::vector<double> V) {
  std::sort(V.begin(), V.end());
  return V[V.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  Application->Initialize();
  buttonstest::TButtonSkins skins;
  auto* manager = Create<TsSkinManager>(nullptr);
  manager->SetSkinDirectory(skintest::Ansi(skins.Path()));
  manager->SetSkinName("Buttons");
  skinforms::TTestForm form = skinforms::NewSkinnedForm(bsSingle, TBorderIcons{biSystemMenu}, false, 40, 40);
  auto* button = Create<TsBitBtn>(form.Form);
  button->SetParent(form.Form);
  button->SetBounds(20, 20, 41, 41);
  std::unique_ptr<TBitmap> glyph(buttonstest::Strip(32, 32, {0x2040C0}));
  button->SetGlyph(glyph.get());
  testsupport::PumpMessages(50);
  button->Perform(CM_MOUSEENTER, 0, 0);
  TsFadeTimer* timer = button->FadeTimer();
  if (!timer) {
    std::printf("the button started no fade\n");
    return 2;
  }
  timer->SetEnabled(false);  // the steps are driven here
  auto bmp = CreateBmp32(41, 41);
  std::vector<double> steps, blits;
  for (int r = 0; r < rounds; ++r) {
    steps.push_back(StepsMicroseconds(timer));
    blits.push_back(BitBltMicroseconds(button->WindowHandle(), bmp.get()));
  }
  const double step = Median(steps), blit = Median(blits), ratio = step / blit;
  std::printf("fade step of a 41 x 41 bit button: %.2f us; BitBlt of 41 x 41 32-bit to its window: %.2f us "
              "(%.2f x, limit 3)\n",
              step, blit, ratio);
  form.Form->Free();
  manager->Free();
  return ratio <= 3.0 ? 0 : 1;
}
