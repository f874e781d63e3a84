#include "skin/controls/sBitBtn.h"

#include <algorithm>

#include "classlib/ui/ActnList.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/PaintScope.h"
#include "skin/controls/sButtonLook.h"
#include "skin/controls/sThirdParty.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/Sborders.h"
#include "skin/graphics/acGlow.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

DK_UNIT(sBitBtn);

// ------------------------------------------------------------ life

void TsBitBtn::Construct() {
  inherited::Construct();
  SetControlStyle(ControlStyle() - TControlStyle{csOpaque});
  FImageChangeLink = std::make_unique<TChangeLink>();
  FImageChangeLink->OnChange = TNotifyEvent(this, &TsBitBtn::ImageListChange);
  FLastSpacing = Spacing();
  // A new glyph must reach the cache, not only the window.
  FOldGlyphChange = Glyph()->OnChange;
  Glyph()->OnChange = TNotifyEvent(this, &TsBitBtn::GlyphChanged);
}

void TsBitBtn::GlyphChanged(TObject* Sender) {
  if (FOldGlyphChange) FOldGlyphChange(Sender);
  SkinData()->Invalidate();
}

void TsBitBtn::AfterConstruction() {
  SkinData()->CacheBmp->Canvas()->SetFont(Font());
  inherited::AfterConstruction();
}

TsBitBtn::~TsBitBtn() {
  StopFade();
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
  DropRegion();
}

void TsBitBtn::Loaded() {
  inherited::Loaded();
  SkinData()->CacheBmp->Canvas()->SetFont(Font());
  // A streamed glyph never competes with the image list.
  if (ImageListUsable()) {
    TBitmap empty;
    Glyph()->Assign(&empty);
  }
}

void TsBitBtn::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) SetImages(nullptr);
}

void TsBitBtn::Invalidate() {
  if (Layout() != FLastLayout) {
    FLastLayout = Layout();
    SkinData()->BGChanged = true;
  }
  inherited::Invalidate();
}

void TsBitBtn::SetButtonStyle(bool ADefault) {
  inherited::SetButtonStyle(ADefault);
  FIsDefault = ADefault;
  SkinData()->Invalidate();
}

void TsBitBtn::DropRegion() {
  if (reinterpret_cast<std::uintptr_t>(FRegion) > 1) DeleteObject(FRegion);
  FRegion = nullptr;
}


// ------------------------------------------------------------ properties

void TsBitBtn::SetAlignment(TAlignment Value) {
  if (StoreChanged(FAlignment, Value)) SkinData()->Invalidate();
}
void TsBitBtn::SetBlend(Integer Value) {
  if (StoreChanged(FBlend, std::clamp(Value, 0, 100))) SkinData()->Invalidate();
}
void TsBitBtn::SetDisabledGlyphKind(TsDisabledGlyphKind Value) {
  if (StoreChanged(FDisabledGlyphKind, Value)) SkinData()->Invalidate();
}
void TsBitBtn::SetDisabledKind(TsDisabledKind Value) {
  if (StoreChanged(FDisabledKind, Value)) SkinData()->Invalidate();
}
void TsBitBtn::SetGrayed(bool Value) {
  if (StoreChanged(FGrayed, Value)) SkinData()->Invalidate();
}
void TsBitBtn::SetImageIndex(Integer Value) {
  if (StoreChanged(FImageIndex, Value)) SkinData()->Invalidate();
}
void TsBitBtn::SetOffset(Integer Value) {
  if (StoreChanged(FTextOffset, Value)) SkinData()->Invalidate();
}
void TsBitBtn::SetShowCaption(bool Value) {
  if (StoreChanged(FShowCaption, Value)) SkinData()->Invalidate();
}
void TsBitBtn::SetShowFocus(bool Value) {
  if (StoreChanged(FShowFocus, Value)) SkinData()->Invalidate();
}
void TsBitBtn::SetDrawOverBorder(bool Value) {
  if (StoreChanged(FDrawOverBorder, Value)) SkinData()->Invalidate();
}
void TsBitBtn::SetReflected(bool Value) {
  if (StoreChanged(FReflected, Value)) SkinData()->Invalidate();
}
void TsBitBtn::SetTextAlignment(TAlignment Value) {
  if (StoreChanged(FTextAlignment, Value)) SkinData()->Invalidate();
}

