// Edit-like subclass objects: the common base of windows with a skinned
// frame and scroll bars, edits and lists, scroll boxes and natively painted
// containers.
#include "skin/subclass/acSBUtilsEdits.h"

#include <algorithm>

#include "classlib/core/TypInfo.h"
#include "classlib/ui/StdCtrls.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

bool ClipEmpty(HDC DC) {
  RECT r{};
  return GetClipBox(DC, &r) == NULLREGION || r.right <= r.left || r.bottom <= r.top;
}

bool IsPrintDC(TsCommonData* SkinData, HDC DC) { return DC && SkinData && SkinData->PrintDC == DC; }

void FrameChanged(HWND Wnd) {
  SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
}

const TsGeneralData* SectionOf(TsCommonData* SkinData) {
  TsSkinManager* m = SkinData ? SkinData->GetSkinManager() : nullptr;
  if (!m || !m->IsValidSkinIndex(SkinData->SkinIndex)) return nullptr;
  return &m->Sections[SkinData->SkinIndex];
}

}  // namespace

TacScrollWnd* NewEditWnd() { return new TacEditWnd; }
TacScrollWnd* NewTreeViewWnd() { return new TacTreeViewWnd; }

// ------------------------------------------------------------ TacBaseWnd

void TacBaseWnd::acWndProc(TMessage& Message) {
  if (Detached || !SkinData || !SkinData->Skinned()) {
    TacScrollWnd::acWndProc(Message);
    return;
  }
  const UINT msg = Message.Msg;
  switch (msg) {
    case WM_SIZE:
    case WM_EXITSIZEMOVE:
      SkinData->BGChanged = true;
      break;
    case WM_SETCURSOR:
      Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      return;
    case 0x2100:  // a reflected notice of another component set: nothing to do here
      return;
    case SM_ALPHACMD:
      if (AlphaCmdOf(Message.WParam) == ACMD_SKIN_REPAINT && Message.LParam == reinterpret_cast<LPARAM>(Manager)) {
        TacScrollWnd::acWndProc(Message);
        if (IsWindowVisible(WndHandle)) SendMessageW(WndHandle, WM_NCPAINT, 0, 0);
        return;
      }
      if (AlphaCmdOf(Message.WParam) == ACMD_BUILD_CACHE) PrepareCache(SkinData, WndHandle, false);
      break;
    default:
      break;
  }
  TacScrollWnd::acWndProc(Message);
  if (Detached) return;
  switch (msg) {
    case WM_SIZE:
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (!ScrollNotifying) UpdateScrolls(this, true);
      break;
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
      if (IsWindowVisible(WndHandle)) SendMessageW(WndHandle, WM_NCPAINT, 0, 0);
      break;
    default:
      break;
  }
}

// ------------------------------------------------------------ TacEditWnd

void TacEditWnd::Create(HWND Wnd, TsCommonData* ASkinData, TsSkinManager* AManager, const TacSkinParams& Params,
                        bool Repaint) {
  if (!KeepsTheme(Repaint) && uxthemeLib && Ac_SetWindowTheme && Params.SkinSection != "DIALOG") {
    if (!ASkinData) {
      Ac_SetWindowTheme(Wnd, L" ", L" ");
    } else if (ASkinData->KindCode != 10 && ASkinData->KindCode != 96 &&
               !(Params.Control && IsPublishedProp(Params.Control, "UseXPThemes"))) {
      Ac_SetWindowTheme(Wnd, L" ", L" ");
    }
  }
  WndHandle = Wnd;
  ClientRectCache.Top = -1;
  WndProcInstance = nullptr;
  Manager = AManager;
  Detached = false;
  if (ASkinData) {
    SkinData = ASkinData;
  } else {
    OwnsSkinData = true;
    InitSkinData();
    if (!Params.SkinSection.empty()) SkinData->SetSkinSection(Params.SkinSection);
    SkinData->OwnerControl = Params.Control;
    if (Params.Control && IsPublishedProp(Params.Control, "PanelBorder")) SkinData->SetSkinSection("TRANSPARENT");
    SkinData->OwnerObject = Params.Control;
    SkinData->SetCustomFont(!Params.SkinFontColor);
    SkinData->SetCustomColor(!Params.SkinBackColor);
    if (auto* sd = dynamic_cast<TsScrollWndData*>(SkinData)) {
      if (Params.HorzButtonSize >= 0) sd->HorzScrollData()->SetButtonsSize(Params.HorzButtonSize);
      if (Params.VertButtonSize >= 0) sd->VertScrollData()->SetButtonsSize(Params.VertButtonSize);
      if (Params.HorzBarWidth >= 0) sd->HorzScrollData()->SetScrollWidth(Params.HorzBarWidth);
      if (Params.VertBarWidth >= 0) sd->VertScrollData()->SetScrollWidth(Params.VertBarWidth);
    }
  }
  SkinData->SetCustomFont(ac_KeepOwnFont || SkinData->CustomFont());
  if (OwnsSkinData) SkinData->KindCode = 231;
  if (SkinData->SkinSection().empty()) SkinData->SetSkinSection(Params.SkinSection.empty() ? "EDIT" : Params.SkinSection);
  SaveStdParams();
  SkinParamsApplied = false;
  DialogMode = acDlgMode;
  InstallScrollSubclass(this, Wnd, Repaint);
  if (TControl* c = OwnerControl()) {
    SavedControlStyle = c->ControlStyle();
    IsSingleLine = c->Is<TCustomEdit>() && !(GetWindowLongPtrW(Wnd, GWL_STYLE) & ES_MULTILINE);
    c->SetControlStyle(c->ControlStyle() + TControlStyle{csOpaque});
  } else {
    IsSingleLine = false;
  }
  AdapterRefreshPending = false;
  AfterCreation();
}

