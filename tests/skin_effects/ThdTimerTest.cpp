// The threaded timer: ticks come on the main thread; pausing (Enabled False,
// Interval 0, no handler) and resuming; the constructor that calls
// TimeHandler; the end of a timer while its worker waits for the main thread.
// Ticks are stepped by hand through a clock of the test's own; only one test
// lets the real clock run, and it waits for ticks, never for a time.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "skin/core/acThdTimer.h"

namespace {

using namespace std::chrono_literals;

// Waits for Pred while it serves the calls that workers hand to the main
// thread; false after ten seconds (a hang, not a slow machine).
bool ServeUntil(const std::function<bool()>& Pred) {
  const auto end = std::chrono::steady_clock::now() + 10s;
  while (!Pred()) {
    if (std::chrono::steady_clock::now() > end) return false;
    CheckSynchronize(1);
  }
  return true;
}

// Waits for Pred without serving the main thread's calls, so that a worker
// stays in Synchronize; false after ten seconds.
bool WaitUnserved(const std::function<bool()>& Pred) {
  const auto end = std::chrono::steady_clock::now() + 10s;
  while (!Pred()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

// A clock whose intervals pass only when the test says so.
class TStepClock : public TacTimerClock {
 public:
  TWaitResult Wait(TEvent& Stop, Cardinal) override {
    std::unique_lock<std::mutex> lock(FMutex);
    ++FWaiting;
    for (;;) {
      if (Stop.WaitFor(0) == wrSignaled) {
        --FWaiting;
        return wrSignaled;
      }
      if (FSteps > 0) {
        --FSteps;
        --FWaiting;
        return wrTimeout;
      }
      FCond.wait_for(lock, 1ms);
    }
  }
  void Step() {
    std::lock_guard<std::mutex> lock(FMutex);
    ++FSteps;
    FCond.notify_all();
  }
  // One worker waits and no step is pending for it.
  bool Idle() {
    std::lock_guard<std::mutex> lock(FMutex);
    return FWaiting == 1 && FSteps == 0;
  }

 private:
  std::mutex FMutex;
  std::condition_variable FCond;
  int FSteps = 0;
  int FWaiting = 0;
};

// Counts ticks and where they ran.
class TTickLog : public TObject {
  DK_CLASS(TTickLog, TObject)
 public:
  void Tick(TObject* Sender) {
    ++Count;
    LastSender = Sender;
    if (std::this_thread::get_id() != TThread::MainThreadID()) ++OffMainThread;
  }
  TNotifyEvent Handler() { return TNotifyEvent(this, &TTickLog::Tick); }
  int Count = 0;
  int OffMainThread = 0;
  TObject* LastSender = nullptr;
};

// A descendant as the animations make them: its one-argument constructor sets
// the interval of an animation, its ticks go to TimeHandler.
class TAnimTimer : public TacThreadedTimer {
  DK_CLASS(TAnimTimer, TacThreadedTimer)
 public:
  using TacThreadedTimer::TacThreadedTimer;
  void Construct() override {
    inherited::Construct();
    SetInterval(12);
  }
  void TimeHandler() override { ++Handled; }
  int Handled = 0;
};

class ThreadedTimer : public ::testing::Test {
 protected:
  void SetUp() override { SetTimerClock(&Clock); }
  void TearDown() override { SetTimerClock(nullptr); }

  // The worker waits for the next interval.
  bool Waiting(TacThreadedTimer* T) {
    return ServeUntil([&] { return T->WorkerState() == awsWaiting && Clock.Idle(); });
  }
  // A timer of 10 ms whose ticks the log counts.
  TacThreadedTimer* NewTicking() {
    TacThreadedTimer* t = Create<TacThreadedTimer>(nullptr);
    t->SetInterval(10);
    t->SetOnTimer(Log.Handler());
    return t;
  }
  // One interval passes; the worker then waits in Synchronize, unserved.
  bool TickOnItsWay(TacThreadedTimer* T) {
    if (!Waiting(T)) return false;
    Clock.Step();
    return WaitUnserved([&] { return T->WorkerState() == awsSynchronizing; });
  }
  // One interval passes and its tick is served.
  bool TickServed(TacThreadedTimer* T, const int& Count) {
    if (!Waiting(T)) return false;
    const int before = Count;
    Clock.Step();
    return ServeUntil([&] { return Count == before + 1; }) && Waiting(T);
  }

  TStepClock Clock;
  TTickLog Log;
};

}  // namespace

TEST(ThreadedTimerRealClock, TicksRunOnTheMainThreadWithTheTimerAsSender) {
  TacThreadedTimer* t = Create<TacThreadedTimer>(nullptr);
  TTickLog log;
  t->SetInterval(5);
  t->SetOnTimer(log.Handler());
  EXPECT_TRUE(ServeUntil([&] { return log.Count >= 3; }));
  t->Free();
  EXPECT_EQ(log.OffMainThread, 0);
  EXPECT_EQ(log.LastSender, t);
}

TEST_F(ThreadedTimer, OneArgumentTimerRunsItsWorkerAndTicksOnceAHandlerIsSet) {
  TacThreadedTimer* t = Create<TacThreadedTimer>(nullptr);
  EXPECT_TRUE(t->Enabled());
  EXPECT_EQ(t->Interval(), 1000u);
  EXPECT_EQ(t->ThreadPriority(), tpNormal);
  // Without a handler the worker runs all the same: its ticks call nothing.
  ASSERT_TRUE(Waiting(t));
  Clock.Step();
  EXPECT_TRUE(Waiting(t)) << "the tick was served";
  t->SetOnTimer(Log.Handler());
  EXPECT_TRUE(TickServed(t, Log.Count));
  EXPECT_TRUE(TickServed(t, Log.Count));
  t->Free();
  EXPECT_EQ(Log.Count, 2);
}

// Each way of pausing, and its way back.
TEST_F(ThreadedTimer, PausesWhileNoTicksAreDueAndResumes) {
  struct Case {
    const char* Name;
    std::function<void(TacThreadedTimer*, TTickLog&)> Pause, Resume;
  };
  const Case cases[] = {
      {"Interval 0", [](TacThreadedTimer* t, TTickLog&) { t->SetInterval(0); },
       [](TacThreadedTimer* t, TTickLog&) { t->SetInterval(10); }},
      {"Enabled False", [](TacThreadedTimer* t, TTickLog&) { t->SetEnabled(false); },
       [](TacThreadedTimer* t, TTickLog&) { t->SetEnabled(true); }},
      {"no handler", [](TacThreadedTimer* t, TTickLog&) { t->SetOnTimer(nullptr); },
       [](TacThreadedTimer* t, TTickLog& l) { t->SetOnTimer(l.Handler()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TTickLog log;
    TacThreadedTimer* t = Create<TacThreadedTimer>(nullptr);
    t->SetInterval(10);
    t->SetOnTimer(log.Handler());
    ASSERT_TRUE(TickServed(t, log.Count));
    c.Pause(t, log);
    Clock.Step();
    ASSERT_TRUE(ServeUntil([&] { return t->WorkerState() == awsParked; }));
    EXPECT_FALSE(CheckSynchronize(0));
    EXPECT_EQ(log.Count, 1) << "no tick while paused";
    c.Resume(t, log);
    EXPECT_TRUE(ServeUntil([&] { return log.Count == 2; })) << "the parked tick comes on resuming";
    EXPECT_TRUE(TickServed(t, log.Count));
    t->Free();
    EXPECT_EQ(log.Count, 3);
  }
}

// A tick already waiting for the main thread when the timer is disabled is
// dropped there: disabling is the last word.
TEST_F(ThreadedTimer, TickOnItsWayWhenDisabledIsDropped) {
  TacThreadedTimer* t = NewTicking();
  ASSERT_TRUE(TickOnItsWay(t));
  t->SetEnabled(false);
  EXPECT_TRUE(ServeUntil([&] { return t->WorkerState() == awsWaiting; }));
  EXPECT_EQ(Log.Count, 0);
  t->Free();
}

TEST_F(ThreadedTimer, TimeEventConstructorRunsTheDescendantsConstructorAndCallsTimeHandler) {
  TAnimTimer* t = Create<TAnimTimer>(nullptr, true);
  EXPECT_FALSE(t->Enabled());
  EXPECT_EQ(t->Interval(), 12u) << "the descendant's one-argument constructor ran";
  EXPECT_TRUE(t->GetOnTimer());
  ASSERT_TRUE(Waiting(t));
  Clock.Step();
  ASSERT_TRUE(ServeUntil([&] { return t->WorkerState() == awsParked; }));
  EXPECT_EQ(t->Handled, 0);
  t->SetEnabled(true);
  EXPECT_TRUE(ServeUntil([&] { return t->Handled == 1; }));
  EXPECT_TRUE(TickServed(t, t->Handled));
  t->Free();

  TAnimTimer* plain = Create<TAnimTimer>(nullptr, false);
  EXPECT_FALSE(plain->Enabled());
  EXPECT_FALSE(plain->GetOnTimer());
  plain->Free();
}

// The main thread frees the timer while the worker waits in Synchronize for
// it: freeing serves that call (the tick of a dying timer is dropped) and
// returns once the worker has ended.
TEST_F(ThreadedTimer, FreeWhileTheWorkerWaitsForTheMainThreadReturns) {
  TacThreadedTimer* t = NewTicking();
  ASSERT_TRUE(TickOnItsWay(t));
  TComponent* owner = Create<TComponent>(nullptr);
  owner->InsertComponent(t);
  owner->Free();  // frees the timer with it; a hang here ends in the test's time limit
  EXPECT_EQ(Log.Count, 0);
  EXPECT_FALSE(CheckSynchronize(0)) << "nothing left for the main thread";
}

TEST_F(ThreadedTimer, ResetStartsANewWorker) {
  TacThreadedTimer* t = NewTicking();
  ASSERT_TRUE(TickServed(t, Log.Count));
  t->Reset();
  EXPECT_TRUE(TickServed(t, Log.Count));
  t->SetEnabled(false);
  t->Reset();
  Clock.Step();
  EXPECT_TRUE(ServeUntil([&] { return t->WorkerState() == awsParked; })) << "a new worker of a disabled timer";
  t->Free();
  EXPECT_EQ(Log.Count, 2);
}

// Once the application's loop has ended the worker stops and no tick runs.
TEST_F(ThreadedTimer, TicksStopWhenTheApplicationTerminates) {
  static bool terminated = false;
  auto saved = ApplicationTerminated;
  ApplicationTerminated = [] { return terminated; };
  TacThreadedTimer* t = NewTicking();
  ASSERT_TRUE(TickServed(t, Log.Count));
  terminated = true;
  Clock.Step();
  EXPECT_TRUE(ServeUntil([&] { return t->WorkerState() == awsFinished; }));
  EXPECT_EQ(Log.Count, 1);
  TacThreadedTimer* late = Create<TacThreadedTimer>(nullptr);
  EXPECT_EQ(late->WorkerState(), awsFinished) << "no worker for a timer made at the end";
  EXPECT_FALSE(late->Enabled());
  late->Free();
  t->Free();
  terminated = false;
  ApplicationTerminated = saved;
}
