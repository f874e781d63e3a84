// The button family: push buttons, check boxes and radio buttons, group
// boxes and the size grip.
#include "skin/subclass/acSBUtilsButtons.h"

#include <algorithm>

#include "skin/core/acntUtils.h"
#include "skin/core/sDefaults.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/acGlow.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

LONG acCheckStyle = 0;

namespace {

constexpr LONG kExRtlReading = 0x2000;  // WS_EX_RTLREADING

const TsGeneralData* SectionOf(TsCommonData* SkinData) {
  TsSkinManager* m = SkinData ? SkinData->GetSkinManager() : nullptr;
  if (!m || !m->IsValidSkinIndex(SkinData->SkinIndex)) return nullptr;
  return &m->Sections[SkinData->SkinIndex];
}

Integer StateCountOf(TsCommonData* SkinData) {
  const TsGeneralData* s = SectionOf(SkinData);
  return s ? s->StateCount : 0;
}

// The section's font colour of state min(1, state count), as the focus
// frames take it.
TColor FocusColorOf(TsCommonData* SkinData) {
  const TsGeneralData* s = SectionOf(SkinData);
  if (!s) return clBtnText;
  return s->Props[std::min(1, std::max(0, s->StateCount))].FontColor.Color;
}

LONG ExStyleOf(HWND Wnd) { return static_cast<LONG>(GetWindowLongPtrW(Wnd, GWL_EXSTYLE)); }

bool HoverAllowed() {
  return DefaultManager && !IsDesigning(DefaultManager) && !DefaultManager->Options()->NoMouseHover();
}

bool IsActiveControl(HWND Wnd) { return DefaultManager && DefaultManager->ActiveControl() == Wnd; }

// The system's BeginPaint / EndPaint around one paint message.
class TPaintScope {
 public:
  explicit TPaintScope(HWND Wnd) : FWnd(Wnd) { BeginPaint(Wnd, &FPS); }
  ~TPaintScope() { EndPaint(FWnd, &FPS); }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;

 private:
  HWND FWnd;
  PAINTSTRUCT FPS{};
};

// The DC a paint message carries, else one of the window (released at the end).
class TTargetDC {
 public:
  TTargetDC(HWND Wnd, HDC Given, bool WindowDC = false) : FWnd(Wnd), FDC(Given) {
    if (!FDC) {
      FDC = WindowDC ? GetWindowDC(Wnd) : GetDC(Wnd);
      FOwn = true;
    }
  }
  ~TTargetDC() {
    if (FOwn && FDC) ReleaseDC(FWnd, FDC);
  }
  TTargetDC(const TTargetDC&) = delete;
  TTargetDC& operator=(const TTargetDC&) = delete;
  HDC DC() const { return FDC; }

 private:
  HWND FWnd;
  HDC FDC;
  bool FOwn = false;
};

// The parent's background under R of the window (at Pos in the parent) copied
// into Bmp at R, or R filled with the parent's colour.
void CopyParentBG(HWND Wnd, const TPoint& Pos, TacBitmap* Bmp, const TRect& R) {
  TacBGInfo bg;
  GetBGInfo(&bg, GetParent(Wnd), false);
  if (bg.BgType == btCache && bg.Bmp) {
    BitBlt(Bmp->Canvas()->Handle(), R.Left, R.Top, WidthOf(R), HeightOf(R), bg.Bmp->Canvas()->Handle(),
           Pos.X + R.Left + bg.Offset.X, Pos.Y + R.Top + bg.Offset.Y, SRCCOPY);
  } else {
    FillDC(Bmp->Canvas()->Handle(), R, bg.Color);
  }
}

void SetRedraw(HWND Wnd, bool On) { SendMessageW(Wnd, WM_SETREDRAW, On ? 1 : 0, 0); }

// Blends a disabled window's image toward what lies under it.
void BlendDisabled(TacBitmap* Cache, const TCacheInfo& CI, const TPoint& Pos) {
  if (CI.Ready && CI.Bmp) {
    const Integer x = Pos.X + CI.X, y = Pos.Y + CI.Y;
    BlendTransRectangle(Cache, 0, 0, CI.Bmp, TRect{x, y, x + Cache->Width() - 1, y + Cache->Height() - 1},
                        DefDisabledBlend, sFuchsia);
  } else {
    BlendTransBitmap(Cache, DefDisabledBlend, CI.FillColor);
  }
}

}  // namespace

