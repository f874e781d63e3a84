// What a skin state offers around its owner's painting: the answer to a
// child's background question, plain colours, the parent's image, the
// section that gives a child its font colours, the tint of a cache bitmap,
// the outer effects and the copying of a cache around child controls.
#include <algorithm>

#include "classlib/ui/PaintScope.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/graphics/acGlow.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

constexpr TColor kBtnFace = static_cast<TColor>(0x8000000F);
// A border image whose fill mode has this bit is not drawn as a border.
constexpr SmallInt kBorderNotDrawn = 0x2;
// A border image whose fill mode has this bit paints the whole background.
constexpr SmallInt kBorderFillsAll = 0x4;
constexpr Word kPlainBackground = 0x1;
constexpr Word kRestoreFirst = 0x100;

TsSkinProvider* ProviderOf(const TsCommonData* S) { return dynamic_cast<TsSkinProvider*>(S->OwnerObject); }

const TsGeneralData* SectionOf(const TsCommonData* S) {
  TsSkinManager* m = S->GetSkinManager();
  if (!m || !m->IsValidSkinIndex(S->SkinIndex)) return nullptr;
  return &m->Sections[static_cast<size_t>(S->SkinIndex)];
}

const TsMaskData* BorderOf(const TsCommonData* S) {
  TsSkinManager* m = S->GetSkinManager();
  if (!m || !m->IsValidImgIndex(S->BorderIndex)) return nullptr;
  return &m->Masks[static_cast<size_t>(S->BorderIndex)];
}

bool CacheEmpty(const TsCommonData* S) { return !S->CacheBmp || S->CacheBmp->Width() == 0 || S->CacheBmp->Height() == 0; }

LRESULT PerformCommand(TControl* C, Word Cmd, LPARAM LParam = 0) {
  return C->Perform(SM_ALPHACMD, AlphaCmdParam(Cmd), LParam);
}

// The owner's own colour: the control's, a provider's form's, else the button face.
TColor OwnerColor(const TsCommonData* S) {
  if (S->OwnerControl) return S->OwnerControl->Color();
  if (TsSkinProvider* p = ProviderOf(S); p && p->Form) return p->Form->Color();
  return kBtnFace;
}

// The colour behind the owner: its parent control's, else its parent window's.
TColor ParentColor(const TsCommonData* S, HWND Wnd) {
  if (S->OwnerControl) return GetControlColor(S->OwnerControl->Parent());
  if (Wnd) return GetControlColor(GetParent(Wnd));
  return kBtnFace;
}

// The state of a section that a painter reads for State: above 1 counts as 1.
Integer SectionState(const TsGeneralData& Section, Integer State) {
  Integer st = std::min(State, Section.StateCount - 1);
  if (st > 1) st = 1;
  return std::max(st, 0);
}

void AnswerCache(TsCommonData* S, PacBGInfo I) {
  I->BgType = btCache;
  I->Bmp = S->CacheBmp.get();
  I->Offset = TPoint{0, 0};
}

bool NeedsOwnImage(const TsCommonData* S, const TsGeneralData& Section, Integer St) {
  const TsGenState& look = Section.Props[static_cast<size_t>(St)];
  return look.GradientPercent > 0 || look.ImagePercent > 0 ||
         std::any_of(Section.CornerImages.begin(), Section.CornerImages.end(), [](Integer i) { return i >= 0; }) ||
         HaveOuterEffects(const_cast<TsCommonData*>(S));
}

// An opaque section: its image, or a flat colour with the border's strips.
void AnswerOpaque(TsCommonData* S, PacBGInfo I, const TsGeneralData& Section, Integer St, Integer State) {
  TsSkinManager* m = S->GetSkinManager();
  if (!NeedsOwnImage(S, Section, St)) {
    I->BgType = btFill;
    I->Color = GetBGColor(S, State, nullptr);
    const TsMaskData* border = BorderOf(S);
    if (border && !(border->FillMode & kBorderNotDrawn)) {
      I->Borders = TRect{m->MaskWidthLeft(S->BorderIndex), m->MaskWidthTop(S->BorderIndex),
                         m->MaskWidthRight(S->BorderIndex), m->MaskWidthBottom(S->BorderIndex)};
      I->Bmp = S->CacheBmp.get();
      I->Offset = TPoint{0, 0};
    }
    return;
  }
  I->Color = m->GetGlobalColor();
  TControl* owner = S->OwnerControl;
  const bool wrongSize =
      owner && S->CacheBmp && (S->CacheBmp->Width() != owner->Width() || S->CacheBmp->Height() != owner->Height());
  if (CacheEmpty(S) || wrongSize) {
    S->BGChanged = true;
    if (S->CacheBmp) S->CacheBmp->SetWidth(0);
    if (owner) SendAMessage(owner, ACMD_BUILD_CACHE);
    if (CacheEmpty(S)) {
      I->BgType = btNotReady;
      return;
    }
  }
  AnswerCache(S, I);
}

