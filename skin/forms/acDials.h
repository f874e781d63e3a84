// The automatic skinning of the windows the program does not make itself as
// forms (system dialogs, message boxes, pop-up menu windows): the default skin
// manager's window-creation hook of the thread and the objects that skin such
// windows.
//
// For now nothing is skinned this way: the hook only hands every event on and
// the list of skinned windows stays empty.
#pragma once

#include "classlib/core/Classes.h"
#include "classlib/ui/WinApi.h"

// The object that skins one window automatically (an entry of acSupportedList).
class TacSkinnedWindow : public TObject {
  DK_CLASS(TacSkinnedWindow, TObject)
 public:
  TacSkinnedWindow() = default;
  // The window it skins (nullptr once it is gone).
  virtual HWND WindowHandle() const { return nullptr; }
};

// The handle of the window-creation hook (nullptr while none is installed).
extern HHOOK HookCallback;
// The TacSkinnedWindow objects, one per automatically skinned window (owned;
// nullptr until the default manager installs its hook).
extern TList* acSupportedList;

// The screen position of the next skinned system dialog, -1 for the
// system's placement (set by the message functions while their box is up).
extern Integer DlgLeft;
extern Integer DlgTop;

// The window-creation hook of the thread.
LRESULT CALLBACK SkinHookCBT(int Code, WPARAM WParam, LPARAM LParam);
// Frees the objects of the skinned pop-up menu windows.
void ClearMnuArray();
