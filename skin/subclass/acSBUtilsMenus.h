// The subclass of a pop-up menu window ("#32768"): it paints the window's
// background and border ring from the skin, makes the window layered with
// the skin's menu transparency, and tells the menu painter whether the
// window's border and region are already set. The window-creation hook
// makes one for every pop-up menu window and keeps it in MnuArray.
#pragma once

#include "skin/subclass/acSBUtils.h"

class TacMnuWnd : public TacScrollWnd {
  DK_CLASS(TacMnuWnd, TacScrollWnd)
 public:
  TacMnuWnd() = default;
  void AfterCreation() override;
  void acWndProc(TMessage& Message) override;
  // The window-sized "MAINMENU" image, rebuilt when the background changed.
  void PrepareCache();

  Byte Shown = 0;      // set after the first non-client paint
  Integer RgnSet = 0;  // 1 after the painter gave the window its border and region

 private:
  void HandleMenuDestroy(TMessage& Message);
  // The skinned 3-pixel ring over whatever the system painted there.
  void PaintBorderRing();
  void ApplyTransparency();
};

// Makes the subclass of a pop-up menu window (the hook's menu rule).
TacMnuWnd* acMakeMenuWnd(HWND Wnd, TsSkinManager* Manager);
// A pop-up window's subclass is alive (attached and not yet through with its window).
bool acMenuWndAlive(TacMainWnd* Obj);
