#include "skin/controls/sButton.h"

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
#include "skin/graphics/Sborders.h"
#include "skin/graphics/acGlow.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

DK_UNIT(sButton);

namespace {

constexpr Integer kArrowPart = 16;  // the drop-down part of a split button

bool IsRegion(HRGN R) { return reinterpret_cast<std::uintptr_t>(R) > 1; }

}  // namespace

// ------------------------------------------------------------ image margins

void TImageMargins::SetMargin(Integer Index, Integer Value) {
  Integer* field = Index == 0 ? &FLeft : Index == 1 ? &FTop : Index == 2 ? &FRight : &FBottom;
  if (*field == Value) return;
  *field = Value;
  Change();
}

void TImageMargins::Change() {
  if (OnChange) OnChange(this);
}

void TImageMargins::Assign(TPersistent* Source) {
  if (auto* m = dynamic_cast<TImageMargins*>(Source)) {
    FLeft = m->FLeft;
    FTop = m->FTop;
    FRight = m->FRight;
    FBottom = m->FBottom;
    Change();
    return;
  }
  inherited::Assign(Source);
}

// ------------------------------------------------------------ life

void TsButton::Construct() {
  inherited::Construct();
  SetControlStyle(ControlStyle() - TControlStyle{csOpaque, csDoubleClicks});
  FImageChangeLink = std::make_unique<TChangeLink>();
  FImageChangeLink->OnChange = TNotifyEvent(this, &TsButton::ImageListChange);
  FImageMargins = std::make_unique<TImageMargins>();
  FImageMargins->OnChange = TNotifyEvent(this, &TsButton::ImageMarginsChange);
}

void TsButton::AfterConstruction() { inherited::AfterConstruction(); }

TsButton::~TsButton() {
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
  StopFade();
  DropRegion();
}

void TsButton::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // The button always draws itself.
  Params.Style = (Params.Style & ~static_cast<DWORD>(0xF)) | BS_OWNERDRAW;
}

void TsButton::Loaded() {
  inherited::Loaded();
  SkinData()->CacheBmp->Canvas()->SetFont(Font());
}

void TsButton::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FDropDownMenu) FDropDownMenu = nullptr;
}

void TsButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  inherited::ActionChange(Sender, CheckDefaults);
  if (auto* action = dynamic_cast<TCustomAction*>(Sender)) SetEnabled(action->Enabled());
}

void TsButton::SetButtonStyle(bool ADefault) {
  // The window keeps BS_OWNERDRAW: the default look is drawn, not set.
  FIsDefault = ADefault;
  SkinData()->Invalidate();
}

void TsButton::DropRegion() {
  if (IsRegion(FRegion)) DeleteObject(FRegion);
  FRegion = nullptr;
}

// ------------------------------------------------------------ properties

void TsButton::SetStyle(sbutton::TButtonStyle Value) {
  if (StoreChanged(FStyle, Value)) SkinData()->Invalidate();
}
void TsButton::SetContentMargin(Integer Value) {
  if (StoreChanged(FContentMargin, Value)) SkinData()->Invalidate();
}
void TsButton::SetShowFocus(bool Value) {
  if (StoreChanged(FShowFocus, Value)) SkinData()->Invalidate();
}
void TsButton::SetReflected(bool Value) {
  if (StoreChanged(FReflected, Value)) SkinData()->Invalidate();
}
void TsButton::SetDisabledKind(TsDisabledKind Value) {
  FDisabledKind = Value;
  if (!IsLoading(this)) SkinData()->Invalidate();
}
void TsButton::SetWordWrap(bool Value) {
  FWordWrap = Value;
  if (!IsLoading(this)) SkinData()->Invalidate();
}
void TsButton::SetDown(bool Value) {
  FDown = Value;
  FRegionChanged = true;
  if (!IsLoading(this)) SkinData()->Invalidate();
}
void TsButton::SetCommandLinkHint(const AnsiString& Value) {
  if (StoreChanged(FCommandLinkHint, Value)) SkinData()->Invalidate();
}
void TsButton::SetDropDownMenu(TPopupMenu* Value) {
  if (FDropDownMenu) FDropDownMenu->RemoveFreeNotification(this);
  FDropDownMenu = Value;
  if (FDropDownMenu) FDropDownMenu->FreeNotification(this);
}

