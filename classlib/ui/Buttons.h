// Buttons with glyphs: TBitBtn (a push button drawn by itself) and
// TSpeedButton (a button without a window, also as a tool or group button).
//
// A glyph bitmap holds NumGlyphs images side by side: up, disabled, down,
// and held down (a group button that stays down). The colour of its bottom
// left pixel is transparent.
#pragma once

#include <memory>

#include "classlib/ui/StdCtrls.h"

DK_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom);
DK_ENUM(TButtonState, bsUp, bsDisabled, bsDown, bsExclusive);
DK_ENUM(TButtonStyle, bsAutoDetect, bsWin31, bsNew);
DK_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll);
using TNumGlyphs = Integer;

// Where the glyph and the caption go inside Client.
void CalcButtonLayout(const TRect& Client, const TPoint& GlyphSize, const TPoint& TextSize, TButtonLayout Layout,
                      int Margin, int Spacing, TPoint& GlyphPos, TRect& TextBounds);
// Draws one image of a glyph strip (its bottom-left colour transparent).
void DrawGlyph(HDC DC, TBitmap* Glyph, int NumGlyphs, TButtonState State, int X, int Y);

class TBitBtn : public TButton {
  DK_CLASS(TBitBtn, TButton)
  DK_MESSAGES(TBitBtn)
 public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;
  void Construct() override;

  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer Value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  // A kind sets the caption and modal result of a standard button.
  TBitBtnKind Kind() const { return FKind; }
  void SetKind(TBitBtnKind Value);
  TButtonStyle Style() const { return FStyle; }
  void SetStyle(TButtonStyle Value) { FStyle = Value; }
  void Click() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void SetButtonStyle(bool ADefault) override;
  // Paints the button into the owner-draw structure's DC.
  virtual void DrawItem(const DRAWITEMSTRUCT& DrawItemStruct);

 public:  // message handlers
  void CNDrawItem(TWMDrawItem& Message);
  void CNMeasureItem(TWMMeasureItem& Message);
  void WMLButtonDblClk(TWMMouse& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMTextChanged(TMessage& Message);

 private:
  void GlyphChanged(TObject* Sender);
  std::unique_ptr<TBitmap> FGlyph;
  TNumGlyphs FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  Integer FMargin = -1;
  Integer FSpacing = 4;
  TBitBtnKind FKind = bkCustom;
  TButtonStyle FStyle = bsAutoDetect;
  bool FIsFocused = false;
};

class TSpeedButton : public TGraphicControl {
  DK_CLASS(TSpeedButton, TGraphicControl)
  DK_MESSAGES(TSpeedButton)
 public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;
  void Construct() override;

  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  Integer GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer Value);
  Integer Spacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TButtonState State() const { return FState; }
  void Click() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Loaded() override;
  // For descendants that draw the button themselves.
  void SetState(TButtonState Value) { FState = Value; }
  bool MouseInControl() const { return FMouseInControl; }

 public:  // message handlers
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMTextChanged(TMessage& Message);
  void CMButtonPressed(TMessage& Message);

 private:
  void UpdateExclusive();
  void GlyphChanged(TObject* Sender);
  std::unique_ptr<TBitmap> FGlyph;
  TNumGlyphs FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  Integer FMargin = -1;
  Integer FSpacing = 4;
  Integer FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FDown = false;
  bool FFlat = false;
  bool FTransparent = true;
  bool FMouseInControl = false;
  bool FDragging = false;
  TButtonState FState = bsUp;
};

DK_LINK_UNIT(Buttons)
