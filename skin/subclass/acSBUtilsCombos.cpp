// Combo boxes the skin library did not make: the combo's frame and button,
// and its drop-down list.
#include "skin/subclass/acSBUtilsEdits.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "classlib/ui/StdCtrls.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sSkinManagerOptions.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

bool ComboDroppedDown = false;

namespace {

constexpr LONG kExRtlReading = 0x2000;
constexpr UINT kTrackStart = 0x1AE;  // the combo starts tracking the mouse in its list
constexpr UINT kTrackEnd = 0x1AF;
constexpr Integer kComboMarginDefault = 2;

const TsGeneralData* SectionOf(TsCommonData* SkinData) {
  TsSkinManager* m = SkinData ? SkinData->GetSkinManager() : nullptr;
  if (!m || !m->IsValidSkinIndex(SkinData->SkinIndex)) return nullptr;
  return &m->Sections[SkinData->SkinIndex];
}

Integer ComboMargin(TsSkinManager* m) {
  if (!m) return kComboMarginDefault;
  return m->CommonSkinData.ComboMargin > 0 ? m->CommonSkinData.ComboMargin : kComboMarginDefault;
}

// The text of a combo item, however long (0: the window's own text).
AnsiString ComboItemText(HWND Wnd, LRESULT Index) {
  LRESULT n = Index < 0 ? SendMessageW(Wnd, WM_GETTEXTLENGTH, 0, 0) : SendMessageW(Wnd, CB_GETLBTEXTLEN, Index, 0);
  if (n == CB_ERR || n <= 0) return AnsiString();
  std::vector<wchar_t> buf(static_cast<size_t>(n) + 1, L'\0');
  const LRESULT got = Index < 0
                          ? SendMessageW(Wnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()))
                          : SendMessageW(Wnd, CB_GETLBTEXT, Index, reinterpret_cast<LPARAM>(buf.data()));
  if (got == CB_ERR || got <= 0) return AnsiString();
  buf[std::min<size_t>(static_cast<size_t>(got), buf.size() - 1)] = L'\0';
  return WideToAnsi(WideString(reinterpret_cast<const char16_t*>(buf.data())));
}

}  // namespace

// ------------------------------------------------------------ TacComboBoxWnd

TacComboBoxWnd::~TacComboBoxWnd() {
  FreeList();
  FreeListBrush();
}

void TacComboBoxWnd::AfterCreation() {
  InCtlColor = false;
  TacMainWnd::AfterCreation();
}

bool TacComboBoxWnd::EasyComboBox() const { return OwnerControl() && OwnerControl()->Is<TCustomComboBox>(); }

bool TacComboBoxWnd::DroppedDown() const { return ComboDroppedDown; }

void TacComboBoxWnd::ButtonRect(TRect& R) {
  TsSkinManager* m = SkinData->GetSkinManager();
  const Integer width = (ComboStyle() & 0x2) ? GetComboBtnSize(m) + 1 : 0;
  const Integer margin = ComboMargin(m);
  RECT wr{};
  GetWindowRect(WndHandle, &wr);
  const Integer w = wr.right - wr.left, h = wr.bottom - wr.top;
  R.Left = (GetWindowLongPtrW(WndHandle, GWL_EXSTYLE) & kExRtlReading) ? margin : w - width - margin;
  R.Top = margin;
  R.Right = R.Left + width;
  R.Bottom = h - margin;
}

Integer TacComboBoxWnd::ButtonHeight() {
  TsSkinManager* m = SkinData->GetSkinManager();
  const Integer g = m ? m->ConstData.ComboButton.GlyphMask : -1;
  if (!m || !m->IsValidImgIndex(g)) return 16;
  return HeightOfImage(m->Masks[g]);
}