void TsBitBtn::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) {
    FImages->UnRegisterChanges(FImageChangeLink.get());
    FImages->RemoveFreeNotification(this);
  }
  FImages = Value;
  if (FImages) {
    FImages->RegisterChanges(FImageChangeLink.get());
    FImages->FreeNotification(this);
  }
  SkinData()->Invalidate();
}

void TsBitBtn::SetWordWrap(bool Value) {
  FWordWrap = Value;
  SkinData()->BGChanged = true;
  Repaint();
}

void TsBitBtn::SetDown(bool Value) {
  FDown = Value;
  FRegionChanged = true;
  SkinData()->BGChanged = true;
  Repaint();
}

void TsBitBtn::ImageListChange(TObject*) {
  if (FImages) SkinData()->Invalidate();
}

void TsBitBtn::ActionChange(TObject* Sender, bool CheckDefaults) {
  inherited::ActionChange(Sender, CheckDefaults);
  if (IsLoading(this)) return;
  if (auto* action = dynamic_cast<TCustomAction*>(Sender)) {
    if (action->ActionList() && action->ActionList()->Images() && !FImages)
      SetImages(action->ActionList()->Images());
    if (FImageIndex == -1) SetImageIndex(action->ImageIndex());
  }
  if (!IsDestroying(this)) SkinData()->Invalidate();
}

bool TsBitBtn::ActionDisabled() const {
  auto* action = dynamic_cast<TCustomAction*>(Action());
  return action && !action->Enabled();
}

bool TsBitBtn::ImageListUsable() const {
  const Integer n = GetImageCount(FImages);
  return FImages && n > 0 && FImageIndex >= 0 && FImageIndex < n;
}

bool TsBitBtn::GetGrayed() {
  if (FGrayed) return true;
  TsSkinManager* m = SkinData()->GetSkinManager();
  return Skinned() && m && m->Effects()->DiscoloredGlyphs();
}

// ------------------------------------------------------------ state and layout

