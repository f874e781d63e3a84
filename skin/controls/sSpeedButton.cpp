#include "skin/controls/sSpeedButton.h"

#include <algorithm>

#include "classlib/ui/ActnList.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/PaintScope.h"
#include "skin/controls/sButtonLook.h"
#include "skin/controls/sThirdParty.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

DK_UNIT(sSpeedButton);

namespace {
constexpr Integer kArrowPart = 16;  // the drop-down part of a drop-down button
}  // namespace

// ------------------------------------------------------------ life

void TsSpeedButton::Construct() {
  inherited::Construct();
  FImageChangeLink = std::make_unique<TChangeLink>();
  FImageChangeLink->OnChange = TNotifyEvent(this, &TsSpeedButton::ImageListChange);
  FOldGlyphChange = Glyph()->OnChange;
  Glyph()->OnChange = TNotifyEvent(this, &TsSpeedButton::GlyphChanged);
  FLastSpacing = Spacing();
  FLastNumGlyphs = NumGlyphs();
}

void TsSpeedButton::AfterConstruction() {
  inherited::AfterConstruction();
  if (Skinned()) SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
}

void TsSpeedButton::Loaded() {
  inherited::Loaded();
  if (Skinned()) SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  if (ImageListUsable()) {
    TBitmap empty;
    Glyph()->Assign(&empty);
  }
  if (auto* action = dynamic_cast<TBasicAction*>(Action()))
    action->OnChange = TNotifyEvent(this, &TsSpeedButton::ActionChanged);
}

TsSpeedButton::~TsSpeedButton() {
  StopAnimation();
  if (auto* action = dynamic_cast<TBasicAction*>(Action());
      action && action->OnChange == TNotifyEvent(this, &TsSpeedButton::ActionChanged))
    action->OnChange = TNotifyEvent();
  delete FAnimTimer;
  FAnimTimer = nullptr;
  if (TsSkinManager* m = SkinData()->GetSkinManager(); m && m->ActiveGraphControl() == this)
    m->SetActiveGraphControl(nullptr);
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
}

void TsSpeedButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  inherited::ActionChange(Sender, CheckDefaults);
  if (IsLoading(this)) return;
  if (auto* action = dynamic_cast<TCustomAction*>(Sender)) {
    bool taken = false;
    TCustomImageList* images = action->ActionList() ? action->ActionList()->Images() : nullptr;
    if (images && images != FImages) {
      SetImages(images);
      taken = true;
    }
    if (FImageIndex == -1) {
      SetImageIndex(action->ImageIndex());
      taken = true;
    }
    if (taken && ImageListUsable()) {
      TBitmap empty;
      Glyph()->Assign(&empty);
    }
    action->OnChange = TNotifyEvent(this, &TsSpeedButton::ActionChanged);
  }
  if (!IsDestroying(this)) SkinData()->Invalidate();
}

void TsSpeedButton::ActionChanged(TObject*) {
  auto* action = dynamic_cast<TCustomAction*>(Action());
  if (SkinData()->Updating || !action || !action->ActionList()) return;
  bool changed = false;
  if (action->ActionList()->Images() != FImages) {
    SetImages(action->ActionList()->Images());
    changed = true;
  }
  if (action->ImageIndex() != FImageIndex) {
    SetImageIndex(action->ImageIndex());
    changed = true;
  }
  if (changed) Repaint();
}

void TsSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FDropdownMenu) FDropdownMenu = nullptr;
}

void TsSpeedButton::Invalidate() {
  if (Layout() != FLastLayout) {
    FLastLayout = Layout();
    SkinData()->BGChanged = true;
  }
  inherited::Invalidate();
}

void TsSpeedButton::GlyphChanged(TObject* Sender) {
  if (FOldGlyphChange) FOldGlyphChange(Sender);
  if (!IsLoading(this) && !IsDestroying(this)) SkinData()->Invalidate();
}

void TsSpeedButton::ImageListChange(TObject*) {
  if (Skinned()) {
    SkinData()->BGChanged = true;
    GraphRepaint();
  } else {
    Repaint();
  }
}

// ------------------------------------------------------------ properties

void TsSpeedButton::SetAndRepaint() {
  if (!Visible() && !IsDesigning(this)) return;
  SkinData()->BGChanged = true;
  GraphRepaint();
}

