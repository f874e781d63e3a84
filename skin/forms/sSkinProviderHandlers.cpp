// The handlers of activation, size, text, icon, style, settings and menu
// messages of a skinned form.
#include <algorithm>

#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sSystemMenu.h"
#include "skin/forms/sSkinProviderNames.h"

namespace {
void RedrawFrameNow(HWND Wnd) { RedrawWindow(Wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW); }
}  // namespace

// The system paints its own caption straight onto the window while it
// handles some messages (the text, the activation): the old procedure runs
// with drawing locked, then the frame is repainted from the cache.
void TsSkinProvider::CallOldUnpainted(TMessage& Message) {
  HWND wnd = Form->WindowHandle();
  SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
  try {
    CallOld(Message);
  } catch (...) {
    SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
    throw;
  }
  SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  RedrawFrameNow(wnd);
}

void TsSkinProvider::AC_WMCreate(TMessage& Message) {
  if (Form->FormStyle() == fsMDIChild) bMDIChildCreatedMaximized = false;
  CallOld(Message);
  if (Form->FormStyle() != fsMDIChild) PrepareForm();
}

void TsSkinProvider::AC_WMNCCreate(TMessage& Message) {
  CallOld(Message);
  if (Form->FormStyle() != fsMDIChild) PrepareForm();
}

void TsSkinProvider::AC_WMMove(TMessage& Message) {
  KillAnimations();
  CallOld(Message);
}

void TsSkinProvider::AC_WMSetRedraw(TMessage& Message) {
  if (Message.WParam == 1)
    RedrawLockCount = std::max(RedrawLockCount - 1, 0);
  else
    ++RedrawLockCount;
  CallOld(Message);
}

void TsSkinProvider::AC_WMSettingChange(TMessage& Message) {
  FSkinData->BGChanged = true;
  CallOld(Message);
}

void TsSkinProvider::AC_WMActivateApp(TMessage& Message) { CallOld(Message); }

void TsSkinProvider::AC_WMStyleChanged(TMessage& Message) {
  CallOld(Message);
  if (Message.WParam == static_cast<WPARAM>(GWL_STYLE)) {
    // Border icons that changed give other buttons.
    FSkinData->BGChanged = true;
    UpdateIconsIndexes();
  }
}

void TsSkinProvider::AC_WMContextMenu(TMessage& Message) { CallOld(Message); }

void TsSkinProvider::AC_WMEnterMenuLoop(TMessage& Message) { CallOld(Message); }

void TsSkinProvider::AC_WMExitMenuLoop(TMessage& Message) {
  InMenuLoop = false;
  CallOld(Message);
}

void TsSkinProvider::AC_WMSizing(TMessage& Message) { CallOld(Message); }

void TsSkinProvider::AC_CMMenuChanged(TMessage& Message) {
  if (!Form->ControlState().Contains(csCreating) && Form->Visible() && !SkinChanging) {
    if (FSkinData->GetUpdating()) {
      FSkinData->StateFlags |= 0x400;  // handled at the end of the update
      // Inside an update bracket the end of the update sends the change
      // again: the menu bar is then laid out once, not twice.
      if (FSkinData->StateFlags & 0x800) return;
    } else {
      MenuLinesCount = -1;
      MenuLineChanged = true;
      FSkinData->BGChanged = true;
    }
  }
  CallOld(Message);
}

void TsSkinProvider::AC_CMEnabledChanged(TMessage& Message) {
  CallOld(Message);
  if (!FDrawNonClientArea || !Form->HandleAllocated()) return;
  FSkinData->BGChanged = true;
  SendMessageW(Form->WindowHandle(), WM_NCPAINT, 0, 0);
}

void TsSkinProvider::AC_WMActivate(TMessage& Message) {
  CallOld(Message);
  if (!Form->Showing()) return;
  if (!ScrollWnd) UpdateFormScrolls(false);
  if (Form->ControlState().Contains(csCreating)) return;
  MenuLinesCount = -1;
  if (LOWORD(Message.WParam) != WA_ACTIVE) return;
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (m && !m->ComponentState().Contains(csDesigning)) InitMenuItems(Skinned());
  if (SystemMenu) SystemMenu->UpdateItems(false);
  if (Form->BorderStyle() == bsNone) SetParentUpdated(Form);
}

