// The skinned bit button: a push button with a caption and a glyph (the
// Glyph strip of NumGlyphs images, or one image of an image list) painted
// from its skin section into its cache and copied to the window.
//
// The look follows the state (normal, hot, pressed, default; CurrentState)
// and cross-fades from the old look to the new one on every change the mouse
// makes. When the section's border image has region corners, the window is
// cut to the image's opaque pixels. Without a skin the button draws the
// plain owner-draw look itself, honouring the image list, blend and grey.
#pragma once

#include "classlib/ui/Buttons.h"
#include "classlib/ui/ImgList.h"
#include "skin/controls/sPushButton.h"

// The owner's own drawing into a button's finished cache.
using TBmpPaintEvent = TClosure<void(TObject* Sender, TBitmap* Bmp)>;

using TsBitBtnBase = TsPushButton<TBitBtn, COC_TsBitBtn>;
extern template class TsPushButton<TBitBtn, COC_TsBitBtn>;

class TsBitBtn : public TsBitBtnBase {
  DK_CLASS(TsBitBtn, TsBitBtnBase)
 public:
  explicit TsBitBtn(TComponent* AOwner) : TsBitBtnBase(AOwner) {}
  ~TsBitBtn() override;
  void Construct() override;
  void AfterConstruction() override;

  // ------------------------------------------------------ published properties

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TacAnimatEvents AnimatEvents() const { return FAnimatEvents; }
  void SetAnimatEvents(TacAnimatEvents Value) { FAnimatEvents = Value; }
  Integer Blend() const { return FBlend; }
  void SetBlend(Integer Value);
  TsDisabledGlyphKind DisabledGlyphKind() const { return FDisabledGlyphKind; }
  void SetDisabledGlyphKind(TsDisabledGlyphKind Value);
  TsDisabledKind DisabledKind() const { return FDisabledKind; }
  void SetDisabledKind(TsDisabledKind Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  Integer FocusMargin() const { return FFocusMargin; }
  void SetFocusMargin(Integer Value) { FFocusMargin = Value; }
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
  bool ShowFocus() const { return FShowFocus; }
  void SetShowFocus(bool Value);
  bool DrawOverBorder() const { return FDrawOverBorder; }
  void SetDrawOverBorder(bool Value);
  Integer TextOffset() const { return FTextOffset; }
  void SetOffset(Integer Value);
  TAlignment TextAlignment() const { return FTextAlignment; }
  void SetTextAlignment(TAlignment Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TBmpPaintEvent OnPaint;

  // ------------------------------------------------------ look

  // 0 normal, 1 hot (focused or under the mouse), 2 pressed, 3 default.
  Integer CurrentState();
  // The size of one glyph image (the image list's, else the strip's).
  Integer GlyphWidth();
  Integer GlyphHeight();
  // Where the glyph goes (after a layout), moved when pressed.
  TRect ImgRect();
  TSize TextRectSize();
  // Renders the button into its cache; false while the parent's background
  // is not ready (the paint is replayed when the parent says so).
  bool PrepareCache();
  void DrawCaption(TCanvas* ACanvas = nullptr);
  bool GetGrayed();
  bool GetDown() const { return FDown; }
  // Whether the image list supplies the glyph.
  bool ImageListUsable() const;
  void Invalidate() override;

  TPoint GlyphPos() const { return FGlyphPos; }
  TRect CaptionRect() const { return FCaptionRect; }

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void SetButtonStyle(bool ADefault) override;
  void DrawItem(const DRAWITEMSTRUCT& DrawItemStruct) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;

 private:
  // Whether the button's action is disabled.
  bool ActionDisabled() const;
  // The section's state for the look S (the default look falls back to the
  // hot one on sections of fewer than four states).
  Integer SkinState(Integer S);
  void CalcLayout();
  void DoDrawText(TRect& R, Cardinal Flags);
  void OurPaintHandler(HDC ADC) override;
  void PaintRegion(HDC DC, Integer State);
  void StdDrawItem(const DRAWITEMSTRUCT& DrawItemStruct);
  void ImageListChange(TObject* Sender);
  void GlyphChanged(TObject* Sender);
  void ChangePaint(bool Clicked, TacAnimatEvent Event) override;
  // Removes a region the button built and did not hand to the window.
  void DropRegion();
  bool HandleSkinCommand(TMessage& Message);
  bool HandleSkinnedMessage(TMessage& Message) override;

  Integer FLastSpacing = 0;
  bool FMouseClicked = false;
  bool FDown = false;
  Integer FFocusMargin = 1;
  TsDisabledKind FDisabledKind{dkBlended};
  TsDisabledGlyphKind FDisabledGlyphKind{dgBlended};
  bool FGrayed = false;
  Integer FBlend = 0;
  Integer FTextOffset = 0;
  Integer FImageIndex = -1;
  TCustomImageList* FImages = nullptr;
  bool FShowCaption = true;
  bool FShowFocus = true;
  TAlignment FAlignment = taCenter;
  bool FDrawOverBorder = true;
  TAlignment FTextAlignment = taCenter;
  TacAnimatEvents FAnimatEvents{aeGlobalDef};
  TRect FLastRect;
  bool FReflected = false;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  bool FWordWrap = true;
  bool FIsDefault = false;
  TPoint FGlyphPos;
  TButtonLayout FLastLayout = blGlyphLeft;
  TRect FCaptionRect;
  TNotifyEvent FOldGlyphChange;
};

DK_LINK_UNIT(sBitBtn)
