// The figures of a 100-line memo's skinned scroll bars, in one run: 200
// SB_LINEDOWN, each followed by the repaint, with the memo's subclass and
// without it; 500 WM_NCPAINT of the memo with skinned bars and with its
// native ones. Rounds alternate; the best round counts.
//
//   scripts/wine-exec build/win64/bin/subclass_bench.exe [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../../skin_forms/SkinFormsSupport.h"
#include "skin/subclass/acSBUtils.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace skinforms;

constexpr int kLines = 200, kNCPaints = 500;

double Milliseconds(Clock::time_point Start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - Start).count();
}

// 200 line-downs from the top, each repainted at once; ms for all.
double LineDowns(HWND Memo) {
  SendMessageW(Memo, WM_VSCROLL, SB_TOP, 0);
  UpdateWindow(Memo);
  const auto start = Clock::now();
  for (int i = 0; i < kLines; ++i) {
    SendMessageW(Memo, WM_VSCROLL, SB_LINEDOWN, 0);
    UpdateWindow(Memo);
  }
  GdiFlush();
  return Milliseconds(start);
}

double NCPaints(HWND Memo) {
  const auto start = Clock::now();
  for (int i = 0; i < kNCPaints; ++i) SendMessageW(Memo, WM_NCPAINT, 1, 0);
  GdiFlush();
  return Milliseconds(start);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  Application->Initialize();
  TFixtureSkins skins;
  auto* manager = Create<TsSkinManager>(nullptr);
  manager->SetSkinDirectory(skintest::Ansi(skins.Path()));
  manager->SetSkinName("Fixture");
  HWND memo = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE, 40, 40,
                              300, 240, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  std::wstring text;
  for (int i = 0; i < 100; ++i) text += L"Line " + std::to_wstring(i + 1) + L" of the memo\r\n";
  SetWindowTextW(memo, text.c_str());
  TacSkinParams params;
  params.SkinSection = "EDIT";

  double linesSkinned = 1e300, linesNative = 1e300, ncSkinned = 1e300, ncNative = 1e300;
  for (int r = 0; r < rounds; ++r) {
    TacMainWnd* obj = acCreateWnd<TacScrollWnd>(memo, nullptr, manager, params);
    testsupport::PumpMessages(20);
    linesSkinned = std::min(linesSkinned, LineDowns(memo));
    ncSkinned = std::min(ncSkinned, NCPaints(memo));
    UninitializeACWnd(memo, true, true, obj);
    testsupport::PumpMessages(20);
    linesNative = std::min(linesNative, LineDowns(memo));
    ncNative = std::min(ncNative, NCPaints(memo));
  }
  const double lineRatio = linesSkinned / linesNative, ncRatio = ncSkinned / ncNative;
  std::printf("200 SB_LINEDOWN with repaint, 100-line memo: skinned %.2f ms, native %.2f ms (%.2f x)\n",
              linesSkinned, linesNative, lineRatio);
  std::printf("500 WM_NCPAINT of the memo: skinned %.2f ms, native %.2f ms (%.2f x)\n", ncSkinned, ncNative,
              ncRatio);
  DestroyWindow(memo);
  manager->Free();
  return lineRatio <= 2.0 && ncRatio <= 3.0 ? 0 : 1;
}