// A fully transparent section: its own image when it keeps one, else what
// its parent answers, moved to the owner's place.
void AnswerTransparent(TsCommonData* S, PacBGInfo I, HWND Wnd) {
  if (!(S->StateFlags & kPlainBackground) && S->CacheBmp) {
    if (S->BGChanged && S->OwnerControl) PerformCommand(S->OwnerControl, ACMD_BUILD_CACHE);
    if (S->BGChanged) {
      I->BgType = btFill;
      I->Bmp = nullptr;
      I->Offset = TPoint{0, 0};
      I->Color = GetBGColor(S, 0, nullptr);
    } else {
      AnswerCache(S, I);
    }
    return;
  }
  TControl* parent = nullptr;
  TPoint at;
  if (S->OwnerControl) {
    parent = S->OwnerControl->Parent();
    at = TPoint{S->OwnerControl->Left(), S->OwnerControl->Top()};
  } else if (TsSkinProvider* p = ProviderOf(S); p && p->Form) {
    parent = p->Form->Parent();
    at = TPoint{p->Form->Left(), p->Form->Top()};
  }
  if (parent) {
    GetBGInfo(I, parent, false);
    if (I->Bmp) {
      I->Offset.X += at.X;
      I->Offset.Y += at.Y;
      I->Borders.Left -= at.X;
      I->Borders.Top -= at.Y;
    }
  } else if (Wnd) {
    const HWND parentWnd = GetParent(Wnd);
    GetBGInfo(I, parentWnd, false);
    if (I->BgType == btCache) {
      RECT r{};
      GetWindowRect(Wnd, &r);
      POINT p{r.left, r.top};
      ScreenToClient(parentWnd, &p);
      I->Offset.X += p.x;
      I->Offset.Y += p.y;
    }
  } else {
    I->BgType = btFill;
    I->Color = DefaultManager ? DefaultManager->GetGlobalColor() : kBtnFace;
  }
}

// The background drawn into the asker's DC.
void DrawBackground(TsCommonData* S, PacBGInfo I, Integer State) {
  UpdateSkinState(S, false);
  if (!IsCached(S)) {
    FillDC(I->DC, I->R, GetBGColor(S, State, nullptr));
    I->BgType = btFill;
    return;
  }
  if (S->BGChanged && S->OwnerControl) PerformCommand(S->OwnerControl, ACMD_BUILD_CACHE);
  if (!S->BGChanged && S->CacheBmp)
    BitBlt(I->DC, I->R.Left, I->R.Top, I->R.Width(), I->R.Height(), S->CacheBmp->Canvas()->Handle(), I->Offset.X,
           I->Offset.Y, SRCCOPY);
  I->BgType = btCache;
}

}  // namespace

// ------------------------------------------------------------ backgrounds

void InitBGInfo(TsCommonData* SkinData, PacBGInfo BGInfo, Integer State, HWND Wnd) {
  TsCommonData* S = SkinData;
  if (BGInfo->PleaseDraw) {
    DrawBackground(S, BGInfo, State);
    return;
  }
  BGInfo->Bmp = nullptr;
  const TsGeneralData* section = SectionOf(S);
  if (!S->Skinned(false) || !section || S->CustomColor()) {
    BGInfo->BgType = btFill;
    if (S->OwnerControl || ProviderOf(S)) BGInfo->Color = OwnerColor(S);
    return;
  }
  const Integer st = SectionState(*section, State);
  const Integer t = section->Props[static_cast<size_t>(st)].Transparency;
  if (t == 0) {
    AnswerOpaque(S, BGInfo, *section, st, State);
  } else if (t < 100) {
    if (!S->CacheBmp) {
      BGInfo->Color = sFuchsia;
      BGInfo->BgType = btFill;
    } else if (CacheEmpty(S)) {
      S->Updating = true;
      BGInfo->BgType = btNotReady;
    } else {
      AnswerCache(S, BGInfo);
    }
  } else {
    AnswerTransparent(S, BGInfo, Wnd);
  }
}

