// The figures of a skinned form's frame, in one run, on one 640 x 480 form
// with a menu: 500 frame repaints (RedrawWindow RDW_FRAME | RDW_INVALIDATE |
// RDW_UPDATENOW) with an unchanged cache, the same with the cache marked
// changed before each, and the same window's native repaint with the skin
// removed; then a repaint broadcast of the skin to nine shown forms against
// nine single forced repaints. Rounds alternate; the best round counts.
//
//   scripts/wine-exec build/win64/bin/provider_bench.exe [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "../../skin_forms/SkinFormsSupport.h"
#include "skin/core/Smessages.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace skinforms;

constexpr int kRepaints = 500;

double Milliseconds(Clock::time_point Start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
}

// kRepaints frame repaints of the form (each after Before); ms per repaint.
template <class Fn>
double Repaints(HWND Wnd, Fn Before) {
  const auto start = Clock::now();
  for (int i = 0; i < kRepaints; ++i) {
    Before();
    RedrawWindow(Wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
  GdiFlush();
  return Milliseconds(start) / kRepaints;
}

TTestForm BenchForm(int Left, int Top, int W, int H) {
  TTestForm t = NewSkinnedForm(bsSizeable, TBorderIcons{biSystemMenu, biMinimize, biMaximize}, true, Left, Top);
  t.Form->SetBounds(Left, Top, W, H);
  Application->ProcessMessages();
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  Application->Initialize();
  TFixtureSkins skins;
  auto* manager = Create<TsSkinManager>(nullptr);
  manager->SetSkinDirectory(skintest::Ansi(skins.Path()));
  manager->SetSkinName("Fixture");
  TTestForm form = BenchForm(20, 20, 640, 480);
  // The nine shown forms: the big one and eight more; the broadcast reaches
  // exactly these, so the singles repaint the same nine.
  std::vector<TTestForm> nine{form};
  for (int i = 0; i < 8; ++i) nine.push_back(BenchForm(30 + 20 * i, 30 + 20 * i, 400, 300));
  Application->ProcessMessages();
  TsScrollWndData* data = form.Provider->SkinData();

  double cached = 1e300, rebuilt = 1e300, native = 1e300, broadcast = 1e300, singles = 1e300;
  for (int r = 0; r < rounds; ++r) {
    cached = std::min(cached, Repaints(form.Wnd(), [] {}));
    rebuilt = std::min(rebuilt, Repaints(form.Wnd(), [data] { data->BGChanged = true; }));
    auto start = Clock::now();
    manager->RepaintForms(false);
    Application->ProcessMessages();
    broadcast = std::min(broadcast, Milliseconds(start));
    start = Clock::now();
    for (TTestForm& t : nine) {
      t.Provider->SkinData()->BGChanged = true;
      RedrawWindow(t.Wnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    Application->ProcessMessages();
    singles = std::min(singles, Milliseconds(start));
  }
  SendMessageW(form.Wnd(), SM_ALPHACMD, AlphaCmdParam(ACMD_SKIN_UNLOADED), reinterpret_cast<LPARAM>(manager));
  Application->ProcessMessages();
  for (int r = 0; r < rounds; ++r) native = std::min(native, Repaints(form.Wnd(), [] {}));

  std::printf("frame repaint of a 640 x 480 form with a menu, cache unchanged: %.3f ms (%.2f x native)\n", cached,
              cached / native);
  std::printf("the same with the cache rebuilt each time: %.3f ms (%.2f x native)\n", rebuilt, rebuilt / native);
  std::printf("the native frame repaint without the skin: %.3f ms\n", native);
  std::printf("repaint broadcast to nine shown forms: %.2f ms; nine forced single repaints: %.2f ms (%.2f x)\n",
              broadcast, singles, broadcast / singles);
  const bool ok = cached <= 1.0 * native && rebuilt <= 5.0 * native && broadcast <= 1.25 * singles;
  for (TTestForm& t : nine) t.Form->Free();
  manager->Free();
  return ok ? 0 : 1;
}
