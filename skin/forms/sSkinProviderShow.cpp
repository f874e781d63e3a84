// The paint and print handlers and the handlers of showing, hiding,
// closing, moving and the system commands of a skinned form.
#include <algorithm>

#include "classlib/ui/PaintScope.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sSkinProviderNames.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

void Copy(HDC Dst, Integer X, Integer Y, Integer W, Integer H, TacBitmap* Src, Integer SX, Integer SY) {
  if (W <= 0 || H <= 0) return;
  BitBlt(Dst, X, Y, W, H, Src->Canvas()->Handle(), SX, SY, SRCCOPY);
}

TacFormAnimation* FormHideOf(TsSkinManager* M) { return M ? M->AnimEffects()->FormHide() : nullptr; }

// Runs the message loop while Busy holds, at most Limit ms.
template <class Pred>
void WaitBounded(Pred Busy, DWORD Limit) {
  const DWORD start = GetTickCount();
  while (Busy() && GetTickCount() - start < Limit) {
    if (Application) Application->ProcessMessages();
    Sleep(1);
  }
}

}  // namespace

// ------------------------------------------------------------ painting

void TsSkinProvider::AC_WMPaint(TMessage& Message) {
  if (!DrawClientArea) {
    CallOld(Message);
    return;
  }
  if (Form->ControlState().Contains(csPaintCopy)) return;
  HWND wnd = Form->WindowHandle();
  if (IsCached(FSkinData.get())) {
    if (!Form->Showing()) {
      CallOld(Message);
      return;
    }
    OurPaintHandler(Message);
    bMDIChildCreatedMaximized = false;
    Message.Result = 0;
    return;
  }
  if (!Form->Showing()) {
    CallOld(Message);
    return;
  }
  if (!IsDestroying(this)) InvalidateRect(wnd, nullptr, TRUE);
  PAINTSTRUCT ps;
  BeginPaint(wnd, &ps);
  EndPaint(wnd, &ps);
  Message.Result = 0;
}

void TsSkinProvider::AC_WMEraseBkGnd(TMessage& Message) {
  HWND wnd = Form->WindowHandle();
  if (!IsWindowVisible(wnd) || !DrawClientArea) {
    CallOld(Message);
    return;
  }
  if ((FSkinData->StateFlags & 0x800) || FSkinData->Updating) return;
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  TacBitmap* cache = FSkinData->CacheBmp.get();
  if (Form->ControlState().Contains(csPaintCopy) || Message.WParam == static_cast<WPARAM>(Message.LParam)) {
    if (dc && cache && !FSkinData->BGChanged) {
      if (IsCached(FSkinData.get()))
        BitBlt(dc, 0, 0, Form->Width(), Form->Height(), cache->Canvas()->Handle(), OffsetX(), OffsetY(), SRCCOPY);
      else
        FillDC(dc, TRect{0, 0, Form->Width(), Form->Height()}, GetBGColor(FSkinData.get(), 0));
    }
  } else if (!IsCached(FSkinData.get())) {
    AC_WMEraseBkGndHandler(dc);
    bMDIChildCreatedMaximized = false;
  } else {
    if (cache && !FSkinData->BGChanged) {
      const Integer cw = GetClientWidth(wnd), ch = GetClientHeight(wnd);
      CopyWinControlCache(Form, FSkinData.get(), TRect{OffsetX(), OffsetY(), OffsetX() + cw, OffsetY() + ch},
                          TRect{0, 0, cw, ch}, dc, false);
    }
    SetParentUpdated(Form);
  }
  Message.Result = 1;
}

void TsSkinProvider::AC_WMNCPaint(TMessage& Message) {
  if (!FPrepared) PrepareForm();
  if (FDrawNonClientArea && ((FSkinData->StateFlags & (0x800 | 0x400)) || (FormState & acfs::HideSnapshot))) return;
  if (HookCreated && !FPrepared) LoadInit();
  if (Form->Parent()) {
    FSkinData->Updating = FSkinData->GetUpdating();
    if (FSkinData->Updating) return;
  }
  if (!FDrawNonClientArea) {
    CallOld(Message);
    return;
  }
  HWND wnd = Form->WindowHandle();
  if (PaintingSuspended || !Form->Showing() || ComponentState().Contains(csLoading) ||
      Form->ControlState().Contains(csDestroyingHandle) || !FPrepared)
    return;
  if (IsIconic(wnd)) {
    FSkinData->BGChanged = true;
  } else if (GetWindowWidth(wnd) != Form->Width() || GetWindowHeight(wnd) != Form->Height()) {
    return;
  }
  AC_WMNCPaintHandler();
  Message.Result = 0;
}

