// The skinned group box and the skinned radio group. The group box paints its
// frame with its section ("GROUPBOX") from the vertical middle of its caption
// down and a caption strip with a background of its own ("CHECKBOX", or
// CaptionSkin) into its cache. The radio group keeps its own list of radio
// buttons, one per line of Items, laid out in Columns; ItemIndex is the
// checked one (-1: none). Plain look until a skin is loaded.
#pragma once

#include <memory>

#include "classlib/ui/ExtCtrls.h"
#include "skin/controls/sRadioButton.h"
#include "skin/controls/sSkinnedControl.h"

// Where the caption strip lies on the top edge (the bound labels have a
// caption layout of their own, hence the longer name).
DK_ENUM(TsGroupCaptionLayout, clTopLeft, clTopCenter, clTopRight);

class TsGroupBox;

// The inner margins of a group box's caption.
class TsMargin : public TPersistent {
  DK_CLASS(TsMargin, TPersistent)
 public:
  explicit TsMargin(TControl* Owner = nullptr) : FOwner(Owner) {}
  Integer Left() const { return FValues[0]; }
  Integer Top() const { return FValues[1]; }
  Integer Right() const { return FValues[2]; }
  Integer Bottom() const { return FValues[3]; }
  void SetLeft(Integer Value) { SetValue(0, Value); }
  void SetTop(Integer Value) { SetValue(1, Value); }
  void SetRight(Integer Value) { SetValue(2, Value); }
  void SetBottom(Integer Value) { SetValue(3, Value); }
  // Stores the value and, unless the owner is loading, repaints a group box
  // owner (also for an unchanged value).
  void SetValue(int Index, Integer Value);

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  TControl* FOwner;
  Integer FValues[4] = {2, 0, 2, 0};
};

using TsGroupBoxBase = TsSkinnedControl<TGroupBox, TsCommonData, COC_TsGroupBox>;

class TsGroupBox : public TsGroupBoxBase {
  DK_CLASS(TsGroupBox, TsGroupBoxBase)
  DK_MESSAGES(TsGroupBox)
 public:
  explicit TsGroupBox(TComponent* AOwner);
  ~TsGroupBox() override;
  void Construct() override;
  void WndProc(TMessage& Message) override;
  void AdjustClientRect(TRect& Rect) override;

  TsGroupCaptionLayout CaptionLayout() const { return FCaptionLayout; }
  void SetCaptionLayout(TsGroupCaptionLayout Value);
  Integer CaptionYOffset() const { return FCaptionYOffset; }
  void SetCaptionYOffset(Integer Value);
  const AnsiString& CaptionSkin() const { return FCaptionSkin; }
  void SetCaptionSkin(const AnsiString& Value);
  TsMargin* CaptionMargin() const { return FCaptionMargin.get(); }
  void SetCaptionMargin(TsMargin* Value) { FCaptionMargin->Assign(Value); }
  Integer CaptionWidth() const { return FCaptionWidth; }
  void SetCaptionWidth(Integer Value);

  // The caption strip in box coordinates.
  TRect CaptionRect();
  // The caption font's line height (at least 4) plus 2.
  Integer TextHeight();
  // Renders the box into its cache; false while the parent's background is not ready.
  bool PrepareCache();
  // Shows the box from its cache.
  void PaintToDC(HDC DC);

 public:  // message handlers
  void CMFontChanged(TMessage& Message);

 protected:
  void Paint() override;
  // The caption strip and text into the cache at R over the background BG.
  void WriteText(const TRect& R, const TCacheInfo& BG);

 private:
  // The caption's text width in the caption font.
  Integer CaptionTextWidth();
  void HandleSkinned(TMessage& Message);
  void DefaultProcessing(TMessage& Message);
  TsGroupCaptionLayout FCaptionLayout = clTopLeft;
  Integer FCaptionYOffset = 0;
  AnsiString FCaptionSkin;
  std::unique_ptr<TsMargin> FCaptionMargin;
  Integer FCaptionWidth = 0;
};

// A radio button that its group creates, owns and places.
class TsGroupButton : public TsRadioButton {
  DK_CLASS(TsGroupButton, TsRadioButton)
 public:
  using TsRadioButton::TsRadioButton;
};

// The buttons' logic is the class library's radio group's (TRadioGroupOf).
using TsRadioGroupBase = TRadioGroupOf<TsGroupBox>;

class TsRadioGroup : public TsRadioGroupBase {
  DK_CLASS(TsRadioGroup, TsRadioGroupBase)
 public:
  using TsRadioGroupBase::TsRadioGroupBase;
  void Construct() override;
  TsGroupButton* Buttons(int Index) const { return static_cast<TsGroupButton*>(FButtons->Buttons(Index)); }
};

DK_LINK_UNIT(sGroupBox)