TColor GetBGColor(TsCommonData* SkinData, Integer State, HWND Wnd) {
  TsCommonData* S = SkinData;
  const TsGeneralData* section = SectionOf(S);
  if (!S->Skinned(false) || !section) return OwnerColor(S);
  const Integer st = State > 0 && section->StateCount > 1 ? 1 : 0;
  const Integer t = section->Props[static_cast<size_t>(st)].Transparency;
  const TColor c = section->Props[static_cast<size_t>(st)].Color;
  if (t == 0) return S->CustomColor() ? OwnerColor(S) : c;
  const TColor parent = ParentColor(S, Wnd);
  if (t == 100) return parent;
  if (!S->OwnerControl && !Wnd) return parent;
  return MixColors(parent, c, t / 100.0);
}

TCacheInfo GetParentCache(TsCommonData* SkinData) {
  TsCommonData* S = SkinData;
  TCacheInfo ci = EmptyCI;
  if (!S->Skinned(false) || !S->OwnerControl) {
    ci.X = 0;
    ci.Y = 0;
    ci.FillColor = GetBGColor(S, 0, nullptr);
    ci.Ready = false;
    return ci;
  }
  TacBGInfo bg;
  bg.PleaseDraw = false;
  bg.BgType = btUnknown;
  if (TControl* parent = S->OwnerControl->Parent()) {
    GetBGInfo(&bg, parent, false);
  } else if (auto* w = dynamic_cast<TWinControl*>(S->OwnerControl); w && w->HandleAllocated()) {
    GetBGInfo(&bg, GetParent(w->WindowHandle()), false);
  } else {
    return ci;
  }
  if (bg.BgType == btNotReady) {
    ci.FillColor = sFuchsia;
    ci.Ready = false;
    return ci;
  }
  return BGInfoToCI(&bg);
}

TCacheInfo GetParentCacheHwnd(HWND Wnd) {
  const HWND parent = GetParent(Wnd);
  if (!parent) return EmptyCI;
  TacBGInfo bg;
  GetBGInfo(&bg, parent, false);
  TCacheInfo ci = BGInfoToCI(&bg);
  if (bg.BgType != btCache) ci.Ready = false;
  return ci;
}

void InvalidateParentCache(TsCommonData* SkinData) {
  if (InUpdating(SkinData, false) || !SkinData->OwnerControl) return;
  TWinControl* parent = SkinData->OwnerControl->Parent();
  if (!parent || !parent->HandleAllocated()) return;
  SendMessageW(parent->WindowHandle(), SM_ALPHACMD, AlphaCmdParam(ACMD_FLAG_BG_CHANGED, 1), 0);
  SendAMessage(parent->WindowHandle(), ACMD_BUILD_CACHE);
}

// ------------------------------------------------------------ font colours

Integer GetFontIndex(TControl* Control, Integer DefIndex, TsSkinManager* Manager, Integer State) {
  TsSkinManager* m = Manager ? Manager : DefaultManager;
  if (!m || !Control) return DefIndex;
  TWinControl* parent = Control->Parent();
  if (!parent || !parent->HandleAllocated()) return DefIndex;
  auto* d = reinterpret_cast<TsCommonData*>(SendAMessage(parent->WindowHandle(), ACMD_QUERY_COMMON_DATA));
  const bool byState = d && d->SkinIndex >= 0 && d->SkinIndex < static_cast<Integer>(m->Sections.size());
  Integer k;
  if (byState) {
    k = d->SkinIndex;
  } else {
    TacSectionInfo info;
    info.SkinIndex = -1;
    SendAMessage(parent->WindowHandle(), ACMD_QUERY_SKIN_INDEX, reinterpret_cast<LPARAM>(&info));
    k = info.SkinIndex;
    if (!m->IsValidSkinIndex(k)) return DefIndex;
  }
  const TsGeneralData& section = m->Sections[static_cast<size_t>(k)];
  const Integer st = std::max(std::min(State > 0 ? 1 : 0, section.StateCount - 1), 0);
  if (section.Props[static_cast<size_t>(st)].Transparency > 50) {
    bool climb = true;
    if (byState) {
      const bool fillsAll = m->IsValidImgIndex(section.BorderMask) &&
                            (m->Masks[static_cast<size_t>(section.BorderMask)].FillMode & kBorderFillsAll);
      climb = !fillsAll && parent->Parent();
    }
    if (climb) return GetFontIndex(parent, DefIndex, m, 0);
  }
  return section.GiveOwnFont ? k : DefIndex;
}