void TsSkinProvider::AC_WMNCActivate(TMessage& Message) {
  if (FormState & acfs::Restoring) {
    Message.Result = 0;
    return;
  }
  if (IsDestroying(this) || !FDrawNonClientArea || !Form->HandleAllocated()) {
    CallOld(Message);
    return;
  }
  if (!FPrepared) PrepareForm();
  if (!(FormState & acfs::BlendOnMoving)) FormActive = Message.WParam != 0;
  TsSkinManager* m = FSkinData->GetSkinManager();
  const Integer mask = FSkinData->BorderIndex;
  const bool looksDifferent = !m->IsValidSkinIndex(FSkinData->SkinIndex) || !IsBorderUnchanged(mask, m) ||
                              m->Sections[static_cast<size_t>(FSkinData->SkinIndex)].StateCount > 1 ||
                              m->IsValidSkinIndex(TitleSkinIndex());
  if (looksDifferent) FSkinData->BGChanged = true;
  FSkinData->Updating = false;
  FormState |= acfs::NCActivating;
  HWND wnd = Form->WindowHandle();
  if (Form->Showing() && IsWindowVisible(wnd) && !PaintingSuspended)
    CallOldUnpainted(Message);
  else
    CallOld(Message);
  FormState &= ~acfs::NCActivating;
  if (Form->ControlState().Contains(csCreating)) return;
  MenuLinesCount = -1;
  TryInitMenu();
  // The adapter may have been made before the controls had windows (a form
  // streamed with its provider): each activation takes the ones it lacks.
  if (Skinned() && (Message.WParam || !Adapter)) AdapterCreate();
}

void TsSkinProvider::AC_WMSetText(TMessage& Message) {
  HWND wnd = Form->HandleAllocated() ? Form->WindowHandle() : nullptr;
  if (!wnd || !IsWindowVisible(wnd) || Form->ControlState().Contains(csCreating) || !FDrawNonClientArea) {
    CallOld(Message);
    return;
  }
  GlowActive.reset();
  GlowInactive.reset();
  FSkinData->BGChanged = true;
  CallOldUnpainted(Message);
}

void TsSkinProvider::AC_WMSetIcon(TMessage& Message) {
  if (ComponentState().Contains(csLoading) || Message.LParam == 0 || InAnimationProcess || !Form->Showing()) {
    CallOld(Message);
    return;
  }
  FSkinData->BGChanged = true;
  CallOldUnpainted(Message);
}

void TsSkinProvider::AC_WMSize(TMessage& Message) {
  HWND wnd = Form->WindowHandle();
  if (FSkinData->Updating || !IsWindowVisible(wnd)) {
    RgnChanged = true;
    FSkinData->BGChanged = true;
    CallOld(Message);
    return;
  }
  GlowActive.reset();
  GlowInactive.reset();
  MenuLinesCount = -1;
  if (Form->Parent() || !DrawClientArea) {
    CallOld(Message);
  } else {
    FSkinData->Updating = true;
    try {
      CallOld(Message);
    } catch (...) {
      FSkinData->Updating = false;
      throw;
    }
    FSkinData->Updating = false;
  }
  if (!InAnimationProcess) {
    if (!Form->Showing()) {
      FSkinData->BGChanged = true;
    } else if (FormChanged() || FSkinData->BGChanged) {
      RgnChanged = true;
      FSkinData->BGChanged = true;
      if (FDrawNonClientArea) {
        ProcessMessage(WM_NCPAINT);
        const Integer flags = FSkinData->BGDependency;
        const TRect client{0, 0, GetClientWidth(wnd), GetClientHeight(wnd)};
        if (((flags & 2) && client.Height() != LastClientRect.Height()) ||
            ((flags & 1) && client.Width() != LastClientRect.Width())) {
          TMessage repaint{SM_ALPHACMD, AlphaCmdParam(ACMD_REPAINT_IF_MOVED, 1), 0, 0};
          AlphaBroadCast(Form, repaint);
        }
        RedrawWindow(wnd, nullptr, nullptr, RDW_NOFRAME | RDW_UPDATENOW | RDW_NOERASE | RDW_INVALIDATE);
        SetParentUpdated(Form);
      } else {
        InvalidateRect(wnd, nullptr, FALSE);
      }
    }
  }
  LastClientRect = TRect{0, 0, GetClientWidth(wnd), GetClientHeight(wnd)};
}
