// The skinned speed button: a button without a window of its own, painted
// from its skin section into its cache and copied onto its parent. It adds an
// image list, a caption layout with text alignment and word wrap, the tool
// button styles (button, check, drop-down with a menu, separator, divider), a
// skinned drop-down arrow and an animated change of look between states.
//
// Having no window, it takes the skin commands from its parent through
// Perform, paints through its canvas and repaints itself directly
// (GraphRepaint) instead of invalidating.
#pragma once

#include "classlib/ui/Buttons.h"
#include "classlib/ui/ComCtrls.h"
#include "classlib/ui/ImgList.h"
#include "classlib/ui/Menus.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sSkinnedControl.h"
#include "skin/core/sFade.h"

using TsSpeedButtonBase = TsSkinnedControl<TSpeedButton, TsCtrlSkinData, COC_TsSpeedButton>;

class TsSpeedButton : public TsSpeedButtonBase {
  DK_CLASS(TsSpeedButton, TsSpeedButtonBase)
 public:
  explicit TsSpeedButton(TComponent* AOwner) : TsSpeedButtonBase(AOwner) {}
  ~TsSpeedButton() override;
  void Construct() override;
  void AfterConstruction() override;

  // ------------------------------------------------------ published properties

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TacAnimatEvents AnimatEvents() const { return FAnimatEvents; }
  void SetAnimatEvents(TacAnimatEvents Value) { FAnimatEvents = Value; }
  Integer Blend() const { return FBlend; }
  void SetBlend(Integer Value);
  TToolButtonStyle ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TToolButtonStyle Value);
  TsDisabledGlyphKind DisabledGlyphKind() const { return FDisabledGlyphKind; }
  void SetDisabledGlyphKind(TsDisabledGlyphKind Value);
  TsDisabledKind DisabledKind() const { return FDisabledKind; }
  void SetDisabledKind(TsDisabledKind Value);
  TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TPopupMenu* Value);
  bool Grayed() const { return FGrayed; }
  void SetGrayed(bool Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  bool Reflected() const { return FReflected; }
  void SetReflected(bool Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  bool DrawOverBorder() const { return FDrawOverBorder; }
  void SetDrawOverBorder(bool Value);
  Integer TextOffset() const { return FTextOffset; }
  void SetOffset(Integer Value);
  TAlignment TextAlignment() const { return FTextAlignment; }
  void SetTextAlignment(TAlignment Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TBmpPaintEvent OnPaint;
  TNotifyEvent OnMouseEnter, OnMouseLeave;

  // ------------------------------------------------------ look (descendants override these)

  virtual bool GetGrayed();
  virtual void DrawGlyph();
  virtual Integer GlyphWidth();
  virtual Integer GlyphHeight();
  virtual bool PrepareCache();
  virtual Integer CurrentState();

  TRect CaptionRect(bool Shift);
  TRect ImgRect(bool Shift);
  TRect ArrowRect();
  Integer ArrowWidth() const { return FButtonStyle == tbsDropDown ? 16 : 0; }
  // The margin around the glyph and caption: 0 for a negative Margin.
  Integer GenMargin() const { return Margin() < 0 ? 0 : Margin() + 3; }
  TSize TextRectSize();
  void GraphRepaint();
  bool ImageListUsable() const;
  bool DroppedDown() const { return FDroppedDown; }
  // The animation that runs now (nullptr when none). Tests step it.
  TsAnimTimer* AnimTimer() const { return FAnimTimer; }
  void Invalidate() override;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;

 private:
  // The action's own change: its list's images and its image index.
  void ActionChanged(TObject* Sender);
  bool Skinned() { return SkinData()->Skinned(false); }
  bool Pressed() const { return State() == bsDown || State() == bsExclusive; }
  bool ShiftOnPress();
  void StdPaint(bool DrawFrame);
  void DrawCaption();
  void DoDrawText(TRect& R, Cardinal Flags);
  void PaintArrow(const TRect& R, Integer State, bool Flag);
  void PaintSiblings(TCanvas* ACanvas);
  void ChangeLook(TacAnimatEvent Event, bool Clicked);
  void StartAnimation(bool Clicked);
  void StopAnimation();
  void MouseEntered();
  void MouseLeft();
  void ImageListChange(TObject* Sender);
  void GlyphChanged(TObject* Sender);
  void SetAndRepaint();
  bool HandleSkinnedMessage(TMessage& Message);

  Integer FLastNumGlyphs = 1;
  Integer FLastSpacing = 4;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  bool FLastDown = false;
  TsDisabledKind FDisabledKind{dkBlended};
  TsAnimTimer* FAnimTimer = nullptr;
  TsDisabledGlyphKind FDisabledGlyphKind{dgBlended};
  Integer FBlend = 0;
  Integer FTextOffset = 0;
  Integer FImageIndex = -1;
  TCustomImageList* FImages = nullptr;
  bool FShowCaption = true;
  TAlignment FAlignment = taCenter;
  TToolButtonStyle FButtonStyle = tbsButton;
  TPopupMenu* FDropdownMenu = nullptr;
  bool FDrawOverBorder = true;
  TAlignment FTextAlignment = taCenter;
  TacAnimatEvents FAnimatEvents{aeGlobalDef};
  bool FReflected = false;
  bool FWordWrap = true;
  bool FGrayed = false;
  bool FMenuShown = false;
  TNotifyEvent FOldGlyphChange;
  TButtonLayout FLastLayout = blGlyphLeft;
  bool FDroppedDown = false;
};

// A speed button as wide as it is high less 4.
class TsTimerSpeedButton : public TsSpeedButton {
  DK_CLASS(TsTimerSpeedButton, TsSpeedButton)
 public:
  explicit TsTimerSpeedButton(TComponent* AOwner) : TsSpeedButton(AOwner) {}
  void Construct() override;
  bool AllowTimer() const { return FAllowTimer; }
  void SetAllowTimer(bool Value) { FAllowTimer = Value; }

 private:
  bool FAllowTimer = false;
};

DK_LINK_UNIT(sSpeedButton)