Integer TsBitBtn::CurrentState() {
  TsSkinManager* m = SkinData()->GetSkinManager();
  const bool pushed = HandleAllocated() && (SendMessageW(WindowHandle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  if (FDown || ((pushed || fGlobalFlag) && (SkinData()->MouseAbove || !ControlState().Contains(csLButtonDown) ||
                                            (m && m->Options()->NoMouseHover()))))
    return 2;
  if (!IsDesigning(this) && ControlIsActive(SkinData())) return 1;
  if (Default()) {
    HWND focused = GetFocus();
    if (!focused || (GetWindowLongW(focused, GWL_STYLE) & 0x8) == 0) return 3;
  }
  return 0;
}

Integer TsBitBtn::SkinState(Integer S) { return ButtonSkinState(SkinData(), S); }

Integer TsBitBtn::GlyphWidth() {
  if (ImageListUsable()) return FImages->Width() / std::max(NumGlyphs(), 1);
  if (Glyph() && !Glyph()->Empty()) return Glyph()->Width() / std::max(NumGlyphs(), 1);
  return 0;
}

Integer TsBitBtn::GlyphHeight() {
  if (ImageListUsable()) return FImages->Height();
  if (Glyph() && !Glyph()->Empty()) return Glyph()->Height();
  return 0;
}

TSize TsBitBtn::TextRectSize() {
  Integer maxWidth = 0;
  if (FShowCaption && !Caption().empty()) {
    maxWidth = Width() - 2 * Margin();
    if ((Layout() == blGlyphLeft || Layout() == blGlyphRight) && GlyphWidth() != 0)
      maxWidth -= GlyphWidth() + Spacing();
  }
  TCanvas* canvas = SkinData()->CacheBmp->Canvas();
  canvas->SetFont(Font());
  TRect r{0, 0, maxWidth, 0};
  Cardinal flags = GetStringFlags(this, FTextAlignment) | DT_CALCRECT | DT_EXPANDTABS;
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (maxWidth > 0) acDrawText(FontDC(canvas), Caption(), r, flags);
  else r = TRect{0, 0, 0, 0};
  return TSize{r.Width(), r.Height()};
}

void TsBitBtn::CalcLayout() {
  const TSize text = TextRectSize();
  TRect client{0, 0, Width(), Height()};
  ::CalcButtonLayout(client, TPoint{GlyphWidth(), GlyphHeight()}, TPoint{text.cx, text.cy}, Layout(), FAlignment,
                     Margin(), Spacing(), FGlyphPos, FCaptionRect, DrawTextBiDiModeFlags(0));
}

TRect TsBitBtn::ImgRect() {
  TRect r{FGlyphPos.X, FGlyphPos.Y, FGlyphPos.X + GlyphWidth(), FGlyphPos.Y + GlyphHeight()};
  if (CurrentState() == 2 && ShiftContent(SkinData(), Skinned())) r.Offset(1, 1);
  if (FReflected) r.Offset(0, -(r.Width() / 6));
  return r;
}

// ------------------------------------------------------------ the cache

bool TsBitBtn::PrepareCache() {
  TsCtrlSkinData* sd = SkinData();
  TacBGInfo bg;
  GetBGInfo(&bg, Parent());
  if (bg.BgType == btNotReady) {
    sd->Updating = true;
    return false;
  }
  TCacheInfo ci = BGInfoToCI(&bg);
  InitCacheBmp(sd);
  TacBitmap* cache = sd->CacheBmp.get();
  cache->Canvas()->SetFont(Font());
  const Integer s = SkinState(CurrentState());
  const TRect whole{0, 0, Width(), Height()};
  PaintItemBG(sd, ci, s, whole, TPoint{Left(), Top()}, cache);
  TsSkinManager* m = sd->GetSkinManager();
  const TsMaskData* mask = m && m->IsValidImgIndex(sd->BorderIndex) ? &m->Masks[sd->BorderIndex] : nullptr;
  const bool borderShown = mask && !(s == 0 && (mask->FillMode & 2));
  if (mask) {
    if (FRegionChanged && mask->CornerKind == 2 && !IsDesigning(this) && !InAnimationProcess && !FFadeTimer) {
      DropRegion();
      FRegion = CreateRectRgn(0, 0, Width(), Height());
      if (FDrawOverBorder && borderShown) PaintRgnBorder(cache, FRegion, true, *mask, s);
    } else if (FDrawOverBorder && borderShown) {
      TCacheInfo shifted = ci;
      shifted.X += Left();
      shifted.Y += Top();
      DrawSkinRect(cache, whole, shifted, *mask, s, true);
    }
  }
  UpdateBmpColors(cache, sd, true, s);
  CalcLayout();
  if (FShowCaption) DrawCaption(nullptr);
  DrawBtnGlyph(this, nullptr);
  if (!FDrawOverBorder && borderShown) {
    if (mask->CornerKind != 2 || IsDesigning(this))
      DrawSkinRect(cache, whole, ci, *mask, s, true);
    else
      PaintRgnBorder(cache, reinterpret_cast<std::uintptr_t>(FRegion) > 1 ? FRegion : nullptr, true, *mask, s);
  }
  if (!Enabled() || ActionDisabled()) BmpDisabledKind(cache, FDisabledKind, Parent(), ci, TPoint{Left(), Top()});
  if (OnPaint) OnPaint(this, cache);
  sd->BGChanged = false;
  return true;
}

void TsBitBtn::DrawCaption(TCanvas* ACanvas) {
  TCanvas* canvas = ACanvas ? ACanvas : SkinData()->CacheBmp->Canvas();
  canvas->SetFont(Font());
  canvas->Brush()->SetStyle(bsClear);
  TRect r = FCaptionRect;
  const bool skinned = Skinned();
  if (CurrentState() == 2 && ShiftContent(SkinData(), skinned)) r.Offset(1, 1);
  Cardinal flags = GetStringFlags(this, FTextAlignment) | DT_EXPANDTABS | DT_END_ELLIPSIS;
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (UseRightToLeftReading()) flags |= DT_RTLREADING;
  if (skinned) {
    DoDrawText(r, flags);
    TsSkinManager* m = SkinData()->GetSkinManager();
    if (Enabled() && m && m->ButtonsOptions()->ShowFocusRect && Focused() && !Caption().empty() && FShowFocus &&
        FShowCaption) {
      GrowRect(r, FFocusMargin + 1, FFocusMargin);
      FocusRect(canvas, r, ButtonFocusColor(SkinData()), clNone);
    }
    return;
  }
  if (Enabled()) {
    acDrawText(FontDC(canvas), Caption(), r, flags);
    return;
  }
  const TColor color = canvas->Font()->Color();
  TRect shadow = r;
  shadow.Offset(1, 1);
  canvas->Font()->SetColor(clBtnHighlight);
  acDrawText(FontDC(canvas), Caption(), shadow, flags);
  canvas->Font()->SetColor(clBtnShadow);
  acDrawText(FontDC(canvas), Caption(), r, flags);
  canvas->Font()->SetColor(color);
}

void TsBitBtn::DoDrawText(TRect& R, Cardinal Flags) {
  acWriteTextEx(SkinData()->CacheBmp->Canvas(), Caption(), true, R, Flags, SkinData(), CurrentState() != 0);
}

// ------------------------------------------------------------ painting

void TsBitBtn::OurPaintHandler(HDC ADC) {
  TsCtrlSkinData* sd = SkinData();
  if (InAnimationProcess && !(ADC && ADC == sd->PrintDC)) return;
  HWND wnd = WindowHandle();
  HDC dc = ADC ? ADC : GetDC(wnd);
  PAINTSTRUCT ps{};
  const bool begun = !InAnimationProcess && !ADC;
  if (begun) BeginPaint(wnd, &ps);
  struct TEnd {
    HWND Wnd;
    HDC DC;
    bool Fetched, Begun;
    PAINTSTRUCT* Ps;
    ~TEnd() {
      if (Begun) EndPaint(Wnd, Ps);
      if (Fetched) ReleaseDC(Wnd, DC);
    }
  } end{wnd, dc, ADC == nullptr, begun, &ps};

  if (InUpdating(sd) || (FFadeTimer && FFadeTimer->Enabled())) return;
  if (!sd->BGChanged && !sd->OutOfParent)
    sd->BGChanged = Parent() && SendAMessage(Parent(), ACMD_QUERY_OFFSCREEN) != 0;
  else
    sd->BGChanged = true;
  sd->OutOfParent = !Parent() || !RectInRect(Parent()->ClientRect(), BoundsRect());
  if (!sd->BGChanged && FLastSpacing != Spacing()) {
    sd->BGChanged = true;
    FLastSpacing = Spacing();
  }
  const bool redraw = FRegion == reinterpret_cast<HRGN>(1) || aSkinChanging;
  DropRegion();
  TsSkinManager* m = sd->GetSkinManager();
  const TsMaskData* mask = m && m->IsValidImgIndex(sd->BorderIndex) ? &m->Masks[sd->BorderIndex] : nullptr;
  if (FRegionChanged && mask && mask->CornerKind == 2 && !IsDesigning(this)) {
    if (!PrepareCache()) return;
    PaintRegion(dc, SkinState(CurrentState()));
    if (dc != sd->PrintDC && !ControlState().Contains(csAlignmentNeeded) && FRegion) {
      SetWindowRgn(wnd, FRegion, redraw);
      const TRect last = FLastRect;
      if ((Width() < last.Width() || Height() < last.Height()) && !GetParentCache(sd).Ready && Parent() &&
          Parent()->HandleAllocated()) {
        const Integer wl = mask->MarginLeft, wt = mask->MarginTop, wr = mask->MarginRight, wb = mask->MarginBottom;
        const RECT corners[3] = {{last.Right - wr, last.Top, last.Right, last.Top + wt},
                                 {last.Right - wr, last.Bottom - wb, last.Right, last.Bottom},
                                 {last.Left, last.Bottom - wb, last.Left + wl, last.Bottom}};
        for (const RECT& c : corners) InvalidateRect(Parent()->WindowHandle(), &c, FALSE);
      }
      FLastRect = BoundsRect();
      FRegion = nullptr;  // the window owns it now
    }
  } else if (sd->BGChanged || IsDesigning(this)) {
    if (!PrepareCache()) return;
  }
  TDCStateScope state(dc);
  BitBlt(dc, 0, 0, Width(), Height(), sd->CacheBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TsBitBtn::PaintRegion(HDC DC, Integer State) {
  TsCtrlSkinData* sd = SkinData();
  UpdateCorners(sd, State, TsCorners{scLeftTop, scLeftBottom, scRightTop, scRightBottom});
  TsSkinManager* m = sd->GetSkinManager();
  const Integer l = m->MaskWidthLeft(sd->BorderIndex), t = m->MaskWidthTop(sd->BorderIndex);
  const Integer r = m->MaskWidthRight(sd->BorderIndex), b = m->MaskWidthBottom(sd->BorderIndex);
  HDC src = sd->CacheBmp->Canvas()->Handle();
  const Integer w = Width(), h = Height();
  BitBlt(DC, 0, 0, l, t, src, 0, 0, SRCCOPY);
  BitBlt(DC, 0, h - b, w, b, src, 0, h - b, SRCCOPY);
  BitBlt(DC, w - r, h - b, r, b, src, w - r, h - b, SRCCOPY);
  BitBlt(DC, w - r, 0, r, t, src, w - r, 0, SRCCOPY);
}

void TsBitBtn::DrawItem(const DRAWITEMSTRUCT& DrawItemStruct) {
  if (SkinData()->Skinned(false)) return;
  StdDrawItem(DrawItemStruct);
}

void TsBitBtn::StdDrawItem(const DRAWITEMSTRUCT& DIS) {
  if (IsDestroying(this)) return;
  TCanvas canvas;
  canvas.SetHandle(DIS.hDC);
  struct TRelease {
    TCanvas& C;
    ~TRelease() { C.SetHandle(nullptr); }
  } release{canvas};
  CalcLayout();
  const TRect client{0, 0, Width(), Height()};
  TRect r = client;
  canvas.SetFont(Font());
  const bool pressed = (DIS.itemState & ODS_SELECTED) != 0;
  const bool focused = (DIS.itemState & ODS_FOCUS) != 0;
  UINT frame = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
  if (pressed) frame |= DFCS_PUSHED;
  if (DIS.itemState & ODS_DISABLED) frame |= DFCS_INACTIVE;
  if (FIsDefault || focused) {
    canvas.Pen()->SetColor(clWindowFrame);
    canvas.Pen()->SetWidth(1);
    canvas.Brush()->SetStyle(bsClear);
    canvas.Rectangle(r);
    GrowRect(r, -1, -1);
  }
  if (pressed) {
    canvas.Pen()->SetColor(clBtnShadow);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clBtnFace);
    canvas.Rectangle(r);
    GrowRect(r, -1, -1);
  } else {
    DrawFrameControl(DIS.hDC, reinterpret_cast<RECT*>(&r), DFC_BUTTON, frame);
  }
  TsSkinManager* m = SkinData()->GetSkinManager();
  if (FIsDefault && focused && (!m || m->ButtonsOptions()->ShowFocusRect)) {
    TRect f = client;
    GrowRect(f, -4, -4);
    canvas.Pen()->SetColor(clWindowFrame);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clBtnFace);
    DrawFocusRect(DIS.hDC, reinterpret_cast<RECT*>(&f));
  }
  DrawCaption(&canvas);
  DrawBtnGlyph(this, &canvas);
}

// ------------------------------------------------------------ mouse

void TsBitBtn::ChangePaint(bool Clicked, TacAnimatEvent Event) {
  DoChangePaint(FFadeTimer, SkinData(), Clicked, EventEnabled(Event, FAnimatEvents, nullptr), fdUp);
}

void TsBitBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TsCtrlSkinData* sd = SkinData();
  if (Skinned() && Enabled() && !IsDesigning(this)) {
    sd->Updating = false;
    if (Button == mbLeft && !ShowHintStored) {
      AppShowHint = Application->ShowHint;
      Application->ShowHint = false;
      ShowHintStored = true;
    }
    FMouseClicked = true;
    if (Button == mbLeft && !FDown) {
      FRegionChanged = true;
      sd->Updating = sd->GetUpdating();
      sd->BGChanged = false;
      ChangePaint(true, aeMouseDown);
    }
    if (ShowHintStored) {
      Application->ShowHint = AppShowHint;
      ShowHintStored = false;
    }
  }
  inherited::MouseDown(Button, Shift, X, Y);
}

void TsBitBtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (IsDestroying(this)) return;
  TsCtrlSkinData* sd = SkinData();
  if (Skinned() && Enabled() && !IsDesigning(this)) {
    if (Button == mbLeft) {
      Application->ShowHint = AppShowHint;
      ShowHintStored = false;
    }
    if (!FMouseClicked) {
      StopFade();
    } else {
      FMouseClicked = false;
      if (Button == mbLeft && Enabled()) {
        if (FFadeTimer && FFadeTimer->FadeStep < FFadeTimer->FadeSteps) {
          // Let the pressed look be seen before the release fades it.
          StopFade();
          sd->BGChanged = true;
          fGlobalFlag = true;
          RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
          fGlobalFlag = false;
          Sleep(30);
        }
        sd->Updating = false;
        FRegionChanged = true;
        sd->BGChanged = false;
        ChangePaint(true, aeMouseUp);
      }
    }
  }
  inherited::MouseUp(Button, Shift, X, Y);
}