void TacComboBoxWnd::PaintButton(HDC DC) {
  TsSkinManager* m = SkinData->GetSkinManager();
  TacBitmap* cache = SkinData->CacheBmp.get();
  if (!m || !cache || cache->Width() <= 0) return;
  Integer state = 0;
  if (ListWindow && IsWindowVisible(ListWindow)) {
    state = 2;
  } else if (ControlIsActive(SkinData) || (DefaultManager && DefaultManager->ActiveControl() == WndHandle)) {
    state = 1;
  }
  TRect r;
  ButtonRect(r);
  if (WidthOf(r) <= 0) return;
  std::unique_ptr<TacBitmap> bmp = CreateBmpLike(cache);
  BitBlt(bmp->Canvas()->Handle(), 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  const TacConstElementData& btn = m->ConstData.ComboButton;
  if (m->IsValidSkinIndex(btn.SectionIndex))
    PaintItem(btn.SectionIndex, btn.SectionName, MakeCacheInfo(cache), true, state, r, TPoint{r.Left, r.Top},
              bmp.get(), m, btn.PatternMask, btn.HotPatternMask);
  if (!m->IsValidImgIndex(btn.GlyphMask)) {
    TColor color = 0;
    if (m->IsValidSkinIndex(btn.SectionIndex)) color = m->Sections[btn.SectionIndex].Props[std::min(state, 1)].FontColor.Color;
    DrawColorArrow(bmp->Canvas(), color, r, asBottom);
  } else {
    const TsMaskData& md = m->Masks[btn.GlyphMask];
    const Integer x = r.Left + (WidthOf(r) - WidthOfImage(md)) / 2;
    const Integer y = (HeightOf(TRect{0, 0, cache->Width(), cache->Height()}) - ButtonHeight()) / 2;
    DrawSkinGlyph(bmp.get(), TPoint{x, y}, state, 1, md, MakeCacheInfo(bmp.get()));
  }
  BitBlt(DC, r.Left, r.Top, WidthOf(r), HeightOf(r), bmp->Canvas()->Handle(), r.Left, r.Top, SRCCOPY);
}

void TacComboBoxWnd::RepaintButton() {
  if (!IsWindowVisible(WndHandle)) return;
  const HDC dc = GetWindowDC(WndHandle);
  PaintButton(dc);
  ReleaseDC(WndHandle, dc);
}

void TacComboBoxWnd::PrepareSimple() {
  TsSkinManager* m = SkinData->GetSkinManager();
  InitCacheBmp(SkinData);
  const LRESULT ih = SendMessageW(WndHandle, CB_GETITEMHEIGHT, 0, 0);
  const Integer h = static_cast<Integer>(ih > 0 ? ih : 0) + 8;
  SkinData->CacheBmp->SetSize(WindowSize.cx, h);
  const TRect r{0, 0, WindowSize.cx, h};
  if (DialogMode && m && m->Palette[pcBorder] != sFuchsia) {
    const HDC dc = SkinData->CacheBmp->Canvas()->Handle();
    FillDC(dc, r, clWindow);
    const HBRUSH b = CreateSolidBrush(ColorToRGB(m->Palette[pcBorder]));
    const RECT rr{0, 0, r.Right, r.Bottom};
    FrameRect(dc, &rr, b);
    DeleteObject(b);
    return;
  }
  PaintItem(SkinData, GetParentCache(SkinData), true, ControlIsActive(SkinData) ? 1 : 0, r, PosInParent,
            SkinData->CacheBmp.get(), true);
}

void TacComboBoxWnd::PaintText() {
  TacBitmap* cache = SkinData->CacheBmp.get();
  if (!cache) return;
  TCanvas* canvas = cache->Canvas();
  if (TControl* c = OwnerControl()) {
    canvas->Font()->Assign(c->Font());
  } else {
    SelectWindowFont(this);
  }
  TRect btn;
  ButtonRect(btn);
  TRect r = (GetWindowLongPtrW(WndHandle, GWL_EXSTYLE) & kExRtlReading)
                ? TRect{btn.Right, 3, WindowSize.cx - 3, WindowSize.cy - 3}
                : TRect{3, 3, btn.Left, WindowSize.cy - 3};
  // The item's length is asked first: an item of any length is read whole.
  const AnsiString text = ComboItemText(WndHandle, SendMessageW(WndHandle, CB_GETCURSEL, 0, 0));
  const bool dropList = (ComboStyle() & 3) == 3;
  const bool focused = dropList && GetFocus() == WndHandle;
  if (focused) {
    FillDC(canvas->Handle(), r, clHighlight);
    canvas->Font()->SetColor(clHighlightText);
  }
  canvas->Brush()->SetStyle(bsClear);
  if (!text.empty()) {
    const Integer s = dropList ? 1 : 0;
    acTextRect(canvas, r, r.Left + s, r.Top + s, text);
  }
  if (focused) {
    const RECT fr{r.Left, r.Top, r.Right, r.Bottom};
    DrawFocusRect(canvas->Handle(), &fr);
  }
}

void TacComboBoxWnd::DeselectEditText() {
  auto* combo = dynamic_cast<TComboBox*>(OwnerControl());
  if (combo && combo->Style() == csDropDown && !SkinData->Focused)
    if (HWND edit = FindWindowExW(WndHandle, nullptr, L"Edit", nullptr)) SendMessageW(edit, EM_SETSEL, -1, 0);
}

void TacComboBoxWnd::FreeListBrush() {
  if (FListBrush) DeleteObject(FListBrush);
  FListBrush = nullptr;
  FListBrushColor = clNone;
}

void TacComboBoxWnd::FreeList() {
  if (ListSubclass) {
    TacScrollWnd* obj = ListSubclass;
    ListSubclass = nullptr;
    UninitializeACScroll(ListWindow, true, false, obj);
  }
  ListWindow = nullptr;
}

bool TacComboBoxWnd::ListColors(HDC DC) {
  if (!ListWindow || DialogMode) return false;
  Integer index = -1;
  SendMessageW(ListWindow, SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_SKIN_INDEX), reinterpret_cast<LPARAM>(&index));
  TsSkinManager* m = SkinData->GetSkinManager();
  if (index < 0 || !m || !m->IsValidSkinIndex(index)) return false;
  const TsGenState& normal = m->Sections[index].Props[0];
  if (normal.FontColor.Color >= 0) SetTextColor(DC, ColorToRGB(normal.FontColor.Color));
  SetBkColor(DC, ColorToRGB(normal.Color));
  // One brush for the list, made again only when the skin gives another colour.
  if (!FListBrush || FListBrushColor != normal.Color) {
    FreeListBrush();
    FListBrush = CreateSolidBrush(ColorToRGB(normal.Color));
    FListBrushColor = normal.Color;
  }
  return true;
}

