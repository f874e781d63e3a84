// The mouse over skinned scroll bars: hover, arrow and track presses that
// repeat on timers, thumb drags, all turned into WM_HSCROLL and WM_VSCROLL.
#include "skin/subclass/acSBUtils.h"

#include <algorithm>

#include "skin/core/acntUtils.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

constexpr UINT kFirstRepeatMs = 300, kRepeatMs = 55, kHoverMs = 20;

TPoint LParamPoint(LPARAM LParam) {
  return TPoint{static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam))};
}

TacScrollBar* BarOfKind(TacScrollWnd* Obj, Integer Kind) { return Kind == 0 ? Obj->HorzBar : Obj->VertBar; }

TRect BarRect(TacScrollWnd* Obj, HWND Wnd, Integer Kind) {
  TRect r;
  if (Kind == 0) {
    ac_GetHScrollRect(Obj, Wnd, r);
  } else {
    ac_GetVScrollRect(Obj, Wnd, r);
  }
  return r;
}

TPoint ClientToScreenPoint(HWND Wnd, const TPoint& P) {
  POINT p{P.X, P.Y};
  ClientToScreen(Wnd, &p);
  return TPoint{p.x, p.y};
}

void Pass(TacScrollWnd* Obj, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result) {
  Result = Obj->CallPrevWndProc(Wnd, Msg, WParam, LParam);
}

// The dragged bar painted straight to the window: the thumb pressed at
// ThumbStart (screen coordinates along the bar).
void PaintDragBar(TacScrollWnd* Obj, HWND Wnd, TacScrollBar* Bar, Integer ThumbStart) {
  TsSkinManager* m = Obj->Manager;
  if (!m) return;
  const TConstantSkinData& cd = m->ConstData;
  if (cd.ScrollBars[Bar->BarKind].SectionIndex < 0) return;
  RECT wr{};
  GetWindowRect(Wnd, &wr);
  const TRect& sr = acScrollTrack.ThumbRect;
  const TRect r{sr.Left - wr.left, sr.Top - wr.top, sr.Right - wr.left, sr.Bottom - wr.top};
  const bool vert = Bar->BarKind == 1;
  const int w = r.Width(), h = r.Height(), length = vert ? h : w;
  if (w <= 0 || h <= 0) return;
  const int arrow = GetScrollMetric(Bar, 0);
  const int from = ThumbStart - (vert ? sr.Top : sr.Left);
  auto local = [&](int a, int b) { return vert ? TRect{0, a, w, b} : TRect{a, 0, b, h}; };
  std::unique_ptr<TacBitmap> bmp = CreateBmp32(w, h);
  TacBGInfo bg;
  GetBGInfo(&bg, Wnd);
  TCacheInfo ci = BGInfoToCI(&bg);
  if (Obj->OwnedByProvider()) ci.X = ci.Y = 0;
  const int c = from + acScrollTrack.ThumbSize / 2;
  for (int i = 0; i < 2; ++i) {
    const TacConstElementData& e = cd.ScrollBars[2 * i + Bar->BarKind];
    const TRect lr = i == 0 ? local(0, c) : local(c, length);
    PaintItemFast(e.SectionIndex, e.BorderMask, e.PatternMask, e.HotPatternMask, e.SectionName, ci, true, 0, lr,
                  TPoint{r.Left + lr.Left, r.Top + lr.Top}, bmp.get(), m);
  }
  if (arrow != 0) {
    ac_DrawScrollBtn(local(0, arrow), 0, bmp.get(), Obj->SkinData, vert ? asTop : asLeft);
    ac_DrawScrollBtn(local(length - arrow, length), 0, bmp.get(), Obj->SkinData, vert ? asBottom : asRight);
  }
  ac_DrawSlider(local(from, from + acScrollTrack.ThumbSize), 2, bmp.get(), m, vert);
  HDC dc = GetWindowDC(Wnd);
  BitBlt(dc, r.Left, r.Top, w, h, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
  ReleaseDC(Wnd, dc);
}

// The thumb follows the mouse (screen point); SB_THUMBTRACK when the position changed.
void ThumbDrag(TacScrollWnd* Obj, HWND Wnd, const TPoint& Screen) {
  TacScrollTracking& t = acScrollTrack;
  TacScrollBar* bar = BarOfKind(Obj, t.PressedBar);
  if (!bar) return;
  const bool vert = bar->BarKind == 1;
  const int arrow = GetScrollMetric(bar, 0);
  const int start = (vert ? t.ThumbRect.Top : t.ThumbRect.Left) + arrow;
  const int end = (vert ? t.ThumbRect.Bottom : t.ThumbRect.Right) - arrow;
  const int thumb = std::clamp((vert ? Screen.Y : Screen.X) - t.ThumbOffset, start, std::max(start, end - t.ThumbSize));
  const SCROLLINFO& si = bar->ScrollInfo;
  int pos = 0;
  if (si.nMax - si.nMin < 1) {
    pos = thumb - start;
  } else {
    pos = MulDiv(thumb - start, si.nMax - si.nMin - static_cast<int>(si.nPage) + 1, end - start - t.ThumbSize);
  }
  if (pos != nLastSBPos) {
    bar->ScrollInfo.nTrackPos = pos;
    Obj->ScrollNotifying = true;
    SendScrollMessage(Wnd, t.ScrollMsg, SB_THUMBTRACK, pos);
    Obj->ScrollNotifying = false;
  }
  nLastSBPos = pos;
  // Painted after the message: a window that set its position repainted its bar.
  if (Obj->ThumbTracking) PaintDragBar(Obj, Wnd, bar, thumb);
}

// The mouse over a pressed bar (screen point): the part shows pressed while
// the mouse stays on it.
void PressMove(TacScrollWnd* Obj, HWND Wnd, const TPoint& Screen) {
  TacScrollTracking& t = acScrollTrack;
  TacScrollBar* bar = BarOfKind(Obj, t.PressedBar);
  if (!bar) return;
  const Integer hit = ScrollHitTest(bar, BarRect(Obj, Wnd, t.PressedBar), Screen);
  const Integer now = hit == t.PressedPart ? hit : -1;
  if (now != t.PressedPartNow) {
    t.PressedPartNow = now;
    ac_NCDraw(Obj, Wnd, -1, nullptr);
  }
}

void KillRepeat(HWND Wnd) {
  KillTimer(Wnd, acTimerFirstRepeat);
  KillTimer(Wnd, acTimerRepeat);
  acScrollTrack.RepeatTimer = 0;
}

}  // namespace

