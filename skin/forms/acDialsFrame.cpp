// The dialog frame's set-up, window region and message handling.
#include "skin/forms/acDialsFrame.h"

#include <windowsx.h>

#include "skin/core/Smessages.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/acSystemMenu.h"
#include "skin/forms/sSkinProviderNames.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

// Set by UpdateRgn, cleared at the end of the next non-client paint: the
// region it set is not rebuilt in between.
bool RegionPending = false;

constexpr UINT kRegionQuery = 0xBC4D;
constexpr WPARAM kOwnRegion = 0x41A2;

bool Visible(HWND Wnd) { return IsWindowVisible(Wnd) != FALSE; }

// Counts the frame's nested messages, so that the hook frees it only when
// none is being handled.
class TInProc {
 public:
  explicit TInProc(Integer& Depth) : FDepth(Depth) { ++FDepth; }
  ~TInProc() { --FDepth; }

 private:
  Integer& FDepth;
};

}  // namespace

// The hook's view of a frame (acDials.cpp holds no frame header).
bool acFrameReleasable(TacDialogWnd* Frame) { return Frame->Releasable(); }
bool acFrameVisible(TacDialogWnd* Frame) { return Frame->WndHandle && Visible(Frame->WndHandle); }

TacDialogWnd::~TacDialogWnd() {
  if (SystemMenu) SystemMenu->Free();
  SystemMenu = nullptr;
  if (FBrush) DeleteObject(FBrush);
  FBrush = nullptr;
}

void TacDialogWnd::AfterCreation() {
  inherited::AfterCreation();
  ChildrenTaken = false;
  RgnChanged = true;
  BorderStyle = acbsSingle;
  FormActive = true;
  PaintBlocked = acWinVer >= 6;
  CaptionIndex = -1;
  TitleIndex = -1;
  SystemMenu = ::Create<TacSystemMenu>(nullptr);
  SystemMenu->Frame = this;
  SystemMenu->UpdateItems();
  if (SkinData) SkinData->Updating = true;
  const ULONG_PTR classStyle = GetClassLongPtrW(WndHandle, GCL_STYLE);
  if (classStyle & CS_SAVEBITS) SetClassLongPtrW(WndHandle, GCL_STYLE, classStyle & ~ULONG_PTR(CS_SAVEBITS));
  if (DefaultManager && DefaultManager->SkinnedPopups() && DefaultManager->Menus())
    DefaultManager->Menus()->HookPopupMenu(SystemMenu, true);
  UpdateIconsIndexes();
}

void TacDialogWnd::InitParams() {
  SavedStyle = static_cast<DWORD>(GetWindowLongPtrW(WndHandle, GWL_STYLE));
  SavedExStyle = static_cast<DWORD>(GetWindowLongPtrW(WndHandle, GWL_EXSTYLE));
  if ((SavedStyle & WS_POPUP) && (SavedStyle & WS_CAPTION) != WS_CAPTION)
    BorderStyle = acbsNone;
  else if (SavedStyle & WS_THICKFRAME)
    BorderStyle = acbsSizeable;
  else if (SavedStyle & DS_MODALFRAME)
    BorderStyle = acbsDialog;
  else
    BorderStyle = acbsSizeable;
  TitleIcon = reinterpret_cast<HICON>(SendMessageW(WndHandle, WM_GETICON, ICON_SMALL, 0));
  if (!TitleIcon) TitleIcon = reinterpret_cast<HICON>(SendMessageW(WndHandle, WM_GETICON, ICON_BIG, 0));
  UpdateIconsIndexes();
  // The system draws no caption buttons or system menu of its own any more;
  // the saved style keeps the bit for the frame's own decisions.
  SetWindowLongPtrW(WndHandle, GWL_STYLE, static_cast<LONG_PTR>(SavedStyle & ~DWORD(WS_SYSMENU)));
}

