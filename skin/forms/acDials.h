// The automatic skinning of the windows the program does not skin through a
// provider of their own: the default skin manager's window-creation hook of
// the thread, and the automatic provider it gives such a window.
//
// Forms of the class library without a TsSkinProvider get one made at run
// time; system dialogs ("#32770": message boxes, the common dialogs) get the
// skinned dialog frame TacDialogWnd and one subclass object per child window,
// chosen by the child's window class.
#pragma once

#include <vector>

#include "classlib/core/Classes.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/WinApi.h"

class TsSkinProvider;
class TacMainWnd;
class TacDialogWnd;
class TsSkinManager;

// The object that skins one window automatically (an entry of acSupportedList).
class TacSkinnedWindow : public TComponent {
  DK_CLASS(TacSkinnedWindow, TComponent)
 public:
  explicit TacSkinnedWindow(TComponent* AOwner) : TComponent(AOwner) {}
  // The window that hears the manager's skin commands through the list
  // (nullptr for a form, which hears them as a form).
  virtual HWND WindowHandle() const { return nullptr; }
};

// The automatic provider of one window the hook took: a form of the class
// library (owned by it; holds its run-time TsSkinProvider) or a system
// dialog (no owner; holds the dialog frame and the subclass objects of the
// dialog's child windows).
class TacProvider : public TacSkinnedWindow {
  DK_CLASS(TacProvider, TacSkinnedWindow)
 public:
  explicit TacProvider(TComponent* AOwner) : TacSkinnedWindow(AOwner) {}
  // Clears the provider's slot of acSupportedList (form case); frees the
  // frame and the child objects (dialog case).
  ~TacProvider() override;

  HWND WindowHandle() const override { return CtrlHandle; }

  // Gives the form its run-time skin provider.
  void InitForm(TCustomForm* Form);
  // Skins a system dialog; False when taking its children failed.
  bool InitSkin(HWND Wnd);
  // AddControl for every descendant window of Wnd (deepest first); False as
  // soon as one fails. Windows already served are skipped, so it may run again.
  bool InitHwndControls(HWND Wnd);
  // Attaches the subclass object its class asks for to one child window;
  // False only for no window.
  bool AddControl(HWND Wnd);
  // Prints the visible child windows of Wnd, at any depth, into DC (for the
  // dialog animations); always False.
  bool PrintHwndControls(HWND Wnd, HDC DC);

  HWND CtrlHandle = nullptr;                 // the dialog (nullptr for a form)
  TsSkinProvider* SkinProvider = nullptr;    // the form's run-time provider (owned by the form)
  TacDialogWnd* DialogWnd = nullptr;         // the dialog frame (owned)
  std::vector<TacMainWnd*> Controls;         // subclass objects of the dialog's children (owned)
};

// The handle of the window-creation hook (nullptr while none is installed).
extern HHOOK HookCallback;
// The TacProvider objects, one per automatically skinned window (nullptr
// until the default manager installs its hook). Slots of providers that went
// away hold nullptr until the next sweep of the hook packs the list.
extern TList* acSupportedList;
// The subclass objects of skinned pop-up menu windows (only grows until
// ClearMnuArray).
extern std::vector<TacMainWnd*> MnuArray;
// Where the next automatically skinned system dialog is placed (screen
// coordinates); -1: where the system puts it. Set by the message functions
// of sDialogs while their box is up (kept in acDialsPlacement.cpp, which
// those functions link without the hook).
extern int DlgLeft, DlgTop;
// Form class names never skinned automatically (sorted).
TStringList* ThirdPartySkipForms();

// The window-creation hook of the thread.
LRESULT CALLBACK SkinHookCBT(int Code, WPARAM WParam, LPARAM LParam);
// Decides whether a top-level window is skinned automatically and, if so,
// makes and lists its provider. False when rejected; True when taken, vetoed
// by the application or deferred (a form still loading is taken when it is
// activated).
bool AddSupportedForm(HWND Wnd);
// Frees the objects of the skinned pop-up menu windows.
void ClearMnuArray();
// The providers of the list that are alive (non-empty slots).
int acLiveProviders();