// ------------------------------------------------------------ TacBtnWnd

void TacBtnWnd::AfterCreation() {
  if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection("BUTTON");
  TacMainWnd::AfterCreation();
}

Integer TacBtnWnd::CurrentState() {
  if (Down()) {
    if (SkinData) HideGlow(SkinData->GlowID);
    ClearGlows(false);
    return 2;
  }
  if (!IsWindowEnabled(WndHandle)) return 0;
  if (GetFocus() == WndHandle || IsActiveControl(WndHandle) || (SkinData && SkinData->Focused)) return 1;
  const bool isDefault = (CtrlStyle() & BS_DEFPUSHBUTTON) != 0;
  if (OwnerControl()) return isDefault ? 1 : 0;
  return isDefault ? 3 : 0;
}

Integer TacBtnWnd::MaxCaptionWidth() {
  if (WindowText.empty()) return 0;
  const Integer gw = GlyphSize().cx;
  if (gw != 0) return std::max(WindowSize.cx - gw, 0);
  return WindowSize.cx + 1;
}

TSize TacBtnWnd::TextRectSize() {
  TRect r{0, 0, MaxCaptionWidth() + 2, 0};
  Cardinal flags = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_CENTER;
  if (CtrlStyle() & BS_MULTILINE) flags |= DT_WORDBREAK;
  acDrawText(SkinData->CacheBmp->Canvas()->Handle(), WindowText, r, flags);
  return TSize{std::max(WidthOf(r), 0), std::max(HeightOf(r), 0)};
}

void TacBtnWnd::CaptionRect(TRect& R) {
  const TSize t = TextRectSize();
  const Integer x = (WindowSize.cx - t.cx) / 2, y = (WindowSize.cy - t.cy) / 2;
  R = TRect{x - 1, y, WindowSize.cx - x + 2, WindowSize.cy - y};
  TsSkinManager* m = SkinData->GetSkinManager();
  if (Down() && (!SkinData->Skinned() || (m && m->ButtonsOptions()->ShiftContentOnClick))) R = TRect{R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1};
}

void TacBtnWnd::DoDrawText(TRect& R, Cardinal Flags) {
  acWriteTextEx(SkinData->CacheBmp->Canvas(), WindowText, true, R, Flags, SkinData, CurrentState() != 0);
}

void TacBtnWnd::DrawCaption() {
  SelectWindowFont(this);
  TRect r;
  CaptionRect(r);
  Cardinal flags = DT_CENTER | DT_EXPANDTABS;
  if (CtrlStyle() & BS_MULTILINE) flags |= DT_WORDBREAK;
  if (ExStyleOf(WndHandle) & kExRtlReading) flags |= DT_RTLREADING;
  TCanvas* canvas = SkinData->CacheBmp->Canvas();
  SetBkMode(canvas->Handle(), TRANSPARENT);
  DoDrawText(r, flags);
  TsSkinManager* m = SkinData->GetSkinManager();
  if (IsWindowEnabled(WndHandle) && m && m->ButtonsOptions()->ShowFocusRect &&
      (SendMessageW(WndHandle, BM_GETSTATE, 0, 0) & BST_FOCUS) && !WindowText.empty()) {
    r = TRect{r.Left - 2, r.Top - 1, r.Right + 2, r.Bottom + 1};
    r.Top = std::max<Integer>(r.Top, 3);
    r.Bottom = std::min<Integer>(r.Bottom, WindowSize.cy - 3);
    FocusRect(canvas, r, FocusColorOf(SkinData), clNone);
  }
}