void TsSkinProvider::AC_WMPrint(TMessage& Message) {
  if (ComponentState().Contains(csLoading) || Form->ComponentState().Contains(csLoading) ||
      Form->ControlState().Contains(csCreating) || IsDestroying(Form))
    return;
  InitDwm(Form->WindowHandle(), true);
  if (!MenuInitialized) {
    UpdateMenu();
    MenuInitialized = true;
  }
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (Message.LParam & PRF_ERASEBKGND) {
    ProcessMessage(WM_ERASEBKGND, Message.WParam, Message.LParam);
    return;
  }
  FSkinData->PrintDC = dc;
  FSkinData->Updating = false;
  HWND wnd = Form->WindowHandle();
  if (BorderForm) {
    if (FSkinData->BGChanged) PaintAll();
    TacBitmap* cache = FSkinData->CacheBmp.get();
    if (cache) Copy(dc, 0, 0, cache->Width(), cache->Height(), cache, 0, 0);
  } else if (FDrawNonClientArea) {
    if (!HasBorder() && HasThickFrame())
      PrintFrameStrips(dc);
    else
      PaintCaption(dc);
  }
  // Over a plain colour the graphic controls are printed apart; over any
  // other background the client's picture already holds them.
  const bool plain = (FSkinData->StateFlags & 1) != 0;
  {
    TDCStateScope saved(dc);
    OffsetViewportOrgEx(dc, OffsetX(), OffsetY(), nullptr);
    IntersectClipRect(dc, 0, 0, GetClientWidth(wnd), GetClientHeight(wnd));
    if (!BorderForm) {
      if (plain) {
        TDCStateScope clip(dc);
        ExcludeControls(dc, Form, actGraphic, 0, 0);
        PaintForm(dc, true);
      } else {
        PaintForm(dc, true);
      }
    }
    if (BorderForm || plain) PaintControls(dc, Form, true, TPoint{0, 0});
  }
  FSkinData->PrintDC = nullptr;
  if (Form->OnPaint) {
    TCanvas* canvas = Form->Canvas();
    canvas->SetHandle(dc);
    Form->OnPaint(Form);
    canvas->SetHandle(nullptr);
  }
}

// A borderless form with a thick frame prints the four frame strips of its cache.
void TsSkinProvider::PrintFrameStrips(HDC DC) {
  if (FSkinData->BGChanged) PaintAll();
  TacBitmap* cache = FSkinData->CacheBmp.get();
  if (!cache) return;
  const Integer w = Form->BorderWidth() + 3, fw = Form->Width(), fh = Form->Height(), ch = cache->Height();
  Copy(DC, 0, 0, fw, w, cache, 0, 0);
  Copy(DC, 0, w, w, ch, cache, 0, w);
  Copy(DC, w, fh - w, fw - w, w, cache, w, fh - w);
  Copy(DC, cache->Width() - w, w, w, ch, cache, cache->Width() - w, w);
}

// ------------------------------------------------------------ showing and hiding

// A form that closes with a hide animation fades its whole picture (the
// client area and the children too), not only the frame of the cache.
void TsSkinProvider::AC_WMClose(TMessage& Message) {
  TacFormAnimation* hide = FormHideOf(FSkinData->GetSkinManager());
  CallOld(Message);
  if (!AllowAnimation || !hide || !hide->Active || !FDrawNonClientArea || (FormState & acfs::HideSnapshot) ||
      Form->Parent() || IsDestroying(Form) || !Form->HandleAllocated())
    return;
  std::unique_ptr<TacBitmap> image;
  {
    FormState |= acfs::HideSnapshot;
    image = GetFormImage(this, true);
    FormState &= ~acfs::HideSnapshot;
  }
  if (!image) return;
  FSkinData->CacheBmp = std::move(image);
  FSkinData->BGChanged = false;
}

