// A timer whose interval is measured by a worker thread of its own while its
// ticks run on the main (user-interface) thread: the form animations use it
// where window-message timers come too late on a busy message loop.
//
// The worker only waits: on its stop event for the interval, then on the
// main thread (Synchronize) while the tick runs there. It is never suspended:
// while the timer gives no ticks (Enabled False, Interval 0 or no handler) it
// parks on an event of its own, and a tick that was already on its way to the
// main thread when the timer was paused is dropped there.
#pragma once

#include <atomic>

#include "classlib/core/Classes.h"
#include "classlib/core/SyncObjs.h"

class TacThreadedTimer;

// What the worker waits with: the real clock waits on the stop event for the
// interval. Tests put a clock of their own in its place to step ticks by hand.
class TacTimerClock {
 public:
  virtual ~TacTimerClock() = default;
  // wrTimeout when the interval passed, wrSignaled when Stop was set.
  virtual TWaitResult Wait(TEvent& Stop, Cardinal Milliseconds) = 0;
};
// nullptr puts the real clock back. Set it while no threaded timer exists.
void SetTimerClock(TacTimerClock* Clock);

// Where a worker is, for tests that must know it without sleeping.
enum TacWorkerState { awsStarting, awsWaiting, awsParked, awsSynchronizing, awsFinished };

class TacTimerThread : public TThread {
  DK_CLASS(TacTimerThread, TThread)
 public:
  TacTimerThread(TacThreadedTimer* Timer, TSimpleEvent* StopEvent, Cardinal Interval);

  void SetInterval(Cardinal Value) { FInterval = Value; }
  // Pause parks the worker before its next tick; Proceed lets it go on (a wait
  // that was under way when it was paused goes on).
  void Pause() { FGo.ResetEvent(); }
  void Proceed() { FGo.SetEvent(); }
  TacWorkerState State() const { return FState; }

 protected:
  void Execute() override;
  // The part that runs on the main thread.
  void DoTimer();

 private:
  bool Stopped();
  TacThreadedTimer* FTimer;
  std::atomic<Cardinal> FInterval;
  TSimpleEvent* FStopEvent;  // the timer's
  TEvent FGo{true, true};
  std::atomic<TacWorkerState> FState{awsStarting};
};

class TacThreadedTimer : public TComponent {
  DK_CLASS(TacThreadedTimer, TComponent)
 public:
  explicit TacThreadedTimer(TComponent* AOwner);
  // With UseTimeEvent the ticks call TimeHandler. Either way the timer starts
  // disabled.
  TacThreadedTimer(TComponent* AOwner, bool UseTimeEvent);
  ~TacThreadedTimer() override;
  // What the one-argument constructor does; descendants may extend it.
  void Construct() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  Cardinal Interval() const { return FInterval; }
  void SetInterval(Cardinal Value);
  TNotifyEvent GetOnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent Value);
  TThreadPriority ThreadPriority() const { return FThreadPriority; }
  void SetThreadPriority(TThreadPriority Value);

  // A new worker with a fresh count of the interval.
  void Reset();
  // awsFinished when there is no worker.
  TacWorkerState WorkerState() const;

  // One tick: OnTimer(this) when assigned.
  void Timer();
  virtual void TimeHandler() {}
  void TimeEvent(TObject* Sender);

 protected:
  void StartTimer();
  void KillTimer();
  void UpdateTimer();

 private:
  friend class TacTimerThread;
  bool TicksDue() const { return FInterval != 0 && FEnabled && FOnTimer; }

  bool FEnabled = false;
  Cardinal FInterval = 0;
  TNotifyEvent FOnTimer;
  TThreadPriority FThreadPriority = tpNormal;
  TacTimerThread* FTimerThread = nullptr;
  TSimpleEvent* FStopEvent = nullptr;
  bool FTwoArgs = false;
  bool FUseTimeEvent = false;
  bool FKilling = false;
};

DK_LINK_UNIT(acThdTimer)