// ------------------------------------------------------------ messages

bool TsBitBtn::HandleSkinCommand(TMessage& Message) {
  TsCtrlSkinData* sd = SkinData();
  const auto cmd = static_cast<Word>(Message.WParamHi());
  const bool ours = reinterpret_cast<TsSkinManager*>(Message.LParam) == sd->GetSkinManager();
  switch (cmd) {
    case ACMD_SKIN_LOADED:
      if (!ours) return false;
      FRegionChanged = true;
      StopFade();
      CommonWndProc(Message, sd);
      return true;
    case ACMD_SKIN_UNLOADED:
      if (!ours || IsDestroying(this)) return false;
      StopFade();
      CommonWndProc(Message, sd);
      DropRegion();
      if (HandleAllocated()) SetWindowRgn(WindowHandle(), nullptr, TRUE);
      Repaint();
      return true;
    case ACMD_SKIN_REPAINT:
      if (!ours) return false;
      StopFade();
      if (HandleAllocated()) SetWindowRgn(WindowHandle(), nullptr, FALSE);
      CommonWndProc(Message, sd);
      FRegionChanged = true;
      if (!(sd->StateFlags & 0x200)) Repaint();
      return true;
    case ACMD_QUERY_HOOKED:
      Message.Result = 1;
      return true;
    case ACMD_STOP_FADE:
      StopFade();
      Repaint();
      return true;
    case ACMD_BUILD_CACHE:
      Message.Result = PrepareCache() ? 0 : 1;
      return true;
    case ACMD_FADE_FRAME:
      // A region waiting for the next paint would cut the frame: it goes.
      // Result 0: the timer copies the frame to the window itself.
      if (reinterpret_cast<std::uintptr_t>(FRegion) > 1) {
        DeleteObject(FRegion);
        FRegion = nullptr;
      }
      Message.Result = 0;
      return true;
    default:
      return false;
  }
}

