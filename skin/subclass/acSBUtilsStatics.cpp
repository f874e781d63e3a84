// The static family: static texts, framed and plain icon or bitmap statics,
// links and the class library's static text controls.
#include "skin/subclass/acSBUtilsButtons.h"

#include <algorithm>
#include <cstdint>

#include "classlib/core/TypInfo.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

constexpr LONG kTabStop = 0x10000;  // WS_TABSTOP

void Redraw(HWND Wnd) { RedrawWindow(Wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE); }
void SetRedraw(HWND Wnd, bool On) { SendMessageW(Wnd, WM_SETREDRAW, On ? 1 : 0, 0); }

// The DC of a message, else the window DC (released at the end); its state
// comes back as it was.
class TWindowDCScope {
 public:
  TWindowDCScope(HWND Wnd, HDC Given) : FWnd(Wnd), FDC(Given) {
    if (!FDC) {
      FDC = GetWindowDC(Wnd);
      FOwn = true;
    }
    FSaved = SaveDC(FDC);
  }
  ~TWindowDCScope() {
    RestoreDC(FDC, FSaved);
    if (FOwn) ReleaseDC(FWnd, FDC);
  }
  TWindowDCScope(const TWindowDCScope&) = delete;
  TWindowDCScope& operator=(const TWindowDCScope&) = delete;
  HDC DC() const { return FDC; }

 private:
  HWND FWnd;
  HDC FDC;
  bool FOwn = false;
  int FSaved = 0;
};

// Whether a 32-bit picture carries alpha: a picture made on a 32-bit screen
// has alpha 0 throughout and would vanish if blended by it.
bool HasAlpha(TBitmap* Bmp) {
  for (Integer y = 0; y < Bmp->Height(); ++y) {
    const auto* row = static_cast<const std::uint32_t*>(Bmp->ScanLine(y));
    for (Integer x = 0; x < Bmp->Width(); ++x)
      if (row[x] >> 24) return true;
  }
  return false;
}

}  // namespace

// ------------------------------------------------------------ TacStaticWnd

void TacStaticWnd::AfterCreation() {
  if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection("CHECKBOX");
  TacMainWnd::AfterCreation();
}

void TacStaticWnd::BuildCache() {
  InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
  SkinData->BGChanged = true;
  InitCacheBmp(SkinData);
  SkinData->CacheBmp->SetSize(WindowSize.cx, WindowSize.cy);
  ::PrepareCache(SkinData, WndHandle, false);
}