void TsButton::InvalidateIfImages() {
  if (FImages) SkinData()->Invalidate();
}
void TsButton::SetImageIndex(Integer Value) {
  if (StoreChanged(FImageIndex, Value)) InvalidateIfImages();
}
void TsButton::SetHotImageIndex(Integer Value) {
  if (StoreChanged(FHotImageIndex, Value)) InvalidateIfImages();
}
void TsButton::SetPressedImageIndex(Integer Value) {
  if (StoreChanged(FPressedImageIndex, Value)) InvalidateIfImages();
}
void TsButton::SetSelectedImageIndex(Integer Value) {
  if (StoreChanged(FSelectedImageIndex, Value)) InvalidateIfImages();
}
void TsButton::SetDisabledImageIndex(Integer Value) {
  if (StoreChanged(FDisabledImageIndex, Value)) InvalidateIfImages();
}
void TsButton::SetImageAlignment(TImageAlignment Value) {
  if (StoreChanged(FImageAlignment, Value)) InvalidateIfImages();
}
void TsButton::ImageMarginsChange(TObject*) { InvalidateIfImages(); }
void TsButton::ImageListChange(TObject*) { InvalidateIfImages(); }

void TsButton::SetImages(TCustomImageList* Value) {
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

// ------------------------------------------------------------ state and layout

Integer TsButton::CurrentState() {
  TsSkinManager* m = SkinData()->GetSkinManager();
  const bool pushed = HandleAllocated() && (SendMessageW(WindowHandle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  if (FDown || FDroppedDown ||
      ((pushed || fGlobalFlag) && (SkinData()->MouseAbove || !ControlState().Contains(csLButtonDown) ||
                                   (m && m->Options()->NoMouseHover()))))
    return 2;
  if (!IsDesigning(this) && ControlIsActive(SkinData())) return 1;
  if (Default()) return 3;
  return 0;
}

bool TsButton::GlyphExist() const {
  return FImages && FImageIndex >= 0 && FImageIndex < GetImageCount(FImages);
}

Integer TsButton::GlyphIndex() {
  Integer key;
  if (!Enabled())
    key = 4;
  else if (CurrentState() == 2)
    key = 2;
  else if (Focused())
    key = 3;
  else
    key = CurrentState();
  Integer index = FImageIndex;
  switch (key) {
    case 1: index = FHotImageIndex; break;
    case 2: index = FPressedImageIndex; break;
    case 3: index = FSelectedImageIndex; break;
    case 4: index = FDisabledImageIndex; break;
    default: break;
  }
  if (index < 0 || index >= GetImageCount(FImages)) index = FImageIndex;
  return index;
}

TSize TsButton::ImageSizeWithMargins() const {
  const bool image = GlyphExist();
  return TSize{(image ? FImages->Width() : 32) + FImageMargins->Left() + FImageMargins->Right(),
               (image ? FImages->Height() : 32) + FImageMargins->Top() + FImageMargins->Bottom()};
}

TSize TsButton::TextSize() {
  if (Caption().empty()) return TSize{0, 0};
  TCanvas* canvas = SkinData()->CacheBmp->Canvas();
  canvas->SetFont(Font());
  const bool link = FStyle == sbutton::bsCommandLink;
  if (link) {
    canvas->Font()->SetStyle(canvas->Font()->Style() + TFontStyles{fsBold});
    canvas->Font()->SetSize(canvas->Font()->Size() + 2);
  }
  const Cardinal flags = DT_CALCRECT | DT_CENTER | DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE);
  TRect r{FContentMargin, 0, Width() - FContentMargin, 0};
  if (link) r.Right = Width() - ImageSizeWithMargins().cx - 3 * FContentMargin - 6;
  acDrawText(FontDC(canvas), Caption(), r, flags);
  canvas->SetFont(Font());
  return TSize{r.Width(), r.Height()};
}

TRect TsButton::GlyphRect() {
  if (!GlyphExist()) return TRect{0, 0, 0, 0};
  const Integer w = ContentWidth(), cm = FContentMargin, iw = FImages->Width(), ih = FImages->Height();
  const TImageMargins& m = *FImageMargins;
  Integer left = 0, top = 0;
  if (FStyle == sbutton::bsCommandLink) {
    left = m.Left() + cm;
    top = cm;
  } else {
    switch (FImageAlignment) {
      case iaLeft: left = m.Left() + cm; top = (Height() - ih) / 2; break;
      case iaRight: left = w - m.Right() - cm - iw; top = (Height() - ih) / 2; break;
      case iaTop: top = m.Top() + cm; left = (w - iw) / 2; break;
      case iaBottom: top = Height() - m.Bottom() - cm - ih; left = (w - iw) / 2; break;
      case iaCenter: top = (Height() - ih) / 2; left = (w - iw) / 2; break;
    }
  }
  TRect r{left, top, left + iw, top + ih};
  if (CurrentState() == 2 && ShiftContent(SkinData(), Skinned())) r.Offset(1, 1);
  return r;
}

TRect TsButton::CaptionRect() {
  const TSize t = TextSize();
  const Integer w = ContentWidth(), h = Height(), cm = FContentMargin;
  const TImageMargins& m = *FImageMargins;
  const bool image = GlyphExist();
  const Integer iw = image ? FImages->Width() : 0, ih = image ? FImages->Height() : 0;
  TRect r;
  if (FStyle == sbutton::bsCommandLink) {
    r = TRect{ImageSizeWithMargins().cx + cm + 6, cm, w - cm, cm + t.cy};
  } else if (!image || FImageAlignment == iaCenter) {
    r.Left = (w - t.cx) / 2 - 1;
    r.Right = r.Left + t.cx + 2;
    r.Top = (h - t.cy) / 2;
    r.Bottom = h - r.Top;
  } else {
    switch (FImageAlignment) {
      case iaLeft:
        r = TRect{m.Left() + cm + iw + m.Right(), (h - t.cy) / 2, w - cm, 0};
        r.Bottom = h - r.Top;
        break;
      case iaRight:
        r = TRect{cm, (h - t.cy) / 2, w - (m.Right() + cm + iw + m.Left()), 0};
        r.Bottom = h - r.Top;
        break;
      case iaTop:
        r = TRect{cm, m.Top() + 2 * cm + ih, w - cm, h - cm};
        r.Top += (r.Bottom - r.Top - t.cy) / 2;
        r.Bottom = r.Top + t.cy;
        break;
      default: {  // iaBottom
        const Integer bottom = h - (m.Bottom() + cm + ih + m.Top());
        r = TRect{cm, (bottom - m.Top() - t.cy) / 2 + m.Top(), w - cm, 0};
        r.Bottom = r.Top + t.cy;
        break;
      }
    }
  }
  if (CurrentState() == 2 && ShiftContent(SkinData(), Skinned())) r.Offset(1, 1);
  return r;
}

// ------------------------------------------------------------ the cache

bool TsButton::PrepareCache() {
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
  const Integer s = ButtonSkinState(sd, CurrentState());
  const TRect whole{0, 0, Width(), Height()};
  PaintItemBG(sd, ci, s, whole, TPoint{Left(), Top()}, cache);
  TsSkinManager* m = sd->GetSkinManager();
  const TsMaskData* mask = m && m->IsValidImgIndex(sd->BorderIndex) ? &m->Masks[sd->BorderIndex] : nullptr;
  if (mask && !(s == 0 && (mask->FillMode & 2))) {
    if (FRegionChanged && mask->CornerKind == 2 && !IsDesigning(this) && !InAnimationProcess && !FFadeTimer) {
      DropRegion();
      FRegion = CreateRectRgn(0, 0, Width(), Height());
      PaintRgnBorder(cache, FRegion, true, *mask, s);
    } else {
      TCacheInfo shifted = ci;
      shifted.X += Left();
      shifted.Y += Top();
      DrawSkinRect(cache, whole, shifted, *mask, s, true);
    }
  }
  UpdateBmpColors(cache, sd, true, s);
  if (GlyphExist()) DrawBtnGlyph(this, cache->Canvas());
  DrawCaption(nullptr);
  if (IsSplit() && m && m->IsValidSkinIndex(sd->SkinIndex)) {
    const TsGeneralData& g = m->Sections[static_cast<size_t>(sd->SkinIndex)];
    const TColor c = g.Props[s == 0 ? 0 : 1].FontColor.Color;
    TCanvas* canvas = cache->Canvas();
    canvas->Pen()->SetColor(c);
    canvas->Pen()->SetWidth(1);
    canvas->MoveTo(Width() - 15, 4);
    canvas->LineTo(Width() - 15, Height() - 4);
    DrawColorArrow(canvas, c, TRect{Width() - kArrowPart, 0, Width(), Height()}, asBottom);
  }
  auto* action = dynamic_cast<TCustomAction*>(Action());
  if (!Enabled() || (action && !action->Enabled()))
    BmpDisabledKind(cache, FDisabledKind, Parent(), ci, TPoint{Left(), Top()});
  sd->BGChanged = false;
  return true;
}

void TsButton::DrawCaption(TCanvas* ACanvas) {
  TCanvas* canvas = ACanvas ? ACanvas : SkinData()->CacheBmp->Canvas();
  canvas->SetFont(Font());
  canvas->Brush()->SetStyle(bsClear);
  TRect r = CaptionRect();
  const bool link = FStyle == sbutton::bsCommandLink;
  Cardinal flags;
  if (link) {
    canvas->Font()->SetStyle(canvas->Font()->Style() + TFontStyles{fsBold});
    canvas->Font()->SetSize(canvas->Font()->Size() + 2);
    flags = DT_WORDBREAK | DT_EXPANDTABS;
  } else {
    flags = DT_CENTER | DT_VCENTER | DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0);
  }
  if (UseRightToLeftReading()) flags |= DT_RTLREADING;
  const bool skinned = Skinned();
  acWriteTextEx(canvas, Caption(), Enabled() || skinned, r, flags, SkinData(), CurrentState() != 0);
  if (link) {
    canvas->SetFont(Font());
    if (!FCommandLinkHint.empty()) {
      TRect hint{r.Left, r.Bottom + 6, r.Right, Height() - FContentMargin};
      acWriteTextEx(canvas, FCommandLinkHint, Enabled() || skinned, hint, flags, SkinData(), CurrentState() != 0);
    }
  }
  TsSkinManager* m = SkinData()->GetSkinManager();
  if (Focused() && (!m || m->ButtonsOptions()->ShowFocusRect) && Enabled() && !Caption().empty() && FShowFocus &&
      skinned) {
    GrowRect(r, FFocusMargin + 1, FFocusMargin);
    r.Top = std::max(r.Top, 3);
    r.Bottom = std::min(r.Bottom, Height() - 3);
    FocusRect(canvas, r, ButtonFocusColor(SkinData()), clNone);
  }
}

// ------------------------------------------------------------ painting

void TsButton::OurPaintHandler(HDC ADC) {
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
  const bool redraw = FRegion == reinterpret_cast<HRGN>(1) || aSkinChanging;
  DropRegion();
  TsSkinManager* m = sd->GetSkinManager();
  const TsMaskData* mask = m && m->IsValidImgIndex(sd->BorderIndex) ? &m->Masks[sd->BorderIndex] : nullptr;
  if (FRegionChanged && mask && mask->CornerKind == 2 && !IsDesigning(this)) {
    if (!PrepareCache()) return;
    UpdateCorners(sd, ButtonSkinState(sd, CurrentState()),
                  TsCorners{scLeftTop, scLeftBottom, scRightTop, scRightBottom});
    if (dc != sd->PrintDC && !ControlState().Contains(csAlignmentNeeded) && FRegion) {
      SetWindowRgn(wnd, FRegion, redraw);
      FLastRect = BoundsRect();
      FRegion = nullptr;  // the window owns it now
    }
  } else if (sd->BGChanged) {
    if (!PrepareCache()) return;
  }
  TDCStateScope state(dc);
  BitBlt(dc, 0, 0, Width(), Height(), sd->CacheBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TsButton::StdDrawItem(const DRAWITEMSTRUCT& DIS) {
  if (IsDestroying(this)) return;
  TCanvas canvas;
  canvas.SetHandle(DIS.hDC);
  struct TRelease {
    TCanvas& C;
    ~TRelease() { C.SetHandle(nullptr); }
  } release{canvas};
  const TRect client{0, 0, Width(), Height()};
  TRect r = client;
  canvas.SetFont(Font());
  const bool pressed = (DIS.itemState & ODS_SELECTED) != 0 || FDroppedDown;
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
    if (IsSplit()) f.Right -= 14;
    DrawFocusRect(DIS.hDC, reinterpret_cast<RECT*>(&f));
  }
  DrawCaption(&canvas);
  if (GlyphExist()) DrawBtnGlyph(this, &canvas);
  if (IsSplit()) {
    canvas.Pen()->SetColor(clWindowFrame);
    canvas.Pen()->SetWidth(1);
    canvas.MoveTo(Width() - 15, 4);
    canvas.LineTo(Width() - 15, Height() - 4);
    DrawColorArrow(&canvas, Font()->Color(), TRect{Width() - kArrowPart, 0, Width(), Height()}, asBottom);
  }
}

// ------------------------------------------------------------ mouse

void TsButton::ChangePaint(bool Clicked, TacAnimatEvent Event) {
  DoChangePaint(FFadeTimer, SkinData(), Clicked, EventEnabled(Event, FAnimatEvents, nullptr), fdUp);
}

void TsButton::DropDown() {
  FDroppedDown = true;
  SkinData()->Invalidate(true);
  if (DefaultManager && DefaultManager->Active() && DefaultManager->Menus())
    DefaultManager->Menus()->HookPopupMenu(FDropDownMenu, true);
  POINT p{0, 0};
  ::ClientToScreen(WindowHandle(), &p);
  FDropDownMenu->SetPopupComponent(this);
  FDropDownMenu->Popup(p.x, p.y + Height());
  FDroppedDown = false;
  SkinData()->Invalidate(true);
}

void TsButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (IsSplit() && FDropDownMenu && X >= Width() - kArrowPart && X < Width() && Y >= 0 && Y < Height()) {
    DropDown();
    return;
  }
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

void TsButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (IsDestroying(this)) return;
  TsCtrlSkinData* sd = SkinData();
  if (Skinned() && Enabled() && !IsDesigning(this)) {
    if (Button == mbLeft && ShowHintStored) {
      Application->ShowHint = AppShowHint;
      ShowHintStored = false;
    }
    if (!FMouseClicked) {
      StopFade();
    } else {
      FMouseClicked = false;
      if (Button == mbLeft) {
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
  // Every release reaches OnMouseUp, skinned press or not.
  inherited::MouseUp(Button, Shift, X, Y);
}

// ------------------------------------------------------------ messages

bool TsButton::HandleSkinCommand(TMessage& Message) {
  TsCtrlSkinData* sd = SkinData();
  const bool ours = reinterpret_cast<TsSkinManager*>(Message.LParam) == sd->GetSkinManager();
  switch (Message.WParamHi()) {
    case ACMD_SKIN_LOADED:
      if (!ours) return false;
      FRegionChanged = true;
      StopFade();
      CommonMessage(Message, sd);
      return true;
    case ACMD_SKIN_UNLOADED:
      if (!ours || IsDestroying(this)) return false;
      StopFade();
      CommonMessage(Message, sd);
      DropRegion();
      if (HandleAllocated()) SetWindowRgn(WindowHandle(), nullptr, TRUE);
      Repaint();
      return true;
    case ACMD_SKIN_REPAINT:
      if (!ours) return false;
      StopFade();
      if (HandleAllocated()) SetWindowRgn(WindowHandle(), nullptr, FALSE);
      CommonMessage(Message, sd);
      FRegionChanged = true;
      if (!(sd->StateFlags & 0x200)) Repaint();
      return true;
    case ACMD_QUERY_HOOKED:
      Message.Result = 1;
      return true;
    case ACMD_STOP_FADE:
      StopFade();
      return true;
    case ACMD_BUILD_CACHE:
      PrepareCache();
      return true;
    case ACMD_FADE_FRAME:
      // Result 0: the timer copies the frame to the window itself.
      if (IsRegion(FRegion)) {
        DeleteObject(FRegion);
        FRegion = nullptr;
      }
      Message.Result = 0;
      return true;
    default:
      return false;
  }
}

bool TsButton::HandleSkinnedMessage(TMessage& Message) {
  TsCtrlSkinData* sd = SkinData();
  const bool shown = Visible() || IsDesigning(this);
  TsSkinManager* m = sd->GetSkinManager();
  switch (Message.Msg) {
    case WM_MOVE: {
      const TsGeneralData& g = m->Sections[static_cast<size_t>(sd->SkinIndex)];
      if (g.Props[0].Transparency > 0 ||
          (g.StateCount > 0 && g.Props[1].Transparency > 0 && ControlIsActive(sd))) {
        sd->BGChanged = true;
        Repaint();
      }
      return false;
    }
    case WM_SIZE:
      FRegionChanged = true;
      if (sd->GlowID != -1) HideGlow(sd->GlowID);
      return false;
    case WM_KILLFOCUS:
    case CM_EXIT:
      // The region is made again after the focus went.
      if (shown && !IsDesigning(this)) FRegionChanged = true;
      return PushButtonMessage(Message);
    case WM_PAINT:
      if (!shown) return false;
      if (!Parent() || sd->GetUpdating()) {
        // Nothing may be drawn now: the update region is left for later.
        ValidateRect(WindowHandle(), nullptr);
        return true;
      }
      OurPaintHandler(reinterpret_cast<HDC>(Message.WParam));
      return !IsDesigning(this);
    case WM_ERASEBKGND:
      if (!shown) return false;
      if (Message.WParam && sd->CacheBmp && !sd->GetUpdating()) {
        if (sd->BGChanged) PrepareCache();
        if (!sd->BGChanged && !(FFadeTimer && FFadeTimer->Enabled()))
          CopyWinControlCache(this, sd, TRect{0, 0, Width(), Height()}, TRect{0, 0, Width(), Height()},
                              reinterpret_cast<HDC>(Message.WParam), false);
      }
      Message.Result = 0;
      return true;
    case WM_UPDATEUISTATE:
      if (!shown) return false;
      Message.Result = 1;
      return true;
    case CM_TEXTCHANGED:
      if (!IsDestroying(this)) {
        sd->Invalidate();
        return true;
      }
      return false;
    default:
      return PushButtonMessage(Message);
  }
}

void TsButton::UnskinnedWndProc(TMessage& Message) {
  TsCtrlSkinData* sd = SkinData();
  switch (Message.Msg) {
    case CN_DRAWITEM:
      StdDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam));
      Message.Result = 1;
      return;
    case CN_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
      mi->itemWidth = static_cast<UINT>(Width());
      mi->itemHeight = static_cast<UINT>(Height());
      Message.Result = 1;
      return;
    }
    default:
      break;
  }
  inherited::WndProc(Message);
  if (IsDestroying(this)) return;
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
      if (Visible() || IsDesigning(this)) Repaint();
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (!IsDesigning(this) && Enabled()) {
        const bool enter = Message.Msg == CM_MOUSEENTER;
        sd->MouseAbove = enter;
        if (enter && OnMouseEnter) OnMouseEnter(this);
        if (!enter && OnMouseLeave) OnMouseLeave(this);
        Repaint();
      }
      break;
    default:
      break;
  }
}