// True when the message was handled here; false: the common handling follows.
bool TsBitBtn::HandleSkinnedMessage(TMessage& Message) {
  TsCtrlSkinData* sd = SkinData();
  const bool shown = Visible() || IsDesigning(this);
  TsSkinManager* m = sd->GetSkinManager();
  switch (Message.Msg) {
    case WM_MOVE: {
      const TsGeneralData& g = m->Sections[sd->SkinIndex];
      if (g.Props[0].Transparency > 0 || (g.Props[1].Transparency > 0 && ControlIsActive(sd))) {
        sd->BGChanged = true;
        Repaint();
      }
      return false;
    }
    case WM_SIZE:
      FRegionChanged = true;
      return false;
    case WM_PAINT:
      if (!shown) return false;
      if (!Parent()) return true;
      OurPaintHandler(reinterpret_cast<HDC>(Message.WParam));
      return !IsDesigning(this);
    case WM_ERASEBKGND:
      if (!shown) return false;
      if (sd->GetUpdating()) return true;
      if (Message.WParam && sd->CacheBmp && !sd->BGChanged && !(FFadeTimer && FFadeTimer->Enabled()))
        CopyWinControlCache(this, sd, TRect{0, 0, Width(), Height()}, TRect{0, 0, Width(), Height()},
                            reinterpret_cast<HDC>(Message.WParam), false);
      Message.Result = 0;
      return true;
    case WM_UPDATEUISTATE:
      if (!shown) return false;
      Message.Result = 0;
      return true;
    case CM_TEXTCHANGED:
      if (!IsDestroying(this) && shown) {
        sd->Invalidate();
        return true;
      }
      return false;
    default:
      return PushButtonMessage(Message);
  }
}

