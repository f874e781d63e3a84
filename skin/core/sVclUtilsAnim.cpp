// The animations of forms and controls. For now forms and controls show and
// hide at once.
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinProvider.h"

namespace {
constexpr Cardinal kAnimationStep = 12;   // ms between two frames
constexpr Cardinal kAnimationEnded = 65535;
}  // namespace

TacHideTimer* acHideTimer = nullptr;

void TacHideTimer::AfterConstruction() {
  inherited::AfterConstruction();
  SetEnabled(false);
  SetOnTimer(TNotifyEvent(this, &TacHideTimer::HideStep));
}

void TacHideTimer::Start() {
  InAnimationProcess = true;
  SetInterval(kAnimationStep);
  SetEnabled(true);
}

void TacHideTimer::HideStep(TObject*) {
  SetEnabled(false);
  SetInterval(kAnimationEnded);
  InAnimationProcess = false;
}

void AnimShowControl(TWinControl* Control, Word, Integer, TacAnimTypeCtrl) {
  if (!Control || !Control->HandleAllocated()) return;
  const HWND wnd = Control->WindowHandle();
  if (!IsWindowVisible(wnd)) ShowWindow(wnd, SW_SHOWNA);
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void AnimHideForm(TObject* Provider) {
  auto* p = dynamic_cast<TsSkinProvider*>(Provider);
  if (!p || !p->Form || !p->Form->HandleAllocated()) return;
  ShowWindow(p->Form->WindowHandle(), SW_HIDE);
}
