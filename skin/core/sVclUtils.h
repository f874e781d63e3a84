// Small functions with which the skin engine reaches controls and windows:
// sending the skin command to a control or a window, broadcasting it to trees
// of controls, and the state tests the senders share; the animations of
// forms and controls.
#pragma once

#include "classlib/ui/Forms.h"
#include "skin/core/Smessages.h"
#include "skin/core/acThdTimer.h"
#include "skin/core/sConst.h"

// ------------------------------------------------- sending the skin command

// The command to a window (SendMessage).
LRESULT SendAMessage(HWND Wnd, Integer Cmd, LPARAM LParam = 0);
// The command to a control: Perform for a control without a window, the
// window's SendMessage for a window control; 0 (and no window made) for a
// window control without a window or being destroyed.
LRESULT SendAMessage(TControl* Control, Integer Cmd, LPARAM LParam = 0);
// True when the low byte of the control's answer is not 0.
bool GetBoolMsg(TWinControl* Control, Integer Cmd);
// True when the window answers exactly 1.
bool GetBoolMsg(HWND Wnd, Integer Cmd);
// The message to the control's children: controls without a window (or not
// made yet) by Perform, skinned windows by SendMessage; the children of other
// window controls, recursively. A child being destroyed ends it.
void AlphaBroadCast(TWinControl* Control, TMessage& Message);
// The message to every child window of Wnd.
void AlphaBroadCast(HWND Wnd, TMessage& Message);
// The message to every child window (WS_CHILD) of Wnd, top one first.
void BroadCastMsg(HWND Wnd, const TMessage& Message);
// Tells the children that their parent was redrawn (the skin command 6).
void SetParentUpdated(TWinControl* Control);
void SetParentUpdated(HWND Wnd);
// Registers a window control with its form's adapter (the skin command 25).
void AddToAdapter(TWinControl* Control);

// ------------------------------------------------------------ control states

inline bool IsLoading(const TComponent* C) { return C && C->ComponentState().Contains(csLoading); }
inline bool IsReading(const TComponent* C) { return C && C->ComponentState().Contains(csReading); }
inline bool IsDestroying(const TComponent* C) { return C && C->ComponentState().Contains(csDestroying); }
inline bool IsDesigning(const TComponent* C) { return C && C->ComponentState().Contains(csDesigning); }
// False for nullptr, a window control without a window, and a control being
// created, read, loaded or destroyed, or without parent.
bool ControlIsReady(TControl* Control);
// The first form on the chain of owners (the component itself first).
TCustomForm* GetOwnerForm(TComponent* Component);
// The first frame on the chain of owners (the class library has no frames:
// nullptr).
TComponent* GetOwnerFrame(TComponent* Component);

// ------------------------------------------------------------ animations

// True while an animation of forms or controls runs (and while a skin change
// freezes the forms for its animation).
extern bool InAnimationProcess;

// The timer of the form-hide animation (12 ms steps on a worker thread).
// For now the animation has no steps of its own: its first tick ends it.
class TacHideTimer : public TacThreadedTimer {
  DK_CLASS(TacHideTimer, TacThreadedTimer)
 public:
  explicit TacHideTimer(TComponent* AOwner) : TacThreadedTimer(AOwner) {}
  // Takes its own tick handler and waits, disabled, for an animation.
  void AfterConstruction() override;
  // Starts the animation: ticks every 12 ms, InAnimationProcess set.
  void Start();

 private:
  void HideStep(TObject* Sender);
};
// The one hide timer of the program (nullptr while no form hides).
extern TacHideTimer* acHideTimer;

// Shows a control (a form) that a skin change froze or that is hidden, with
// the fade, aero or blur animation of Time ms (for now at once, without one).
void AnimShowControl(TWinControl* Control, Word Time = 0, Integer MaxTransparency = 255,
                     TacAnimTypeCtrl AnimType = atcFade);
// Hides the provider's form (a TsSkinProvider) with the form-hide animation
// (for now at once, without one).
void AnimHideForm(TObject* Provider);
