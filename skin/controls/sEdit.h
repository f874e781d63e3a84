// The skinned single-line edit. While it is neither focused nor under the
// mouse it shows a cached image of itself (the skin's background and border,
// its text in the skin's font colour, the disabled look); while active the
// native control paints its client area inside the skinned border. Without a
// skin it is the class library's edit.
#pragma once

#include <memory>

#include "classlib/ui/StdCtrls.h"
#include "skin/controls/sSkinnedControl.h"

class TsBoundLabel;

using TsEditBase = TsSkinnedControl<TEdit, TsCtrlSkinData, COC_TsEdit>;

class TsEdit : public TsEditBase {
  DK_CLASS(TsEdit, TsEditBase)
 public:
  explicit TsEdit(TComponent* AOwner);
  ~TsEdit() override;
  void Construct() override;
  void WndProc(TMessage& Message) override;

  TsDisabledKind DisabledKind() const { return FDisabledKind; }
  void SetDisabledKind(TsDisabledKind Value);
  TsBoundLabel* BoundLabel() const { return FBoundLabel.get(); }
  void SetBoundLabel(TsBoundLabel* Value);

  // Renders the edit into its cache; false while the parent's background is
  // not ready.
  virtual bool PrepareCache();
  // The text into the cache.
  virtual void PaintText();
  // Takes the child controls out of DC's clip region.
  virtual void ExcludeChildControls(HDC DC);
  // Shows the cache on DC (nullptr: the window's own context).
  void OurPaintHandler(HDC DC);
  // The border strips from the cache into the non-client area.
  void PaintBorder();
  // The width of the border on each side (0 without one).
  Integer BorderWidth() const;

 private:
  // Whether the edit reads right to left.
  bool RightToLeftText() const;
  std::unique_ptr<TsBoundLabel> FBoundLabel;
  TsDisabledKind FDisabledKind{dkBlended};
};

DK_LINK_UNIT(sEdit)