void TacBtnWnd::PrepareCache() {
  InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
  const TCacheInfo ci = GetParentCacheHwnd(WndHandle);
  InitCacheBmp(SkinData);
  TacBitmap* cache = SkinData->CacheBmp.get();
  cache->SetSize(WindowSize.cx, WindowSize.cy);
  const Integer state = CurrentState(), count = StateCountOf(SkinData);
  const Integer paintState = state == 3 && count < 4 ? 1 : std::max(0, std::min(state, count - 1));
  const Integer down = Down() ? 1 : 0;
  PaintItem(SkinData, ci, true, paintState, TRect{0, 0, WindowSize.cx, WindowSize.cy}, PosInParent, cache, true, down,
            down);
  DrawCaption();
  DrawGlyph();
  if (!IsWindowEnabled(WndHandle)) BlendDisabled(cache, ci, PosInParent);
  SkinData->BGChanged = false;
}

void TacBtnWnd::AC_WMPaint(TMessage& Message) {
  InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
  const HDC given = reinterpret_cast<HDC>(Message.WParam);
  TPaintScope paint(WndHandle);
  if (InAnimationProcess && !given) return;
  SkinData->Updating = SkinData->GetUpdating() && !InAnimationProcess;
  if (SkinData->Updating) return;
  TTargetDC dc(WndHandle, given);
  SkinData->BGChanged = true;
  PrepareCache();
  BitBlt(dc.DC(), 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TacBtnWnd::acWndProc(TMessage& Message) {
  if (!SkinData || Detached) {
    TacMainWnd::acWndProc(Message);
    return;
  }
  const bool visible = IsWindowVisible(WndHandle);
  auto quiet = [&](auto&& Body) {
    SetRedraw(WndHandle, false);
    Body();
    SetRedraw(WndHandle, true);
  };
  switch (Message.Msg) {
    case WM_MOVE:
      if (const TsGeneralData* s = SectionOf(SkinData);
          s && (s->Props[0].Transparency > 0 || (s->Props[1].Transparency > 0 && ControlIsActive(SkinData)))) {
        SkinData->BGChanged = true;
        Repaint();
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      if (!IsWindowEnabled(WndHandle)) break;
      if (Message.Msg == WM_KILLFOCUS && IsDestroying(OwnerControl())) break;
      quiet([&] { TacMainWnd::acWndProc(Message); });
      SkinData->Focused = Message.Msg == WM_SETFOCUS;
      SkinData->BGChanged = true;
      RedrawWindow(WndHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return;
    }
    case WM_ENABLE:
    case WM_SETTEXT:
      if (!visible) break;
      quiet([&] { TacMainWnd::acWndProc(Message); });
      SkinData->BGChanged = true;
      Repaint();
      return;
    case WM_PAINT:
      if (!visible && !Message.WParam) break;
      if (!SkinParamsApplied) SetSkinParams();
      AC_WMPaint(Message);
      return;
    case WM_PRINT:
      AC_WMPaint(Message);
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_NCPAINT:
    case WM_UPDATEUISTATE:
      Message.Result = 0;
      return;
    case BM_SETSTATE:
      if (!visible) break;
      quiet([&] { Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam); });
      SkinData->BGChanged = true;
      Repaint();
      return;
    case WM_MOUSEHOVER:
      SendAMessage(WndHandle, ACMD_HOVER_ENTER, 0);
      break;
    case WM_MOUSELEAVE:
      if (IsActiveControl(WndHandle)) DefaultManager->SetActiveControl(nullptr);
      break;
    case SM_ALPHACMD:
      switch (AlphaCmdOf(Message.WParam)) {
        case ACMD_PARENT_UPDATED:
          if (!SkinData->Updating) break;
          if (!InUpdating(SkinData))
            RedrawWindow(WndHandle, nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_INVALIDATE);
          return;
        case ACMD_HOVER_ENTER:
          if (!SkinData->MouseAbove && IsActiveControl(WndHandle) && HoverAllowed()) {
            POINT p;
            GetCursorPos(&p);
            RECT r;
            GetWindowRect(WndHandle, &r);
            if (!PtInRect(&r, p)) return;  // the mouse left before the notice came
            SkinData->MouseAbove = true;
            SkinData->BGChanged = true;
            SkinData->Updating = false;
            Repaint();
            ShowGlowingIfNeeded(SkinData, false, WndHandle);
            // The leave is asked of the system: the mouse may go where no
            // skinned window takes the hot role over.
            TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, WndHandle, 0};
            TrackMouseEvent(&tme);
          }
          break;
        case ACMD_HOVER_LEAVE:
          if (SkinData->MouseAbove) {
            HideGlow(SkinData->GlowID);
            ClearGlows(false);
            SkinData->MouseAbove = false;
            SkinData->Updating = false;
            SkinData->BGChanged = true;
            Repaint();
          }
          break;
        default:
          break;
      }
      break;
    default:
      break;
  }
  TacMainWnd::acWndProc(Message);
  if (Message.Msg == WM_MOUSEMOVE && !Detached && DefaultManager && HoverAllowed() && IsWindowEnabled(WndHandle)) {
    POINT p;
    GetCursorPos(&p);
    RECT r;
    GetWindowRect(WndHandle, &r);
    if (PtInRect(&r, p)) {
      if (!IsActiveControl(WndHandle)) DefaultManager->SetActiveControl(WndHandle);
    } else if (IsActiveControl(WndHandle)) {
      DefaultManager->SetActiveControl(nullptr);
    }
  }
}

// ------------------------------------------------------------ TacCheckBoxWnd

void TacCheckBoxWnd::AfterCreation() {
  OwnerDrawn = (GetWindowLongPtrW(WndHandle, GWL_STYLE) & BS_OWNERDRAW) == BS_OWNERDRAW;
  if (SkinData) {
    SkinData->KindCode = 32;
    if (SkinData->SkinSection().empty()) SkinData->SetSkinSection("CHECKBOX");
  }
  TacMainWnd::AfterCreation();
}

Integer TacCheckBoxWnd::State() {
  const LRESULT s = SendMessageW(WndHandle, BM_GETSTATE, 0, 0);
  if (s & BST_INDETERMINATE) return 2;
  return static_cast<Integer>(s & 1);
}

Integer TacCheckBoxWnd::CtlState() {
  const LRESULT s = SendMessageW(WndHandle, BM_GETSTATE, 0, 0);
  if (s & BST_PUSHED) return 2;
  TsSkinManager* m = SkinData->GetSkinManager();
  if (m && m->Options()->NoMouseHover()) return 0;
  if (s & BST_FOCUS) return 1;
  return IsActiveControl(WndHandle) ? 1 : 0;
}

Integer TacCheckBoxWnd::GlyphMaskIndex(Integer AState) {
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!m) return -1;
  const LONG kind = acCheckStyle & 0xF;
  const bool radio = kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON || kind == 12;
  static const char* const kBox[] = {"BOXUNCHECKED", "BOXCHECKED", "BOXGRAYED"};
  static const char* const kRadio[] = {"RADIOUNCHECKED", "RADIOCHECKED", "BOXGRAYED"};
  const Integer s = std::clamp<Integer>(AState, 0, 2);
  return m->GetMaskIndex("GLOBALINFO", radio ? kRadio[s] : kBox[s]);
}