// ------------------------------------------------------------ glow

namespace {

void HideOwnGlow(TsCommonData* S) {
  if (S->GlowID != -1) HideGlow(S->GlowID);
  S->GlowID = -1;
}

// The window a control's glow stays just above: the window its form lies
// in, the MDI parent's form for an MDI child, else the form itself.
HWND GlowParent(TCustomForm* F) {
  if (F->Parent()) return F->Parent()->Handle();
  if (F->FormStyle() == fsMDIChild && MDISkinProvider && MDISkinProvider->Form) return MDISkinProvider->Form->Handle();
  return F->Handle();
}

// The clip box of a window's own DC (the part not cut away by its parents).
bool WindowClipBox(HWND Wnd, TRect& Clip) {
  HDC dc = GetWindowDC(Wnd);
  if (!dc) return false;
  RECT r{};
  const int kind = GetClipBox(dc, &r);
  ReleaseDC(Wnd, dc);
  if (kind == ERROR) return false;
  Clip = TRect{r.left, r.top, r.right, r.bottom};
  return true;
}

// A graphic control's screen rectangle and its part that its parent shows.
bool GraphicGlowRects(TControl* C, TRect& R, TRect& Clip) {
  TWinControl* parent = C->Parent();
  if (!parent || !parent->HandleAllocated()) return false;
  const TPoint origin = C->ClientOrigin();
  R = TRect{origin.X, origin.Y, origin.X + C->Width(), origin.Y + C->Height()};
  HDC dc = GetDC(parent->WindowHandle());
  if (!dc) return false;
  RECT box{};
  const int kind = GetClipBox(dc, &box);
  ReleaseDC(parent->WindowHandle(), dc);
  if (kind == ERROR) return false;
  Clip.Left = C->Left() < 0 ? -C->Left() : 0;
  Clip.Top = C->Top() < 0 ? -C->Top() : 0;
  Clip.Right = box.right < C->Left() + C->Width() ? box.right - C->Left() : C->Width();
  Clip.Bottom = box.bottom < C->Top() + C->Height() ? box.bottom - C->Top() : C->Height();
  return true;
}

}  // namespace

void ShowGlowingIfNeeded(TsCommonData* SkinData, bool Clear, HWND Wnd) {
  TsCommonData* S = SkinData;
  TsSkinManager* m = S ? S->GetSkinManager() : nullptr;
  const TsGeneralData* section = S ? SectionOf(S) : nullptr;
  if (!m || !section || !m->Effects()->AllowGlowing || m->Options()->NoMouseHover() || section->Glow < 1) return;
  const AnsiString image = "GLOW";
  if (TControl* c = S->OwnerControl) {
    if (!S->MouseAbove || c->ControlState().Contains(csLButtonDown) || (Clear && S->GlowID != -1)) {
      HideOwnGlow(S);
      return;
    }
    TCustomForm* f = GetParentForm(c);
    if (!f || S->GlowID != -1) return;
    const HWND parent = GlowParent(f);
    TRect r, clip;
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      RECT wr{};
      if (!w->HandleAllocated() || !GetWindowRect(w->WindowHandle(), &wr)) return;
      r = TRect{wr.left, wr.top, wr.right, wr.bottom};
      if (!WindowClipBox(w->WindowHandle(), clip)) return;
    } else if (!GraphicGlowRects(c, r, clip)) {
      return;
    }
    S->GlowID = ShowGlow(r, clip, S->SkinSection(), image, section->GlowMargin, 255, parent, S);
    return;
  }
  if (!Wnd) return;
  RECT wr{};
  TRect clip;
  if (!GetWindowRect(Wnd, &wr) || !WindowClipBox(Wnd, clip)) return;
  S->GlowID = ShowGlow(TRect{wr.left, wr.top, wr.right, wr.bottom}, clip, S->SkinSection(), image,
                       section->GlowMargin, 255, GetParentFormHandle(Wnd), S);
}

// ------------------------------------------------------------ tints and borders

Integer SaturationValue(Integer Percent) {
  const Integer n = Percent * 255;
  Integer q = n / 100;
  const Integer r = n % 100;  // carries the sign of n
  if (2 * std::abs(r) > 100 || (2 * std::abs(r) == 100 && (q & 1))) q += r > 0 ? 1 : -1;
  return LimitIt(q, -255, 255);
}