void TacComboBoxWnd::SetupList(TMessage& Message) {
  ListWindow = reinterpret_cast<HWND>(Message.LParam);
  if (!ListSubclass) {
    const bool simple = (ComboStyle() & 3) == CBS_SIMPLE;
    const bool own = !OwnerControl();
    const bool savedMode = acDlgMode;
    if (own) acDlgMode = DialogMode;
    auto* list = new TacComboListWnd;
    list->CreateList(ListWindow, nullptr, Manager, "EDIT", SendMessageW(WndHandle, CB_GETCOUNT, 0, 0) > 0, simple);
    ListSubclass = list;
    // The switch goes back to what it was (another object may be making its list).
    if (own) acDlgMode = savedMode;
  }
}

void TacComboBoxWnd::acWndProc(TMessage& Message) {
  if (!SkinData || Detached || !SkinData->Skinned()) {
    TacEditWnd::acWndProc(Message);
    return;
  }
  const HWND wnd = WndHandle;
  auto prev = [&] { Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam); };
  auto* w = dynamic_cast<TWinControl*>(OwnerControl());
  const bool canHot = CanBeHot(SkinData, false) && w && w->CanFocus() && w->TabStop();
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_LBUTTONUP:
      SkinData->Focused = true;
      if (canHot) {
        SetSkinParams();
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
      }
      prev();
      RepaintButton();
      return;
    case WM_KILLFOCUS:
    case CM_EXIT: {
      HWND edit = w ? FindWindowExW(wnd, nullptr, L"Edit", nullptr) : nullptr;
      SkinData->Focused = edit && GetFocus() == edit;
      SkinData->BGChanged = true;
      prev();
      if (canHot) {
        SetSkinParams();
        if (auto* combo = dynamic_cast<TComboBox*>(w); combo && combo->Style() == csDropDown && edit)
          SendMessageW(edit, EM_SETSEL, -1, 0);
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
      }
      RepaintButton();
      return;
    }
    case WM_PAINT: {
      if (!SkinParamsApplied) SetSkinParams();
      InitCtrlData(wnd, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
      prev();
      const bool own = !Message.WParam;
      const HDC dc = own ? GetWindowDC(wnd) : reinterpret_cast<HDC>(Message.WParam);
      if ((ComboStyle() & 3) == CBS_SIMPLE) {
        PrepareSimple();
        BitBltBorder(dc, 0, 0, WindowSize.cx, SkinData->CacheBmp->Height(), SkinData->CacheBmp->Canvas()->Handle(), 0,
                     0, 3);
      } else {
        SkinData->BGChanged = true;
        SendAMessage(wnd, ACMD_BUILD_CACHE);
        if (SkinData->CacheBmp) {
          BitBltBorder(dc, 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBmp->Canvas()->Handle(), 0, 0, 3);
          PaintButton(dc);
        }
      }
      if (own) ReleaseDC(wnd, dc);
      return;
    }
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_DRAWITEM:
      prev();
      Invalidate();
      return;
    case WM_NCCALCSIZE:
      TacEditWnd::acWndProc(Message);
      EdgeLeft = 3;
      return;
    case WM_COMMAND:
    case CN_COMMAND:
      if (Message.Msg == CN_COMMAND || !(ComboStyle() & 0x1)) {
        if (HIWORD(Message.WParam) == CBN_CLOSEUP) {
          SkinData->BGChanged = true;
          ComboDroppedDown = false;
          RepaintButton();
        } else if (HIWORD(Message.WParam) == CBN_DROPDOWN) {
          ComboDroppedDown = true;
        }
      }
      break;
    case WM_CTLCOLORLISTBOX:
      if (InCtlColor) return;
      InCtlColor = true;
      TacEditWnd::acWndProc(Message);
      if (!ListWindow) SetupList(Message);
      // Every answer takes the same brush (the list is not given the
      // system's after its first paint).
      if (ListColors(reinterpret_cast<HDC>(Message.WParam))) Message.Result = reinterpret_cast<LRESULT>(FListBrush);
      InCtlColor = false;
      return;
    case CB_SETCURSEL:
    case CM_TEXTCHANGED:
    case CM_CHANGED:
      if (EasyComboBox()) {
        SendMessageW(wnd, WM_SETREDRAW, 0, 0);
        SkinData->BGChanged = true;
        prev();
        SendMessageW(wnd, WM_SETREDRAW, 1, 0);
        RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_INVALIDATE);
      } else {
        prev();
      }
      return;
    case WM_PRINT: {
      InitCtrlData(wnd, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
      SkinData->Updating = true;
      if (!SkinParamsApplied) SetSkinParams();
      if (Detached) return;
      SkinData->Updating = false;
      SkinData->BGChanged = true;
      if ((ComboStyle() & 3) == CBS_SIMPLE) {
        PrepareSimple();
      } else {
        InitCacheBmp(SkinData);
        SkinData->CacheBmp->SetSize(WindowSize.cx, WindowSize.cy);
        ::PrepareCache(SkinData, wnd, DialogMode);
      }
      PaintText();
      RestoreCornerBackground(SkinData, this);
      const HDC dc = reinterpret_cast<HDC>(Message.WParam);
      BitBlt(dc, 0, 0, SkinData->CacheBmp->Width(), SkinData->CacheBmp->Height(), SkinData->CacheBmp->Canvas()->Handle(),
             0, 0, SRCCOPY);
      PaintButton(dc);
      return;
    }
    case SM_ALPHACMD:
      switch (AlphaCmdOf(Message.WParam)) {
        case ACMD_SKIN_UNLOADED:
          if (Message.LParam != reinterpret_cast<LPARAM>(Manager)) return;
          TacEditWnd::acWndProc(Message);
          if (ListWindow) {
            const LONG_PTR style = GetWindowLongPtrW(ListWindow, GWL_STYLE);
            SetWindowLongPtrW(ListWindow, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_THICKFRAME)) | WS_BORDER);
            const HWND list = ListWindow;
            FreeList();
            SetWindowPos(list, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
          }
          FreeListBrush();
          return;
        case ACMD_SKIN_LOADED:
        case ACMD_SKIN_REPAINT:
          // The list's colour is taken again at its next paint.
          FreeListBrush();
          break;
        case ACMD_HOVER_ENTER:
        case ACMD_HOVER_LEAVE:
          TacEditWnd::acWndProc(Message);
          RepaintButton();
          return;
        default:
          break;
      }
      break;
    case CM_MOUSEENTER:
      if (SkinData->MouseAbove) return;
      SkinData->MouseAbove = true;
      SkinData->BGChanged = true;
      TacEditWnd::acWndProc(Message);
      DeselectEditText();
      Invalidate();
      return;
    case CM_MOUSELEAVE: {
      if (!SkinData->MouseAbove) return;
      HWND edit = w ? FindWindowExW(wnd, nullptr, L"Edit", nullptr) : nullptr;
      if (!SkinData->Focused && edit && GetFocus() == edit) SkinData->Focused = true;
      const TPoint p = acMousePos();
      RECT wr{};
      GetWindowRect(wnd, &wr);
      const POINT pt{p.X, p.Y};
      if (PtInRect(&wr, pt)) return;
      SkinData->MouseAbove = false;
      SkinData->BGChanged = true;
      TacEditWnd::acWndProc(Message);
      DeselectEditText();
      Invalidate();
      return;
    }
    default:
      break;
  }
  TacEditWnd::acWndProc(Message);
}

