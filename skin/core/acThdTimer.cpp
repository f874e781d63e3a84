#include "skin/core/acThdTimer.h"

#include "classlib/core/TypInfo.h"

DK_UNIT(acThdTimer);
DK_ENUM_INFO(TThreadPriority, tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical);

namespace {

constexpr Cardinal kDefaultInterval = 1000;

class TRealClock : public TacTimerClock {
 public:
  TWaitResult Wait(TEvent& Stop, Cardinal Milliseconds) override { return Stop.WaitFor(Milliseconds); }
};

TRealClock gRealClock;
std::atomic<TacTimerClock*> gClock{&gRealClock};

bool AppTerminated() {
  auto hook = ApplicationTerminated;
  return hook && hook();
}

}  // namespace

void SetTimerClock(TacTimerClock* Clock) { gClock = Clock ? Clock : &gRealClock; }

// ---------------------------------------------------------------- the worker

TacTimerThread::TacTimerThread(TacThreadedTimer* Timer, TSimpleEvent* StopEvent, Cardinal Interval)
    : TThread(true), FTimer(Timer), FInterval(Interval), FStopEvent(StopEvent) {}

bool TacTimerThread::Stopped() {
  return Terminated() || FStopEvent->WaitFor(0) == wrSignaled || AppTerminated();
}

void TacTimerThread::Execute() {
  while (!Stopped()) {
    FState = awsWaiting;
    if (gClock.load()->Wait(*FStopEvent, FInterval) != wrTimeout) break;
    // Paused meanwhile: the tick waits here until the timer gives ticks again.
    if (FGo.WaitFor(0) != wrSignaled) {
      FState = awsParked;
      FGo.WaitFor();
    }
    if (Stopped()) break;
    FState = awsSynchronizing;
    Synchronize(TThreadMethod(this, &TacTimerThread::DoTimer));
  }
  FState = awsFinished;
}

void TacTimerThread::DoTimer() {
  // A tick that was on its way while the timer was paused or killed is
  // dropped: the timer's state is only changed on this thread.
  if (AppTerminated() || FTimer->FKilling || !FTimer->TicksDue()) return;
  FTimer->Timer();
}

// ----------------------------------------------------------------- the timer

TacThreadedTimer::TacThreadedTimer(TComponent* AOwner) : TComponent(AOwner) {}

TacThreadedTimer::TacThreadedTimer(TComponent* AOwner, bool UseTimeEvent)
    : TComponent(AOwner), FTwoArgs(true), FUseTimeEvent(UseTimeEvent) {}

TacThreadedTimer::~TacThreadedTimer() { KillTimer(); }

void TacThreadedTimer::Construct() {
  inherited::Construct();
  FThreadPriority = tpNormal;
  if (AppTerminated()) return;  // no worker for a timer made at the end
  FEnabled = true;
  FInterval = kDefaultInterval;
  StartTimer();
}

void TacThreadedTimer::AfterConstruction() {
  inherited::AfterConstruction();
  if (!FTwoArgs) return;
  SetEnabled(false);
  if (FUseTimeEvent) SetOnTimer(TNotifyEvent(this, &TacThreadedTimer::TimeEvent));
}

// The worker goes before any destructor runs, so that no tick reaches a
// half-destroyed descendant.
void TacThreadedTimer::BeforeDestruction() {
  KillTimer();
  inherited::BeforeDestruction();
}

void TacThreadedTimer::StartTimer() {
  FStopEvent = new TSimpleEvent;
  FTimerThread = new TacTimerThread(this, FStopEvent, FInterval);
  FTimerThread->SetPriority(FThreadPriority);
  FTimerThread->Start();
}

void TacThreadedTimer::KillTimer() {
  if (!FTimerThread) return;
  FKilling = true;
  FStopEvent->SetEvent();
  FTimerThread->Terminate();
  FTimerThread->Proceed();
  // Serves the worker's pending Synchronize (dropped, see DoTimer) meanwhile.
  FTimerThread->WaitFor();
  delete FTimerThread;
  FTimerThread = nullptr;
  delete FStopEvent;
  FStopEvent = nullptr;
  FKilling = false;
}

void TacThreadedTimer::UpdateTimer() {
  if (!FTimerThread) return;
  FTimerThread->Pause();
  if (TicksDue()) FTimerThread->Proceed();
}

void TacThreadedTimer::Reset() {
  KillTimer();
  StartTimer();
  UpdateTimer();
}

TacWorkerState TacThreadedTimer::WorkerState() const {
  return FTimerThread ? FTimerThread->State() : awsFinished;
}

void TacThreadedTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  UpdateTimer();
}

void TacThreadedTimer::SetInterval(Cardinal Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  if (FTimerThread) FTimerThread->SetInterval(Value);
  UpdateTimer();
}

void TacThreadedTimer::SetOnTimer(TNotifyEvent Value) {
  FOnTimer = Value;
  UpdateTimer();
}

void TacThreadedTimer::SetThreadPriority(TThreadPriority Value) {
  if (FThreadPriority == Value) return;
  FThreadPriority = Value;
  if (FTimerThread) FTimerThread->SetPriority(Value);
  UpdateTimer();
}

void TacThreadedTimer::Timer() {
  if (FOnTimer) FOnTimer(this);
}

void TacThreadedTimer::TimeEvent(TObject*) { TimeHandler(); }

DK_PUBLISH(TacThreadedTimer) {
  P.Property("Enabled", &TacThreadedTimer::Enabled, &TacThreadedTimer::SetEnabled).Default(true);
  P.Property("Interval", &TacThreadedTimer::Interval, &TacThreadedTimer::SetInterval).Default(1000);
  P.Property("OnTimer", &TacThreadedTimer::GetOnTimer, &TacThreadedTimer::SetOnTimer);
  P.Property("ThreadPriority", &TacThreadedTimer::ThreadPriority, &TacThreadedTimer::SetThreadPriority);
}