void UpdateBmpColors(TacBitmap* Bmp, TsCommonData* SkinData, bool, Integer State) {
  if (!Bmp || !SkinData) return;
  if (SkinData->ColorTone() != clNoColor)
    ChangeBitmapPixels(Bmp, &ChangeColorTone, static_cast<Integer>(SkinData->ColorTone()), sFuchsia);
  if (SkinData->HUEOffset() != 0) ChangeBitmapPixels(Bmp, &ChangeColorHUE, SkinData->HUEOffset(), sFuchsia);
  if (SkinData->Saturation() != 0)
    ChangeBitmapPixels(Bmp, &ChangeColorSaturation, SaturationValue(SkinData->Saturation()), sFuchsia);
  UpdateCorners(SkinData, State, TsCorners{scLeftTop, scLeftBottom, scRightTop, scRightBottom});
}

Integer SkinBorderMaxWidth(TsCommonData* SkinData) {
  const TsMaskData* border = BorderOf(SkinData);
  if (!border || (border->FillMode & kBorderNotDrawn)) return 0;
  TsSkinManager* m = SkinData->GetSkinManager();
  const Integer i = SkinData->BorderIndex;
  return std::max({m->MaskWidthLeft(i), m->MaskWidthTop(i), m->MaskWidthRight(i), m->MaskWidthBottom(i)});
}

// ------------------------------------------------------------ outer effects

void TsCommonData::PaintOuter(PacBGInfo BGInfo, Word Flags) {
  const TsGeneralData* section = SectionOf(this);
  if (!Skinned(false) || !section || OuterEffects->Visibility() != ovAlways) return;
  TsSkinManager* m = GetSkinManager();
  Integer mask = -1, opacity = 0;
  std::array<Integer, 4> offsets{};
  if (section->OuterMask >= 0) {
    mask = section->OuterMask;
    offsets = section->OuterOffsets;
    opacity = section->OuterOpacity;
  } else if (section->OuterMode >= 1 && section->OuterMode <= static_cast<Integer>(m->OutEffects.size()) &&
             m->OutEffects[static_cast<size_t>(section->OuterMode - 1)].Source != 0) {
    const TacOutEffData& e = m->OutEffects[static_cast<size_t>(section->OuterMode - 1)];
    if (e.ImageIndex < 0) return;
    mask = e.ImageIndex;
    offsets = e.Offsets;
    opacity = e.Opacity;
  } else {
    return;
  }
  if (!BGInfo->Bmp || !OwnerControl || !m->IsValidImgIndex(mask)) return;
  TRect b;
  SendAMessage(OwnerControl, ACMD_QUERY_BOUNDS, reinterpret_cast<LPARAM>(&b));
  b.Offset(BGInfo->Offset.X, BGInfo->Offset.Y);
  const TRect o{b.Left - offsets[0], b.Top - offsets[1], b.Right + offsets[2], b.Bottom + offsets[3]};
  const TRect limits{offsets[0], offsets[1], offsets[2], offsets[3]};
  const TsMaskData& md = m->Masks[static_cast<size_t>(mask)];
  TacBitmap* target = BGInfo->Bmp;
  if ((Flags & kRestoreFirst) && OuterBmp) {
    std::unique_ptr<TacBitmap> old = std::move(OuterBmp);
    OuterBmp = CreateBmp32(o.Width(), o.Height());
    BlockCopy(OuterBmp.get(), 0, 0, o.Width(), o.Height(), target, o.Left, o.Top);
    DrawSkinRect32Ex(old.get(), TRect{0, 0, old->Width(), old->Height()}, EmptyCI, md, 0, limits, opacity);
    BlockCopy(target, o.Left, o.Top, old->Width(), old->Height(), old.get(), 0, 0);
    return;
  }
  if (!OuterBmp)
    OuterBmp = CreateBmp32(o.Width(), o.Height());
  else
    OuterBmp->SetSize(o.Width(), o.Height());
  BlockCopy(OuterBmp.get(), 0, 0, o.Width(), o.Height(), target, o.Left, o.Top);
  DrawSkinRect32Ex(target, o, EmptyCI, md, 0, limits, opacity);
}