void TsSpeedButton::SetAlignment(TAlignment Value) {
  if (StoreChanged(FAlignment, Value)) SetAndRepaint();
}
void TsSpeedButton::SetDisabledGlyphKind(TsDisabledGlyphKind Value) {
  if (StoreChanged(FDisabledGlyphKind, Value)) SetAndRepaint();
}
void TsSpeedButton::SetDisabledKind(TsDisabledKind Value) {
  if (StoreChanged(FDisabledKind, Value)) SetAndRepaint();
}
void TsSpeedButton::SetOffset(Integer Value) {
  if (StoreChanged(FTextOffset, Value)) SetAndRepaint();
}
void TsSpeedButton::SetShowCaption(bool Value) {
  if (StoreChanged(FShowCaption, Value)) SetAndRepaint();
}
void TsSpeedButton::SetDrawOverBorder(bool Value) {
  if (StoreChanged(FDrawOverBorder, Value)) SetAndRepaint();
}
void TsSpeedButton::SetTextAlignment(TAlignment Value) {
  if (StoreChanged(FTextAlignment, Value)) SetAndRepaint();
}
void TsSpeedButton::SetBlend(Integer Value) {
  if (StoreChanged(FBlend, std::clamp(Value, 0, 100)) && !(SkinData()->StateFlags & 0x800)) SetAndRepaint();
}
void TsSpeedButton::SetGrayed(bool Value) {
  if (StoreChanged(FGrayed, Value) && !(SkinData()->StateFlags & 0x800)) SetAndRepaint();
}
void TsSpeedButton::SetImageIndex(Integer Value) {
  if (StoreChanged(FImageIndex, Value) && !(SkinData()->StateFlags & 0x800)) SetAndRepaint();
}
void TsSpeedButton::SetImages(TCustomImageList* Value) {
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
  if (!(SkinData()->StateFlags & 0x800)) SetAndRepaint();
}
void TsSpeedButton::SetWordWrap(bool Value) {
  FWordWrap = Value;
  SkinData()->BGChanged = true;
  GraphRepaint();
}
void TsSpeedButton::SetReflected(bool Value) {
  FReflected = Value;
  SkinData()->BGChanged = true;
  GraphRepaint();
}
void TsSpeedButton::SetDropdownMenu(TPopupMenu* Value) {
  if (FDropdownMenu) FDropdownMenu->RemoveFreeNotification(this);
  FDropdownMenu = Value;
  if (FDropdownMenu) FDropdownMenu->FreeNotification(this);
}

void TsSpeedButton::SetButtonStyle(TToolButtonStyle Value) {
  if (FButtonStyle == Value) return;
  // A streamed width already holds the arrow part.
  if (!IsLoading(this)) {
    if (Value == tbsDropDown)
      SetWidth(Width() + kArrowPart);
    else if (FButtonStyle == tbsDropDown)
      SetWidth(Width() - kArrowPart);
  }
  FButtonStyle = Value;
  SetAndRepaint();
}

bool TsSpeedButton::ImageListUsable() const {
  const Integer n = GetImageCount(FImages);
  return FImages && n > 0 && FImageIndex >= 0 && FImageIndex < n;
}

// ------------------------------------------------------------ look

bool TsSpeedButton::GetGrayed() {
  if (FGrayed) return true;
  TsSkinManager* m = SkinData()->GetSkinManager();
  return Skinned() && m && m->Effects()->DiscoloredGlyphs();
}

void TsSpeedButton::DrawGlyph() {
  if (Skinned())
    DrawBtnGlyph(this, SkinData()->CacheBmp->Canvas());
  else
    DrawBtnGlyph(this, Canvas());
}

Integer TsSpeedButton::GlyphWidth() {
  const Integer n = std::max(NumGlyphs(), 1);
  if (Glyph() && !Glyph()->Empty() && Glyph()->Width() > 0) return Glyph()->Width() / n;
  if (ImageListUsable()) return FImages->Width() / n;
  return 0;
}

Integer TsSpeedButton::GlyphHeight() {
  if (Glyph() && !Glyph()->Empty() && Glyph()->Height() > 0) return Glyph()->Height();
  if (ImageListUsable()) return FImages->Height();
  return 0;
}

Integer TsSpeedButton::CurrentState() {
  if (Pressed() || FDroppedDown) return 2;
  return ControlIsActive(SkinData()) ? 1 : 0;
}

bool TsSpeedButton::ShiftOnPress() { return ShiftContent(SkinData(), Skinned()); }

TSize TsSpeedButton::TextRectSize() {
  Integer maxWidth = 0;
  if (FShowCaption && !Caption().empty()) {
    maxWidth = Width() - 2 * Margin() - ArrowWidth();
    if ((Layout() == blGlyphLeft || Layout() == blGlyphRight) && GlyphWidth() != 0)
      maxWidth -= GlyphWidth() + Spacing();
  }
  if (maxWidth <= 0) return TSize{0, 0};
  TCanvas* canvas = SkinData()->CacheBmp->Canvas();
  canvas->SetFont(Font());
  TRect r{0, 0, maxWidth, 0};
  const Cardinal flags = DT_CALCRECT | DT_EXPANDTABS | DT_END_ELLIPSIS | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE);
  acDrawText(FontDC(canvas), Caption(), r, flags);
  return TSize{r.Width(), r.Height()};
}