bool ScrollCornerGrip(TacScrollWnd* Obj, HWND Wnd, const TRect& Corner) {
  if (Obj->LeftScrollBar) return false;
  HWND parent = GetParent(Wnd);
  if (!parent) return true;
  if (GetWindowLongW(parent, GWL_STYLE) & WS_CHILD) return false;
  RECT pc{};
  GetClientRect(parent, &pc);
  POINT corner{Corner.Right, Corner.Bottom};
  ScreenToClient(parent, &corner);
  return corner.y >= pc.bottom && corner.x >= pc.right;
}

void SendScrollMessage(HWND Wnd, UINT ScrollMsg, Integer ScrollCode, Integer Pos) {
  const LPARAM note = static_cast<LPARAM>(MAKELONG(ScrollCode, ScrollMsg));
  LPARAM lParam = 0;
  if (SendAMessage(Wnd, ACMD_SCROLL_BEFORE, note) != 1) {
    if (ScrollCode == SB_THUMBTRACK) {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_POS;
      si.nPos = Pos;
      SetScrollInfo(Wnd, ScrollMsg == WM_HSCROLL ? SB_HORZ : SB_VERT, &si, FALSE);
    }
  } else {
    lParam = Pos;
  }
  SendMessageW(Wnd, ScrollMsg, MAKEWPARAM(ScrollCode, std::min(Pos, 65535)), lParam);
  SendAMessage(Wnd, ACMD_SCROLL_AFTER, note);
}

LRESULT ScrollNCHitTest(TacScrollWnd* Obj, HWND Wnd, WPARAM WParam, LPARAM LParam) {
  const TPoint p = LParamPoint(LParam);
  TRect hr, vr;
  ac_GetHScrollRect(Obj, Wnd, hr);
  ac_GetVScrollRect(Obj, Wnd, vr);
  if (Obj->HorzBar->Shown && hr.Contains(p)) return ScrollBarEnabled(Obj->HorzBar, Wnd) ? HTHSCROLL : HTNOWHERE;
  if (Obj->VertBar->Shown && vr.Contains(p)) return ScrollBarEnabled(Obj->VertBar, Wnd) ? HTVSCROLL : HTNOWHERE;
  if (Obj->HorzBar->Shown && Obj->VertBar->Shown && !Obj->LeftScrollBar) {
    const TRect corner{hr.Right, hr.Top, vr.Right, hr.Bottom};
    if (corner.Contains(p) && ScrollCornerGrip(Obj, Wnd, corner)) return HTBOTTOMRIGHT;
  }
  return Obj->CallPrevWndProc(Wnd, WM_NCHITTEST, WParam, LParam);
}