void TsBitBtn::WndProc(TMessage& Message) {
  if (Message.Msg == WM_KILLFOCUS && IsDestroying(this)) return;
  if (Message.Msg == SM_ALPHACMD && HandleSkinCommand(Message)) return;
  TsCtrlSkinData* sd = SkinData();
  if (!ControlIsReady(this) || !sd->Skinned(true)) {
    if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) {
      const bool enter = Message.Msg == CM_MOUSEENTER;
      sd->MouseAbove = enter;
      if (Enabled() && !IsDesigning(this)) {
        if (enter && OnMouseEnter) OnMouseEnter(this);
        if (!enter && OnMouseLeave) OnMouseLeave(this);
      }
    }
    inherited::WndProc(Message);
    return;
  }
  SkinnedWndProc(Message);
}

// ------------------------------------------------------------ streaming

DK_PUBLISH(TsBitBtn) {
  PublishSkinData(P);
  P.Property("OnPaint", &TsBitBtn::OnPaint);
  P.Property("AnimatEvents", &TsBitBtn::AnimatEvents, &TsBitBtn::SetAnimatEvents)
      .Default(TacAnimatEvents{aeGlobalDef});
  P.Property("Alignment", &TsBitBtn::Alignment, &TsBitBtn::SetAlignment).Default(taCenter);
  P.Property("Blend", &TsBitBtn::Blend, &TsBitBtn::SetBlend).Default(0);
  P.Property("DisabledGlyphKind", &TsBitBtn::DisabledGlyphKind, &TsBitBtn::SetDisabledGlyphKind)
      .Default(TsDisabledGlyphKind{dgBlended});
  P.Property("DisabledKind", &TsBitBtn::DisabledKind, &TsBitBtn::SetDisabledKind)
      .Default(TsDisabledKind{dkBlended});
  P.Property("Down", &TsBitBtn::Down, &TsBitBtn::SetDown).Default(false);
  P.Property("FocusMargin", &TsBitBtn::FocusMargin, &TsBitBtn::SetFocusMargin).Default(1);
  P.Property("Grayed", &TsBitBtn::Grayed, &TsBitBtn::SetGrayed).Default(false);
  P.Property("ImageIndex", &TsBitBtn::ImageIndex, &TsBitBtn::SetImageIndex).Default(-1);
  P.Property("Images", &TsBitBtn::Images, &TsBitBtn::SetImages);
  P.Property("Reflected", &TsBitBtn::Reflected, &TsBitBtn::SetReflected).Default(false);
  P.Property("ShowCaption", &TsBitBtn::ShowCaption, &TsBitBtn::SetShowCaption).Default(true);
  P.Property("ShowFocus", &TsBitBtn::ShowFocus, &TsBitBtn::SetShowFocus).Default(true);
  P.Property("DrawOverBorder", &TsBitBtn::DrawOverBorder, &TsBitBtn::SetDrawOverBorder).Default(true);
  P.Property("TextOffset", &TsBitBtn::TextOffset, &TsBitBtn::SetOffset).Default(0);
  P.Property("TextAlignment", &TsBitBtn::TextAlignment, &TsBitBtn::SetTextAlignment).Default(taCenter);
  P.Property("WordWrap", &TsBitBtn::WordWrap, &TsBitBtn::SetWordWrap).Default(true);
  P.Property("OnMouseEnter", &TsBitBtn::OnMouseEnter);
  P.Property("OnMouseLeave", &TsBitBtn::OnMouseLeave);
}
