// The window timer.
#include "classlib/ui/ExtCtrlsTimer.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer() {
  if (FWindowHandle) {
    KillTimer(FWindowHandle, 1);
    DeallocateHWnd(FWindowHandle);
    FWindowHandle = nullptr;
  }
}

void TTimer::Construct() {
  inherited::Construct();
  FWindowHandle = AllocateHWnd(TWndMethod(this, &TTimer::WndProc));
}

void TTimer::UpdateTimer() {
  if (!FWindowHandle) return;
  KillTimer(FWindowHandle, 1);
  if (ComponentState().Contains(csLoading)) return;
  if (FInterval != 0 && FEnabled && OnTimer) {
    if (!SetTimer(FWindowHandle, 1, FInterval, nullptr)) throw EOutOfResources("Not enough timers available");
  }
}

void TTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(Cardinal Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value) {
  OnTimer = Value;
  UpdateTimer();
}

void TTimer::Loaded() {
  inherited::Loaded();
  UpdateTimer();
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

void TTimer::WndProc(TMessage& Message) {
  if (Message.Msg == WM_TIMER) {
    // An exception in the handler goes to the application, the timer goes
    // on. The handler may free this timer: nothing of it is touched after.
    GuardCallback(this, [this] { Timer(); });
    return;
  }
  Message.Result = DefWindowProcW(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
}

DK_PUBLISH(TTimer) {
  P.Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true);
  P.Property("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000);
  P.Property("OnTimer", &TTimer::GetOnTimer, &TTimer::SetOnTimer);
}