Integer TacCheckBoxWnd::SkinGlyphHeight(Integer MaskIndex) {
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!m || !m->IsValidImgIndex(MaskIndex)) return 0;
  const TsMaskData& md = m->Masks[MaskIndex];
  return md.Bitmap ? md.Bitmap->Height() / 2 : HeightOfImage(md);
}

Integer TacCheckBoxWnd::SkinGlyphWidth(Integer MaskIndex) {
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!m || !m->IsValidImgIndex(MaskIndex)) return 0;
  TsMaskData& md = m->Masks[MaskIndex];
  if (md.Columns == 0) md.Columns = 1;
  return md.Bitmap ? md.Bitmap->Width() / 3 : WidthOfImage(md);
}

void TacCheckBoxWnd::SkinCheckRect(Integer MaskIndex, TRect& R) {
  R = TRect{};
  if (MaskIndex < 0) return;
  const Integer w = SkinGlyphWidth(MaskIndex), h = SkinGlyphHeight(MaskIndex);
  const Integer x = (acCheckStyle & BS_LEFTTEXT) ? WindowSize.cx - w : 0;
  const Integer y = (WindowSize.cy - h) / 2;
  R = TRect{x, y, x + w, y + h};
}

void TacCheckBoxWnd::CheckRect(TRect& R) {
  const Integer i = GlyphMaskIndex(1);
  TsSkinManager* m = SkinData->GetSkinManager();
  if (m && m->IsValidImgIndex(i)) {
    SkinCheckRect(i, R);
  } else {
    R = TRect{0, 0, 16, 16};
  }
}