TRect TsSpeedButton::CaptionRect(bool Shift) {
  const Integer m = GenMargin(), gw = GlyphWidth(), gh = GlyphHeight(), aw = ArrowWidth();
  const TSize t = TextRectSize();
  const Integer tw = t.cx, th = t.cy, w = Width(), h = Height();
  const bool caption = !Caption().empty();
  const Integer sp = gw > 0 && caption ? Spacing() : 0;
  const Integer spv = gh > 0 && caption ? Spacing() : 0;
  TRect r;
  switch (Layout()) {
    case blGlyphLeft: {
      r.Top = (h - th) / 2;
      r.Bottom = r.Top + th;
      const Integer e = w - aw - tw - gw - sp - 2 * m;
      if (FAlignment == taLeftJustify) {
        if (FTextAlignment == taLeftJustify)
          r.Left = m + gw + sp;
        else if (FTextAlignment == taRightJustify)
          r.Left = gw != 0 ? w - m - tw - aw : m;
        else
          r.Left = gw != 0 ? e / 2 + gw + sp : (w - tw) / 2;
        r.Right = r.Left + tw;
      } else if (FAlignment == taRightJustify) {
        r.Left = w - m - tw - aw;
        r.Right = w - aw - m;
      } else {
        r.Left = m + gw + sp + e / 2;
        r.Right = r.Left + tw;
      }
      break;
    }
    case blGlyphRight:
      r.Top = (h - th) / 2;
      r.Bottom = r.Top + th;
      if (FAlignment == taLeftJustify) {
        r.Left = m;
        r.Right = m + tw;
      } else if (FAlignment == taRightJustify) {
        if (FTextAlignment == taLeftJustify)
          r.Left = gw != 0 ? m : w - m - tw - aw;
        else if (FTextAlignment == taRightJustify)
          r.Left = w - m - gw - sp - tw - aw;
        else
          r.Left = gw != 0 ? (w - m - gw - sp - tw - aw) / 2 : w - m - tw - aw;
        r.Right = w - aw - gw - sp - m;
      } else {
        r.Left = (w - aw - gw - sp - tw) / 2;
        r.Right = r.Left + tw;
      }
      break;
    case blGlyphTop: {
      const Integer v = (h - gh - spv - th) / 2 - m;
      r.Left = (w - tw - aw) / 2;
      r.Top = m + v + gh + spv;
      r.Right = w - r.Left - aw;
      r.Bottom = h - v - m;
      break;
    }
    default: {  // blGlyphBottom
      const Integer a = (h - gh - spv - th) / 2, v = a - m;
      r.Left = (w - tw - aw) / 2;
      r.Top = a;
      r.Right = w - r.Left - aw;
      r.Bottom = h - v - m - gh - spv;
      break;
    }
  }
  r.Left += FTextOffset;
  r.Top += FTextOffset;
  r.Right += FTextOffset;
  r.Bottom += FTextOffset;
  if (Shift && CurrentState() == 2 && ShiftOnPress()) r.Offset(1, 1);
  return r;
}

TRect TsSpeedButton::ImgRect(bool Shift) {
  const Integer m = GenMargin(), gw = GlyphWidth(), gh = GlyphHeight(), aw = ArrowWidth();
  const TSize t = TextRectSize();
  const Integer tw = t.cx, th = t.cy, w = Width(), h = Height();
  const Integer sp = FShowCaption && gw > 0 && !Caption().empty() ? Spacing() : 0;
  const Integer e = (w - aw - gw - sp - tw) / 2, f = (h - gh - sp - th) / 2;
  const bool pressed = CurrentState() == 2;
  Integer left = 0, top = 0;
  switch (Layout()) {
    case blGlyphLeft:
      left = FAlignment == taLeftJustify ? m : FAlignment == taRightJustify ? 2 * e - m : e;
      top = (h - gh) / 2;
      break;
    case blGlyphRight:
      if (FAlignment == taLeftJustify)
        left = CaptionRect(true).Right + sp - (pressed ? 1 : 0);
      else if (FAlignment == taRightJustify)
        left = w - aw - gw - m;
      else
        left = (tw + w + sp - aw - gw) / 2;
      top = (h - gh) / 2;
      break;
    case blGlyphTop:
      left = (w - aw - gw) / 2 + 1;
      top = f;
      break;
    default:
      left = (w - aw - gw) / 2 + 1;
      top = h - f - gh;
      break;
  }
  if (Shift && pressed && ShiftOnPress()) {
    ++left;
    ++top;
  }
  TRect r{left, top, left + gw, top + gh};
  if (FReflected) r.Offset(0, -(r.Height() / 6));
  return r;
}

TRect TsSpeedButton::ArrowRect() {
  if (FButtonStyle != tbsDropDown) return TRect{0, 0, 0, 0};
  Integer left;
  if (OnClick) {
    left = Width() - kArrowPart;
  } else {
    const TRect i = ImgRect(false);
    TRect c;
    if (FShowCaption)
      c = CaptionRect(false);
    else {
      const Integer x = i.Width() > 0 ? i.Right : GlyphWidth() + (Width() - kArrowPart) / 2;
      c = TRect{x, 0, x, 0};
    }
    const bool bothEmpty = (c.Width() <= 0 && c.Height() <= 0) && (i.Width() <= 0 && i.Height() <= 0);
    const Integer gap = bothEmpty ? 0 : 2;
    if (Layout() == blGlyphLeft)
      left = gap + c.Right;
    else if (Layout() == blGlyphRight)
      left = gap + i.Right;
    else
      left = gap + std::max(i.Right, c.Right);
  }
  TRect r{left, 0, left + kArrowPart, Height()};
  if (CurrentState() == 2 && ShiftOnPress()) r.Offset(1, 1);
  return r;
}

// ------------------------------------------------------------ the cache

