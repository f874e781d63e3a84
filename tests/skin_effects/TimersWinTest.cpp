// The timers of the skin effects in a Windows program: a window-message timer
// freed inside its own tick (the normal end of a fade), and the threaded
// timer's ticks served by the application's message loop.
#include <gtest/gtest.h>

#include "EffectsSupport.h"
#include "classlib/ui/WndThunks.h"
#include "skin/core/acThdTimer.h"

#include "TestSupport.h"

namespace {

using skinfx::LoopUntil;

class TSelfFreeing : public TObject {
  DK_CLASS(TSelfFreeing, TObject)
 public:
  TTimer* Timer = nullptr;
  int Ticks = 0;
  void Tick(TObject* Sender) {
    ++Ticks;
    if (Sender == Timer) FreeAndNil(Timer);
  }
};

class TMainThreadTicks : public TObject {
  DK_CLASS(TMainThreadTicks, TObject)
 public:
  int Count = 0;
  int Elsewhere = 0;
  void Tick(TObject*) {
    ++Count;
    if (GetCurrentThreadId() != MainThread) ++Elsewhere;
  }
  DWORD MainThread = GetCurrentThreadId();
};

}  // namespace

TEST(SkinTimers, WindowTimerFreedInsideItsOwnTickEndsCleanly) {
  const long staleBefore = dk::StaleThunkCalls();
  TSelfFreeing owner;
  TComponent* form = Create<TComponent>(nullptr);
  owner.Timer = Create<TTimer>(form);
  owner.Timer->SetInterval(1);
  owner.Timer->SetOnTimer(TNotifyEvent(&owner, &TSelfFreeing::Tick));
  ASSERT_TRUE(LoopUntil([&] { return owner.Timer == nullptr; }));
  EXPECT_EQ(form->ComponentCount(), 0) << "its owner forgot it";
  // A second timer's ticks prove the loop goes on; the freed one calls nothing more.
  TTimer* other = Create<TTimer>(form);
  TMainThreadTicks ticks;
  other->SetInterval(1);
  other->SetOnTimer(TNotifyEvent(&ticks, &TMainThreadTicks::Tick));
  EXPECT_TRUE(LoopUntil([&] { return ticks.Count >= 3; }));
  form->Free();
  EXPECT_EQ(owner.Ticks, 1);
  EXPECT_EQ(dk::StaleThunkCalls(), staleBefore);
}

TEST(SkinTimers, ThreadedTimerTicksAreServedByTheMessageLoop) {
  Application->Handle();  // the window that wakes the loop for the worker
  TMainThreadTicks log;
  TacThreadedTimer* t = Create<TacThreadedTimer>(nullptr);
  t->SetInterval(5);
  t->SetOnTimer(TNotifyEvent(&log, &TMainThreadTicks::Tick));
  EXPECT_TRUE(LoopUntil([&] { return log.Count >= 3; }));
  t->Free();
  EXPECT_EQ(log.Elsewhere, 0);
}
