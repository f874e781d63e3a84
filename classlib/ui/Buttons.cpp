// Glyph buttons.
#include "classlib/ui/Buttons.h"

#include "classlib/ui/PaintScope.h"

#include <algorithm>

DK_UNIT(Buttons);

DK_RESOURCESTRING(SOKButton, "OK");
DK_RESOURCESTRING(SCancelButton, "Cancel");
DK_RESOURCESTRING(SYesButton, "&Yes");
DK_RESOURCESTRING(SNoButton, "&No");
DK_RESOURCESTRING(SHelpButton, "&Help");
DK_RESOURCESTRING(SCloseButton, "&Close");
DK_RESOURCESTRING(SIgnoreButton, "&Ignore");
DK_RESOURCESTRING(SRetryButton, "&Retry");
DK_RESOURCESTRING(SAbortButton, "Abort");
DK_RESOURCESTRING(SAllButton, "&All");

namespace {

RECT* AsRect(TRect& R) { return reinterpret_cast<RECT*>(&R); }

TPoint GlyphSize(TBitmap* Glyph, int NumGlyphs) {
  if (!Glyph || Glyph->Empty() || NumGlyphs < 1) return {0, 0};
  return {Glyph->Width() / NumGlyphs, Glyph->Height()};
}

// The glyph count a strip suggests: square images side by side.
int DetectNumGlyphs(TBitmap* Glyph, int Current) {
  if (Glyph->Empty() || Glyph->Height() <= 0) return Current;
  if (Glyph->Width() % Glyph->Height() == 0) {
    int n = Glyph->Width() / Glyph->Height();
    if (n >= 1 && n <= 4) return n;
  }
  return Current;
}

// Draws a button's glyph and caption into Client.
void DrawGlyphAndText(HDC DC, TRect Client, TBitmap* Glyph, int NumGlyphs, const AnsiString& Caption, TFont* Font,
                      TButtonLayout Layout, int Margin, int Spacing, TButtonState State, bool Enabled) {
  TPoint gsize = GlyphSize(Glyph, NumGlyphs);
  TRect t = Rect(0, 0, Client.Width(), 0);
  TPoint tsize{0, 0};
  if (!Caption.empty()) {
    DrawControlText(DC, Caption, t, DT_CALCRECT | DT_SINGLELINE, Font, true);
    tsize = {t.Width(), t.Height()};
  }
  TPoint gpos;
  TRect tbounds;
  CalcButtonLayout(Client, gsize, tsize, Layout, Margin, Spacing, gpos, tbounds);
  if (gsize.X > 0) DrawGlyph(DC, Glyph, NumGlyphs, State, gpos.X, gpos.Y);
  if (!Caption.empty())
    DrawControlText(DC, Caption, tbounds, DT_CENTER | DT_VCENTER | DT_SINGLELINE, Font, Enabled);
}

}  // namespace

void CalcButtonLayout(const TRect& Client, const TPoint& GlyphSize, const TPoint& TextSize, TButtonLayout Layout,
                      int Margin, int Spacing, TPoint& GlyphPos, TRect& TextBounds) {
  bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  int w = Client.Width(), h = Client.Height();
  if (GlyphSize.X == 0 || TextSize.X == 0) Spacing = 0;
  int total = horizontal ? GlyphSize.X + Spacing + TextSize.X : GlyphSize.Y + Spacing + TextSize.Y;
  int room = horizontal ? w : h;
  int start = Margin < 0 ? (room - total) / 2 : Margin;
  // Centred across the other direction.
  if (horizontal) {
    int gy = (h - GlyphSize.Y) / 2, ty = (h - TextSize.Y) / 2;
    if (Layout == blGlyphLeft) {
      GlyphPos = {start, gy};
      TextBounds = Bounds(start + GlyphSize.X + Spacing, ty, TextSize.X, TextSize.Y);
    } else {
      int right = Margin < 0 ? start + total : w - Margin;
      GlyphPos = {right - GlyphSize.X, gy};
      TextBounds = Bounds(right - GlyphSize.X - Spacing - TextSize.X, ty, TextSize.X, TextSize.Y);
    }
  } else {
    int gx = (w - GlyphSize.X) / 2, tx = (w - TextSize.X) / 2;
    if (Layout == blGlyphTop) {
      GlyphPos = {gx, start};
      TextBounds = Bounds(tx, start + GlyphSize.Y + Spacing, TextSize.X, TextSize.Y);
    } else {
      int bottom = Margin < 0 ? start + total : h - Margin;
      GlyphPos = {gx, bottom - GlyphSize.Y};
      TextBounds = Bounds(tx, bottom - GlyphSize.Y - Spacing - TextSize.Y, TextSize.X, TextSize.Y);
    }
  }
  GlyphPos.X += Client.Left;
  GlyphPos.Y += Client.Top;
  TextBounds.Offset(Client.Left, Client.Top);
}