bool TacDialogWnd::Releasable() const { return FInProc == 0 && !IsWindow(WndHandle); }

HBRUSH TacDialogWnd::DialogBrush() {
  if (!FBrush && DefaultManager) FBrush = CreateSolidBrush(ColorToRGB(DefaultManager->GetGlobalColor()));
  return FBrush;
}

void TacDialogWnd::TakeChildren() {
  if (!ChildrenTaken) {
    ChildrenTaken = true;
    if (Provider) Provider->InitHwndControls(WndHandle);
  }
}

// ------------------------------------------------------------ region

void TacDialogWnd::UpdateRgn(bool Repaint) {
  if (!IsIconic(WndHandle) && BorderStyle == acbsNone) return;
  if (SendMessageW(WndHandle, kRegionQuery, kOwnRegion, 0) == static_cast<LRESULT>(kOwnRegion)) return;
  RegionPending = true;
  RECT wr{};
  GetWindowRect(WndHandle, &wr);
  HRGN region = CreateRectRgn(0, 0, wr.right - wr.left, wr.bottom - wr.top);
  for (const TRect& r : RegionRects) {
    HRGN part = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
    CombineRgn(region, region, part, RGN_DIFF);
    DeleteObject(part);
  }
  if (!SetWindowRgn(WndHandle, region, Repaint)) DeleteObject(region);
}

void TacDialogWnd::Ac_WMNCPaint() {
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!RegionPending && RgnChanged && m && (BorderStyle != acbsNone || (SavedStyle & WS_THICKFRAME))) {
    RegionRects.clear();
    RECT wr{};
    GetWindowRect(WndHandle, &wr);
    const Integer w = wr.right - wr.left, h = wr.bottom - wr.top;
    if (m->IsValidImgIndex(SkinData->BorderIndex)) {
      const TsMaskData& md = m->Masks[static_cast<size_t>(SkinData->BorderIndex)];
      AddRgn(RegionRects, w, md, 0, false);
      AddRgn(RegionRects, w, md, h - md.MarginBottom, true);
    }
    if (m->IsValidSkinIndex(TitleIndex)) {
      const Integer mask = m->GetMaskIndex(TitleIndex, TitleSection, acsp::BordersMask);
      if (m->IsValidImgIndex(mask)) AddRgn(RegionRects, w, m->Masks[static_cast<size_t>(mask)], 0, false);
    }
    RgnChanged = false;
    UpdateRgn(false);
  }
  HDC dc = GetWindowDC(WndHandle);
  const int saved = SaveDC(dc);
  PaintCaption(dc);
  RestoreDC(dc, saved);
  ReleaseDC(WndHandle, dc);
  SkinData->Updating = false;
  RegionPending = false;
}

// ------------------------------------------------------------ messages

