// Two figures of the form animations, in one run: the whole show animation
// of a 640 x 480 form at Time 120 (ten frames and the last: at most 1.15 x
// 11 x 12 ms wanted), and one frame of the hide timer fading a 640 x 480
// picture (at most half of its 12 ms interval wanted). The best round counts.
//
//   scripts/wine-exec build/win64/bin/anim_bench.exe [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "../../skin_forms_anim/FormAnimSupport.h"
#include "skin/forms/sVclUtilsAnimWindows.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kHideFrames = 50;  // per round

double Ms(Clock::time_point Start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
}

double ShowMs(TsSkinProvider* Provider, Word Time) {
  const auto start = Clock::now();
  AnimShowForm(Provider, Time, 255, atFading);
  return Ms(start);
}

double HideFrameMs(HWND Over) {
  const TRect r = WindowRectOf(Over);
  std::unique_ptr<TCustomForm> window = NewAnimationForm(nullptr, r, WS_EX_NOACTIVATE);
  std::unique_ptr<TacBitmap> image = CreateBmp32(640, 480);
  StartHideAnimation(window.release(), std::move(image), 12 * (kHideFrames + 10), nullptr, atFading, 255);
  TacHideTimer* t = acHideTimer;
  t->SetEnabled(false);  // frames only as the bench runs them
  const auto start = Clock::now();
  for (int i = 0; i < kHideFrames; ++i) t->OnTimerProc(t);
  const double ms = Ms(start) / kHideFrames;
  t->FinishNow();
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  Application->Initialize();
  TForm* form = skincore::NewForm("AnimBench");
  form->SetBounds(20, 20, 640, 480);
  auto* provider = Create<TsSkinProvider>(form);
  provider->SkinData()->CacheBmp = CreateBmp32(640, 480);
  Application->ProcessMessages();
  double show = 1e300, frame = 1e300, bare = 1e300;
  for (int i = 0; i < rounds; ++i) {
    show = std::min(show, ShowMs(provider, 120));
    bare = std::min(bare, ShowMs(provider, 0));
    frame = std::min(frame, HideFrameMs(form->Handle()));
  }
  const double showLimit = 1.15 * 11 * 12, frameLimit = 0.5 * 12;
  std::printf("AnimShowForm of a 640 x 480 form at Time 120: %.2f ms (limit %.2f, ratio %.3f)\n", show, showLimit,
              show / showLimit);
  std::printf("the same at Time 0 (picture, window, redraw: no frames): %.2f ms\n", bare);
  std::printf("one hide-timer frame of a 640 x 480 picture: %.3f ms (limit %.2f, ratio %.3f)\n", frame, frameLimit,
              frame / frameLimit);
  FreeAndNil(acHideTimer);
  form->Free();
  return show <= showLimit && frame <= frameLimit ? 0 : 1;
}