// ------------------------------------------------------------ TacComboListWnd

void TacComboListWnd::CreateList(HWND AHandle, TsCommonData* ASkinData, TsSkinManager* ASkinManager,
                                 const AnsiString& SkinSection, bool Repaint, bool Simply) {
  SimpleList = Simply;
  TacSkinParams params;
  params.SkinSection = SkinSection;
  Create(AHandle, ASkinData, ASkinManager, params, Repaint);
  if (!SimpleList)
    SetWindowPos(AHandle, nullptr, 0, 0, WindowSize.cx + 1, WindowSize.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOCOPYBITS | SWP_NOOWNERZORDER |
                     SWP_NOSENDCHANGING);
}

TacComboListWnd::~TacComboListWnd() {
  if (uxthemeLib && Ac_SetWindowTheme && IsWindow(WndHandle)) Ac_SetWindowTheme(WndHandle, nullptr, nullptr);
}

void TacComboListWnd::AfterCreation() {
  if (!SkinData) InitSkinData();
  Tracking = false;
  RECT r{};
  GetWindowRect(WndHandle, &r);
  WindowRect = TRect{r.left, r.top, r.right, r.bottom};
  WindowSize = TSize{r.right - r.left, r.bottom - r.top};
  TacMainWnd::AfterCreation();
}