void TsSkinProvider::AC_WMQueryEndSession(TMessage& Message) {
  FadingForbidden = true;
  CallOld(Message);
  if (Application && !Application->Terminated())
    WaitBounded([] { return acAnimCount > 0; }, acsp::AnimationWaitMs);
}

void TsSkinProvider::AC_WMShowWindow(TMessage& Message) {
  if (Form->FormStyle() != fsMDIChild && Message.WParam == 1) FormState &= acfs::Restoring;
  CallOld(Message);
}

void TsSkinProvider::AC_WMWindowPosChanging(TMessage& Message) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if (!RgnBusy && !ComponentState().Contains(csLoading) && Form->HandleAllocated() &&
      !IsZoomed(Form->WindowHandle()) && pos && !(pos->flags & SWP_NOMOVE) && (pos->x != 0 || pos->y != 0) &&
      ScreenSnap && Form->Showing()) {
    const TRect work = acWorkRect(Form);
    SnapValue(pos->x, work.Right, SnapBuffer, Form->Width());
    SnapValue(pos->y, work.Bottom, SnapBuffer, Form->Height());
    SnapValue(pos->x, work.Left, SnapBuffer, 0);
    SnapValue(pos->y, work.Top, SnapBuffer, 0);
  }
  CallOld(Message);
}

void TsSkinProvider::AC_WMWindowPosChanged(TMessage& Message) {
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (!m || !FDrawNonClientArea) {
    CallOld(Message);
    return;
  }
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  HWND wnd = Form->WindowHandle();
  TacFormAnimation* hide = FormHideOf(m);
  if (pos && (pos->flags & SWP_HIDEWINDOW) && !Hiding && FSkinData->CacheBmp && !IsIconic(wnd) && AllowAnimation &&
      hide && hide->Active && !Form->Parent() && Form->FormStyle() != fsMDIChild && acLayered()) {
    CallOld(Message);
    TFlagScope hiding(Hiding);
    AnimHideForm(this);
    return;
  }
  CallOld(Message);
}

void TsSkinProvider::AC_WMVisibleChanged(TMessage& Message) {
  CallOld(Message);
  if (Message.WParam == 0) {
    if (!IsDestroying(Form) && FSkinData->CacheBmp) FSkinData->CacheBmp->SetSize(0, 0);
    KillAnimations();
  } else if (Form->Parent()) {
    SetParentUpdated(Form);
  }
}

void TsSkinProvider::AC_CMShowingChanged(TMessage& Message) {
  if (!Form->Showing()) {
    BorderForm.reset();
    CallOld(Message);
    return;
  }
  HWND wnd = Form->WindowHandle();
  FormState &= ~acfs::HideSnapshot;
  if (dynamic_cast<TacMinTimer*>(MinAnimation.get())) MinAnimation.reset();
  RegisterPreview(wnd);
  TryInitMenu();
  TsSkinManager* m = FSkinData->GetSkinManager();
  TacFormAnimation* show = m ? m->AnimEffects()->FormShow() : nullptr;
  PaintingSuspended = AllowAnimation && (Form->FormStyle() == fsMDIChild || !Form->Parent()) && show &&
                      show->Active && reinterpret_cast<NativeInt>(wnd) != acPreviewHandle;
  // While the show animation is prepared nothing of the form is drawn.
  bool layered = false;
  std::vector<TControl*> children;
  if (PaintingSuspended) {
    FSkinData->Updating = true;
    SkinChanging = true;
    layered = DoLayered(wnd, true, 1);
    if (layered) {
      UpdateRgn(this, false);
      RgnBusy = false;
    }
    for (int i = 0; i < Form->ControlCount(); ++i)
      if (auto* w = dynamic_cast<TWinControl*>(Form->Controls(i)); w && w->Visible()) {
        children.push_back(w);
        w->Perform(WM_SETREDRAW, 0, 0);
      }
  } else {
    FSkinData->Updating = false;
  }
  CallOld(Message);
  if (PaintingSuspended) {
    for (TControl* c : children) c->Perform(WM_SETREDRAW, 1, 0);
    if (layered) DoLayered(wnd, false, 1);
    PaintingSuspended = false;
    FSkinData->Updating = false;
    AnimShowForm(this, show->Time, 255, show->Mode);
    SkinChanging = false;
    RgnBusy = false;
  } else {
    RedrawWindow(wnd, nullptr, nullptr, RDW_ALLCHILDREN | RDW_INVALIDATE);
  }
  LastClientRect = TRect{0, 0, Form->ClientWidth(), Form->ClientHeight()};
}