bool TsSpeedButton::PrepareCache() {
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
  TsSkinManager* m = sd->GetSkinManager();
  const TRect whole{0, 0, Width(), Height()};
  const TPoint pos{Left(), Top()};
  if (!(ci.Ready && ci.Bmp && ci.Bmp->Empty())) {
    if (FButtonStyle == tbsSeparator || FButtonStyle == tbsDivider) {
      if (ci.Ready && ci.Bmp)
        BitBlt(cache->Canvas()->Handle(), 0, 0, Width(), Height(), ci.Bmp->Canvas()->Handle(), Left() + ci.X,
               Top() + ci.Y, SRCCOPY);
      else {
        cache->Canvas()->Brush()->SetStyle(bsSolid);
        cache->Canvas()->Brush()->SetColor(ci.FillColor);
        cache->Canvas()->FillRect(whole);
      }
      if (FButtonStyle == tbsDivider && m) {
        const Integer div = m->GetSkinIndex("DIVIDER");
        const Integer mask = div >= 0 ? m->GetMaskIndex(div, "DIVIDER", "BORDERSMASK") : -1;
        if (m->IsValidImgIndex(mask)) {
          const Integer x = Width() / 2 - 1;
          DrawSkinRect(cache, TRect{x, 0, x + 2, Height()}, ci, m->Masks[mask], 0, false);
        }
      }
    } else {
      Integer s;
      Integer arrowMode = 0;
      if (FButtonStyle == tbsDropDown) {
        s = (FMenuShown && FDropdownMenu) || Down() || Pressed() ? 2 : ControlIsActive(sd) ? 1 : 0;
        if (OnClick) {
          const TColor tone = sd->ColorTone();
          const Integer hue = sd->HUEOffset(), sat = sd->Saturation();
          sd->SetColorTone(clNoColor);
          sd->SetHUEOffset(0);
          sd->SetSaturation(0);
          const TRect arrow{Width() - kArrowPart, 0, Width(), Height()};
          PaintItemBG(sd, ci, s, arrow, TPoint{Left() + Width() - kArrowPart, Top()}, cache);
          if (m && m->IsValidImgIndex(sd->BorderIndex)) {
            TCacheInfo shifted = ci;
            shifted.X += Left();
            shifted.Y += Top();
            DrawSkinRect(cache, arrow, shifted, m->Masks[sd->BorderIndex], s, true);
          }
          sd->SetColorTone(tone);
          sd->SetHUEOffset(hue);
          sd->SetSaturation(sat);
          arrowMode = 2;
        } else {
          arrowMode = 1;
        }
      } else {
        s = CurrentState();
      }
      if (FDrawOverBorder) {
        PaintItem(sd, ci, true, s, TRect{0, 0, Width() - (arrowMode == 2 ? kArrowPart : 0), Height()}, pos, cache,
                  true);
        DrawCaption();
        DrawGlyph();
        if (arrowMode == 2 || (arrowMode == 1 && !FShowCaption)) PaintArrow(ArrowRect(), s, true);
      } else {
        const TRect body{0, 0, Width() - ArrowWidth(), Height()};
        PaintItemBG(sd, ci, s, body, pos, cache);
        DrawCaption();
        DrawGlyph();
        if (m && m->IsValidImgIndex(sd->BorderIndex)) {
          TCacheInfo shifted = ci;
          shifted.X += Left();
          shifted.Y += Top();
          DrawSkinRect(cache, body, shifted, m->Masks[sd->BorderIndex], s, false);
        }
      }
    }
  }
  if (!Enabled()) {
    const TCacheInfo parent = GetParentCache(sd);
    BmpDisabledKind(cache, FDisabledKind, Parent(), parent, pos);
  }
  if (OnPaint) OnPaint(this, cache);
  sd->BGChanged = false;
  return true;
}

void TsSpeedButton::DrawCaption() {
  if (FShowCaption) {
    TCanvas* canvas = SkinData()->CacheBmp->Canvas();
    canvas->SetFont(Font());
    canvas->Brush()->SetStyle(bsClear);
    TRect r = CaptionRect(true);
    DoDrawText(r, GetStringFlags(this, FTextAlignment) | DT_END_ELLIPSIS | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE));
  }
  if (FButtonStyle == tbsDropDown) PaintArrow(ArrowRect(), CurrentState(), false);
}

void TsSpeedButton::DoDrawText(TRect& R, Cardinal Flags) {
  Flags |= DT_NOCLIP;
  if (FWordWrap) Flags &= ~static_cast<Cardinal>(DT_SINGLELINE);
  if (Skinned()) {
    acWriteTextEx(SkinData()->CacheBmp->Canvas(), Caption(), true, R, Flags, SkinData(), CurrentState() != 0);
    return;
  }
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  canvas->Brush()->SetStyle(bsClear);
  if (Enabled()) {
    acDrawText(FontDC(canvas), Caption(), R, Flags);
    return;
  }
  TRect shadow = R;
  shadow.Offset(1, 1);
  canvas->Font()->SetColor(clBtnHighlight);
  acDrawText(FontDC(canvas), Caption(), shadow, Flags);
  canvas->Font()->SetColor(clBtnShadow);
  acDrawText(FontDC(canvas), Caption(), R, Flags);
  canvas->Font()->SetColor(Font()->Color());
}