LRESULT ScrollNCMouseMove(TacScrollWnd* Obj, HWND Wnd, WPARAM WParam, LPARAM LParam) {
  TacScrollTracking& t = acScrollTrack;
  t.TrackedWnd = Wnd;
  const Integer kind = WParam == HTHSCROLL ? 0 : WParam == HTVSCROLL ? 1 : -1;
  if (kind >= 0 && t.HotBar != kind) {
    t.LastHotPart = t.HotPart = -1;
    t.HotBarRect = BarRect(Obj, Wnd, kind);
    t.HotBar = kind;
    t.HoverTimer = SetTimer(Wnd, acTimerHover, kHoverMs, nullptr);
    ac_NCDraw(Obj, Wnd, -1, nullptr);
  }
  return Obj->CallPrevWndProc(Wnd, WM_NCMOUSEMOVE, WParam, LParam);
}

LRESULT ScrollNCLButtonDown(TacScrollWnd* Obj, HWND Wnd, WPARAM WParam, LPARAM LParam) {
  if (WParam != HTHSCROLL && WParam != HTVSCROLL) return Obj->CallPrevWndProc(Wnd, WM_NCLBUTTONDOWN, WParam, LParam);
  TacScrollTracking& t = acScrollTrack;
  const Integer kind = WParam == HTHSCROLL ? 0 : 1;
  TacScrollBar* bar = BarOfKind(Obj, kind);
  const TRect r = BarRect(Obj, Wnd, kind);
  const TPoint p = LParamPoint(LParam);
  t.TrackedWnd = Wnd;
  t.ScrollMsg = kind == 0 ? WM_HSCROLL : WM_VSCROLL;
  t.PressedBar = kind;
  t.PressedPart = ScrollHitTest(bar, r, p);
  const bool enabled = ScrollBarEnabled(bar, Wnd) && (!Obj->OwnerControl() || Obj->OwnerControl()->Enabled());
  LRESULT result = 0;
  if (t.PressedPart >= acHitArrow1 && t.PressedPart <= acHitTrack2) {
    if (enabled) {
      t.PressedPartNow = ScrollHitTest(bar, r, p);
      ac_NCDraw(Obj, Wnd, -1, nullptr);
      SendScrollMessage(Wnd, t.ScrollMsg, t.PressedPart, 0);
      t.PressedPartNow = t.PressedPart;
      t.RepeatTimer = SetTimer(Wnd, acTimerFirstRepeat, kFirstRepeatMs, nullptr);
      UpdateScrolls(Obj, true);
    }
  } else if (t.PressedPart == acHitThumb) {
    if (enabled) {
      GetScrollInfo(Wnd, kind == 0 ? SB_HORZ : SB_VERT, &bar->ScrollInfo);
      GetThumbGeometry(bar, r, t.ThumbSize, t.ThumbPos);
      t.ThumbRect = r;
      Obj->ThumbTracking = true;
      bar->ScrollInfo.nTrackPos = bar->ScrollInfo.nPos;
      t.ThumbOffset = (kind == 0 ? p.X : p.Y) - t.ThumbPos;
      nLastSBPos = bar->ScrollInfo.nPos;
      PaintDragBar(Obj, Wnd, bar, t.ThumbPos);
    }
  } else {
    result = Obj->CallPrevWndProc(Wnd, WM_NCLBUTTONDOWN, WParam, LParam);
  }
  if (t.PressedPart != -1) SetCapture(Wnd);
  return result;
}

LRESULT ScrollMouseMove(TacScrollWnd* Obj, HWND Wnd, WPARAM WParam, LPARAM LParam) {
  TacScrollTracking& t = acScrollTrack;
  if (Obj->ThumbTracking) {
    ThumbDrag(Obj, Wnd, ClientToScreenPoint(Wnd, LParamPoint(LParam)));
    return 0;
  }
  if (t.PressedPart == -1) return Obj->CallPrevWndProc(Wnd, WM_MOUSEMOVE, WParam, LParam);
  PressMove(Obj, Wnd, ClientToScreenPoint(Wnd, LParamPoint(LParam)));
  return 0;
}