void TacComboListWnd::SetSkinParams() {
  if (FInSetSkinParams) return;
  FInSetSkinParams = true;
  SkinData->Updating = true;
  SkinParamsApplied = true;
  TsSkinManager* m = SkinData->GetSkinManager();
  const TsGeneralData* s = SectionOf(SkinData);
  if (m && s) {
    if (!SkinData->CustomColor()) EditColor = DialogMode ? clWindow : s->Props[s->StateCount > 1 ? 1 : 0].Color;
    EditFrameColor = m->Palette[pcBorder];
    SkinData->BGChanged = true;
  } else {
    EditFrameColor = 0;
  }
  SkinData->Updating = false;
  FInSetSkinParams = false;
}

void TacComboListWnd::PrepareListCache() {
  InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
  if (SimpleList) {
    SendAMessage(WndHandle, ACMD_BUILD_CACHE);
    return;
  }
  SkinData->UpdateIndexes(true);
  SetSkinParams();
  InitCacheBmp(SkinData);
  SkinData->CacheBmp->SetSize(WindowSize.cx, WindowSize.cy);
  const HDC dc = SkinData->CacheBmp->Canvas()->Handle();
  const HBRUSH brush = CreateSolidBrush(ColorToRGB(EditColor));
  const HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(EditFrameColor));
  const HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
  Rectangle(dc, 0, 0, WindowSize.cx, WindowSize.cy);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
  SkinData->BGChanged = false;
}