void TsSpeedButton::PaintArrow(const TRect& R, Integer State, bool) {
  TsCtrlSkinData* sd = SkinData();
  TsSkinManager* m = sd->GetSkinManager();
  TColor color = Font()->Color();
  if (Skinned()) {
    const Integer index = GetFontIndex(this, sd->SkinIndex, m, State);
    if (index >= 0 && m->IsValidSkinIndex(index)) {
      const TsGeneralData& g = m->Sections[static_cast<size_t>(index)];
      const Integer look = std::max(0, std::min(State > 0 ? 1 : 0, g.StateCount - 1));
      color = g.Props[static_cast<size_t>(look)].FontColor.Color;
    }
  }
  TCanvas* canvas = Skinned() ? sd->CacheBmp->Canvas() : Canvas();
  DrawColorArrow(canvas, color, R, asBottom);
}

// ------------------------------------------------------------ painting

void TsSpeedButton::Paint() {
  TsCtrlSkinData* sd = SkinData();
  TsSkinManager* m = sd->GetSkinManager();
  if (m && m->Active() && sd->SkinIndex < 1) sd->UpdateIndexes();
  if (!Skinned()) {
    StdPaint(true);
    return;
  }
  if (Width() <= 0 || Height() <= 0) return;
  if (FAnimTimer && FAnimTimer->Enabled() && FAnimTimer->FrameImage && !FAnimTimer->FrameImage->Empty()) {
    if (FAnimTimer->FrameImage->Width() == Width())
      BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), FAnimTimer->FrameImage->Canvas()->Handle(), 0, 0, SRCCOPY);
    return;
  }
  sd->BGChanged = sd->BGChanged || Down() != FLastDown || sd->OutOfParent;
  FLastDown = Down();
  bool offscreen = false;
  if (Parent() && Parent()->HandleAllocated()) {
    TWindowDC dc(Parent()->WindowHandle());
    RECT clip{};
    const int kind = GetClipBox(dc.Handle(), &clip);
    offscreen = kind == NULLREGION || kind == ERROR || clip.right < Left() + Width() ||
                clip.bottom < Top() + Height() || Left() < 0 || Top() < 0;
  }
  sd->OutOfParent = offscreen;
  if (sd->BGChanged) {
    FLastNumGlyphs = NumGlyphs();
    FLastSpacing = Spacing();
  } else if (FLastNumGlyphs != NumGlyphs() || FLastSpacing != Spacing()) {
    sd->BGChanged = true;
    FLastNumGlyphs = NumGlyphs();
    FLastSpacing = Spacing();
  }
  if (sd->BGChanged && !PrepareCache()) return;
  BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), sd->CacheBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TsSpeedButton::GraphRepaint() {
  if (ComponentState().Contains(csLoading) || IsDestroying(this) || ControlState().Contains(csCreating)) return;
  if (!Parent() || InAnimationProcess || !Parent()->HandleAllocated() || !Parent()->Visible() || !Visible())
    return;
  if (!Skinned() || IsDesigning(this)) {
    Repaint();
    return;
  }
  TsCtrlSkinData* sd = SkinData();
  if (sd->GetUpdating()) return;
  if (sd->BGChanged) {
    if (!PrepareCache()) return;
    if (!ControlState().Contains(csPaintCopy)) PaintSiblings(sd->CacheBmp->Canvas());
  }
  TacBitmap* src = FAnimTimer && FAnimTimer->Enabled() && FAnimTimer->FrameImage && !FAnimTimer->FrameImage->Empty()
                       ? FAnimTimer->FrameImage.get()
                       : sd->CacheBmp.get();
  BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), src->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TsSpeedButton::PaintSiblings(TCanvas* ACanvas) {
  TWinControl* parent = Parent();
  if (!parent) return;
  const TRect bounds = BoundsRect();
  for (Integer i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || !c->Visible() || dynamic_cast<TWinControl*>(c) || !c->ControlStyle().Contains(csOpaque))
      continue;
    const TRect cb = c->BoundsRect();
    auto inside = [&](Integer x, Integer y) {
      return x >= bounds.Left && x <= bounds.Right && y >= bounds.Top && y <= bounds.Bottom;
    };
    if (!inside(cb.Left, cb.Top) && !inside(cb.Right, cb.Bottom)) continue;
    HDC dc = ACanvas->Handle();
    TDCStateScope state(dc);
    ACanvas->Lock();
    c->SetControlState(c->ControlState() + TControlState{csPaintCopy});
    SetWindowOrgEx(dc, Left() - c->Left(), Top() - c->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    c->SetControlState(c->ControlState() - TControlState{csPaintCopy});
    ACanvas->Unlock();
  }
}