TRect TacEditWnd::ClientRect() {
  if (ClientRectCache.Top == -1) ClientRectCache = acClientRect(WndHandle);
  return ClientRectCache;
}

void TacEditWnd::SaveStdParams() {
  TControl* c = OwnerControl();
  if (!c) return;
  SavedColor = c->Color();
  SavedFontColor = c->Font()->Color();
  if (IsPublishedProp(c, "FocusColor")) SavedFocusColor = static_cast<TColor>(GetOrdProp(c, "FocusColor"));
}

void TacEditWnd::RestoreStdParams() {
  if (IsWindowVisible(WndHandle)) FrameChanged(WndHandle);
  TControl* c = OwnerControl();
  if (!c || IsDestroying(c)) return;
  c->SetColor(SavedColor);
  c->Font()->SetColor(SavedFontColor);
  if (IsPublishedProp(c, "FocusColor")) SetOrdProp(c, "FocusColor", SavedFocusColor);
}

void TacEditWnd::SetSkinParams() {
  if (HideScrollStyles) return;
  SkinData->Updating = true;
  HideScrollStyles = true;
  SkinParamsApplied = true;
  TsSkinManager* m = SkinData->GetSkinManager();
  const TsGeneralData* s = SectionOf(SkinData);
  if (m && s) {
    if (TControl* c = OwnerControl()) {
      const Integer state = ControlIsActive(SkinData) && s->StateCount > 1 ? 1 : 0;
      if (!SkinData->CustomColor()) {
        const TColor color = GetBGColor(SkinData, state);
        if (IsPublishedProp(c, "FocusColor")) {
          if (c->Color() != color) c->SetColor(color);
          SetOrdProp(c, "FocusColor", color);
        } else if (c->Color() != color) {
          c->SetColor(color);
        }
        EditColor = color;
      }
      if (!SkinData->CustomFont()) {
        const TColor fc = s->Props[state].FontColor.Color;
        if (c->Font()->Color() != fc) c->Font()->SetColor(fc);
        if (Detached) return;
      }
    } else if (!SkinData->CustomColor()) {
      EditColor = DialogMode ? clWindow : s->Props[0].Color;
    }
    if (!OwnerControl()) EditFrameColor = m->Palette[pcBorder];
    SkinData->BGChanged = true;
    SkinData->Updating = false;
  } else {
    EditFrameColor = 0;
  }
  HideScrollStyles = false;
  SkinData->Updating = false;
}

void TacEditWnd::PaintNC() {
  const HDC dc = GetWindowDC(WndHandle);
  if (IsPrintDC(SkinData, dc) || !ClipEmpty(dc)) {
    if (SkinData->BGChanged) {
      if (!SkinParamsApplied) SetSkinParams();
      PrepareCache(SkinData, WndHandle, DialogMode);
    }
    const int saved = SaveDC(dc);
    ac_NCDraw(this, WndHandle, -1, dc);
    if (SkinData->CacheBmp)
      BitBltBorder(dc, 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBmp->Canvas()->Handle(), 0, 0,
                   ClientRect().Top);
    RestoreDC(dc, saved);
  }
  ReleaseDC(WndHandle, dc);
}

