// Skinned non-client scroll bars: room made for them in WM_NCCALCSIZE, their
// geometry, hit testing and painting, and the window procedure of TacScrollWnd.
#include "skin/subclass/acSBUtils.h"

#include <algorithm>

#include "classlib/ui/StdCtrls.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sDefaults.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

const Integer acMinThumbSize = 16;
Integer nLastSBPos = -1;
TacScrollTracking acScrollTrack;

namespace {

constexpr DWORD kScrollStyles = WS_HSCROLL | WS_VSCROLL;
constexpr UINT kScrollInfoMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;  // 0x17

void ReadScrollInfo(TacScrollBar* Bar, HWND Wnd) {
  Bar->ScrollInfo.cbSize = sizeof(SCROLLINFO);
  Bar->ScrollInfo.fMask = kScrollInfoMask;
  GetScrollInfo(Wnd, Bar->BarKind == 0 ? SB_HORZ : SB_VERT, &Bar->ScrollInfo);
}

TsScrollWndData* ScrollData(TacScrollBar* Bar) {
  return Bar && Bar->OwnerWnd ? dynamic_cast<TsScrollWndData*>(Bar->OwnerWnd->SkinData) : nullptr;
}

TsSkinManager* BarManager(TacScrollBar* Bar) {
  if (!Bar || !Bar->OwnerWnd) return nullptr;
  if (Bar->OwnerWnd->Manager) return Bar->OwnerWnd->Manager;
  return Bar->OwnerWnd->SkinData ? Bar->OwnerWnd->SkinData->GetSkinManager() : nullptr;
}

TRect ScreenRect(HWND Wnd) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  return TRect{r.left, r.top, r.right, r.bottom};
}

TRect Moved(const TRect& R, int dx, int dy) { return TRect{R.Left + dx, R.Top + dy, R.Right + dx, R.Bottom + dy}; }

bool OwnerEnabled(TacScrollWnd* Obj) {
  TControl* c = Obj->OwnerControl();
  return !c || c->Enabled();
}

