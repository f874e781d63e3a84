// The header chain brings the class library before windows.h.
#include "skin/subclass/acSBUtilsMenus.h"

#include "skin/core/Smessages.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/acDials.h"
#include "skin/forms/acDwm.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

// Set while a menu window is being made transparent (changing the extended
// style sends WM_WINDOWPOSCHANGING again).
bool gMakingTransparent = false;
UINT_PTR gClearTimer = 0;

constexpr Integer kRing = 3;

bool AnyMenuWndAlive(const TacMainWnd* Except) {
  for (TacMainWnd* o : MnuArray)
    if (o && o != Except && acMenuWndAlive(o)) return true;
  return false;
}

// The array is emptied from the message loop, once the destroyed window's
// handler (whose object the array owns) has returned.
void CALLBACK ClearMenuArrayLater(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  if (Id == gClearTimer) gClearTimer = 0;
  if (!AnyMenuWndAlive(nullptr)) ClearMnuArray();
}

void ScheduleClearMnuArray() {
  if (!gClearTimer) gClearTimer = SetTimer(nullptr, 0, 0, ClearMenuArrayLater);
}

}  // namespace

bool acMenuWndAlive(TacMainWnd* Obj) { return Obj && !Obj->Detached && IsWindow(Obj->WndHandle); }

TacMnuWnd* acMakeMenuWnd(HWND Wnd, TsSkinManager* Manager) {
  TacSkinParams params;
  params.SkinSection = "MAINMENU";
  auto* obj = acCreateWnd<TacMnuWnd>(Wnd, nullptr, Manager, params, false);
  obj->WndHandle = Wnd;
  return obj;
}

void TacMnuWnd::AfterCreation() {
  Shown = 0;
  RgnSet = 0;
  inherited::AfterCreation();
}

void TacMnuWnd::PrepareCache() {
  InitCtrlData(WndHandle, ParentHandle, WindowRect, ParentRect, WindowSize, PosInParent);
  if (!SkinData || !SkinData->BGChanged) return;
  InitCacheBmp(SkinData);
  TacBitmap* cache = SkinData->CacheBmp.get();
  cache->SetSize(std::max<Integer>(WindowSize.cx, 1), std::max<Integer>(WindowSize.cy, 1));
  PaintItem(SkinData, EmptyCI, true, 0, TRect(0, 0, WindowSize.cx, WindowSize.cy),
            TPoint{WindowRect.Left - ParentRect.Left, WindowRect.Top - ParentRect.Top}, cache, false);
  RestoreCornerBackground(SkinData, this);
  SkinData->BGChanged = false;
}

void TacMnuWnd::PaintBorderRing() {
  RECT wr{};
  if (!GetWindowRect(WndHandle, &wr)) return;
  const Integer w = wr.right - wr.left, h = wr.bottom - wr.top;
  TBitmap* src = nullptr;
  if (Manager && Manager->Menus()) {
    TacMenuInfo info = Manager->Menus()->GetMenuInfo(nullptr, 0, 0, nullptr, WndHandle);
    if (info.Bmp && info.Bmp->Width() == w && info.Bmp->Height() == h) src = info.Bmp;
  }
  if (!src) {
    PrepareCache();
    src = SkinData ? SkinData->CacheBmp.get() : nullptr;
  }
  if (!src || src->Empty()) return;
  HDC dc = GetWindowDC(WndHandle);
  BitBltBorder(dc, 0, 0, w, h, src->Canvas()->Handle(), 0, 0, kRing);
  ReleaseDC(WndHandle, dc);
}

void TacMnuWnd::ApplyTransparency() {
  if (!Manager || !sgraphutils::SetLayeredWindowAttributes) return;
  const Byte alpha = Manager->MenuSupport()->AlphaBlend;
  const LONG_PTR ex = GetWindowLongPtrW(WndHandle, GWL_EXSTYLE);
  if (alpha == 255) {
    if (ex & WS_EX_LAYERED) SetWindowLongPtrW(WndHandle, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  } else {
    if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(WndHandle, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    sgraphutils::SetLayeredWindowAttributes(WndHandle, 0, alpha, LWA_ALPHA);
  }
}

void TacMnuWnd::HandleMenuDestroy(TMessage& Message) {
  if (!SavedWndProc && !SavedWindowProc) {
    HandleDestroy(Message);
    return;
  }
  Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
  TacMainWnd* self = this;
  UninitializeACWnd(WndHandle, false, false, self);
  Detached = true;
  RgnSet = 0;
  ClearCache();
  bool others = false;
  for (TacMainWnd* o : MnuArray)
    if (o && o != this && !o->Detached && IsWindow(o->WndHandle)) {
      RedrawWindow(o->WndHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
      others = true;
    }
  // The array owns this object: emptying it here would free the object
  // while its own handler still runs.
  if (!others) ScheduleClearMnuArray();
  acCanHookMenu = false;
}

void TacMnuWnd::acWndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
      HandleMenuDestroy(Message);
      return;
    case SM_ALPHACMD:
      switch (AlphaCmdOf(Message.WParam)) {
        case ACMD_QUERY_HOOKED:
          Message.Result = 1;
          return;
        case ACMD_SET_UPDATE_FLAG:
          Message.Result = RgnSet;
          return;
        case ACMD_QUERY_DROPPED_DOWN:
          if (IsWindowVisible(WndHandle)) RgnSet = 1;
          Message.Result = 0;
          return;
        case ACMD_QUERY_APPLICATION:
          Message.Result = reinterpret_cast<LRESULT>(Application);
          return;
        default:
          Message.Result = 0;
          return;
      }
    default:
      break;
  }
  if (!acCanHookMenu) {
    inherited::acWndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_ERASEBKGND: {
      PrepareCache();
      HDC dc = reinterpret_cast<HDC>(Message.WParam);
      const bool own = !dc;
      if (own) dc = GetDC(WndHandle);
      TacBitmap* cache = SkinData ? SkinData->CacheBmp.get() : nullptr;
      if (cache && !cache->Empty()) {
        const TPoint o = MenuClientOffset(WndHandle);
        BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), o.X, o.Y, SRCCOPY);
      }
      if (own) ReleaseDC(WndHandle, dc);
      RgnSet = 0;
      Message.Result = 1;
      return;
    }
    case WM_WINDOWPOSCHANGING: {
      inherited::acWndProc(Message);
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
      if (gMakingTransparent || !pos || !(pos->flags & SWP_SHOWWINDOW) || (pos->flags & SWP_NOREDRAW) ||
          IsWindowVisible(WndHandle) || !sgraphutils::SetLayeredWindowAttributes)
        return;
      TFlagScope guard(gMakingTransparent);
      SetWindowLongPtrW(WndHandle, GWL_EXSTYLE, GetWindowLongPtrW(WndHandle, GWL_EXSTYLE) | WS_EX_LAYERED);
      sgraphutils::SetLayeredWindowAttributes(WndHandle, 0, 0, LWA_ALPHA);
      return;
    }
    case WM_NCPAINT:
      if (!IsNT) {
        inherited::acWndProc(Message);
      } else {
        PaintBorderRing();
        if (AeroIsEnabled() && !Shown) RedrawWindow(WndHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ApplyTransparency();
        Message.Result = 0;
      }
      Shown = 1;
      return;
    case WM_PAINT:
      // The system paints its own frame inside the window here (Wine does,
      // over what the erase drew): the skinned ring goes on top afterwards.
      inherited::acWndProc(Message);
      PaintBorderRing();
      return;
    default:
      inherited::acWndProc(Message);
      return;
  }
}
