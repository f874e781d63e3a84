// 50 message boxes shown and closed with the skin on (the hook skins each
// one) against the same 50 with the hook removed, in one run. A box is
// closed as soon as its modal loop runs idle (WM_ENTERIDLE to its owner),
// that is after it has been painted. Rounds alternate; the best counts.
//
//   scripts/wine-exec build/win64/bin/dialogs_bench.exe [rounds]
#include <cstdio>
#include <cstdlib>

#include "../BestOf.h"
#include "../../skin_forms/SkinFormsSupport.h"
#include "skin/forms/acDials.h"

namespace {

constexpr int kBoxes = 50;
HHOOK idleHook = nullptr;
int closed = 0;

// Presses the default button of a box whose loop went idle.
LRESULT CALLBACK CloseWhenIdle(int Code, WPARAM W, LPARAM L) {
  const auto* msg = reinterpret_cast<const CWPSTRUCT*>(L);
  if (Code == HC_ACTION && msg->message == WM_ENTERIDLE && msg->wParam == MSGF_DIALOGBOX) {
    HWND box = reinterpret_cast<HWND>(msg->lParam);
    if (IsWindowVisible(box)) {
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      ++closed;
    }
  }
  return CallNextHookEx(idleHook, Code, W, L);
}

void Boxes() {
  for (int i = 0; i < kBoxes; ++i) Application->MessageBox("Message", "Box", MB_OK);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  Application->Initialize();
  skinforms::TFixtureSkins skins;
  auto* manager = Create<TsSkinManager>(nullptr);
  manager->SetSkinDirectory(skintest::Ansi(skins.Path()));
  manager->SetSkinName("Fixture");
  idleHook = SetWindowsHookExW(WH_CALLWNDPROC, CloseWhenIdle, nullptr, GetCurrentThreadId());
  double skinned = 1e9, native = 1e9;
  for (int r = 0; r < rounds; ++r) {
    manager->InstallHook();
    skinned = std::min(skinned, Best(1, Boxes));
    manager->UnInstallHook();
    native = std::min(native, Best(1, Boxes));
  }
  UnhookWindowsHookEx(idleHook);
  std::printf("%d message boxes: skinned %.1f ms, hook removed %.1f ms, ratio %.2f (bar 2.0); boxes closed %d\n",
              kBoxes, skinned, native, skinned / native, closed);
  manager->Free();
  return skinned / native <= 2.0 ? 0 : 1;
}
