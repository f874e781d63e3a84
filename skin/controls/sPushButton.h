// What the skinned windowed push buttons (TsButton, TsBitBtn) share: the
// region their border mask cuts, the running fade, the hover events, and the
// skinned handling of the window messages in which they do not differ. Each
// button adds its own answers (paint, erase, move, size, text change) in
// HandleSkinnedMessage and hands the rest to PushButtonMessage.
#pragma once

#include "classlib/ui/StdCtrls.h"
#include "skin/controls/sSkinnedControl.h"
#include "skin/core/sFade.h"

template <class Base, int KindCode>
class TsPushButton : public TsSkinnedControl<Base, TsCtrlSkinData, KindCode> {
  using inherited = TsSkinnedControl<Base, TsCtrlSkinData, KindCode>;

 public:
  explicit TsPushButton(TComponent* AOwner) : inherited(AOwner) {}

  TNotifyEvent OnMouseEnter, OnMouseLeave;

  // The fade that runs now (nullptr when none). Tests step it frame by frame.
  TsFadeTimer* FadeTimer() const { return FFadeTimer; }
  // The region the last rebuild made and the next paint applies (1: never
  // applied, nullptr: applied or none).
  HRGN PendingRegion() const { return FRegion; }

 protected:
  bool Skinned() { return this->SkinData()->Skinned(false); }
  void StopFade() { StopFading(FFadeTimer); }

  // The look follows a change of state (with a fade where it runs).
  virtual void ChangePaint(bool Clicked, TacAnimatEvent Event) = 0;
  // Paints the cache to the device context (the window's when nullptr).
  virtual void OurPaintHandler(HDC ADC) = 0;
  // The button's own skinned answers; true when the message was handled.
  virtual bool HandleSkinnedMessage(TMessage& Message) = 0;

  // The skinned answers both buttons give; true when the message was handled.
  bool PushButtonMessage(TMessage& Message);
  // A skinned button's window procedure after the skin commands.
  void SkinnedWndProc(TMessage& Message);
  // Focus coming (Entering) or going, handed on with redrawing suspended.
  void FocusMessage(TMessage& Message, bool Entering);

  HRGN FRegion = reinterpret_cast<HRGN>(1);
  bool FRegionChanged = true;
  TsFadeTimer* FFadeTimer = nullptr;

 private:
  // What follows the class library's handling of a message.
  void AfterInherited(TMessage& Message);

  // Set while a button of the class hands a focus message on with redrawing
  // suspended.
  static inline bool FocusGuard = false;
};
