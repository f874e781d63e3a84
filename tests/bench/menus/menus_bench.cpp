// A pop-up menu of 10 items shown 50 times, from TrackPopupMenu to the first
// WM_ENTERIDLE after all its items are drawn, skinned and with skinned
// pop-ups off, in one run; and the selection moved down through the 10
// items by keyboard input (WM_KEYDOWN to the open menu), each move timed to
// the menu's next idle. Rounds alternate; the best counts.
//
//   scripts/wine-exec build/win64/bin/menus_bench.exe [rounds]
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "../../skin_menus/MenuFixture.h"
#include "skin/forms/sSkinMenus.h"

namespace {

constexpr int kItems = 10, kShows = 50;
using TClock = std::chrono::steady_clock;

// The form's procedure in front of its own: counts drawn items, stops the
// clock at the menu's idle and drives the keyboard moves.
class TOwner : public TObject {
 public:
  TWndMethod Own;
  HMENU Menu = nullptr;
  int Drawn = 0;
  int KeysLeft = 0;             // moves still to make (0: only time the showing)
  bool SkinnedItems = false;    // items come through WM_DRAWITEM
  TClock::time_point Start, End;
  void Proc(TMessage& M) {
    if (M.Msg == WM_DRAWITEM) ++Drawn;
    if (M.Msg == WM_ENTERIDLE && M.WParam == MSGF_MENU) {
      HWND wnd = reinterpret_cast<HWND>(M.LParam);
      const bool painted = IsWindowVisible(wnd) && (!SkinnedItems || Drawn >= kItems);
      if (painted) {
        if (KeysLeft > 0) {
          if (KeysLeft == kItems) Start = TClock::now();
          --KeysLeft;
          PostMessageW(wnd, WM_KEYDOWN, VK_DOWN, 0);
        } else {
          End = TClock::now();
          EndMenu();
        }
      }
    }
    Own(M);
  }
};

double Ms(TClock::duration D) { return std::chrono::duration<double, std::milli>(D).count(); }

// The 50 showings (or, with Keys, one showing's ten moves), in milliseconds.
double Run(TOwner& Owner, TForm* Form, bool Keys) {
  double total = 0;
  const int shows = Keys ? 1 : kShows;
  for (int i = 0; i < shows; ++i) {
    Owner.Drawn = 0;
    Owner.KeysLeft = Keys ? kItems : 0;
    const TClock::time_point start = TClock::now();
    TrackPopupMenu(Owner.Menu, TPM_LEFTALIGN | TPM_TOPALIGN, 300, 200, 0, Form->Handle(), nullptr);
    total += Ms(Owner.End - (Keys ? Owner.Start : start));
    // The menu window goes with the loop's end; its clean-up runs from the queue.
    testsupport::PumpMessages(0);
  }
  return total;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  Application->Initialize();
  menutest::TMenuSkins skins;
  auto* manager = Create<TsSkinManager>(nullptr);
  manager->SetSkinDirectory(skintest::Ansi(skins.Path()));
  manager->SetSkinName("Menus");
  TForm* form = Create<TForm>(Application, 0);
  form->SetBounds(100, 100, 300, 200);
  Create<TsSkinProvider>(form);
  form->Show();
  auto* popup = Create<TPopupMenu>(form);
  for (int i = 0; i < kItems; ++i) {
    auto* item = Create<TMenuItem>(form);
    item->SetCaption("Item " + IntToStr(static_cast<Int64>(i)));
    popup->Items()->Add(item);
  }
  TOwner owner;
  owner.Own = form->WindowProc;
  form->WindowProc = TWndMethod(&owner, &TOwner::Proc);
  owner.Menu = popup->Handle();
  testsupport::PumpMessages(100);

  double showSkinned = 1e9, showPlain = 1e9, keysSkinned = 1e9, keysPlain = 1e9;
  for (int r = 0; r < rounds; ++r) {
    manager->SetSkinnedPopups(true);
    manager->Menus()->HookPopupMenu(popup, true);
    owner.SkinnedItems = true;
    showSkinned = std::min(showSkinned, Run(owner, form, false));
    keysSkinned = std::min(keysSkinned, Run(owner, form, true));
    manager->Menus()->HookPopupMenu(popup, false);
    manager->SetSkinnedPopups(false);
    owner.SkinnedItems = false;
    showPlain = std::min(showPlain, Run(owner, form, false));
    keysPlain = std::min(keysPlain, Run(owner, form, true));
  }
  form->WindowProc = owner.Own;
  const double showRatio = showSkinned / showPlain, keysRatio = keysSkinned / keysPlain;
  std::printf("%d showings of a %d-item pop-up: skinned %.1f ms, skinned pop-ups off %.1f ms, ratio %.2f (bar 2.5)\n",
              kShows, kItems, showSkinned, showPlain, showRatio);
  std::printf("selection moved down %d items: skinned %.2f ms, plain %.2f ms, ratio %.2f (bar 2.0)\n", kItems,
              keysSkinned, keysPlain, keysRatio);
  std::printf("backgrounds prepared %d\n", acMenuBGPrepared);
  form->Free();
  manager->Free();
  return showRatio <= 2.5 && keysRatio <= 2.0 ? 0 : 1;
}