void TacCheckBoxWnd::DrawSkinGlyph(Integer MaskIndex) {
  TacBitmap* cache = SkinData->CacheBmp.get();
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!cache || cache->Width() < 1 || MaskIndex < 0 || !m || !m->IsValidImgIndex(MaskIndex)) return;
  TRect r;
  SkinCheckRect(MaskIndex, r);
  ::DrawSkinGlyph(cache, TPoint{r.Left, r.Top}, CtlState(), 1, m->Masks[MaskIndex], MakeCacheInfo(cache));
}

void TacCheckBoxWnd::DrawCheckText() {
  if (WindowText.empty()) return;
  TRect c;
  CheckRect(c);
  const Integer avail = WindowSize.cx - WidthOf(c) - 2;
  const bool multi = (acCheckStyle & BS_MULTILINE) != 0;
  const bool focused = (SendMessageW(WndHandle, BM_GETSTATE, 0, 0) & BST_FOCUS) != 0;
  TCanvas* canvas = SkinData->CacheBmp->Canvas();
  SelectWindowFont(this);
  TRect m{0, 0, avail, 0};
  acDrawText(canvas->Handle(), WindowText, m, DT_CALCRECT | (multi ? DT_WORDBREAK : DT_SINGLELINE));
  const Integer tw = WidthOf(m), th = HeightOf(m);
  const Integer top = std::max((WindowSize.cy - th) / 2, 0), bottom = WindowSize.cy - top;
  TRect r;
  Cardinal flags = 0;
  if (!(acCheckStyle & BS_LEFTTEXT)) {
    const Integer left = WindowSize.cx - avail + 2;
    r = TRect{left, top, left + tw, bottom};
    r = TRect{r.Left + (multi ? -1 : 0), r.Top - 1, r.Right + (multi ? -1 : 0), r.Bottom - 1};
  } else if (ExStyleOf(WndHandle) & kExRtlReading) {
    r.Right = WindowSize.cx - WidthOf(c) - 6;
    r.Left = r.Right - tw;
    r.Top = top;
    r.Bottom = bottom;
    flags = (multi ? 0 : DT_RIGHT) | DT_RTLREADING;
  } else {
    r = TRect{2, top, tw + 2, bottom};
  }
  flags |= multi ? DT_WORDBREAK : DT_SINGLELINE;
  acWriteTextEx(canvas, WindowText, true, r, flags, SkinData, ControlIsActive(SkinData));
  if (focused) {
    r = TRect{r.Left - 2, r.Top, r.Right + 2, r.Bottom};
    FocusRect(canvas, r, FocusColorOf(SkinData), clNone);
  }
}