void TsSkinProvider::AC_CMVisibleChanged_Unskinned(TMessage&) {}

void TsSkinProvider::AC_WMWindowPosChanged_Unskinned(TMessage& Message) {
  TsSkinManager* m = FSkinData->GetSkinManager();
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  TacFormAnimation* hide = FormHideOf(m);
  if (!m || !acLayered() || !pos || !(pos->flags & SWP_HIDEWINDOW) || !AllowAnimation || Hiding || !m->Active() ||
      !FDrawNonClientArea || !hide || !hide->Active || !Form->HandleAllocated() || IsIconic(Form->WindowHandle()) ||
      !FSkinData->CacheBmp)
    return;
  TFlagScope hiding(Hiding);
  AnimHideForm(this);
  // Only a hide animation that started is waited for, and not forever.
  if (InAnimationProcess) WaitBounded([] { return InAnimationProcess; }, acsp::AnimationWaitMs);
  DoLayered(Form->WindowHandle(), false, 1);
}

void TsSkinProvider::AC_WMNCDestroy(TMessage&) { CoverForm.reset(); }

// ------------------------------------------------------------ system commands

void TsSkinProvider::AC_WMSysCommand(TMessage& Message) {
  HWND wnd = Form->WindowHandle();
  TsSkinManager* m = FSkinData->GetSkinManager();
  const WPARAM cmd = Message.WParam;
  const bool mainForm = Application && Application->MainForm() == Form;
  if (Form->FormStyle() != fsMDIChild) {
    if (cmd == 0xF012) Form->Repaint();
    if (cmd == SC_MINIMIZE && !mainForm && m && m->AnimEffects()->Minimizing()->Active) {
      TacSystemAnimationOff off;
      StartMinimizing(this);
      CallOld(Message);
      return;
    }
    if (cmd == SC_MAXIMIZE && !Form->Parent() && RestoringMinTimer(this)) {
      TacSystemAnimationOff off;
      StartRestoring(this);
      CallOld(Message);
      return;
    }
    if (cmd == SC_RESTORE) {
      if (FormState & acfs::HideSnapshot) {
        FormState &= ~acfs::HideSnapshot;
        TacSystemAnimationOff off;
        CallOld(Message);
        return;
      }
      if (!mainForm && IsIconic(wnd)) {
        TacSystemAnimationOff off;
        StartRestoring(this);
        CallOld(Message);
        return;
      }
    }
  }
  if (ResizeMode == rmBorder && Form->Enabled() && !acOutline.InProcess) {
    if ((cmd & 0xFFF0) == SC_MOVE) {
      SetCapture(wnd);
      acOutline.Capture = true;
      acOutline.Moving = true;
    } else if ((cmd & 0xFFF0) == SC_SIZE) {
      SetCapture(wnd);
      acOutline.Capture = true;
      acOutline.Moving = false;
    }
  }
  CallOld(Message);
  if (IsDestroying(Form) || !Form->HandleAllocated()) return;
  if (cmd == SC_MAXIMIZE || cmd == SC_RESTORE) {
    if (SysVisibleMax()) HotElement = achit::MaxButton;
    SetHotHT(0, true);
    if (cmd == SC_RESTORE) {
      FSkinData->BGChanged = true;
      if (HasBorder())
        RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_ALLCHILDREN | RDW_INVALIDATE);
      else
        SetWindowRgn(wnd, nullptr, TRUE);
    }
  } else if (cmd == SC_KEYMENU && Message.LParam == ' ' && HaveSysMenu() && HasBorder()) {
    const TPoint p = FormLeftTop();
    DropSysMenu(p.X + SysBorderWidth(wnd, BorderForm.get(), true),
                p.Y + BorderHeight(true) + IconRect.Height() - (IsIconic(wnd) ? 16 : 0));
  }
}