void TacEditWnd::PrintEdit(TMessage& Message) {
  Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
  if (Message.Result == 2) return;
  const HDC dc = reinterpret_cast<HDC>(Message.WParam);
  InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
  SkinData->Updating = false;
  SkinData->BGChanged = true;
  if (!SkinParamsApplied) SetSkinParams();
  PrepareCache(SkinData, WndHandle, DialogMode);
  if (!DialogMode) RestoreCornerBackground(SkinData, this);
  TacBitmap* cache = SkinData->CacheBmp.get();
  const Integer cw = cache ? cache->Width() : WindowSize.cx, ch = cache ? cache->Height() : WindowSize.cy;
  int saved = SaveDC(dc);
  if (Message.LParam & PRF_CLIENT) {
    POINT p;
    OffsetWindowOrgEx(dc, -EdgeLeft, -EdgeLeft, &p);
    IntersectClipRect(dc, 0, 0, cw - EdgeLeft, ch - EdgeLeft);
  } else if (cache) {
    BitBltBorder(dc, 0, 0, cw, ch, cache->Canvas()->Handle(), 0, 0, ClientRect().Top);
    ac_NCDraw(this, WndHandle, -1, dc);
  }
  RestoreDC(dc, saved);
  saved = SaveDC(dc);
  POINT p;
  OffsetWindowOrgEx(dc, -EdgeLeft, -EdgeLeft, &p);
  if (HorzBar && VertBar && HorzBar->Shown && VertBar->Shown)
    IntersectClipRect(dc, 0, 0, cw - 2 * EdgeLeft - GetScrollMetric(VertBar, 1),
                      ch - 2 * EdgeLeft - GetScrollMetric(HorzBar, 1));
  if (cache) {
    BitBlt(dc, 0, 0, cw, ch, cache->Canvas()->Handle(), EdgeLeft, EdgeLeft, SRCCOPY);
  } else {
    FillDC(dc, TRect{0, 0, WindowSize.cx, WindowSize.cy}, EditColor);
  }
  auto* list = dynamic_cast<TCustomListBox*>(OwnerControl());
  if (!list || list->Items()->Count() > 0) SendMessageW(WndHandle, WM_PAINT, Message.WParam, 0);
  SendMessageW(WndHandle, WM_PRINTCLIENT, Message.WParam, PRF_CLIENT | PRF_OWNED);
  RestoreDC(dc, saved);
}

