// 50 message boxes shown and closed with the skin on (the hook skins each
// one) against the same 50 with the hook removed, in one run. A box is
// closed by a timer set when it is activated, which fires after its paint
// messages; it is painted through before OK is pressed. Rounds alternate;
// the best counts.
//
//   scripts/wine-exec build/win64/bin/dialogs_bench.exe [rounds]
#include <cstdio>
#include <cstdlib>

#include "../BestOf.h"
#include "../../skin_forms/SkinFormsSupport.h"
#include "skin/forms/acDials.h"

namespace {

constexpr int kBoxes = 50;
HHOOK activateHook = nullptr;
HWND shown = nullptr;
int closed = 0;

// Runs once the box's loop has nothing but timers left (paint comes first):
// paints what is still pending and presses OK.
void CALLBACK CloseBox(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  if (!shown || !IsWindow(shown)) return;
  RedrawWindow(shown, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  PostMessageW(shown, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  shown = nullptr;
  ++closed;
}

LRESULT CALLBACK OnActivate(int Code, WPARAM W, LPARAM L) {
  if (Code == HCBT_ACTIVATE) {
    wchar_t cls[16] = {};
    GetClassNameW(reinterpret_cast<HWND>(W), cls, 16);
    if (wcscmp(cls, L"#32770") == 0 && !shown) {
      shown = reinterpret_cast<HWND>(W);
      SetTimer(nullptr, 0, 0, CloseBox);
    }
  }
  return CallNextHookEx(activateHook, Code, W, L);
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
  activateHook = SetWindowsHookExW(WH_CBT, OnActivate, nullptr, GetCurrentThreadId());
  double skinned = 1e9, native = 1e9;
  for (int r = 0; r < rounds; ++r) {
    manager->InstallHook();
    skinned = std::min(skinned, Best(1, Boxes));
    manager->UnInstallHook();
    native = std::min(native, Best(1, Boxes));
  }
  UnhookWindowsHookEx(activateHook);
  std::printf("%d message boxes: skinned %.1f ms, hook removed %.1f ms, ratio %.2f (bar 2.0); boxes closed %d\n",
              kBoxes, skinned, native, skinned / native, closed);
  manager->Free();
  return skinned / native <= 2.0 ? 0 : 1;
}