void TacCheckBoxWnd::PrepareCache() {
  InitCacheBmp(SkinData);
  if (OwnerDrawn) return;
  TacBitmap* cache = SkinData->CacheBmp.get();
  cache->SetSize(WindowSize.cx, WindowSize.cy);
  const TCacheInfo ci = GetParentCacheHwnd(WndHandle);
  PaintItem(SkinData, ci, true, ControlIsActive(SkinData) ? 1 : 0, TRect{0, 0, WindowSize.cx, WindowSize.cy},
            PosInParent, cache, true);
  DrawCheckText();
  DrawSkinGlyph(GlyphMaskIndex(State()));
  if (!IsWindowEnabled(WndHandle)) BlendDisabled(cache, ci, PosInParent);
  SkinData->BGChanged = false;
}

void TacCheckBoxWnd::AC_WMPaint(TMessage& Message) {
  InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
  const HDC given = reinterpret_cast<HDC>(Message.WParam);
  TPaintScope paint(WndHandle);
  if (SkinData->Updating || OwnerDrawn) return;
  acCheckStyle = static_cast<LONG>(GetWindowLongPtrW(WndHandle, GWL_STYLE));
  if (!IsWindowVisible(WndHandle) && !given) return;
  TTargetDC dc(WndHandle, given);
  PrepareCache();
  BitBlt(dc.DC(), 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TacCheckBoxWnd::acWndProc(TMessage& Message) {
  if (!SkinData || Detached) {
    TacMainWnd::acWndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_ENABLE:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case CM_TEXTCHANGED:
      if (!IsWindowVisible(WndHandle)) break;
      SetRedraw(WndHandle, false);
      TacMainWnd::acWndProc(Message);
      SetRedraw(WndHandle, true);
      SendMessageW(WndHandle, WM_PAINT, 0, 0);
      return;
    case WM_PAINT:
      AC_WMPaint(Message);
      return;
    case WM_ERASEBKGND:
      if (OwnerDrawn) {
        InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
        TTargetDC dc(WndHandle, reinterpret_cast<HDC>(Message.WParam));
        TacBGInfo bg;
        GetBGInfo(&bg, GetParent(WndHandle), false);
        if (bg.BgType == btCache && bg.Bmp) {
          BitBlt(dc.DC(), 0, 0, WindowSize.cx, WindowSize.cy, bg.Bmp->Canvas()->Handle(), PosInParent.X + bg.Offset.X,
                 PosInParent.Y + bg.Offset.Y, SRCCOPY);
        } else {
          FillDC(dc.DC(), TRect{0, 0, WindowSize.cx, WindowSize.cy}, bg.Color);
        }
      }
      Message.Result = 1;
      return;
    case WM_NCPAINT:
      return;
    case SM_ALPHACMD:
      if (AlphaCmdOf(Message.WParam) == ACMD_HOVER_ENTER || AlphaCmdOf(Message.WParam) == ACMD_HOVER_LEAVE) {
        SkinData->Updating = false;
        SendMessageW(WndHandle, WM_PAINT, 0, 0);
      }
      break;
    default:
      break;
  }
  TacMainWnd::acWndProc(Message);
  if (Detached) return;
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      SendMessageW(WndHandle, WM_PAINT, 0, 0);
      break;
    case WM_NCHITTEST:
      if (IsWindowEnabled(WndHandle) && DefaultManager && !IsActiveControl(WndHandle))
        DefaultManager->SetActiveControl(WndHandle);
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (Message.WParam == VK_SPACE) SendMessageW(WndHandle, WM_PAINT, 0, 0);
      break;
    default:
      break;
  }
}

// ------------------------------------------------------------ TacGroupBoxWnd

void TacGroupBoxWnd::AfterCreation() {
  if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection("GROUPBOX");
  TacMainWnd::AfterCreation();
}

void TacGroupBoxWnd::CaptionRect(TRect& R) {
  Integer w = 0, h = 0;
  if (!WindowText.empty() && SkinData->CacheBmp) {
    TRect m{};
    acDrawText(SkinData->CacheBmp->Canvas()->Handle(), WindowText, m, DT_CALCRECT | DT_CENTER);
    w = WidthOf(m);
    h = HeightOf(m);
  }
  R.Left = (ExStyleOf(WndHandle) & kExRtlReading) ? WindowSize.cx - w - 14 : 6;
  R.Top = 0;
  R.Bottom = std::max<Integer>(4, h) + 2;
  R.Right = R.Left + w + 8;
  if (R.Right > WindowSize.cx - 1) R.Right = WindowSize.cx - 1;
}

void TacGroupBoxWnd::WriteText(TRect R) {
  TacBitmap* cache = SkinData->CacheBmp.get();
  CopyParentBG(WndHandle, PosInParent, cache, R);
  TCanvas* canvas = cache->Canvas();
  canvas->Brush()->SetStyle(bsClear);
  Cardinal flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  if (ExStyleOf(WndHandle) & kExRtlReading) flags |= DT_RTLREADING;
  acWriteTextEx(canvas, WindowText, true, R, flags, SkinData, false);
}

void TacGroupBoxWnd::PrepareCache() {
  InitCacheBmp(SkinData);
  TacBitmap* cache = SkinData->CacheBmp.get();
  cache->SetSize(WindowSize.cx, WindowSize.cy);
  SelectWindowFont(this);
  TRect c;
  CaptionRect(c);
  const Integer ch = HeightOf(c);
  CopyParentBG(WndHandle, PosInParent, cache, TRect{0, 0, WindowSize.cx, ch});
  TacBGInfo bg;
  GetBGInfo(&bg, GetParent(WndHandle), false);
  const TCacheInfo ci = BGInfoToCI(&bg);
  PaintItem(SkinData, ci, false, 0, TRect{0, ch / 2, WindowSize.cx, WindowSize.cy},
            TPoint{PosInParent.X, PosInParent.Y + ch / 2}, cache, true);
  if (!WindowText.empty()) WriteText(c);
  SkinData->BGChanged = false;
}

void TacGroupBoxWnd::AC_WMPaint(TMessage& Message) {
  InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
  TPaintScope paint(WndHandle);
  if (InUpdating(SkinData)) return;
  const HDC given = Message.WParam && Message.LParam == 1 ? reinterpret_cast<HDC>(Message.WParam) : nullptr;
  TTargetDC dc(WndHandle, given, true);
  PrepareCache();
  const int saved = SaveDC(dc.DC());
  if (DialogMode) {
    TsSkinManager* m = SkinData->GetSkinManager();
    TRect c;
    CaptionRect(c);
    const Integer b = SkinData->BorderIndex;
    if (m && m->IsValidImgIndex(b))
      ExcludeClipRect(dc.DC(), m->MaskWidthLeft(b), HeightOf(c), WindowSize.cx - m->MaskWidthRight(b),
                      WindowSize.cy - m->MaskWidthBottom(b));
  }
  CopyHwndCache(WndHandle, SkinData, TRect{0, 0, WindowSize.cx, WindowSize.cy},
                TRect{0, 0, WindowSize.cx, WindowSize.cy}, dc.DC(), false);
  RestoreDC(dc.DC(), saved);
  if (auto* w = dynamic_cast<TWinControl*>(OwnerControl())) PaintControls(dc.DC(), w, true, TPoint{0, 0});
  SetParentUpdated(WndHandle);
}

void TacGroupBoxWnd::acWndProc(TMessage& Message) {
  if (!SkinData || Detached) {
    TacMainWnd::acWndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      SetRedraw(WndHandle, false);
      TacMainWnd::acWndProc(Message);
      SetRedraw(WndHandle, true);
      SkinData->BGChanged = true;
      RedrawWindow(WndHandle, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
      return;
    case WM_SETTEXT:
      TacMainWnd::acWndProc(Message);
      SkinData->BGChanged = true;
      RedrawWindow(WndHandle, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
      return;
    case WM_PAINT:
      if (DialogMode) break;
      AC_WMPaint(Message);
      Message.Result = 0;
      return;
    case WM_ERASEBKGND:
      if (DialogMode) break;
      if (Message.WParam && static_cast<LPARAM>(Message.WParam) == Message.LParam) {
        if (SkinData->BGChanged) {
          InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
          PrepareCache();
        }
        const HDC dc = reinterpret_cast<HDC>(Message.WParam);
        if (IsCached(SkinData)) {
          BitBlt(dc, 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
        } else {
          FillDC(dc, TRect{0, 0, WindowSize.cx, WindowSize.cy}, GetControlColor(WndHandle));
        }
      }
      Message.Result = 1;
      return;
    case WM_NCPAINT:
      if (!DialogMode) break;
      {
        TMessage m = MakeMessage(WM_NCPAINT, 0, 0, 0);
        AC_WMPaint(m);
      }
      Message.Result = 1;
      return;
    case WM_PARENTNOTIFY:
      TacMainWnd::acWndProc(Message);
      if (LOWORD(Message.WParam) == WM_CREATE)
        if (auto* w = dynamic_cast<TWinControl*>(OwnerControl())) AddToAdapter(w);
      return;
    case WM_PRINT:
      SkinData->BGChanged = true;
      SkinData->Updating = false;
      Message.LParam = 1;
      AC_WMPaint(Message);
      return;
    case SM_ALPHACMD:
      if (AlphaCmdOf(Message.WParam) == ACMD_SKIN_UNLOADED) {
        if (TControl* c = OwnerControl()) c->SetControlStyle(c->ControlStyle() - TControlStyle{csOpaque});
      } else if (AlphaCmdOf(Message.WParam) == ACMD_QUERY_CAPTION_HEIGHT) {
        TRect c;
        CaptionRect(c);
        Message.Result = HeightOf(c);
        return;
      }
      break;
    default:
      break;
  }
  TacMainWnd::acWndProc(Message);
}

// ------------------------------------------------------------ TacSizerWnd

void TacSizerWnd::AfterCreation() {
  if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection("CHECKBOX");
  TacMainWnd::AfterCreation();
}

void TacSizerWnd::AC_WMPaint(TMessage&) {
  InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
  TPaintScope paint(WndHandle);
  TsSkinManager* m = SkinData->GetSkinManager();
  const Integer grip = m ? m->ConstData.GripImage : -1;
  if (!m || !m->IsValidImgIndex(grip) || WindowSize.cx <= 0 || WindowSize.cy <= 0) return;
  TTargetDC dc(WndHandle, nullptr);
  std::unique_ptr<TacBitmap> bmp = CreateBmp32(WindowSize.cx, WindowSize.cy);
  TacBGInfo bg;
  bg.R = TRect{0, 0, WindowSize.cx, WindowSize.cy};
  bg.Offset = PosInParent;
  bg.PleaseDraw = true;
  bg.DC = bmp->Canvas()->Handle();
  SendMessageW(GetParent(WndHandle), SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_BG_INFO), reinterpret_cast<LPARAM>(&bg));
  const TsMaskData& md = m->Masks[grip];
  const Integer gw = WidthOf(md.SrcRect) / std::max<Integer>(md.Columns, 1);
  const Integer gh = HeightOf(md.SrcRect) / (md.MaskKind + 1);
  ::DrawSkinGlyph(bmp.get(), TPoint{std::max(WindowSize.cx - gw, 0), std::max(WindowSize.cy - gh, 0)}, 0, 1, md,
                  MakeCacheInfo(bmp.get()));
  BitBlt(dc.DC(), 0, 0, WindowSize.cx, WindowSize.cy, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TacSizerWnd::acWndProc(TMessage& Message) {
  if (!SkinData || Detached) {
    TacMainWnd::acWndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_PAINT:
      AC_WMPaint(Message);
      return;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      Message.Result = 1;
      return;
    default:
      break;
  }
  TacMainWnd::acWndProc(Message);
  if (Message.Msg == WM_NCHITTEST) {
    if (IsWindowEnabled(WndHandle) && DefaultManager && IsActiveControl(WndHandle))
      DefaultManager->SetActiveControl(nullptr);
    Message.Result = HTBOTTOMRIGHT;
  }
}