void DrawGlyph(HDC DC, TBitmap* Glyph, int NumGlyphs, TButtonState State, int X, int Y) {
  TPoint size = GlyphSize(Glyph, NumGlyphs);
  if (size.X <= 0) return;
  // Images missing from the strip fall back to the first one; a missing
  // disabled image is drawn as the up image in grey.
  int index = static_cast<int>(State);
  if (index >= NumGlyphs) index = 0;
  TMemoryDC mem(DC);
  TSelectScope glyph(mem.Handle(), Glyph->Handle());
  COLORREF transparent = GetPixel(mem.Handle(), 0, Glyph->Height() - 1);
  if (State == bsDisabled && NumGlyphs < 2) {
    // A grey copy: every non-transparent pixel in the shadow colour.
    TPaintBuffer grey;
    HDC g = grey.Prepare(DC, size.X, size.Y);
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    for (int y = 0; y < size.Y; ++y)
      for (int x = 0; x < size.X; ++x) {
        COLORREF c = GetPixel(mem.Handle(), x, y);
        ::SetPixel(g, x, y, c == transparent ? transparent : shadow);
      }
    TransparentBlt(DC, X, Y, size.X, size.Y, g, 0, 0, size.X, size.Y, transparent);
  } else {
    TransparentBlt(DC, X, Y, size.X, size.Y, mem.Handle(), index * size.X, 0, size.X, size.Y, transparent);
  }
}

// ===================================================================== TBitBtn

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {}
TBitBtn::~TBitBtn() = default;

void TBitBtn::Construct() {
  inherited::Construct();
  FGlyph.reset(Create<TBitmap>());
  FGlyph->OnChange = TNotifyEvent(this, &TBitBtn::GlyphChanged);
}

void TBitBtn::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = (Params.Style & ~static_cast<DWORD>(0xF)) | BS_OWNERDRAW;
}

void TBitBtn::SetButtonStyle(bool ADefault) {
  if (ADefault == FIsFocused) return;
  FIsFocused = ADefault;
  Invalidate();
}

void TBitBtn::GlyphChanged(TObject* Sender) {
  FNumGlyphs = DetectNumGlyphs(FGlyph.get(), FNumGlyphs);
  Invalidate();
}

void TBitBtn::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  FNumGlyphs = DetectNumGlyphs(FGlyph.get(), FNumGlyphs);
  Invalidate();
}

void TBitBtn::SetNumGlyphs(TNumGlyphs Value) {
  FNumGlyphs = std::clamp(Value, 1, 4);
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout Value) {
  FLayout = Value;
  Invalidate();
}

void TBitBtn::SetMargin(Integer Value) {
  FMargin = Value < -1 ? -1 : Value;
  Invalidate();
}

void TBitBtn::SetSpacing(Integer Value) {
  FSpacing = Value;
  Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (Value == bkCustom) return;
  static const TResStringRec* const kCaptions[] = {nullptr,        &SOKButton,    &SCancelButton, &SHelpButton,
                                                   &SYesButton,    &SNoButton,    &SCloseButton,  &SAbortButton,
                                                   &SRetryButton,  &SIgnoreButton, &SAllButton};
  static const TModalResult kResults[] = {mrNone, mrOk,    mrCancel, mrNone,   mrYes, mrNo,
                                          mrNone, mrAbort, mrRetry,  mrIgnore, mrAll};
  SetCaption(LoadResString(kCaptions[Value]));
  SetModalResult(kResults[Value]);
  if (Value == bkOK || Value == bkYes) SetDefault(true);
  if (Value == bkCancel || Value == bkNo) SetCancel(true);
}

