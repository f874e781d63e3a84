// The skinned list box: its items are painted over the skin's background for
// the list (its section, "EDIT" by default), the selected item with the
// section "SELECTION"; its border and scroll bars are painted by a subclass
// object of the list's window. Unskinned it draws its items itself in the
// system colours.
#pragma once

#include <memory>

#include "classlib/ui/StdCtrls.h"
#include "skin/controls/sSkinnedControl.h"

class TsBoundLabel;
class TacScrollWnd;

using TsCustomListBoxBase = TsSkinnedControl<TListBox, TsScrollWndData, COC_TsCustomListBox>;

class TsCustomListBox : public TsCustomListBoxBase {
  DK_CLASS(TsCustomListBox, TsCustomListBoxBase)
  DK_MESSAGES(TsCustomListBox)
 public:
  explicit TsCustomListBox(TComponent* AOwner);
  ~TsCustomListBox() override;
  void Construct() override;
  void WndProc(TMessage& Message) override;

  bool AutoHideScroll() const { return FAutoHideScroll; }
  void SetAutoHideScroll(bool Value);
  Word AutoCompleteDelay() const { return FAutoCompleteDelay; }
  void SetAutoCompleteDelay(Word Value) { FAutoCompleteDelay = Value; }
  TsDisabledKind DisabledKind() const { return FDisabledKind; }
  void SetDisabledKind(TsDisabledKind Value);
  TsBoundLabel* BoundLabel() const { return FBoundLabel.get(); }
  void SetBoundLabel(TsBoundLabel* Value);
  // The subclass object painting the border and scroll bars (while skinned).
  TacScrollWnd* ScrollWnd() const { return FScrollWnd; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnVScroll;

 public:  // message handlers
  void CNDrawItem(TWMDrawItem& Message);
  void WMPaint(TWMPaint& Message);

 protected:
  const char* OwnSection() const override { return "EDIT"; }
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) override;

 private:
  // The position of the skinned horizontal scroll bar (0 with Columns or without one).
  Integer HorzPosition() const;
  void DrawItemPlain(Integer Index, TRect Rect, TOwnerDrawState State);
  void DrawItemSkinned(Integer Index, const TRect& Rect, TOwnerDrawState State);
  // The skin command part of the window procedure; true when answered.
  bool SkinCommand(TMessage& Message);
  void GeneralPath(TMessage& Message);
  void FreeScrollWnd();

  std::unique_ptr<TsBoundLabel> FBoundLabel;
  bool FAutoHideScroll = true;
  Word FAutoCompleteDelay = 500;
  TsDisabledKind FDisabledKind{dkBlended};
  TacScrollWnd* FScrollWnd = nullptr;
};

class TsListBox : public TsCustomListBox {
  DK_CLASS(TsListBox, TsCustomListBox)
 public:
  using TsCustomListBox::TsCustomListBox;
};

DK_LINK_UNIT(sListBox)