void TacDialogWnd::HandleSize(TMessage& Message) {
  SkinData->BGChanged = true;
  RgnChanged = true;
  SkinData->Updating = true;
  Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
  SkinData->Updating = false;
  RedrawWindow(WndHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
}

// The skin commands the frame answers itself; False: the base handles it.
bool TacDialogWnd::HandleAlphaCmd(TMessage& Message) {
  TsSkinManager* m = SkinData->GetSkinManager();
  switch (AlphaCmdOf(Message.WParam)) {
    case ACMD_SKIN_LOADED:
      if (reinterpret_cast<TsSkinManager*>(Message.LParam) == Manager && m) {
        SkinData->UpdateIndexes(true);
        CaptionIndex = m->GetSkinIndex(acsp::Caption);
        UpdateIconsIndexes();
        if (FBrush) DeleteObject(FBrush);
        FBrush = nullptr;
        SkinData->BGChanged = true;
        for (HWND child = GetTopWindow(WndHandle); child; child = GetWindow(child, GW_HWNDNEXT))
          SendMessageW(child, Message.Msg, Message.WParam, Message.LParam);
      }
      return true;
    case ACMD_SKIN_REPAINT:
      SkinData->UpdateIndexes(true);
      UpdateIconsIndexes();
      if (FBrush) DeleteObject(FBrush);
      FBrush = nullptr;
      SkinData->Invalidate(false);
      return true;
    case ACMD_SET_UPDATE_FLAG:
      SkinData->Updating = AlphaCmdLow(Message.WParam) == 1;
      if (SkinData->GetUpdating()) SkinData->BGChanged = true;
      return false;
    case ACMD_QUERY_PAINT_WAIT:
      Message.Result = SkinData->Updating ? 1 : 0;
      return true;
    case ACMD_QUERY_CHILD_BG_VARIES: {
      Message.Result = 0;
      if (m && m->IsValidSkinIndex(SkinData->SkinIndex)) {
        const auto& st = m->Sections[static_cast<size_t>(SkinData->SkinIndex)].Props[0];
        Message.Result = st.GradientPercent + st.ImagePercent > 0 ? 1 : 0;
      }
      return true;
    }
    case ACMD_QUERY_COLOR:
      Message.Result = static_cast<LRESULT>(GetBGColor(SkinData, 0));
      return true;
    case ACMD_REINIT_CHILDREN:
      if (Provider) Provider->InitHwndControls(WndHandle);
      return false;
    case ACMD_QUERY_BG_INFO: {
      auto* info = reinterpret_cast<PacBGInfo>(Message.LParam);
      if (!info) return true;
      if (info->PleaseDraw) info->Offset = TPoint{info->Offset.X + OffsetX(), info->Offset.Y + OffsetY()};
      InitBGInfo(SkinData, info, 0);
      if (info->BgType == btCache && !info->PleaseDraw) {
        if (!info->Bmp) {
          PaintAll();
          info->Bmp = SkinData->CacheBmp.get();
        }
        info->Offset = TPoint{OffsetX(), OffsetY()};
      }
      return true;
    }
    case ACMD_QUERY_CLIENT_OFFSET:
      Message.Result = MAKELONG(OffsetX(), OffsetY());
      return true;
    default:
      return false;
  }
}

void TacDialogWnd::acWndProc(TMessage& Message) {
  TInProc inProc(FInProc);
  const bool visible = Visible(WndHandle);
  switch (Message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY: {
      if (Detached || InDestroy) break;
      InDestroy = true;
      Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      TacMainWnd* self = this;
      UninitializeACWnd(WndHandle, false, false, self);
      Detached = true;
      return;
    }
    case WM_SIZE:
      HandleSize(Message);
      return;
    case WM_SETFOCUS:
      Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      RedrawWindow(GetActiveWindow(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      return;
    case WM_ENABLE:
      if (!visible) break;
      Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      SkinData->BGChanged = true;
      SendMessageW(WndHandle, WM_NCPAINT, 0, 0);
      return;
    case WM_SETTEXT:
      if (!visible) break;
      Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      ReadWindowText();
      SkinData->BGChanged = true;
      SendMessageW(WndHandle, WM_NCPAINT, 0, 0);
      return;
    case WM_PAINT:
      if (PaintBlocked) {
        PAINTSTRUCT ps;
        BeginPaint(WndHandle, &ps);
        EndPaint(WndHandle, &ps);
        Message.Result = 0;
      } else {
        Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      }
      return;
    case WM_ERASEBKGND:
      InitCtrlData(WndHandle, ParentHandle, DlgWindowRect, ParentRect, DlgWindowSize, PosInParent);
      TakeChildren();
      ReadWindowText();
      Ac_WMPaint(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
      if (item && item->CtlType == ODT_STATIC) SetBkMode(item->hDC, TRANSPARENT);
      break;
    }
    case WM_NCHITTEST:
      Ac_WMNCHitTest(Message);
      return;
    case WM_NCPAINT:
      if (!visible) break;
      TakeChildren();
      InitCtrlData(WndHandle, ParentHandle, DlgWindowRect, ParentRect, DlgWindowSize, PosInParent);
      if (LastClientRect.Width() <= 0 || LastClientRect.Height() <= 0) {
        RECT cr{};
        GetClientRect(WndHandle, &cr);
        LastClientRect = TRect{0, 0, cr.right, cr.bottom};
      }
      ReadWindowText();
      Ac_WMNCPaint();
      Message.Result = 0;
      return;
    case WM_NCACTIVATE:
      if (!visible) break;
      // The system paints its own caption at once here: keep it off the screen.
      SendMessageW(WndHandle, WM_SETREDRAW, FALSE, 0);
      Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      FormActive = LOWORD(Message.WParam) != 0;
      SendMessageW(WndHandle, WM_SETREDRAW, TRUE, 0);
      SkinData->BGChanged = true;
      InvalidateRect(WndHandle, nullptr, FALSE);
      RedrawWindow(WndHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
      return;
    case WM_GETDLGCODE:
      return;
    case WM_NCLBUTTONDOWN:
      if (Message.WParam < HTLEFT || Message.WParam > HTBOTTOMRIGHT) Message.WParam = static_cast<WPARAM>(HTProcess(Message));
      Ac_WMNCLButtonDown(Message);
      return;
    case WM_NCLBUTTONUP:
      Ac_WMLButtonUp(Message, static_cast<Integer>(Message.WParam));
      return;
    case WM_LBUTTONUP:
      // After a press on a title button the release may come to the client.
      if (acDialogButtonPressed()) {
        Ac_WMLButtonUp(Message, HotHitCode);
        return;
      }
      break;
    case WM_NCLBUTTONDBLCLK:
      if (Message.WParam == HTCAPTION) {
        if (EnabledMax() || EnabledRestore()) {
          const bool restore = IsZoomed(WndHandle) || IsIconic(WndHandle);
          SendMessageW(WndHandle, WM_SYSCOMMAND, restore ? SC_RESTORE : SC_MAXIMIZE, 0);
          SystemMenu->UpdateItems();
        }
        Message.WParam = 0;
      } else if (Message.WParam == HTSYSMENU) {
        SendMessageW(WndHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return;
    case WM_NCRBUTTONDOWN:
      if (Message.WParam == HTCAPTION || Message.WParam == HTSYSMENU) return;
      break;
    case WM_NCRBUTTONUP:
      if (Message.WParam == HTCAPTION || Message.WParam == HTSYSMENU) {
        SetHotHT(0);
        DropSysMenu(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      }
      return;
    case WM_CTLCOLORDLG:
      Message.Result = reinterpret_cast<LRESULT>(DialogBrush());
      return;
    case WM_MOUSEMOVE:
      if (IsWindowEnabled(WndHandle) && DefaultManager) DefaultManager->SetActiveControl(nullptr);
      break;
    case WM_MOUSELEAVE:
      SetHotHT(0);
      break;
    case DM_SETDEFID:
      inherited::acWndProc(Message);
      if (Provider && !Detached) Provider->InitHwndControls(WndHandle);
      RedrawWindow(WndHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      return;
    case 0x052C:
    case 0x052E:
      Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      if (Provider) Provider->InitHwndControls(WndHandle);
      RedrawWindow(WndHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      return;
    case SM_ALPHACMD:
      if (HandleAlphaCmd(Message)) return;
      break;
    default:
      break;
  }
  inherited::acWndProc(Message);
  if (Message.Msg == WM_SYSCOMMAND && !Detached) {
    if (Message.WParam == 0xF012) {
      UpdateWindow(WndHandle);
    } else if (Message.WParam == SC_MAXIMIZE || Message.WParam == SC_RESTORE) {
      if (VisibleMax()) HotHitCode = HTMAXBUTTON;
      SetHotHT(0);
    }
  }
}