void TacComboListWnd::acWndProc(TMessage& Message) {
  if (!SkinData || Detached || !SkinData->Skinned()) {
    TacEditWnd::acWndProc(Message);
    return;
  }
  const HWND wnd = WndHandle;
  auto prev = [&] { Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam); };
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      if (Message.WParam) {
        Message.Result = 1;
        FillDC(reinterpret_cast<HDC>(Message.WParam), TRect{0, 0, WindowSize.cx, WindowSize.cy}, EditColor);
        return;
      }
      prev();
      return;
    case WM_HSCROLL:
    case WM_VSCROLL:
      prev();
      return;
    case WM_NCCALCSIZE:
      HandleNCCalcSize(Message);
      return;
    case WM_NCPAINT: {
      if (ScrollNotifying) break;
      PrepareListCache();
      if (!DialogMode) RestoreCornerBackground(SkinData, this);
      const HDC dc = GetWindowDC(wnd);
      const int saved = SaveDC(dc);
      if (SkinData->CacheBmp)
        BitBltBorder(dc, 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBmp->Canvas()->Handle(), 0, 0, 2);
      Message.Result = ac_NCDraw(this, wnd, -1, dc);
      RestoreDC(dc, saved);
      ReleaseDC(wnd, dc);
      if (SimpleList) {
        // The strip of the combo below its list takes the combo's parent background.
        const HWND combo = GetParent(wnd);
        const HWND parent = combo ? GetParent(combo) : nullptr;
        RECT lr{}, cr{};
        GetWindowRect(wnd, &lr);
        if (combo) GetWindowRect(combo, &cr);
        if (parent && cr.bottom > lr.bottom) {
          POINT at{cr.left, lr.bottom};
          ScreenToClient(parent, &at);
          const HDC cdc = GetWindowDC(combo);
          const TRect strip{0, lr.bottom - cr.top, cr.right - cr.left, cr.bottom - cr.top};
          TacBGInfo bg;
          GetBGInfo(&bg, parent, false);
          if (bg.BgType == btCache && bg.Bmp) {
            BitBlt(cdc, strip.Left, strip.Top, WidthOf(strip), HeightOf(strip), bg.Bmp->Canvas()->Handle(),
                   at.x + bg.Offset.X, at.y + bg.Offset.Y, SRCCOPY);
          } else {
            FillDC(cdc, strip, bg.Color);
          }
          ReleaseDC(combo, cdc);
        }
      }
      return;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      Message.WParam = static_cast<WPARAM>(ScrollNCHitTest(this, wnd, Message.WParam, Message.LParam));
      if (Message.WParam == HTHSCROLL || Message.WParam == HTVSCROLL)
        Message.Result = ScrollNCLButtonDown(this, wnd, Message.WParam, Message.LParam);
      return;
    case kTrackStart:
      Tracking = true;
      break;
    case kTrackEnd:
      Tracking = false;
      SkinData->BGChanged = true;
      break;
    case WM_LBUTTONUP: {
      InitCtrlData(wnd, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
      const LPARAM received = Message.LParam;
      const POINT client{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      RECT wr{};
      GetWindowRect(wnd, &wr);
      POINT screen = client;
      ClientToScreen(wnd, &screen);
      const LRESULT hit = ScrollNCHitTest(this, wnd, 0, MAKELPARAM(screen.x, screen.y));
      if (hit == HTNOWHERE || hit == HTCLIENT) {
        Message.LParam = received;
        ScrollLButtonUp(this, wnd, static_cast<WPARAM>(hit), Message.LParam);
        prev();
      } else {
        Message.Result = ScrollLButtonUp(this, wnd, static_cast<WPARAM>(hit), Message.LParam);
        if (SimpleList) ReleaseCapture();
      }
      return;
    }
    case WM_PRINT:
    case WM_PRINTCLIENT: {
      const HDC dc = reinterpret_cast<HDC>(Message.WParam);
      if (!dc || !IsWindowVisible(wnd)) return;
      PrepareListCache();
      prev();
      if (Message.Msg == WM_PRINT && SendMessageW(wnd, LB_GETCOUNT, 0, 0) > 0) {
        if (acScrollTrack.PressedPart == -1 && !Tracking && SkinData->CacheBmp)
          BitBltBorder(dc, 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBmp->Canvas()->Handle(), 0, 0, 1);
        Message.Result = ac_NCDraw(this, wnd, -1, dc);
      }
      return;
    }
    default:
      break;
  }
  const UINT msg = Message.Msg;
  TacEditWnd::acWndProc(Message);
  if (msg == WM_WINDOWPOSCHANGED && !Detached) UpdateScrolls(this, true);
}
