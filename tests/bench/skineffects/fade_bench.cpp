// One figure of the state fading, in one run: a frame of TsFadeTimer (the
// copy of the old look, the blend with the new one and the drawing onto the
// window) of a 100 x 30 window button, against one BitBlt of a 100 x 30
// 32-bit bitmap to the same window, and their ratio. The BitBlt is timed
// twice: into a window DC held already, and with the window's DC taken and
// given back around it as a frame must (under Wine the BitBlt itself is a
// copy into the window's memory, taking the DC a round trip to the server).
// Rounds alternate, so that all see the same machine; the best round counts.
//
//   scripts/wine-exec build/win64/bin/fade_bench.exe [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "../../skin_effects/EffectsSupport.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace skinfx;

constexpr int kFrames = 100;  // per round

double FramesMicroseconds(TsFadeTimer* Timer) {
  auto start = Clock::now();
  for (int i = 0; i < kFrames; ++i) {
    Timer->FadeStep = 1 + i % acFadeSteps;
    Timer->Change();
  }
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kFrames;
}

double BitBltMicroseconds(HWND Wnd, TacBitmap* Bmp) {
  TWindowDC dc(Wnd);
  HDC src = Bmp->Canvas()->Handle();
  auto start = Clock::now();
  for (int i = 0; i < kFrames; ++i) BitBlt(dc.Handle(), 0, 0, 100, 30, src, 0, 0, SRCCOPY);
  GdiFlush();
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kFrames;
}

double WindowBitBltMicroseconds(HWND Wnd, TacBitmap* Bmp) {
  HDC src = Bmp->Canvas()->Handle();
  auto start = Clock::now();
  for (int i = 0; i < kFrames; ++i) {
    TWindowDC dc(Wnd);
    BitBlt(dc.Handle(), 0, 0, 100, 30, src, 0, 0, SRCCOPY);
  }
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kFrames;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  Application->Initialize();
  skintest::TSkinDir dir;
  TsSkinManager* manager = skintest::LoadFolderSkin(dir, "bench", SkinTextOf({{"SOLID", 0x0000FF, 0}}));
  TForm* form = NewForm("FadeBench");
  auto* button = NewControl<TFadeButton>(form, 9, "SOLID", TRect{10, 10, 110, 40});
  Application->ProcessMessages();
  button->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_BUILD_CACHE), 0);
  button->IsHot = true;
  DoChangePaint(button->FadeTimer, button->SkinData(), false, true, fdUp);
  TsFadeTimer* timer = button->FadeTimer;
  if (!timer) {
    std::printf("no fade started\n");
    return 2;
  }
  timer->SetInterval(100000000);  // frames only as the bench draws them
  std::unique_ptr<TacBitmap> picture = CreateBmp32(100, 30);
  double frame = 1e300, blit = 1e300, windowBlit = 1e300;
  for (int i = 0; i < rounds; ++i) {
    blit = std::min(blit, BitBltMicroseconds(button->WindowHandle(), picture.get()));
    windowBlit = std::min(windowBlit, WindowBitBltMicroseconds(button->WindowHandle(), picture.get()));
    frame = std::min(frame, FramesMicroseconds(timer));
  }
  std::printf("one TsFadeTimer frame (copy, blend, draw) of a 100 x 30 control: %.2f us\n", frame);
  std::printf("one BitBlt of a 100 x 30 32-bit bitmap into the window's DC held: %.2f us (ratio %.2f)\n", blit,
              frame / blit);
  std::printf("the same with the window's DC taken and given back: %.2f us (ratio %.2f, at most 4 wanted)\n",
              windowBlit, frame / windowBlit);
  form->Free();
  manager->Free();
  return frame <= 4 * windowBlit ? 0 : 1;
}