// Paints one bar into DC at R (window coordinates); 1 when painted.
Integer DrawBar(TacScrollBar* Bar, HWND Wnd, HDC DC, Integer ThumbOverride, Integer PressedPart, const TRect& R) {
  TacScrollWnd* obj = Bar->OwnerWnd;
  TsSkinManager* m = BarManager(Bar);
  if (obj->ThumbTracking || !Bar->Shown || !m) return 0;
  const TConstantSkinData& cd = m->ConstData;
  const TacConstElementData& track1 = cd.ScrollBars[Bar->BarKind];
  const TacConstElementData& track2 = cd.ScrollBars[2 + Bar->BarKind];
  if (track1.SectionIndex < 0) return 0;
  const bool vert = Bar->BarKind == 1;
  const int length = vert ? R.Height() : R.Width();
  if (length <= 1 || (vert && obj->ScrollNotifying)) return 0;
  ReadScrollInfo(Bar, Wnd);
  const int arrow = GetScrollMetric(Bar, 0);
  if (length <= 0) return 0;
  const bool enabled = ScrollBarEnabled(Bar, Wnd) && OwnerEnabled(obj);

  // Part states.
  const TacScrollTracking& t = acScrollTrack;
  const bool tracked = t.TrackedWnd == Wnd;
  if (!tracked) PressedPart = -1;
  auto arrowState = [&](int part) {
    if (PressedPart == part) return 2;
    return (tracked && enabled && t.HotBar == Bar->BarKind && t.HotPart == part) ? 1 : 0;
  };
  const int s1 = arrowState(acHitArrow1), s2 = arrowState(acHitArrow2);
  const int st1 = PressedPart == acHitTrack1 ? 2 : 0, st2 = PressedPart == acHitTrack2 ? 2 : 0;
  const int sThumb = (tracked && enabled && t.HotBar == Bar->BarKind && t.HotPart == acHitThumb) ? 1 : 0;

  int thumbLen = 0, thumbStart = 0;
  GetThumbGeometry(Bar, R, thumbLen, thumbStart);
  if (ThumbOverride != -1) thumbStart = ThumbOverride;

  const int w = R.Width(), h = R.Height();
  std::unique_ptr<TacBitmap> bmp = CreateBmp32(w, h);
  TacBGInfo bg;
  GetBGInfo(&bg, Wnd);
  TCacheInfo ci = BGInfoToCI(&bg);
  if (obj->OwnedByProvider()) ci.X = ci.Y = 0;
  const TPoint at{R.Left, R.Top};
  const int barStart = vert ? R.Top : R.Left;
  auto local = [&](int from, int to) { return vert ? TRect{0, from, w, to} : TRect{from, 0, to, h}; };
  auto paintTrack = [&](const TacConstElementData& e, const TRect& lr, int state) {
    PaintItemFast(e.SectionIndex, e.BorderMask, e.PatternMask, e.HotPatternMask, e.SectionName, ci, true, state, lr,
                  TPoint{at.X + lr.Left, at.Y + lr.Top}, bmp.get(), m);
  };
  const TacSide first = vert ? asTop : asLeft, second = vert ? asBottom : asRight;
  if (2 * arrow < length) {
    const int c = thumbStart + thumbLen / 2 - barStart;
    paintTrack(track1, local(0, c), st1);
    paintTrack(track2, local(c, length), st2);
    ac_DrawScrollBtn(local(0, arrow), s1, bmp.get(), obj->SkinData, first);
    ac_DrawScrollBtn(local(length - arrow, length), s2, bmp.get(), obj->SkinData, second);
    const int track = length - 2 * arrow;
    const SCROLLINFO& si = Bar->ScrollInfo;
    int e = MulDiv(static_cast<int>(si.nPage), track, si.nMax - si.nMin);
    if (e < Bar->MinThumbSize || e < track - 1) e = std::min(Bar->MinThumbSize, track - 1);
    if (enabled && e >= 1 && e <= track) {
      const int from = thumbStart - barStart;
      ac_DrawSlider(local(from, from + thumbLen), sThumb, bmp.get(), m, vert);
    }
  } else {
    const int half = length / 2;
    paintTrack(track1, local(0, half), 0);
    paintTrack(track2, local(half, length), 0);
    ac_DrawScrollBtn(local(0, half), s1, bmp.get(), obj->SkinData, first);
    ac_DrawScrollBtn(local(length - half, length), s2, bmp.get(), obj->SkinData, second);
  }
  if (!enabled) {
    TacBGInfo bg2;
    GetBGInfo(&bg2, Wnd);
    if (bg2.BgType == btCache && bg2.Bmp) {
      const int ox = obj->OwnedByProvider() ? 0 : bg2.Offset.X;
      const int oy = obj->OwnedByProvider() ? 0 : bg2.Offset.Y;
      BlendTransRectangle(bmp.get(), 0, 0, bg2.Bmp,
                          TRect{ox + R.Left, oy + R.Top, ox + R.Right - 1, oy + R.Bottom - 1}, DefDisabledBlend,
                          sFuchsia);
    } else {
      FadeBmp(bmp.get(), TRect{0, 0, w, h}, 60, ColorToRGB(bg2.Color), 0, 0);
    }
  }
  BitBlt(DC, R.Left, R.Top, w, h, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
  return 1;
}

// The corner between two shown bars, with the size grip where it belongs.
void DrawCorner(TacScrollWnd* Obj, HWND Wnd, HDC DC, const TRect& HBar, Integer VThick) {
  TsSkinManager* m = BarManager(Obj->HorzBar);
  const TRect r = Obj->LeftScrollBar ? TRect{HBar.Left - VThick, HBar.Top, HBar.Left, HBar.Bottom}
                                     : TRect{HBar.Right, HBar.Top, HBar.Right + VThick, HBar.Bottom};
  if (r.Width() <= 0 || r.Height() <= 0) return;
  std::unique_ptr<TacBitmap> bmp = CreateBmp32(r.Width(), r.Height());
  TacBGInfo bg;
  GetBGInfo(&bg, Wnd);
  if (bg.BgType == btCache && bg.Bmp) {
    BlockCopy(bmp.get(), 0, 0, r.Width(), r.Height(), bg.Bmp, bg.Offset.X + r.Left, bg.Offset.Y + r.Top);
  } else {
    TColor c = bg.Color;
    const TacConstElementData& h1 = m->ConstData.ScrollBars[0];
    if (h1.SectionIndex < 0 || m->Sections[h1.SectionIndex].Props[0].Transparency != 100) c = m->GetGlobalColor();
    FillBitmapRect(bmp.get(), TRect{0, 0, r.Width(), r.Height()}, ColorToRGB(c));
  }
  const TRect wr = ScreenRect(Wnd);
  const bool grip = ScrollCornerGrip(Obj, Wnd, Moved(r, wr.Left, wr.Top));
  const Integer gi = m->ConstData.GripImage;
  if (grip && m->IsValidImgIndex(gi)) {
    const TsMaskData& md = m->Masks[gi];
    const int gw = WidthOfImage(md), gh = HeightOfImage(md);
    DrawSkinGlyph(bmp.get(), TPoint{r.Width() - gw, r.Height() - gh}, 0, 1, md, MakeCacheInfo(bmp.get()));
  }
  BitBlt(DC, r.Left, r.Top, r.Width(), r.Height(), bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

}  // namespace

// ------------------------------------------------------------ TacScrollBar

TacScrollBar::TacScrollBar() {
  ScrollInfo.cbSize = sizeof(SCROLLINFO);
  ScrollInfo.fMask = kScrollInfoMask;
}

// ------------------------------------------------------------ geometry

void InstallScrollSubclass(TacScrollWnd* Obj, HWND Wnd, bool Repaint) {
  Obj->ScrollNotifying = false;
  Obj->WndHandle = Wnd;
  Obj->HorzBar = new TacScrollBar;
  Obj->VertBar = new TacScrollBar;
  Obj->HorzBar->OwnerWnd = Obj;
  Obj->VertBar->OwnerWnd = Obj;
  Obj->HorzBar->BarKind = 0;
  Obj->VertBar->BarKind = 1;
  ReadScrollInfo(Obj->HorzBar, Wnd);
  ReadScrollInfo(Obj->VertBar, Wnd);
  Obj->LeftScrollBar = (GetWindowLongW(Wnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  const DWORD style = static_cast<DWORD>(GetWindowLongW(Wnd, GWL_STYLE));
  Obj->HorzBar->BarFlags = (style & WS_HSCROLL) ? 8 : 0;
  Obj->VertBar->BarFlags = (style & WS_VSCROLL) ? 8 : 0;
  Obj->HideScrollStyles = false;
  InstallSubclass(Obj, Wnd);
  Obj->HorzBar->MinThumbSize = acMinThumbSize;
  Obj->VertBar->MinThumbSize = acMinThumbSize;
  if (Repaint) RefreshFrame(Wnd, true);
}

Integer GetScrollMetric(TacScrollBar* Bar, Integer Which, bool) {
  if (!Bar) return 0;
  TsScrollWndData* sd = ScrollData(Bar);
  TacScrollData* data = sd ? (Bar->BarKind == 0 ? sd->HorzScrollData() : sd->VertScrollData()) : nullptr;
  TsSkinManager* m = BarManager(Bar);
  if (Which == 0) {
    if (data && data->ButtonsSize() >= 0) return data->ButtonsSize();
    if (m && m->ScrollsOptions()->ButtonsSize() >= 0) return m->ScrollsOptions()->ButtonsSize();
    if (Bar->ArrowLength >= 0) return Bar->ArrowLength;
    const Integer size = GetScrollSize(m);
    if (size >= 0) return size;
    return acScrollBtnLength * -Bar->ArrowLength;
  }
  if (data && data->ScrollWidth() >= 0) return data->ScrollWidth();
  const Integer size = GetScrollSize(m);
  if (size >= 0) return size;
  if (Bar->BarThickness >= 0) return Bar->BarThickness;
  return GetSystemMetrics(Bar->BarKind == 0 ? SM_CYHSCROLL : SM_CXVSCROLL) * -Bar->BarThickness;
}

void ac_GetHScrollRect(TacScrollWnd* Obj, HWND Wnd, TRect& R) {
  R = ScreenRect(Wnd);
  const int shownH = Obj->HorzBar->Shown ? 1 : 0, shownV = Obj->VertBar->Shown ? 1 : 0;
  R.Bottom -= Obj->EdgeBottom;
  R.Top = R.Bottom - GetScrollMetric(Obj->HorzBar, 1) * shownH;
  R.Left += Obj->EdgeLeft;
  R.Right -= Obj->EdgeRight;
  const int v = GetScrollMetric(Obj->VertBar, 1) * shownV;
  if (Obj->LeftScrollBar) {
    R.Left += v;
  } else {
    R.Right -= v;
  }
}

void ac_GetVScrollRect(TacScrollWnd* Obj, HWND Wnd, TRect& R) {
  R = ScreenRect(Wnd);
  const int shownH = Obj->HorzBar->Shown ? 1 : 0, shownV = Obj->VertBar->Shown ? 1 : 0;
  R.Top += Obj->EdgeTop;
  R.Bottom -= GetScrollMetric(Obj->HorzBar, 1) * shownH + Obj->EdgeBottom;
  const int v = GetScrollMetric(Obj->VertBar, 1) * shownV;
  if (Obj->LeftScrollBar) {
    R.Left += Obj->EdgeLeft;
    R.Right = R.Left + v;
  } else {
    R.Right -= Obj->EdgeRight;
    R.Left = R.Right - v;
  }
}

void GetThumbGeometry(TacScrollBar* Bar, const TRect& R, Integer& ThumbLength, Integer& ThumbStart) {
  const int arrow = GetScrollMetric(Bar, 0);
  const bool vert = Bar->BarKind == 1;
  const int length = vert ? R.Height() : R.Width();
  const int start = vert ? R.Top : R.Left;
  const SCROLLINFO& si = Bar->ScrollInfo;
  const int range = si.nMax - si.nMin + 1;
  const int track = length - 2 * arrow;
  int thumb = 0;
  if (si.nPage == 0) {
    thumb = std::max(arrow, Bar->MinThumbSize);
  } else if (range > 0) {
    thumb = MulDiv(static_cast<int>(si.nPage), track, range);
  }
  if (arrow == 0 && thumb < 19) {
    thumb = 19;
  } else if (thumb < Bar->MinThumbSize) {
    thumb = Bar->MinThumbSize;
  }
  int offset = 0;
  if (range > 0) {
    offset = MulDiv(si.nPos - si.nMin, track - thumb, range - std::max(1, static_cast<int>(si.nPage)));
    if (offset < 0) offset = 0;
    if (offset > track - thumb) offset = track - thumb;
  }
  ThumbLength = thumb;
  ThumbStart = start + arrow + offset;
}

Integer ScrollHitTest(TacScrollBar* Bar, const TRect& R, const TPoint& P) {
  const bool vert = Bar->BarKind == 1;
  const int across = vert ? P.X : P.Y;
  if (across < (vert ? R.Left : R.Top) || across >= (vert ? R.Right : R.Bottom)) return acHitNone;
  const int length = vert ? R.Height() : R.Width();
  const int start = vert ? R.Top : R.Left;
  const int pos = (vert ? P.Y : P.X) - start;
  int arrow = GetScrollMetric(Bar, 0);
  if (2 * arrow >= length) arrow = length / 2;
  if (pos >= 0 && pos < arrow) return acHitArrow1;
  if (pos >= length - arrow && pos < length) return acHitArrow2;
  int thumb = 0, thumbStart = 0;
  GetThumbGeometry(Bar, R, thumb, thumbStart);
  if (thumb >= length - 2 * arrow) return acHitNone;
  const int ts = thumbStart - start;
  if (pos >= ts && pos < ts + thumb) return acHitThumb;
  if (pos >= arrow && pos < ts) return acHitTrack1;
  if (pos >= ts + thumb && pos < length - arrow) return acHitTrack2;
  return acHitNone;
}

bool ScrollBarEnabled(TacScrollBar* Bar, HWND Wnd) {
  if (Ac_GetScrollBarInfo) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if (!Ac_GetScrollBarInfo(Wnd, Bar->BarKind == 0 ? OBJID_HSCROLL : OBJID_VSCROLL, &info)) return false;
    return (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
  }
  return (GetWindowLongW(Wnd, GWL_STYLE) & (Bar->BarKind == 0 ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

void RotateRect0(TacScrollBar* Bar, TRect& R) {
  if (Bar && Bar->BarKind == 1) R = RotateRect(R);
}

TRect BtnDrawRect(const TRect& R, TsCommonData* SkinData, TacSide Side) {
  TRect r = R;
  TsSkinManager* m = SkinData ? SkinData->GetSkinManager() : DefaultManager;
  if (!m) return r;
  const TacConstElementData& e = m->ConstData.ScrollButtons[static_cast<int>(Side)];
  if (!m->IsValidSkinIndex(e.SectionIndex) || !m->Sections[e.SectionIndex].ReservedBoolean ||
      !m->IsValidImgIndex(e.BorderMask))
    return r;
  const TsMaskData& md = m->Masks[e.BorderMask];
  switch (Side) {
    case asLeft: r.Right += WidthOfImage(md) - 17; break;
    case asTop: r.Bottom += HeightOfImage(md) - 17; break;
    case asRight: r.Left -= WidthOfImage(md) - 17; break;
    case asBottom: r.Top -= HeightOfImage(md) - 17; break;
  }
  return r;
}

// A glyph centred in R of Bmp, in the state's frame.
static void DrawCentredGlyph(TacBitmap* Bmp, const TRect& R, Integer State, const TsMaskData& Md) {
  const int gw = WidthOfImage(Md), gh = HeightOfImage(Md);
  DrawSkinGlyph(Bmp, TPoint{R.Left + (R.Width() - gw) / 2, R.Top + (R.Height() - gh) / 2}, State, 1, Md,
                MakeCacheInfo(Bmp));
}

void ac_DrawScrollBtn(const TRect& R, Integer State, TacBitmap* Bmp, TsCommonData* SkinData, TacSide Side) {
  if (R.Width() <= 0 || R.Height() <= 0 || !Bmp) return;
  TsSkinManager* m = SkinData ? SkinData->GetSkinManager() : DefaultManager;
  if (!m) return;
  const TRect dr = BtnDrawRect(R, SkinData, Side);
  if (dr.Width() <= 0 || dr.Height() <= 0) return;
  const TacConstElementData& e = m->ConstData.ScrollButtons[static_cast<int>(Side)];
  std::unique_ptr<TacBitmap> b = CreateBmp32(dr.Width(), dr.Height());
  PaintItemFast(e.SectionIndex, e.BorderMask, e.PatternMask, e.HotPatternMask, e.SectionName, MakeCacheInfo(Bmp), true,
                State, TRect{0, 0, dr.Width(), dr.Height()}, TPoint{dr.Left, dr.Top}, b.get(), m);
  const TRect inB = Moved(R, -dr.Left, -dr.Top);  // the arrow goes where the button was asked for
  if (!m->IsValidImgIndex(e.GlyphMask)) {
    if (m->IsValidSkinIndex(e.SectionIndex)) {
      const TsGeneralData& sec = m->Sections[e.SectionIndex];
      const int st = std::clamp(std::min<int>(State, sec.StateCount - 1), 0, 1);
      TRect ar = inB;
      if (State > 1 && m->ButtonsOptions()->ShiftContentOnClick) ar = Moved(ar, 1, 1);
      DrawColorArrow(b->Canvas(), sec.Props[st].FontColor.Color, ar, Side);
    }
  } else {
    DrawCentredGlyph(b.get(), inB, State, m->Masks[e.GlyphMask]);
  }
  BlockCopy(Bmp, dr.Left, dr.Top, dr.Width(), dr.Height(), b.get(), 0, 0);
}

void ac_DrawSlider(const TRect& R, Integer State, TacBitmap* Bmp, TsSkinManager* Manager, bool Vertical) {
  if (R.Width() <= 0 || R.Height() <= 0 || !Bmp || !Manager) return;
  const TacConstElementData& e = Manager->ConstData.ScrollSliders[Vertical ? 1 : 0];
  std::unique_ptr<TacBitmap> b = CreateBmp32(R.Width(), R.Height());
  PaintItemFast(e.SectionIndex, e.BorderMask, e.PatternMask, e.HotPatternMask, e.SectionName, MakeCacheInfo(Bmp), true,
                State, TRect{0, 0, R.Width(), R.Height()}, TPoint{R.Left, R.Top}, b.get(), Manager);
  if (Manager->IsValidImgIndex(e.GlyphMask))
    DrawCentredGlyph(b.get(), TRect{0, 0, R.Width(), R.Height()}, State, Manager->Masks[e.GlyphMask]);
  BlockCopy(Bmp, R.Left, R.Top, R.Width(), R.Height(), b.get(), 0, 0);
}

Integer ac_NCDraw(TacScrollWnd* Obj, HWND Wnd, Integer ThumbPos, HDC DC) {
  if (!Obj || !Obj->HorzBar || !Obj->VertBar) return 0;
  if (TsCommonData* sd = Obj->SkinData) {
    if (InUpdating(sd)) return 0;
    TControl* c = Obj->OwnerControl();
    if (c && c->ControlState().Contains(csCreating)) return 0;
    if (!IsWindowVisible(Wnd) && !(c && c->Showing())) return 0;
    if (sd->BGChanged) SendAMessage(Wnd, ACMD_BUILD_CACHE);
  }
  if (!BarManager(Obj->HorzBar)) return 0;
  HDC dc = DC ? DC : GetWindowDC(Wnd);
  if (!dc) return 0;
  const TRect wr = ScreenRect(Wnd);
  const TacScrollTracking& t = acScrollTrack;
  TRect hr, vr;
  ac_GetHScrollRect(Obj, Wnd, hr);
  ac_GetVScrollRect(Obj, Wnd, vr);
  hr = Moved(hr, -wr.Left, -wr.Top);
  vr = Moved(vr, -wr.Left, -wr.Top);
  if (Obj->HorzBar->Shown)
    DrawBar(Obj->HorzBar, Wnd, dc, ThumbPos, t.PressedBar == 0 ? t.PressedPartNow : -1, hr);
  if (Obj->VertBar->Shown)
    DrawBar(Obj->VertBar, Wnd, dc, ThumbPos, t.PressedBar == 1 ? t.PressedPartNow : -1, vr);
  if (Obj->HorzBar->Shown && Obj->VertBar->Shown) DrawCorner(Obj, Wnd, dc, hr, GetScrollMetric(Obj->VertBar, 1));
  if (!DC) ReleaseDC(Wnd, dc);
  return 0;
}

// ------------------------------------------------------------ TacScrollWnd

void TacScrollWnd::InitSkinData() {
  if (!SkinData) SkinData = new TsScrollWndData(nullptr, true);
  SkinData->Loading = true;
  FrameCalculated = false;
}

void TacScrollWnd::FreeBars() {
  for (TacScrollBar** bar : {&HorzBar, &VertBar}) {
    if (*bar) (*bar)->OwnerWnd = nullptr;
    delete *bar;
    *bar = nullptr;
  }
}

TacScrollWnd::~TacScrollWnd() {
  // A press or hover of ours ends with us.
  if (acScrollTrack.TrackedWnd == WndHandle && WndHandle) {
    if (IsWindow(WndHandle)) {
      KillTimer(WndHandle, acTimerHover);
      KillTimer(WndHandle, acTimerFirstRepeat);
      KillTimer(WndHandle, acTimerRepeat);
    }
    acScrollTrack = TacScrollTracking{};
  }
  FreeBars();
}

void TacScrollWnd::HandleNCCalcSize(TMessage& Message) {
  auto* rect = reinterpret_cast<RECT*>(Message.LParam);
  const RECT old = *rect;
  const DWORD style = static_cast<DWORD>(GetWindowLongW(WndHandle, GWL_STYLE));
  if (style & kScrollStyles) {
    // The system reserves no room for its own bars and never paints them.
    HideScrollStyles = true;
    SetWindowLongW(WndHandle, GWL_STYLE, static_cast<LONG>(style & ~kScrollStyles));
    Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
    SetWindowLongW(WndHandle, GWL_STYLE, static_cast<LONG>(style));
    HideScrollStyles = false;
  } else {
    Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
  }
  EdgeLeft = rect->left - old.left;
  EdgeRight = old.right - rect->right;
  EdgeTop = rect->top - old.top;
  EdgeBottom = old.bottom - rect->bottom;
  const int clientW = rect->right - rect->left;
  HorzBar->BarFlags = (style & WS_HSCROLL) ? 8 : 0;
  const int hThick = GetScrollMetric(HorzBar, 1);
  HorzBar->Shown = HorzBar->BarFlags && rect->bottom - rect->top >= hThick;
  if (HorzBar->Shown) rect->bottom -= hThick;
  VertBar->BarFlags = (style & WS_VSCROLL) ? 8 : 0;
  const int vThick = GetScrollMetric(VertBar, 1);
  VertBar->Shown = VertBar->BarFlags && clientW >= vThick;
  if (VertBar->Shown) {
    if (LeftScrollBar) {
      rect->left += vThick;
    } else {
      rect->right -= vThick;
    }
  }
  FrameCalculated = true;
}

void TacScrollWnd::RepaintIfScrolled() {
  if (!FrameCalculated || ThumbTracking || ScrollNotifying || Detached || !HorzBar || !VertBar) return;
  for (TacScrollBar* bar : {HorzBar, VertBar}) {
    if (!bar->Shown) continue;
    SCROLLINFO now{};
    now.cbSize = sizeof now;
    now.fMask = kScrollInfoMask;
    GetScrollInfo(WndHandle, bar->BarKind == 0 ? SB_HORZ : SB_VERT, &now);
    const SCROLLINFO& was = bar->ScrollInfo;
    if (now.nMin != was.nMin || now.nMax != was.nMax || now.nPage != was.nPage || now.nPos != was.nPos) {
      ac_NCDraw(this, WndHandle, -1, nullptr);
      return;
    }
  }
}

void TacScrollWnd::UninitializeForDestroy(HWND Wnd) {
  TacScrollWnd* self = this;
  UninitializeACScroll(Wnd, false, false, self);
}

void TacScrollWnd::acWndProc(TMessage& Message) {
  const HWND wnd = WndHandle;
  auto passOn = [&] { Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam); };
  switch (Message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
      if (!Detached) HandleDestroy(Message);
      else passOn();
      return;
    case WM_UPDATEUISTATE:
      return;
    case WM_CONTEXTMENU:
      if (TControl* c = OwnerControl())
        if (c->PopupMenu() && Manager && Manager->Menus())
          Manager->Menus()->HookPopupMenu(c->PopupMenu(), Manager->Active());
      break;
    case CM_RECREATEWND:
      if (!IsWindowVisible(wnd))
        if (auto* combo = dynamic_cast<TCustomComboBox*>(OwnerControl()))
          if (combo->Name().empty()) return;
      break;
    default:
      break;
  }
  if (Detached) {
    passOn();
    return;
  }
  if (!SkinData || !Manager || !Manager->Active() || !SkinData->Skinned()) {
    if (Message.Msg == SM_ALPHACMD && AlphaCmdOf(Message.WParam) == ACMD_SKIN_LOADED &&
        Message.LParam == reinterpret_cast<LPARAM>(Manager) && SkinData)
      SkinData->UpdateIndexes(true);
    passOn();
    return;
  }
  switch (Message.Msg) {
    case WM_STYLECHANGED:
      if (HideScrollStyles) {
        Message.Result = 0;
        return;
      }
      if (Message.WParam == static_cast<WPARAM>(GWL_EXSTYLE))
        LeftScrollBar =
            (reinterpret_cast<STYLESTRUCT*>(Message.LParam)->styleNew & WS_EX_LEFTSCROLLBAR) != 0;
      passOn();
      return;
    case WM_NCCALCSIZE:
      HandleNCCalcSize(Message);
      return;
    case WM_NCHITTEST:
      Message.Result = ScrollNCHitTest(this, wnd, Message.WParam, Message.LParam);
      return;
    case WM_NCPAINT: {
      if (!FrameCalculated) RefreshFrame(wnd, true);
      // The system paints the borders only: with the scroll styles on, it
      // would paint its own bars over ours (and under Wine it does).
      const DWORD style = static_cast<DWORD>(GetWindowLongW(wnd, GWL_STYLE));
      if (style & kScrollStyles) {
        HideScrollStyles = true;
        SetWindowLongW(wnd, GWL_STYLE, static_cast<LONG>(style & ~kScrollStyles));
        passOn();
        SetWindowLongW(wnd, GWL_STYLE, static_cast<LONG>(style));
        HideScrollStyles = false;
      } else {
        passOn();
      }
      if (IsWindowVisible(wnd) && !SkinData->Updating && !ScrollNotifying) ac_NCDraw(this, wnd, -1, nullptr);
      return;
    }
    case WM_NCMOUSEMOVE:
      Message.Result = ScrollNCMouseMove(this, wnd, Message.WParam, Message.LParam);
      return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      Message.Result = ScrollNCLButtonDown(this, wnd, Message.WParam, Message.LParam);
      return;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
      if (Message.WParam == HTHSCROLL || Message.WParam == HTVSCROLL) {
        Message.Result = 0;
        return;
      }
      passOn();
      return;
    case WM_SYSCOMMAND:
      if ((Message.WParam & 0xFFFF) == 0xF077) return;
      passOn();
      return;
    case WM_MOUSEMOVE:
      Message.Result = ScrollMouseMove(this, wnd, Message.WParam, Message.LParam);
      return;
    case WM_LBUTTONUP:
      Message.Result = ScrollLButtonUp(this, wnd, Message.WParam, Message.LParam);
      return;
    case WM_TIMER:
      Message.Result = ScrollTimer(this, wnd, Message.WParam, Message.LParam);
      if (!ScrollNotifying && !ThumbTracking) UpdateScrolls(this, true);
      return;
    case SM_ALPHACMD:
      HandleScrollAlphaCmd(Message);
      return;
    default:
      break;
  }
  passOn();
  if (Message.Msg != WM_PAINT && Message.Msg != WM_NCHITTEST) RepaintIfScrolled();
  switch (Message.Msg) {
    case WM_MOUSEWHEEL:
    case CM_MOUSEWHEEL:
      if (!ScrollNotifying) UpdateScrolls(this, true);
      break;
    case CM_FOCUSCHANGED:
      UpdateScrolls(this, true);
      break;
    default:
      break;
  }
}

void TacScrollWnd::HandleScrollAlphaCmd(TMessage& Message) {
  const HWND wnd = WndHandle;
  const LPARAM own = reinterpret_cast<LPARAM>(Manager);
  auto passOn = [&] { Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam); };
  switch (AlphaCmdOf(Message.WParam)) {
    case ACMD_SKIN_LOADED:
      if (Message.LParam == own) {
        SkinData->UpdateIndexes(true);
        AlphaBroadCastCheck(OwnerControl(), wnd, Message);
      }
      passOn();
      return;
    case ACMD_SKIN_UNLOADED:
      if (Message.LParam == own && !Detached) RestoreStdParams();
      passOn();
      return;
    case ACMD_SKIN_REPAINT:
      if (Message.LParam == own) {
        SkinData->UpdateIndexes(true);
        SkinData->BGChanged = true;
      }
      passOn();
      return;
    case ACMD_PARENT_UPDATED:
      if (!SkinData->Updating) {
        passOn();
        return;
      }
      if (!InUpdating(SkinData, true)) {
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        if (auto* w = dynamic_cast<TWinControl*>(OwnerControl())) SetParentUpdated(w);
      }
      return;
    case ACMD_SET_UPDATE_FLAG:
      SkinData->Updating = AlphaCmdLow(Message.WParam) == 1;
      passOn();
      return;
    case ACMD_QUERY_HOOKED:
      Message.Result = 1;
      return;
    case ACMD_ASSIGN_SECTION:
      if (Message.LParam) {
        SkinData->SetSkinSection(reinterpret_cast<TacSectionInfo*>(Message.LParam)->Name);
        Message.Result = 1;
      } else {
        Message.Result = 0;
      }
      return;
    case ACMD_QUERY_CHILD_BG_VARIES:
      Message.Result = ChildBgIsChanged(SkinData) ? 1 : 0;
      return;
    case ACMD_QUERY_COLOR:
      passOn();
      if (Message.Result == 0) Message.Result = static_cast<LRESULT>(GetBGColor(SkinData, 0, wnd));
      return;
    case ACMD_BUILD_CACHE:
      passOn();
      if (SkinData->BGChanged && !SkinData->Updating) {
        InitCtrlData(wnd, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
        PrepareCache(SkinData, wnd, DialogMode);
        RestoreCornerBackground(SkinData, this);
      }
      return;
    case ACMD_QUERY_BG_INFO: {
      passOn();
      auto* info = reinterpret_cast<PacBGInfo>(Message.LParam);
      if (info && info->BgType == btUnknown) InitBGInfo(SkinData, info, 0, wnd);
      return;
    }
    case ACMD_QUERY_COMMON_DATA:
      Message.Result = reinterpret_cast<LRESULT>(SkinData);
      return;
    case ACMD_QUERY_APPLICATION:
      Message.Result = reinterpret_cast<LRESULT>(Application);
      return;
    default:
      passOn();
      return;
  }
}