bool TacEditWnd::HandleEditCmd(TMessage& Message) {
  switch (AlphaCmdOf(Message.WParam)) {
    case ACMD_SKIN_REPAINT:
      if (Message.LParam == reinterpret_cast<LPARAM>(Manager)) {
        TacBaseWnd::acWndProc(Message);
        if (!Detached) SetSkinParams();
      }
      return false;
    case ACMD_PARENT_UPDATED:
      if (SkinData->Updating && !InUpdating(SkinData, true))
        RedrawWindow(WndHandle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      return false;
    case ACMD_QUERY_HOOKED:
      Message.Result = 1;
      return true;
    case ACMD_BUILD_CACHE:
      InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
      PrepareCache(SkinData, WndHandle, DialogMode);
      RestoreCornerBackground(SkinData, this);
      return true;
    case ACMD_QUERY_SKIN_INDEX:
      if (Message.LParam) *reinterpret_cast<Integer*>(Message.LParam) = SkinData->SkinIndex;
      return true;
    case ACMD_QUERY_BG_INFO: {
      Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      auto* info = reinterpret_cast<PacBGInfo>(Message.LParam);
      if (info && info->BgType == btUnknown) {
        if (SkinData->CustomColor()) {
          info->BgType = btFill;
          info->Color = OwnerControl() ? OwnerControl()->Color() : EditColor;
        } else {
          InitBGInfo(SkinData, info, 0, WndHandle);
        }
      }
      return true;
    }
    case ACMD_SCROLL_BEFORE:
      if (GetWindowLongPtrW(WndHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) {
        SendMessageW(WndHandle, WM_SETREDRAW, 0, 0);
      } else {
        TacBaseWnd::acWndProc(Message);
      }
      return true;
    case ACMD_SCROLL_AFTER:
      if (GetWindowLongPtrW(WndHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) {
        SendMessageW(WndHandle, WM_SETREDRAW, 1, 0);
        RedrawWindow(WndHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
      } else {
        TacBaseWnd::acWndProc(Message);
      }
      return true;
    case ACMD_QUERY_APPLICATION:
      Message.Result = reinterpret_cast<LRESULT>(Application);
      return true;
    case ACMD_SKIN_LOADED:
    case ACMD_SKIN_UNLOADED:
      // A skinned control whose state this is answers these itself (it may
      // free this object or make its window again): they go on to it.
      if (!OwnsSkinData) return false;
      return CommonMessage(Message, SkinData);
    default:
      return CommonMessage(Message, SkinData);
  }
}

void TacEditWnd::acWndProc(TMessage& Message) {
  if (Message.Msg == SM_ALPHACMD && AlphaCmdOf(Message.WParam) == ACMD_QUERY_HOOKED) {
    Message.Result = 1;
    return;
  }
  if (!SkinData || Detached || !SkinData->Skinned()) {
    TacBaseWnd::acWndProc(Message);
    return;
  }
  const bool visible = IsWindowVisible(WndHandle);
  const HDC given = reinterpret_cast<HDC>(Message.WParam);
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      auto* w = dynamic_cast<TWinControl*>(OwnerControl());
      if (CanBeHot(SkinData, false) && w && w->CanFocus() && w->TabStop()) {
        SkinData->BGChanged = true;
        SkinData->Focused = Message.Msg == WM_SETFOCUS;
        TacBaseWnd::acWndProc(Message);
        if (Detached) return;
        SetSkinParams();
        RedrawWindow(WndHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
      } else {
        TacBaseWnd::acWndProc(Message);
      }
      return;
    }
    case WM_SETREDRAW:
      if (Message.WParam == 1 && AdapterRefreshPending) {
        if (auto* w = dynamic_cast<TWinControl*>(OwnerControl())) AddToAdapter(w);
        AdapterRefreshPending = false;
      }
      break;
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
      SkinData->BGChanged = true;
      if (!SkinData->Updating) RedrawWindow(WndHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
      break;
    case WM_PAINT: {
      if (!visible || HideScrollStyles) break;
      if (given && !IsPrintDC(SkinData, given) && ClipEmpty(given)) return;
      if (IsSingleLine && !IsWindowEnabled(WndHandle) && SkinData->CacheBmp) {
        PAINTSTRUCT ps;
        BeginPaint(WndHandle, &ps);
        const HDC dc = GetWindowDC(WndHandle);
        BitBlt(dc, 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
        ReleaseDC(WndHandle, dc);
        EndPaint(WndHandle, &ps);
        return;
      }
      if (SkinData->Updating || (InAnimationProcess && !IsPrintDC(SkinData, given))) {
        PAINTSTRUCT ps;
        BeginPaint(WndHandle, &ps);
        EndPaint(WndHandle, &ps);
        return;
      }
      ac_NCDraw(this, WndHandle, -1, given);
      if (!SkinParamsApplied) SetSkinParams();
      break;
    }
    case WM_ERASEBKGND:
      if (!visible || HideScrollStyles) break;
      if (IsPrintDC(SkinData, given) || (given && !ClipEmpty(given))) {
        if (SkinData->Updating) return;
        if (!SkinParamsApplied) SetSkinParams();
        if ((IsSingleLine && !IsWindowEnabled(WndHandle)) || (InAnimationProcess && !IsPrintDC(SkinData, given))) {
          Message.Result = 1;
          return;
        }
        break;
      }
      Message.Result = 1;
      return;
    case WM_NCPAINT:
      if (!visible || HideScrollStyles) break;
      if (InAnimationProcess) return;
      InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
      if (SkinData->Updating) return;
      PaintNC();
      return;
    case WM_PRINT:
      PrintEdit(Message);
      if (SkinData->KindCode == 10) break;
      return;
    case SM_ALPHACMD:
      if (HandleEditCmd(Message)) return;
      break;
    default:
      break;
  }
  const UINT msg = Message.Msg;
  TacBaseWnd::acWndProc(Message);
  if (Detached) return;
  switch (msg) {
    case WM_SIZE:
      if (IsWindowVisible(WndHandle)) SendMessageW(WndHandle, WM_NCPAINT, 0, 0);
      break;
    case WM_SETFONT:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case CN_KEYDOWN:
    case CN_KEYUP:
      if (!ScrollNotifying) UpdateScrolls(this, true);
      break;
    case EM_REPLACESEL:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_SETCURSEL:
    case LB_SETTOPINDEX:
      UpdateScrolls(this, true);
      break;
    case LB_GETTOPINDEX:
      if (auto* list = dynamic_cast<TCustomListBox*>(OwnerControl()))
        if (list->Items()->Count() == 0 && Message.Result == 0) Message.Result = -1;
      break;
    case WM_MOUSEMOVE:
      if (DefaultManager && !IsDesigning(DefaultManager) && IsWindowEnabled(WndHandle) &&
          DefaultManager->ActiveControl() != WndHandle)
        DefaultManager->SetActiveControl(WndHandle);
      if (!SkinData->Updating && GetCapture()) UpdateScrolls(this, true);
      break;
    case WM_PARENTNOTIFY:
      if (LOWORD(Message.WParam) == WM_CREATE && Manager && Manager->SkinningRules().Contains(srThirdParty))
        AdapterRefreshPending = true;
      break;
    case CM_CONTROLLISTCHANGE:
      AdapterRefreshPending = true;
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      CommonWndProc(Message, SkinData);
      break;
    default:
      break;
  }
}

// ------------------------------------------------------------ TacScrollBoxWnd

void TacScrollBoxWnd::AfterCreation() {
  if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection("PANEL_LOW");
  TacScrollWnd::AfterCreation();
}

void TacScrollBoxWnd::PrepareBoxCache() {
  InitCacheBmp(SkinData);
  const TCacheInfo ci = GetParentCache(SkinData);
  TControl* c = OwnerControl();
  const Integer w = c ? c->Width() : WindowSize.cx, h = c ? c->Height() : WindowSize.cy;
  if (SkinData->CacheBmp->Width() != w || SkinData->CacheBmp->Height() != h) SkinData->CacheBmp->SetSize(w, h);
  const TPoint pos = c ? TPoint{c->Left(), c->Top()} : PosInParent;
  PaintItem(SkinData, ci, true, 0, TRect{0, 0, w, h}, pos, SkinData->CacheBmp.get(), true);
  SkinData->BGChanged = false;
}

void TacScrollBoxWnd::AC_WMPaint(HDC DC) {
  auto* w = dynamic_cast<TWinControl*>(OwnerControl());
  if (IsDestroying(w) || SkinData->Updating) return;
  if (w && w->Parent() && w->Parent()->ControlState().Contains(csCreating)) return;
  InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
  const bool own = !DC;
  if (own) DC = GetWindowDC(WndHandle);
  const int saved = SaveDC(DC);
  bool rebuild = SkinData->BGChanged;
  if (SkinData->RepaintIfMoved()) {
    RECT clip{};
    GetClipBox(DC, &clip);
    if (clip.right - clip.left != WindowSize.cx || clip.bottom - clip.top != WindowSize.cy) rebuild = true;
  }
  if (rebuild) PrepareBoxCache();
  const TRect src{2, 2, WindowSize.cx - 2, WindowSize.cy - 2};
  const TRect dst{0, 0, WindowSize.cx - 4, WindowSize.cy - 4};
  if (w) {
    CopyWinControlCache(w, SkinData, src, dst, DC, false);
    PaintControls(DC, w, rebuild && SkinData->RepaintIfMoved(), TPoint{0, 0});
    SetParentUpdated(w);
  } else {
    CopyHwndCache(WndHandle, SkinData, src, dst, DC, false);
  }
  RestoreDC(DC, saved);
  if (own) ReleaseDC(WndHandle, DC);
}

void TacScrollBoxWnd::AC_WMNCPaint(HDC DC) {
  InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
  const bool own = !DC;
  if (own) DC = GetWindowDC(WndHandle);
  PrepareBoxCache();
  ac_NCDraw(this, WndHandle, -1, DC);
  RECT cr{};
  GetClientRect(WndHandle, &cr);
  const Integer b = (WindowSize.cx - cr.right) / 2;
  if (b > 0) BitBltBorder(DC, 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBmp->Canvas()->Handle(), 0, 0, b);
  if (own) ReleaseDC(WndHandle, DC);
}

void TacScrollBoxWnd::acWndProc(TMessage& Message) {
  if (!SkinData || Detached) {
    TacScrollWnd::acWndProc(Message);
    return;
  }
  TControl* c = OwnerControl();
  if (Message.Msg == SM_ALPHACMD) {
    switch (AlphaCmdOf(Message.WParam)) {
      case ACMD_SKIN_LOADED:
      case ACMD_SKIN_REPAINT:
        TacScrollWnd::acWndProc(Message);
        CommonMessage(Message, SkinData);
        AlphaBroadCastCheck(c, WndHandle, Message);
        if (AlphaCmdOf(Message.WParam) == ACMD_SKIN_REPAINT) FrameChanged(WndHandle);
        return;
      case ACMD_SKIN_UNLOADED:
        SkinData->SkinIndex = -1;
        if (c) c->SetControlStyle(c->ControlStyle() - TControlStyle{csOpaque});
        CommonMessage(Message, SkinData);
        FrameChanged(WndHandle);
        return;
      case ACMD_QUERY_HOOKED:
        Message.Result = 1;
        return;
      case ACMD_BUILD_CACHE:
        return;
      case ACMD_QUERY_APPLICATION:
        Message.Result = reinterpret_cast<LRESULT>(Application);
        return;
      default:
        TacScrollWnd::acWndProc(Message);
        return;
    }
  }
  if (c && c->ControlStyle().Contains(csAcceptsControls) && SkinData->Skinned()) {
    switch (Message.Msg) {
      case WM_SETTEXT:
        if (!IsWindowVisible(WndHandle)) break;
        SendMessageW(WndHandle, WM_SETREDRAW, 0, 0);
        TacScrollWnd::acWndProc(Message);
        SendMessageW(WndHandle, WM_SETREDRAW, 1, 0);
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
      case WM_WINDOWPOSCHANGED:
        if (const TsGeneralData* s = SectionOf(SkinData); s && s->Props[0].Transparency != 0)
          SkinData->BGChanged = true;
        break;
      case WM_SIZE:
      case CM_TEXTCHANGED:
        SkinData->BGChanged = true;
        break;
      case WM_NCPAINT:
        if (!IsWindowVisible(WndHandle) || HideScrollStyles) break;
        UpdateScrolls(this, false);
        if (InAnimationProcess) return;
        InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
        if (SkinData->Updating) return;
        {
          const HDC dc = GetWindowDC(WndHandle);
          if (!ClipEmpty(dc) || IsPrintDC(SkinData, dc)) {
            if (!SkinParamsApplied) SetSkinParams();
            if (SkinData->BGChanged) PrepareBoxCache();
            ac_NCDraw(this, WndHandle, -1, dc);
            BitBltBorder(dc, 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBmp->Canvas()->Handle(), 0, 0, 2);
          }
          ReleaseDC(WndHandle, dc);
        }
        return;
      case WM_UPDATEUISTATE:
        Message.Result = 1;
        return;
      case WM_PARENTNOTIFY:
        if (LOWORD(Message.WParam) == WM_CREATE || LOWORD(Message.WParam) == WM_DESTROY) {
          TacScrollWnd::acWndProc(Message);
          if (LOWORD(Message.WParam) == WM_CREATE)
            if (auto* w = dynamic_cast<TWinControl*>(c)) AddToAdapter(w);
          return;
        }
        break;
      case WM_PRINT:
        AC_WMPaint(reinterpret_cast<HDC>(Message.WParam));
        AC_WMNCPaint(reinterpret_cast<HDC>(Message.WParam));
        return;
      case CM_SHOWINGCHANGED:
        if (c->Visible()) {
          if (auto* w = dynamic_cast<TWinControl*>(c)) AddToAdapter(w);
          TMessage loaded = MakeMessage(SM_ALPHACMD, AlphaCmdParam(ACMD_SKIN_LOADED), reinterpret_cast<LPARAM>(Manager), 0);
          AlphaBroadCastCheck(c, WndHandle, loaded);
          TMessage repaint = MakeMessage(SM_ALPHACMD, AlphaCmdParam(ACMD_SKIN_REPAINT), reinterpret_cast<LPARAM>(Manager), 0);
          AlphaBroadCastCheck(c, WndHandle, repaint);
        }
        break;
      default:
        break;
    }
  }
  const UINT msg = Message.Msg;
  TacScrollWnd::acWndProc(Message);
  if (msg == WM_WINDOWPOSCHANGING && !Detached) SendMessageW(WndHandle, WM_NCPAINT, 0, 0);
}

// ------------------------------------------------------------ TacNativePaint

void TacNativePaint::AfterCreation() {
  if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection("TRANSPARENT");
  TacScrollBoxWnd::AfterCreation();
}

void TacNativePaint::acWndProc(TMessage& Message) {
  if (!SkinData || Detached) {
    TacScrollBoxWnd::acWndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      return;
    case SM_ALPHACMD:
      if (AlphaCmdOf(Message.WParam) == ACMD_BUILD_CACHE) {
        Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
        if (SkinData->BGChanged) {
          InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
          PrepareBoxCache();
          RestoreCornerBackground(SkinData, this);
        }
        return;
      }
      break;
    default:
      break;
  }
  TacScrollBoxWnd::acWndProc(Message);
}