void TsButton::WndProc(TMessage& Message) {
  if (Message.Msg == WM_KILLFOCUS && IsDestroying(this)) return;
  if (Message.Msg == SM_ALPHACMD && HandleSkinCommand(Message)) return;
  TsCtrlSkinData* sd = SkinData();
  if (!ControlIsReady(this) || !sd->Skinned(true)) {
    UnskinnedWndProc(Message);
    return;
  }
  SkinnedWndProc(Message);
}

// ------------------------------------------------------------ streaming

DK_PUBLISH(TImageMargins) {
  P.Property("Left", &TImageMargins::Left, &TImageMargins::SetLeft).Default(0);
  P.Property("Top", &TImageMargins::Top, &TImageMargins::SetTop).Default(0);
  P.Property("Right", &TImageMargins::Right, &TImageMargins::SetRight).Default(0);
  P.Property("Bottom", &TImageMargins::Bottom, &TImageMargins::SetBottom).Default(0);
}

DK_PUBLISH(TsButton) {
  PublishSkinData(P);
  P.Property("AnimatEvents", &TsButton::AnimatEvents, &TsButton::SetAnimatEvents)
      .Default(TacAnimatEvents{aeGlobalDef});
  P.Property("ShowFocus", &TsButton::ShowFocus, &TsButton::SetShowFocus).Default(true);
  P.Property("DisabledKind", &TsButton::DisabledKind, &TsButton::SetDisabledKind)
      .Default(TsDisabledKind{dkBlended});
  P.Property("Down", &TsButton::Down, &TsButton::SetDown).Default(false);
  P.Property("FocusMargin", &TsButton::FocusMargin, &TsButton::SetFocusMargin).Default(1);
  P.Property("OnMouseEnter", &TsButton::OnMouseEnter);
  P.Property("OnMouseLeave", &TsButton::OnMouseLeave);
  P.Property("CommandLinkHint", &TsButton::CommandLinkHint, &TsButton::SetCommandLinkHint);
  P.Property("DisabledImageIndex", &TsButton::DisabledImageIndex, &TsButton::SetDisabledImageIndex).Default(-1);
  P.Property("DropDownMenu", &TsButton::DropDownMenu, &TsButton::SetDropDownMenu);
  P.Property("HotImageIndex", &TsButton::HotImageIndex, &TsButton::SetHotImageIndex).Default(-1);
  P.Property("Images", &TsButton::Images, &TsButton::SetImages);
  P.Property("ImageAlignment", &TsButton::ImageAlignment, &TsButton::SetImageAlignment).Default(iaLeft);
  P.Property("ImageIndex", &TsButton::ImageIndex, &TsButton::SetImageIndex).Default(-1);
  P.Property("ImageMargins", &TsButton::ImageMargins, &TsButton::SetImageMargins);
  P.Property("PressedImageIndex", &TsButton::PressedImageIndex, &TsButton::SetPressedImageIndex).Default(-1);
  P.Property("SelectedImageIndex", &TsButton::SelectedImageIndex, &TsButton::SetSelectedImageIndex).Default(-1);
  P.Property("Style", &TsButton::Style, &TsButton::SetStyle).Default(sbutton::bsPushButton);
  P.Property("ContentMargin", &TsButton::ContentMargin, &TsButton::SetContentMargin).Default(6);
  P.Property("Reflected", &TsButton::Reflected, &TsButton::SetReflected).Default(false);
  P.Property("WordWrap", &TsButton::WordWrap, &TsButton::SetWordWrap).Default(true);
}
