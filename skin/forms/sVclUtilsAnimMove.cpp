// Blend on moving: a form (or a system dialog) dragged by its caption turns
// translucent step by step on a threaded timer while the system's move loop
// runs, and is opaque and redrawn again when the loop returns.
#include <cmath>

#include "skin/core/acntUtils.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/acDialsFrame.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sVclUtilsAnim.h"
#include "skin/forms/sVclUtilsAnimWindows.h"

namespace {

constexpr Cardinal kFrameMs = 12;
// Below this a drag fades in one step.
constexpr Word kShortestFade = 13;
// The system's command of a move by the mouse (SC_MOVE with HTCAPTION).
constexpr WPARAM kMoveByMouse = 0xF012;
// A dialog's fade: a thirtieth of the way per tick.
constexpr Integer kDialogSteps = 30;
constexpr UINT kDraggedRepaint = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;
constexpr UINT kDroppedRepaint = kDraggedRepaint | RDW_FRAME;

Integer Nearest(double Value) { return static_cast<Integer>(std::nearbyint(Value)); }

void SystemMoveLoop(HWND Wnd) { SendMessageW(Wnd, WM_SYSCOMMAND, kMoveByMouse, 0); }

void RemoveLayered(HWND Wnd) {
  SetWindowLongPtrW(Wnd, GWL_EXSTYLE, GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
}

TacBlendOnMoving* BlendOptions(TsSkinManager* Manager) {
  return Manager ? Manager->AnimEffects()->BlendOnMoving() : nullptr;
}

// A cover over the provider's form cut to the form's shape (its rounded
// corners stay see-through) unless the form is maximized.
std::unique_ptr<TCustomForm> ShapedCover(TsSkinProvider* Provider) {
  const HWND wnd = Provider->Form->WindowHandle();
  std::unique_ptr<TCustomForm> cover(MakeCoverForm(wnd));
  if (!IsZoomed(wnd)) {
    FillArOR(Provider);
    SetWindowRgn(cover->WindowHandle(), GetRgnFromArOR(Provider), FALSE);
  }
  return cover;
}

void HideWindow(TCustomForm* Form) { ShowWindow(Form->WindowHandle(), SW_HIDE); }

}  // namespace

TacMoveLoop acMoveLoop = SystemMoveLoop;

// ------------------------------------------------------------- the timer

TacMoveTimer::~TacMoveTimer() { KillTimer(); }

void TacMoveTimer::TimeHandler() {
  if (!Enabled() || !FormHandle || !IsWindow(FormHandle)) return;
  DoLayered(FormHandle, true, static_cast<Byte>(LimitIt(Nearest(Alpha), 0, 255)));
  if (TargetAlpha < Alpha) Alpha -= AlphaStep;
}

// ------------------------------------------------------------ the starts

void StartBlendOnMoving(TsSkinProvider* Provider, bool DoMove) {
  if (!Provider || !Provider->Form || !Provider->Form->HandleAllocated()) return;
  TacBlendOnMoving* options = BlendOptions(Provider->SkinData()->GetSkinManager());
  if ((Provider->FormState & acfs::BlendOnMoving) || !options || !options->Active) return;
  const HWND wnd = Provider->Form->WindowHandle();
  Provider->FormState |= acfs::BlendOnMoving;
  Provider->MinAnimation.reset();
  auto* timer = Create<TacMoveTimer>(Provider, true);
  Provider->MinAnimation.reset(timer);
  timer->Alpha = 255;
  timer->FormHandle = wnd;
  timer->TargetAlpha = Provider->AllowBlendOnMoving ? options->BlendValue : 255;
  const double way = 255 - timer->TargetAlpha;
  timer->AlphaStep = options->Time < kShortestFade ? way : way / (options->Time / double(kFrameMs));
  timer->SetInterval(kFrameMs);

  // The cover hides the form while it turns layered and is drawn again.
  std::unique_ptr<TCustomForm> cover = ShapedCover(Provider);
  DoLayered(wnd, true, 255);
  RedrawWindow(wnd, nullptr, nullptr, kDraggedRepaint);
  HideWindow(cover.get());
  timer->SetEnabled(true);
  if (!DoMove) return;  // the hidden cover goes with this scope
  acMoveLoop(wnd);
  FinishBlendOnMoving(Provider, cover.release());
}

void FinishBlendOnMoving(TsSkinProvider* Provider, TCustomForm* Cover) {
  std::unique_ptr<TCustomForm> cover(Cover);
  if (!Provider || !Provider->Form || !Provider->Form->HandleAllocated()) return;
  const HWND wnd = Provider->Form->WindowHandle();
  if (!cover) {
    cover = ShapedCover(Provider);
  } else {
    if (!IsZoomed(wnd)) {
      FillArOR(Provider);
      SetWindowRgn(cover->WindowHandle(), GetRgnFromArOR(Provider), FALSE);
    }
    ShowWindow(cover->WindowHandle(), SW_SHOWNOACTIVATE);
  }
  RemoveLayered(wnd);
  UpdateWindow(wnd);
  if (Provider->MinAnimation) Provider->MinAnimation->SetEnabled(false);
  RedrawWindow(wnd, nullptr, nullptr, kDroppedRepaint);
  cover.reset();
  Provider->FormState &= ~acfs::BlendOnMoving;
  if (auto* timer = dynamic_cast<TacMoveTimer*>(Provider->MinAnimation.get())) {
    timer->Alpha = 255;
    Provider->MinAnimation.reset();
  }
}

void StartBlendOnMovingDlg(TacDialogWnd* Dialog) {
  if (!Dialog || !Dialog->WndHandle || !IsWindow(Dialog->WndHandle)) return;
  TacBlendOnMoving* options = BlendOptions(Dialog->SkinData ? Dialog->SkinData->GetSkinManager() : Dialog->Manager);
  if ((Dialog->FormState & acfs::BlendOnMoving) || !options || !options->Active) return;
  const HWND wnd = Dialog->WndHandle;
  Dialog->FormState |= acfs::BlendOnMoving;
  std::unique_ptr<TacMoveTimer> timer(Create<TacMoveTimer>(Application, true));
  timer->FormHandle = wnd;
  timer->TargetAlpha = options->BlendValue;
  timer->AlphaStep = (255 - options->BlendValue) / kDialogSteps;
  timer->SetInterval(kFrameMs);
  {
    std::unique_ptr<TForm> cover(MakeCoverForm(wnd));
    DoLayered(wnd, true, 255);
    RedrawWindow(wnd, nullptr, nullptr, kDroppedRepaint);
  }
  timer->SetEnabled(true);
  acMoveLoop(wnd);
  {
    std::unique_ptr<TForm> cover(MakeCoverForm(wnd));
    RemoveLayered(wnd);
    UpdateWindow(wnd);
    timer->SetEnabled(false);
    if (IsWindowEnabled(wnd)) SetFocus(wnd);
    RedrawWindow(wnd, nullptr, nullptr, kDroppedRepaint);
  }
  Dialog->FormState &= ~acfs::BlendOnMoving;
}