void TacStaticWnd::AC_WMPaint(TMessage& Message) {
  TWindowDCScope dc(WndHandle, reinterpret_cast<HDC>(Message.WParam));
  BuildCache();
  if (PaintText())
    BitBlt(dc.DC(), 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

bool TacStaticWnd::PaintText() {
  if (WindowText.empty()) return true;
  SelectWindowFont(this);
  TCanvas* canvas = SkinData->CacheBmp->Canvas();
  canvas->Brush()->SetStyle(bsClear);
  Cardinal flags = DT_WORDBREAK | DT_EXPANDTABS | DT_TABSTOP | DT_NOCLIP | 0x800;
  if (GetWindowLongPtrW(WndHandle, GWL_EXSTYLE) & WS_EX_RIGHT) flags |= DT_RIGHT;
  TRect r{0, 0, WindowSize.cx, WindowSize.cy};
  acWriteTextEx(canvas, WindowText, true, r, flags, SkinData, false);
  return true;
}

void TacStaticWnd::acWndProc(TMessage& Message) {
  const bool plain = (GetWindowLongPtrW(WndHandle, GWL_STYLE) & kTabStop) ||
                     (GetWindowLongPtrW(WndHandle, GWL_EXSTYLE) & WS_EX_STATICEDGE);
  if (!SkinData || Detached || plain) {
    TacMainWnd::acWndProc(Message);
    return;
  }
  const bool visible = IsWindowVisible(WndHandle);
  switch (Message.Msg) {
    case WM_MOVE:
    case WM_ENABLE:
      if (!visible) break;
      SkinData->BGChanged = true;
      Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      Redraw(WndHandle);
      return;
    case WM_SETTEXT:
      if (!visible) break;
      SetRedraw(WndHandle, false);
      Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      ReadWindowText();
      SkinData->BGChanged = true;
      SetRedraw(WndHandle, true);
      Redraw(WndHandle);
      return;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(WndHandle, &ps);
      if (visible) AC_WMPaint(Message);
      EndPaint(WndHandle, &ps);
      return;
    }
    case WM_ERASEBKGND:
      if (!visible) break;
      Message.Result = 1;
      return;
    case WM_NCPAINT:
      return;
    case WM_PRINT:
      AC_WMPaint(Message);
      return;
    default:
      break;
  }
  TacMainWnd::acWndProc(Message);
}

// ------------------------------------------------------------ TacEdgeWnd

void TacEdgeWnd::AC_WMPaint(TMessage& Message) {
  TWindowDCScope dc(WndHandle, reinterpret_cast<HDC>(Message.WParam));
  BuildCache();
  BitBltBorder(dc.DC(), 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBmp->Canvas()->Handle(), 0, 0, 2);
}

void TacEdgeWnd::acWndProc(TMessage& Message) {
  if (!SkinData || Detached) {
    TacMainWnd::acWndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_PAINT: {
      Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      TMessage m = MakeMessage(WM_PAINT, 0, 0, 0);
      AC_WMPaint(m);
      return;
    }
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      return;
    default:
      TacStaticWnd::acWndProc(Message);
  }
}

// ------------------------------------------------------------ TacIconWnd

void TacIconWnd::AfterCreation() {
  IsBitmap = (GetWindowLongPtrW(WndHandle, GWL_STYLE) & 3) != SS_ICON;
  ImageBmp = nullptr;
  TacStaticWnd::AfterCreation();
}

TacIconWnd::~TacIconWnd() {
  // Our copy only: the control's own bitmap was never taken over.
  delete ImageBmp;
  ImageBmp = nullptr;
}

bool TacIconWnd::PaintText() {
  TacBitmap* cache = SkinData->CacheBmp.get();
  if (!IsBitmap) {
    const auto icon = reinterpret_cast<HICON>(SendMessageW(WndHandle, STM_GETICON, 0, 0));
    if (!icon) return false;
    DrawIconEx(cache->Canvas()->Handle(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    return true;
  }
  const auto source = reinterpret_cast<HBITMAP>(SendMessageW(WndHandle, STM_GETIMAGE, IMAGE_BITMAP, 0));
  // A copy of the control's picture (taken again when the control is given
  // another one): wrapping the control's handle would let the wrapper delete it.
  if (!ImageBmp || source != FImageSource) {
    delete ImageBmp;
    ImageBmp = new TBitmap;
    FImageSource = source;
    if (source) {
      if (const auto copy = static_cast<HBITMAP>(CopyImage(source, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)))
        ImageBmp->SetHandle(copy);  // takes the copy over
    }
  }
  if (ImageBmp->Empty()) return false;
  if (ImageBmp->PixelFormat() == pf32bit && HasAlpha(ImageBmp)) {
    const TRect r{0, 0, WindowSize.cx, WindowSize.cy};
    CopyBmp32(r, r, cache, ImageBmp, MakeCacheInfo(cache), false, 0x1FFFFFFF, 0, false);
  } else {
    BitBlt(cache->Canvas()->Handle(), 0, 0, std::min(ImageBmp->Width(), WindowSize.cx),
           std::min(ImageBmp->Height(), WindowSize.cy), ImageBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  return true;
}

// ------------------------------------------------------------ TacLinkWnd

bool TacLinkWnd::PaintText() {
  TCanvas* canvas = SkinData->CacheBmp->Canvas();
  canvas->Brush()->SetStyle(bsClear);
  SelectWindowFont(this);
  TFontStyles style = canvas->Font()->Style();
  style.Include(fsUnderline);
  canvas->Font()->SetStyle(style);
  AnsiString text = ReplaceStr(WindowText, "<A>", "");
  text = ReplaceStr(text, "</A>", "");
  TRect r{0, 0, WindowSize.cx + 4, WindowSize.cy};
  acWriteTextEx(canvas, text, true, r, DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP, SkinData, false);
  return true;
}

void TacLinkWnd::acWndProc(TMessage& Message) {
  if (!SkinData || Detached || (GetWindowLongPtrW(WndHandle, GWL_EXSTYLE) & WS_EX_STATICEDGE)) {
    TacStaticWnd::acWndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_MOVE:
      SkinData->BGChanged = true;
      Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      Redraw(WndHandle);
      return;
    case WM_SETTEXT:
      Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      ReadWindowText();
      SkinData->BGChanged = true;
      Redraw(WndHandle);
      return;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(WndHandle, &ps);
      EndPaint(WndHandle, &ps);
      return;
    }
    case WM_ERASEBKGND:
      if (!IsWindowVisible(WndHandle)) break;
      AC_WMPaint(Message);
      Message.Result = 1;
      return;
    case WM_NCPAINT:
      return;
    default:
      break;
  }
  TacStaticWnd::acWndProc(Message);
}

// ------------------------------------------------------------ TacStaticTextWnd

AnsiString StaticTextSection(Integer BevelKind, Integer BevelOuter, Integer BevelInner) {
  // The class library's orders: bkNone first; bvNone, bvLowered, bvRaised, bvSpace.
  enum { bvNoneV, bvLoweredV, bvRaisedV };
  if (BevelKind == 0) return "CHECKBOX";
  if (BevelOuter == bvLoweredV) return BevelInner == bvRaisedV ? "GROUPBOX" : "PANEL_LOW";
  if (BevelOuter == bvRaisedV) return BevelInner == bvLoweredV ? "GROUPBOX" : "PANEL";
  return "CHECKBOX";
}

void TacStaticTextWnd::AfterCreation() {
  TextControl = dynamic_cast<TWinControl*>(OwnerControl());
  if (TextControl && SkinData) {
    SkinData->Updating = true;
    if (SkinData->SkinSection().empty())
      SkinData->SetSkinSection(StaticTextSection(GetIntPropOrZero(TextControl, "BevelKind"),
                                                 GetIntPropOrZero(TextControl, "BevelOuter"),
                                                 GetIntPropOrZero(TextControl, "BevelInner")));
    SkinData->Updating = false;
  }
  TacMainWnd::AfterCreation();
}

bool TacStaticTextWnd::PrepareCache() {
  InitCacheBmp(SkinData);
  const TCacheInfo ci = GetParentCache(SkinData);
  if (!ci.Ready && ci.FillColor == sFuchsia) {
    SkinData->Updating = true;
    return false;
  }
  const Integer w = TextControl ? TextControl->Width() : WindowSize.cx;
  const Integer h = TextControl ? TextControl->Height() : WindowSize.cy;
  TacBitmap* cache = SkinData->CacheBmp.get();
  if (cache->Width() != w || cache->Height() != h) cache->SetSize(w, h);
  if (SkinData->CustomColor() && TextControl) {
    FillDC(cache->Canvas()->Handle(), TRect{0, 0, w, h}, TextControl->Color());
  } else {
    const TPoint pos = TextControl ? TPoint{TextControl->Left(), TextControl->Top()} : PosInParent;
    PaintItem(SkinData, ci, false, 0, TRect{0, 0, w, h}, pos, cache, true);
  }
  RECT cr{};
  GetClientRect(WndHandle, &cr);
  WriteText(TRect{cr.left, cr.top, cr.right, cr.bottom}, cache->Canvas());
  SkinData->BGChanged = false;
  return true;
}

void TacStaticTextWnd::WriteText(TRect R, TCanvas* Canvas) {
  Canvas->Brush()->SetStyle(bsClear);
  if (TextControl) {
    Canvas->Font()->Assign(TextControl->Font());
    const auto align = static_cast<Integer>(GetIntPropOrZero(TextControl, "Alignment"));
    const auto a = static_cast<TAlignment>(std::clamp(align, 0, 2));
    const Cardinal flags = GetStringFlags(TextControl, a) | DT_EXPANDTABS | DT_VCENTER | DT_WORDBREAK;
    acWriteTextEx(Canvas, WindowText, TextControl->Enabled(), R, flags, SkinData, false);
  } else {
    acWriteTextEx(Canvas, WindowText, true, R, DT_CENTER | DT_VCENTER, SkinData, false);
  }
}

void TacStaticTextWnd::AC_WMPaint(HDC DC) {
  if (!TextControl || IsDestroying(TextControl) || SkinData->Updating) return;
  if (TextControl->Parent() && TextControl->Parent()->ControlState().Contains(csCreating)) return;
  InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
  const bool own = !DC;
  if (own) DC = GetWindowDC(WndHandle);
  const int saved = SaveDC(DC);
  bool rebuild = SkinData->BGChanged;
  if (SkinData->RepaintIfMoved()) {
    RECT clip{};
    GetClipBox(DC, &clip);
    if (clip.right - clip.left != TextControl->Width() || clip.bottom - clip.top != TextControl->Height())
      rebuild = true;
  }
  if (rebuild) PrepareCache();
  RECT cr{};
  GetClientRect(WndHandle, &cr);
  const Integer b = (WindowSize.cx - cr.right) / 2;
  CopyWinControlCache(TextControl, SkinData, TRect{b, b, TextControl->Width() - b, TextControl->Height() - b},
                      TRect{0, 0, TextControl->Width() - 2 * b, TextControl->Height() - 2 * b}, DC, false);
  PaintControls(DC, TextControl, rebuild && SkinData->RepaintIfMoved(), TPoint{0, 0});
  SetParentUpdated(TextControl);
  RestoreDC(DC, saved);
  if (own) ReleaseDC(WndHandle, DC);
}

void TacStaticTextWnd::AC_WMNCPaint(HDC DC) {
  if (SkinData->Updating) return;
  InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
  const bool own = !DC;
  if (own) DC = GetWindowDC(WndHandle);
  if (PrepareCache()) {
    RECT cr{};
    GetClientRect(WndHandle, &cr);
    const Integer b = (WindowSize.cx - cr.right) / 2;
    if (b > 0)
      BitBltBorder(DC, 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBmp->Canvas()->Handle(), 0, 0, b);
  } else {
    SkinData->Updating = true;
  }
  if (own) ReleaseDC(WndHandle, DC);
}

void TacStaticTextWnd::acWndProc(TMessage& Message) {
  if (!TextControl || !SkinData || Detached) {
    TacMainWnd::acWndProc(Message);
    return;
  }
  if (Message.Msg == SM_ALPHACMD) {
    switch (AlphaCmdOf(Message.WParam)) {
      case ACMD_SKIN_LOADED:
      case ACMD_SKIN_REPAINT:
        TacMainWnd::acWndProc(Message);
        AlphaBroadCastCheck(TextControl, WndHandle, Message);
        return;
      case ACMD_SKIN_UNLOADED:
        SkinData->SkinIndex = -1;
        TextControl->SetControlStyle(TextControl->ControlStyle() - TControlStyle{csOpaque});
        TacMainWnd::acWndProc(Message);
        return;
      case ACMD_PARENT_UPDATED:
        if (SkinData->Updating) {
          SkinData->Updating = false;
          Redraw(WndHandle);
        }
        SetParentUpdated(TextControl);
        return;
      case ACMD_QUERY_HOOKED:
        Message.Result = 1;
        return;
      case ACMD_BUILD_CACHE:
        PrepareCache();
        break;
      case ACMD_QUERY_APPLICATION:
        Message.Result = reinterpret_cast<LRESULT>(Application);
        return;
      default:
        break;
    }
    TacMainWnd::acWndProc(Message);
    return;
  }
  if (!SkinData->Skinned()) {
    TacMainWnd::acWndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_SETTEXT:
      if (!IsWindowVisible(WndHandle)) break;
      SetRedraw(WndHandle, false);
      TacMainWnd::acWndProc(Message);
      SetRedraw(WndHandle, true);
      SkinData->BGChanged = true;
      SendMessageW(WndHandle, WM_PAINT, 0, 0);
      return;
    case WM_PAINT: {
      InvalidateRect(WndHandle, nullptr, TRUE);
      PAINTSTRUCT ps;
      BeginPaint(WndHandle, &ps);
      EndPaint(WndHandle, &ps);
      return;
    }
    case WM_ERASEBKGND:
      AC_WMPaint(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED: {
      TsSkinManager* m = SkinData->GetSkinManager();
      if (m && m->IsValidSkinIndex(SkinData->SkinIndex) && m->Sections[SkinData->SkinIndex].Props[0].Transparency)
        SkinData->BGChanged = true;
      break;
    }
    case CM_TEXTCHANGED:
      SkinData->BGChanged = true;
      break;
    case WM_NCPAINT:
      AC_WMNCPaint(nullptr);
      Message.Result = 0;
      return;
    case WM_UPDATEUISTATE:
      Message.Result = 1;
      return;
    case WM_PARENTNOTIFY:
      if (LOWORD(Message.WParam) == WM_CREATE || LOWORD(Message.WParam) == WM_DESTROY) {
        TacMainWnd::acWndProc(Message);
        if (LOWORD(Message.WParam) == WM_CREATE) AddToAdapter(TextControl);
        return;
      }
      break;
    case WM_PRINT:
      AC_WMPaint(reinterpret_cast<HDC>(Message.WParam));
      AC_WMNCPaint(reinterpret_cast<HDC>(Message.WParam));
      return;
    case CM_ENABLEDCHANGED:
      SetRedraw(WndHandle, false);
      TacMainWnd::acWndProc(Message);
      SetRedraw(WndHandle, true);
      InvalidateRect(WndHandle, nullptr, TRUE);
      return;
    case CM_SHOWINGCHANGED:
      if (TextControl->Visible()) {
        AddToAdapter(TextControl);
        TMessage loaded = MakeMessage(SM_ALPHACMD, AlphaCmdParam(ACMD_SKIN_LOADED), reinterpret_cast<LPARAM>(Manager), 0);
        AlphaBroadCastCheck(TextControl, WndHandle, loaded);
        TMessage repaint = MakeMessage(SM_ALPHACMD, AlphaCmdParam(ACMD_SKIN_REPAINT), reinterpret_cast<LPARAM>(Manager), 0);
        AlphaBroadCastCheck(TextControl, WndHandle, repaint);
      }
      break;
    default:
      break;
  }
  const UINT msg = Message.Msg;
  TacMainWnd::acWndProc(Message);
  if (msg == WM_WINDOWPOSCHANGING && !Detached) SendMessageW(WndHandle, WM_NCPAINT, 0, 0);
}