void TBitBtn::Click() {
  if (FKind == bkClose) {
    if (TCustomForm* form = ::GetParentForm(this)) {
      form->Close();
      return;
    }
  }
  inherited::Click();
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& DrawItemStruct) {
  HDC dc = DrawItemStruct.hDC;
  TRect r = Rect(DrawItemStruct.rcItem.left, DrawItemStruct.rcItem.top, DrawItemStruct.rcItem.right,
                 DrawItemStruct.rcItem.bottom);
  bool pushed = (DrawItemStruct.itemState & ODS_SELECTED) != 0;
  bool focused = (DrawItemStruct.itemState & ODS_FOCUS) != 0;
  bool isDefault = FIsFocused || focused;
  if (isDefault) {
    FrameRect(dc, AsRect(r), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  }
  DrawFrameControl(dc, AsRect(r), DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  TRect client = Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
  if (pushed) client.Offset(1, 1);
  TButtonState state = !Enabled() ? bsDisabled : pushed ? bsDown : bsUp;
  DrawGlyphAndText(dc, client, FGlyph.get(), FNumGlyphs, Caption(), Font(), FLayout, FMargin, FSpacing, state,
                   Enabled());
  if (focused) {
    TRect f = Rect(r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3);
    DrawFocusRect(dc, AsRect(f));
  }
}

void TBitBtn::CNDrawItem(TWMDrawItem& Message) {
  DrawItem(*Message.DrawItemStruct());
  Message.Result = TRUE;
}

void TBitBtn::CNMeasureItem(TWMMeasureItem& Message) {
  MEASUREITEMSTRUCT* m = Message.MeasureItemStruct();
  m->itemWidth = static_cast<UINT>(Width());
  m->itemHeight = static_cast<UINT>(Height());
  Message.Result = TRUE;
}

void TBitBtn::WMLButtonDblClk(TWMMouse& Message) {
  // A double click presses the button again.
  TMessage m = Message;
  m.Msg = WM_LBUTTONDOWN;
  DefaultHandler(&m);
  Message.Result = m.Result;
}

void TBitBtn::CMEnabledChanged(TMessage& Message) {
  InheritedMessage(TBitBtn::StaticClass(), &Message);
  Invalidate();
}

void TBitBtn::CMTextChanged(TMessage& Message) {
  InheritedMessage(TBitBtn::StaticClass(), &Message);
  Invalidate();
}

DK_MESSAGE_UNIT(TBitBtn);
DK_MESSAGE_HANDLER(TBitBtn, CN_DRAWITEM, CNDrawItem);
DK_MESSAGE_HANDLER(TBitBtn, CN_MEASUREITEM, CNMeasureItem);
DK_MESSAGE_HANDLER(TBitBtn, WM_LBUTTONDBLCLK, WMLButtonDblClk);
DK_MESSAGE_HANDLER(TBitBtn, CM_ENABLEDCHANGED, CMEnabledChanged);
DK_MESSAGE_HANDLER(TBitBtn, CM_TEXTCHANGED, CMTextChanged);

DK_PUBLISH(TBitBtn) {
  P.Property("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph);
  P.Property("Kind", &TBitBtn::Kind, &TBitBtn::SetKind).Default(bkCustom);
  P.Property("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout).Default(blGlyphLeft);
  P.Property("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin).Default(-1);
  P.Property("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs).Default(1);
  P.Property("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing).Default(4);
  P.Property("Style", &TBitBtn::Style, &TBitBtn::SetStyle).Default(bsAutoDetect);
}

// ================================================================ TSpeedButton

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {}
TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::Construct() {
  inherited::Construct();
  FGlyph.reset(Create<TBitmap>());
  FGlyph->OnChange = TNotifyEvent(this, &TSpeedButton::GlyphChanged);
  SetBounds(0, 0, 23, 22);
  FControlStyle += TControlStyle{csCaptureMouse, csDoubleClicks};
  SetParentFont(true);
  SetColor(clBtnFace);
}

void TSpeedButton::Loaded() {
  inherited::Loaded();
  FState = !Enabled() ? bsDisabled : FDown ? bsExclusive : bsUp;
}

void TSpeedButton::GlyphChanged(TObject* Sender) {
  FNumGlyphs = DetectNumGlyphs(FGlyph.get(), FNumGlyphs);
  Invalidate();
}

void TSpeedButton::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  FNumGlyphs = DetectNumGlyphs(FGlyph.get(), FNumGlyphs);
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs Value) {
  FNumGlyphs = std::clamp(Value, 1, 4);
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
  FLayout = Value;
  Invalidate();
}

void TSpeedButton::SetMargin(Integer Value) {
  FMargin = Value < -1 ? -1 : Value;
  Invalidate();
}

void TSpeedButton::SetSpacing(Integer Value) {
  FSpacing = Value;
  Invalidate();
}

void TSpeedButton::SetFlat(bool Value) {
  FFlat = Value;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool Value) {
  FTransparent = Value;
  Invalidate();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(Integer Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  // The last button of a group stays down unless AllowAllUp.
  if (FDown && !Value && !FAllowAllUp && !ComponentState().Contains(csLoading)) return;
  FDown = Value;
  if (Value) {
    if (FState == bsUp) FState = bsExclusive;
  } else {
    FState = bsUp;
  }
  Invalidate();
  if (Value) UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !Parent()) return;
  TMessage m;
  m.Msg = CM_BUTTONPRESSED;
  m.WParam = static_cast<WPARAM>(FGroupIndex);
  m.LParam = reinterpret_cast<LPARAM>(this);
  Parent()->Broadcast(m);
}

void TSpeedButton::CMButtonPressed(TMessage& Message) {
  if (static_cast<Integer>(Message.WParam) != FGroupIndex) return;
  auto* sender = reinterpret_cast<TSpeedButton*>(Message.LParam);
  if (sender == this) return;
  if (sender->Down() && FDown) {
    FDown = false;
    FState = bsUp;
    Invalidate();
  }
  FAllowAllUp = sender->AllowAllUp();
}

void TSpeedButton::Click() { inherited::Click(); }

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  bool inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
  TButtonState state = inside ? (FDown ? bsExclusive : bsDown) : (FDown ? bsExclusive : bsUp);
  if (state != FState) {
    FState = state;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (!FDragging) return;
  FDragging = false;
  bool inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
  if (FGroupIndex == 0) {
    FState = bsUp;
    Invalidate();
    // The click itself comes from the mouse message handling (csClickEvents
    // is not set: the button decides here).
    if (inside) Click();
    return;
  }
  if (inside) SetDown(!FDown);
  FState = FDown ? bsExclusive : bsUp;
  Invalidate();
  if (inside) Click();
}

void TSpeedButton::Paint() {
  TCanvas* c = Canvas();
  HDC dc = c->Handle();
  TRect r = Rect(0, 0, Width(), Height());
  bool down = FState == bsDown || FState == bsExclusive;
  if (FFlat) {
    if (!FTransparent || down) {
      c->Brush()->SetColor(Color());
      c->Brush()->SetStyle(bsSolid);
      c->FillRect(r);
    }
    if (down)
      DrawEdge(dc, AsRect(r), BDR_SUNKENOUTER, BF_RECT);
    else if (FMouseInControl && Enabled())
      DrawEdge(dc, AsRect(r), BDR_RAISEDINNER, BF_RECT);
  } else {
    DrawFrameControl(dc, AsRect(r), DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
  }
  TRect client = Rect(2, 2, Width() - 2, Height() - 2);
  if (down) client.Offset(1, 1);
  TButtonState state = !Enabled() ? bsDisabled : FState;
  DrawGlyphAndText(dc, client, FGlyph.get(), FNumGlyphs, Caption(), Font(), FLayout, FMargin, FSpacing, state,
                   Enabled());
}

void TSpeedButton::CMMouseEnter(TMessage& Message) {
  FMouseInControl = true;
  if (FFlat && Enabled()) Invalidate();
}

void TSpeedButton::CMMouseLeave(TMessage& Message) {
  FMouseInControl = false;
  if (FFlat && Enabled()) Invalidate();
}

void TSpeedButton::CMEnabledChanged(TMessage& Message) {
  InheritedMessage(TSpeedButton::StaticClass(), &Message);
  FState = !Enabled() ? bsDisabled : FDown ? bsExclusive : bsUp;
  Invalidate();
}

void TSpeedButton::CMTextChanged(TMessage& Message) { Invalidate(); }

DK_MESSAGE_UNIT(TSpeedButton);
DK_MESSAGE_HANDLER(TSpeedButton, CM_MOUSEENTER, CMMouseEnter);
DK_MESSAGE_HANDLER(TSpeedButton, CM_MOUSELEAVE, CMMouseLeave);
DK_MESSAGE_HANDLER(TSpeedButton, CM_ENABLEDCHANGED, CMEnabledChanged);
DK_MESSAGE_HANDLER(TSpeedButton, CM_TEXTCHANGED, CMTextChanged);
DK_MESSAGE_HANDLER(TSpeedButton, CM_BUTTONPRESSED, CMButtonPressed);

DK_PUBLISH(TSpeedButton) {
  P.Property("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
  P.Property("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
  P.Property("Down", &TSpeedButton::Down, &TSpeedButton::SetDown).Default(false);
  P.Property("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false);
  P.Property("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph);
  P.Property("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout).Default(blGlyphLeft);
  P.Property("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin).Default(-1);
  P.Property("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1);
  P.Property("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing).Default(4);
  P.Property("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent).Default(true);
}