void TsSpeedButton::StdPaint(bool DrawFrame) {
  TCanvas* c = Canvas();
  c->Lock();
  struct TUnlock {
    TCanvas* C;
    ~TUnlock() { C->Unlock(); }
  } unlock{c};
  if (!Enabled())
    SetState(bsDisabled);
  else if (State() == bsDisabled)
    SetState(Down() && GroupIndex() != 0 ? bsExclusive : bsUp);
  c->SetFont(Font());
  if (FButtonStyle == tbsSeparator) return;
  HDC dc = c->Handle();
  if (FButtonStyle == tbsDivider) {
    RECT r{Width() / 2 - 1, 0, Width() / 2 + 1, Height()};
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    return;
  }
  if (!DrawFrame) return;
  const bool split = FButtonStyle == tbsDropDown && OnClick;
  TRect r{0, 0, Width() - (split ? kArrowPart : 0), Height()};
  const bool pressed = Pressed();
  if (Flat()) {
    if (pressed || (MouseInControl() && State() != bsDisabled) || IsDesigning(this)) {
      DrawEdge(dc, reinterpret_cast<RECT*>(&r), pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER,
               BF_RECT | (Transparent() ? 0 : BF_MIDDLE));
    } else if (!Transparent()) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(Color());
      c->FillRect(r);
    }
    GrowRect(r, -1, -1);
  } else {
    DrawFrameControl(dc, reinterpret_cast<RECT*>(&r), DFC_BUTTON,
                     DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
  }
  if (State() == bsExclusive && !(Flat() && MouseInControl())) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnHighlight);
    c->FillRect(r);
  }
  if (FButtonStyle == tbsDropDown) {
    TRect a{Width() - kArrowPart, 0, Width(), Height()};
    const bool down = FMenuShown || Down() || pressed;
    if (split) {
      if (down) {
        if (Flat())
          DrawEdge(dc, reinterpret_cast<RECT*>(&a), BDR_SUNKENOUTER, BF_RECT);
        else
          DrawFrameControl(dc, reinterpret_cast<RECT*>(&a), DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
      } else if (!Flat()) {
        DrawFrameControl(dc, reinterpret_cast<RECT*>(&a), DFC_BUTTON, DFCS_BUTTONPUSH);
      } else if (MouseInControl()) {
        DrawEdge(dc, reinterpret_cast<RECT*>(&a), BDR_RAISEDINNER, BF_RECT);
      }
    }
    const Integer d = down ? 1 : 0;
    const Integer x = Width() - 12 + d, y = (a.Height() - 5) / 2 + a.Top + d;
    POINT tri[3] = {{x, y}, {x + 5, y}, {x + 2, y + 5}};
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnText);
    c->Pen()->SetColor(clBtnText);
    Polygon(c->Handle(), tri, 3);
  }
  DrawCaption();
  DrawGlyph();
}

// ------------------------------------------------------------ animation

void TsSpeedButton::ChangeLook(TacAnimatEvent Event, bool Clicked) {
  TsCtrlSkinData* sd = SkinData();
  if (EventEnabled(Event, FAnimatEvents, nullptr) && !aSkinChanging && Skinned() && !FadingForbidden) {
    sd->BGChanged = true;
    StartAnimation(Clicked);
  } else {
    sd->BGChanged = true;
    StopAnimation();
    GraphRepaint();
  }
  ShowGlowingIfNeeded(sd, Clicked);
}

void TsSpeedButton::StartAnimation(bool Clicked) {
  if (IsDesigning(this)) return;
  TsCtrlSkinData* sd = SkinData();
  Integer remaining = 1;
  if (FAnimTimer) {
    remaining = std::max(1, FAnimTimer->FadeSteps - FAnimTimer->FadeStep);
    delete FAnimTimer;
    FAnimTimer = nullptr;
  }
  if (FadingForbidden) return;
  FAnimTimer = Create<TsAnimTimer>(nullptr);
  FAnimTimer->SetEnabled(false);
  FAnimTimer->SetOwnerData(sd);
  if (Clicked) FAnimTimer->FadeSteps /= 2;
  FAnimTimer->FadeStep = remaining;
  InitCacheBmp(sd);
  PaintSiblings(sd->CacheBmp->Canvas());
  CopyBmp(FAnimTimer->StartImage.get(), sd->CacheBmp.get());
  if (!PrepareCache()) {
    delete FAnimTimer;
    FAnimTimer = nullptr;
    return;
  }
  PaintSiblings(sd->CacheBmp->Canvas());
  UpdateCorners(sd, CurrentState(), TsCorners{scLeftTop, scLeftBottom, scRightTop, scRightBottom});
  FAnimTimer->SetEnabled(true);
  FAnimTimer->DoFade();
}

void TsSpeedButton::StopAnimation() {
  if (!FAnimTimer || IsDestroying(this) || IsDesigning(this)) return;
  TsAnimTimer* t = FAnimTimer;
  FAnimTimer = nullptr;
  t->SetEnabled(false);
  if (t->FadeStep != 0) {
    SkinData()->BGChanged = true;
    Repaint();
  }
  delete t;
}

// ------------------------------------------------------------ mouse

void TsSpeedButton::MouseEntered() {
  if (OnMouseEnter) OnMouseEnter(this);
  TsCtrlSkinData* sd = SkinData();
  TsSkinManager* m = sd->GetSkinManager();
  if (sd->MouseAbove || FButtonStyle == tbsSeparator || FButtonStyle == tbsDivider ||
      (m && m->Options()->NoMouseHover()))
    return;
  sd->MouseAbove = true;
  if (m) m->SetActiveGraphControl(this);
  ChangeLook(aeMouseEnter, false);
}

void TsSpeedButton::MouseLeft() {
  TsCtrlSkinData* sd = SkinData();
  if (!sd->MouseAbove) return;
  if (OnMouseLeave) OnMouseLeave(this);
  sd->MouseAbove = false;
  TsSkinManager* m = sd->GetSkinManager();
  if (m && m->ActiveGraphControl() == this) m->SetActiveGraphControl(nullptr);
  if (State() == bsDown) SetState(bsUp);
  if (!Visible())
    sd->BGChanged = true;
  else
    ChangeLook(aeMouseLeave, false);
}

void TsSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!ShowHintStored) {
    AppShowHint = Application->ShowHint;
    Application->ShowHint = false;
    ShowHintStored = true;
  }
  const bool dropPress = Button == mbLeft && Enabled() && FButtonStyle == tbsDropDown && FDropdownMenu &&
                         (X > Width() - kArrowPart || !OnClick);
  if (!dropPress) {
    inherited::MouseDown(Button, Shift, X, Y);
    return;
  }
  TempControl = this;
  StopAnimation();
  if (FDroppedDown) return;
  TsSkinManager* m = SkinData()->GetSkinManager();
  if (m && m->Menus()) m->Menus()->HookPopupMenu(FDropdownMenu, m->Active());
  FDroppedDown = true;
  FMenuShown = true;
  SkinData()->BGChanged = true;
  if (!OnClick) SetState(bsDown);
  GraphRepaint();
  FDropdownMenu->SetPopupComponent(this);
  const TPoint corner = ClientToScreen(TPoint{0, Height()});
  FDropdownMenu->Popup(corner.X, corner.Y);
  FMenuShown = false;
  FDroppedDown = false;
  TempControl = nullptr;
  // The menu's loop took the release: the press's hint switch ends here.
  if (ShowHintStored) {
    Application->ShowHint = AppShowHint;
    ShowHintStored = false;
  }
  POINT cursor{};
  GetCursorPos(&cursor);
  const TPoint origin = ClientToScreen(TPoint{0, 0});
  const bool inside = cursor.x >= origin.X && cursor.x < origin.X + Width() && cursor.y >= origin.Y - 1 &&
                      cursor.y < origin.Y + Height() - 1;
  if (!inside) Perform(CM_MOUSELEAVE, 0, 0);
  if (!OnClick) SetState(bsUp);
  SkinData()->BGChanged = true;
  if (!Skinned())
    Repaint();
  else
    GraphRepaint();
}

void TsSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (IsDestroying(this)) return;
  Application->ShowHint = AppShowHint;
  ShowHintStored = false;
  if (Button == mbLeft && Enabled() && FButtonStyle == tbsDropDown) {
    FMenuShown = false;
    TempControl = nullptr;
  }
  inherited::MouseUp(Button, Shift, X, Y);
}

// ------------------------------------------------------------ messages

bool TsSpeedButton::HandleSkinnedMessage(TMessage& Message) {
  TsCtrlSkinData* sd = SkinData();
  switch (Message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
    case CM_PARENTCOLORCHANGED:
      if (Visible()) sd->BGChanged = true;
      return false;
    case WM_ERASEBKGND:
      return true;
    case WM_LBUTTONUP:
      if (!IsDesigning(this) && FAnimTimer && FAnimTimer->FrameImage &&
          FAnimTimer->FrameImage->Width() == Width()) {
        StopAnimation();
        PrepareCache();
        GraphRepaint();
      }
      return false;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
      if (Enabled()) {
        MouseLeft();
        inherited::WndProc(Message);
        return true;
      }
      return false;
    case CM_VISIBLECHANGED:
      sd->BGChanged = true;
      sd->MouseAbove = false;
      return false;
    case CM_TEXTCHANGED:
      if (FShowCaption) {
        sd->BGChanged = true;
        GraphRepaint();
        return true;
      }
      return false;
    case CM_MOUSEENTER:
      if (Enabled() && !MouseInControl() && !IsDesigning(this)) {
        MouseEntered();
        inherited::WndProc(Message);
        return true;
      }
      return false;
    default:
      if (Message.Msg != SM_ALPHACMD) return false;
      switch (Message.WParamHi()) {
        case ACMD_QUERY_PAINT_WAIT:
          Message.Result = sd->Updating ? 1 : 0;
          return true;
        case ACMD_SECTION_CHANGED:
          GraphRepaint();
          return true;
        case ACMD_STOP_FADE:
          StopAnimation();
          return true;
        default:
          return false;
      }
  }
}