void TsCommonData::PaintOuterEffects(TWinControl* Control, const TPoint& Offset) {
  TsSkinManager* m = GetSkinManager();
  if (!Skinned(false) || !m || !m->Effects()->AllowOuterEffects() || !Control) return;
  TacBGInfo bg;
  bg.BgType = btCache;
  bg.Bmp = CacheBmp.get();
  bg.Offset = Offset;
  for (int i = 0; i < Control->ControlCount(); ++i) {
    TControl* child = Control->Controls(i);
    if (ControlIsReady(child) && child->Visible())
      child->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_PAINT_OUTER), reinterpret_cast<LPARAM>(&bg));
  }
}

// ------------------------------------------------------------ copying the cache

void CopyWinControlCache(TWinControl* Control, TsCommonData* SkinData, const TRect& SrcRect, const TRect& DstRect,
                         HDC DC, bool, Integer OffsetX, Integer OffsetY) {
  if (CacheEmpty(SkinData)) return;
  TDCStateScope state(DC);
  IntersectClipRect(DC, DstRect.Left, DstRect.Top, DstRect.Right, DstRect.Bottom);
  for (int i = 0; i < Control->ControlCount(); ++i) {
    TControl* c = Control->Controls(i);
    auto* w = dynamic_cast<TWinControl*>(c);
    if (!w && StdTransparency) continue;
    if (!c->Visible() || c->ClassName() == "TsSplitter") continue;
    TRect r = c->BoundsRect();
    if (r.Right <= DstRect.Left || r.Left >= DstRect.Right || r.Bottom <= DstRect.Top || r.Top >= DstRect.Bottom) continue;
    if (w && !IsDesigning(w) && !w->ControlStyle().Contains(csOpaque)) continue;
    r.Offset(OffsetX, OffsetY);
    ExcludeClipRect(DC, r.Left, r.Top, r.Right, r.Bottom);
  }
  BitBlt(DC, DstRect.Left, DstRect.Top, DstRect.Width(), DstRect.Height(), SkinData->CacheBmp->Canvas()->Handle(),
         SrcRect.Left, SrcRect.Top, SRCCOPY);
}

namespace {

// The frame of a group box window kept out of the clip (its inside shows the cache).
void ExcludeGroupBoxFrame(HDC DC, HWND Child, const TRect& R) {
  TsSkinManager* m = DefaultManager;
  if (!m) return;
  const Integer i = m->GetMaskIndex("GROUPBOX", "BORDERSMASK");
  if (!m->IsValidImgIndex(i)) return;
  const Integer caption = static_cast<Integer>(SendAMessage(Child, ACMD_QUERY_CAPTION_HEIGHT));
  const Integer left = m->MaskWidthLeft(i), right = m->MaskWidthRight(i), bottom = m->MaskWidthBottom(i);
  ExcludeClipRect(DC, R.Left, R.Top, R.Right, R.Top + caption);
  ExcludeClipRect(DC, R.Left, R.Top, R.Left + left, R.Bottom);
  ExcludeClipRect(DC, R.Right - right, R.Top, R.Right, R.Bottom);
  ExcludeClipRect(DC, R.Left, R.Bottom - bottom, R.Right, R.Bottom);
}

}  // namespace

void CopyHwndCache(HWND Wnd, TsCommonData* SkinData, const TRect& SrcRect, const TRect& DstRect, HDC DC, bool,
                   Integer OffsetX, Integer OffsetY) {
  if (!SkinData->CacheBmp) return;
  TDCStateScope state(DC);
  IntersectClipRect(DC, DstRect.Left, DstRect.Top, DstRect.Right, DstRect.Bottom);
  RECT own{};
  GetWindowRect(Wnd, &own);
  for (HWND child = GetWindow(Wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT wr{};
    GetWindowRect(child, &wr);
    TRect r{wr.left, wr.top, wr.right, wr.bottom};
    r.Offset(-own.left - OffsetX, -own.top - OffsetY);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    const LONG ex = GetWindowLongW(child, GWL_EXSTYLE);
    if ((style & BS_TYPEMASK) == BS_GROUPBOX && !(ex & WS_EX_CLIENTEDGE))
      ExcludeGroupBoxFrame(DC, child, r);
    else
      ExcludeClipRect(DC, r.Left, r.Top, r.Right, r.Bottom);
  }
  BitBlt(DC, DstRect.Left, DstRect.Top, DstRect.Width(), DstRect.Height(), SkinData->CacheBmp->Canvas()->Handle(),
         SrcRect.Left, SrcRect.Top, SRCCOPY);
}
