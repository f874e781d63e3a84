// The skinned multi-line edit. The memo itself draws nothing: while it is
// skinned, an edit-window subclass object (acSBUtils) paints its border and
// scroll bars from the skin, and the native edit paints the text area in
// the memo's Color and Font.Color, which the memo takes from its section's
// normal or hot look before every paint (unless CustomColor). Without a
// skin, or while it is not ready, it is the class library's memo.
#pragma once

#include <memory>

#include "classlib/ui/StdCtrls.h"
#include "skin/controls/sSkinnedControl.h"
#include "skin/core/sBoundLabel.h"

class TacScrollWnd;

using TsMemoBase = TsSkinnedControl<TMemo, TsScrollWndData, COC_TsMemo>;

class TsMemo : public TsMemoBase {
  DK_CLASS(TsMemo, TsMemoBase)
 public:
  using TsMemoBase::TsMemoBase;
  ~TsMemo() override;
  void Construct() override;
  void WndProc(TMessage& Message) override;

  // Stored; no painting step of the memo reads it.
  TsDisabledKind DisabledKind() const { return FDisabledKind; }
  void SetDisabledKind(TsDisabledKind Value);
  TsBoundLabel* BoundLabel() const { return FBoundLabel.get(); }
  // The subclass object that paints the skinned border and scroll bars
  // (nullptr while unskinned).
  TacScrollWnd* ScrollWnd() const { return FScrollWnd; }

  // After the native control scrolled vertically.
  TNotifyEvent OnVScroll;
  // After the selection (and so the caret) was set.
  TNotifyEvent OnScrollCaret;

 protected:
  void Loaded() override;

 private:
  void SkinnedPaint(TMessage& Message);
  void AfterSkinned(TMessage& Message);
  void RefreshScrolls();
  void RetireScrollWnd();

  TsDisabledKind FDisabledKind{dkBlended};
  std::unique_ptr<TsBoundLabel> FBoundLabel;
  TacScrollWnd* FScrollWnd = nullptr;
  TacScrollWnd* FRetiredScrollWnd = nullptr;  // off the window, freed at the next outer message
  int FDepth = 0;                              // nesting of WndProc
};

DK_LINK_UNIT(sMemo)