LRESULT ScrollLButtonUp(TacScrollWnd* Obj, HWND Wnd, WPARAM WParam, LPARAM LParam) {
  TacScrollTracking& t = acScrollTrack;
  if (t.PressedPart == -1) return Obj->CallPrevWndProc(Wnd, WM_LBUTTONUP, WParam, LParam);
  const bool keepCapture = Obj->ListDropDown;
  if (!keepCapture) ReleaseCapture();
  const bool thumbPress = t.PressedPart == acHitThumb;
  if (!thumbPress) KillRepeat(Wnd);
  if (thumbPress && Obj->ThumbTracking) {
    Obj->ScrollNotifying = true;
    SendScrollMessage(Wnd, t.ScrollMsg, SB_THUMBPOSITION, nLastSBPos);
    Obj->ThumbTracking = false;
  }
  Obj->ThumbTracking = false;
  Obj->ScrollNotifying = true;
  SendScrollMessage(Wnd, t.ScrollMsg, SB_ENDSCROLL, thumbPress ? nLastSBPos : 0);
  Obj->ScrollNotifying = false;
  t.PressedPart = t.PressedPartNow = -1;
  t.RepeatTimer = 0;
  t.ScrollMsg = 0;
  t.PressedBar = -1;
  UpdateScrolls(Obj, true);
  if (static_cast<Integer>(WParam) == -1) return 0;
  const TControl* owner = Obj->OwnerControl();
  if (owner && (owner->ClassName() == "TImageEnView" || owner->ClassName() == "TImageEnVect")) return 0;
  if (keepCapture) return 0;
  return Obj->CallPrevWndProc(Wnd, WM_LBUTTONUP, WParam, LParam);
}

LRESULT ScrollTimer(TacScrollWnd* Obj, HWND Wnd, WPARAM WParam, LPARAM LParam) {
  TacScrollTracking& t = acScrollTrack;
  LRESULT result = 0;
  const bool passedFirst = !t.HoverTimer && !t.RepeatTimer;
  if (passedFirst) Pass(Obj, Wnd, WM_TIMER, WParam, LParam, result);
  switch (WParam) {
    case acTimerHover: {
      if (Obj->ThumbTracking) return 0;
      POINT c{};
      GetCursorPos(&c);
      const TPoint p{c.x, c.y};
      if (!t.HotBarRect.Contains(p)) {
        KillTimer(Wnd, acTimerHover);
        t.HoverTimer = 0;
        t.HotBar = t.LastHotPart = t.HotPart = -1;
        ac_NCDraw(Obj, Wnd, -1, nullptr);
        return 0;
      }
      if (TacScrollBar* bar = t.HotBar >= 0 ? BarOfKind(Obj, t.HotBar) : nullptr) {
        t.HotPart = ScrollHitTest(bar, t.HotBarRect, p);
        if (t.HotPart != t.LastHotPart) ac_NCDraw(Obj, Wnd, -1, nullptr);
      }
      t.LastHotPart = t.HotPart;
      return 0;
    }
    case acTimerFirstRepeat:
      KillTimer(Wnd, acTimerFirstRepeat);
      t.RepeatTimer = SetTimer(Wnd, acTimerRepeat, kRepeatMs, nullptr);
      return 0;
    case acTimerRepeat: {
      if (t.PressedPart == -1) {
        KillRepeat(Wnd);
        return 0;
      }
      POINT c{};
      GetCursorPos(&c);
      ScreenToClient(Wnd, &c);
      c.x = std::max<LONG>(c.x, 0);
      c.y = std::max<LONG>(c.y, 0);
      ClientToScreen(Wnd, &c);
      PressMove(Obj, Wnd, TPoint{c.x, c.y});
      if (t.PressedPartNow != -1) {
        Obj->ScrollNotifying = true;
        SendScrollMessage(Wnd, t.ScrollMsg, t.PressedPartNow, 0);
        Obj->ScrollNotifying = false;
      }
      return 0;
    }
    default:
      if (!passedFirst) Pass(Obj, Wnd, WM_TIMER, WParam, LParam, result);
      return result;
  }
}