void TsSpeedButton::WndProc(TMessage& Message) {
  TsCtrlSkinData* sd = SkinData();
  if (Message.Msg == SM_ALPHACMD) {
    const bool ours = reinterpret_cast<TsSkinManager*>(Message.LParam) == sd->GetSkinManager();
    switch (Message.WParamHi()) {
      case ACMD_SKIN_LOADED:
        if (!ours) break;
        CommonMessage(Message, sd);
        if (Skinned()) SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
        return;
      case ACMD_SKIN_UNLOADED:
        if (!ours || IsDestroying(this)) break;
        CommonMessage(Message, sd);
        SetControlStyle(ControlStyle() - TControlStyle{csOpaque});
        if (Visible()) Repaint();
        break;
      case ACMD_SKIN_REPAINT:
        if (!ours) break;
        CommonMessage(Message, sd);
        if (Visible()) Repaint();
        return;
      case ACMD_PARENT_UPDATED:
        if (!InUpdating(sd, true)) GraphRepaint();
        return;
      case ACMD_QUERY_HOOKED:
        Message.Result = 1;
        return;
      case ACMD_REDRAW:
        sd->Updating = false;
        sd->BGChanged = true;
        GraphRepaint();
        break;
      case ACMD_HOVER_LEAVE:
        MouseLeft();
        return;
      default:
        break;
    }
  }
  if (ControlIsReady(this) && Skinned()) {
    if (HandleSkinnedMessage(Message)) return;
    if (CommonWndProc(Message, sd)) return;
    inherited::WndProc(Message);
    const bool wait = sd->GetUpdating();
    switch (Message.Msg) {
      case WM_MOVE:
        if (IsDesigning(this) && !wait) Repaint();
        break;
      case WM_SIZE:
      case WM_WINDOWPOSCHANGED:
        if (IsDesigning(this) && !wait) GraphRepaint();
        break;
      case WM_MOUSEMOVE:
        if (sd->MouseAbove && sd->GetSkinManager() && sd->GetSkinManager()->ActiveGraphControl() != this) {
          sd->MouseAbove = false;
          MouseEntered();
          Perform(CM_MOUSEENTER, 0, 0);
        }
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        if (!IsDesigning(this)) ChangeLook(aeMouseDown, true);
        break;
      case WM_LBUTTONUP:
        if (!Visible() || IsDesigning(this) || IsDestroying(this))
          Message.Result = -1;
        else
          ChangeLook(aeMouseUp, true);
        break;
      case CM_ENABLEDCHANGED:
        if (Visible() || IsDesigning(this)) {
          if (!Enabled()) StopAnimation();
          sd->BGChanged = true;
          if (!IsLoading(this)) GraphRepaint();
        }
        break;
      case CM_FONTCHANGED:
        if (sd->CustomFont()) {
          sd->BGChanged = true;
          GraphRepaint();
        }
        break;
      case CM_BUTTONPRESSED:
        sd->BGChanged = true;
        GraphRepaint();
        break;
      default:
        break;
    }
    return;
  }
  if (Message.Msg == CM_MOUSEENTER && Enabled() && !IsDesigning(this)) {
    sd->MouseAbove = true;
    if (OnMouseEnter) OnMouseEnter(this);
  } else if (Message.Msg == CM_MOUSELEAVE && Enabled() && !IsDesigning(this)) {
    sd->MouseAbove = false;
    if (OnMouseLeave) OnMouseLeave(this);
    if (State() == bsDown) SetState(bsUp);
  }
  inherited::WndProc(Message);
}

// ------------------------------------------------------------ the timer button

void TsTimerSpeedButton::Construct() {
  inherited::Construct();
  SetWidth(Height() - 4);
}

// ------------------------------------------------------------ streaming

DK_PUBLISH(TsSpeedButton) {
  PublishSkinData(P);
  P.Property("OnPaint", &TsSpeedButton::OnPaint);
  P.Property("OnMouseEnter", &TsSpeedButton::OnMouseEnter);
  P.Property("OnMouseLeave", &TsSpeedButton::OnMouseLeave);
  P.Property("AnimatEvents", &TsSpeedButton::AnimatEvents, &TsSpeedButton::SetAnimatEvents)
      .Default(TacAnimatEvents{aeGlobalDef});
  P.Property("Alignment", &TsSpeedButton::Alignment, &TsSpeedButton::SetAlignment).Default(taCenter);
  P.Property("Blend", &TsSpeedButton::Blend, &TsSpeedButton::SetBlend).Default(0);
  P.Property("ButtonStyle", &TsSpeedButton::ButtonStyle, &TsSpeedButton::SetButtonStyle).Default(tbsButton);
  P.Property("DisabledGlyphKind", &TsSpeedButton::DisabledGlyphKind, &TsSpeedButton::SetDisabledGlyphKind)
      .Default(TsDisabledGlyphKind{dgBlended});
  P.Property("DisabledKind", &TsSpeedButton::DisabledKind, &TsSpeedButton::SetDisabledKind)
      .Default(TsDisabledKind{dkBlended});
  P.Property("DropdownMenu", &TsSpeedButton::DropdownMenu, &TsSpeedButton::SetDropdownMenu);
  P.Property("Grayed", &TsSpeedButton::Grayed, &TsSpeedButton::SetGrayed).Default(false);
  P.Property("ImageIndex", &TsSpeedButton::ImageIndex, &TsSpeedButton::SetImageIndex).Default(-1);
  P.Property("Images", &TsSpeedButton::Images, &TsSpeedButton::SetImages);
  P.Property("Reflected", &TsSpeedButton::Reflected, &TsSpeedButton::SetReflected).Default(false);
  P.Property("ShowCaption", &TsSpeedButton::ShowCaption, &TsSpeedButton::SetShowCaption).Default(true);
  P.Property("DrawOverBorder", &TsSpeedButton::DrawOverBorder, &TsSpeedButton::SetDrawOverBorder).Default(true);
  P.Property("TextOffset", &TsSpeedButton::TextOffset, &TsSpeedButton::SetOffset).Default(0);
  P.Property("TextAlignment", &TsSpeedButton::TextAlignment, &TsSpeedButton::SetTextAlignment).Default(taCenter);
  P.Property("WordWrap", &TsSpeedButton::WordWrap, &TsSpeedButton::SetWordWrap).Default(true);
}

DK_PUBLISH(TsTimerSpeedButton) {
  P.Property("AllowTimer", &TsTimerSpeedButton::AllowTimer, &TsTimerSpeedButton::SetAllowTimer).Default(true);
}
