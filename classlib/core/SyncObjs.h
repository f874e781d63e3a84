// Synchronisation objects: events, critical sections and a multi-reader lock.
#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "classlib/core/SysUtils.h"
#include "classlib/core/System.h"

inline constexpr Cardinal INFINITE_WAIT = 0xFFFFFFFFu;

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError, wrIOCompletion };

class TSynchroObject : public TObject {
  DK_CLASS(TSynchroObject, TObject)
 public:
  virtual void Acquire() {}
  virtual void Release() {}
};

// An event: manual reset (stays signalled until ResetEvent) or automatic
// (one waiter passes, then it resets).
class TEvent : public TSynchroObject {
  DK_CLASS(TEvent, TSynchroObject)
 public:
  explicit TEvent(bool ManualReset = true, bool InitialState = false)
      : FManualReset(ManualReset), FSignaled(InitialState) {}
  // The form with security attributes and a name; both are ignored.
  TEvent(void* EventAttributes, bool ManualReset, bool InitialState, const AnsiString& Name)
      : TEvent(ManualReset, InitialState) {}
  void SetEvent();
  void ResetEvent();
  TWaitResult WaitFor(Cardinal Timeout = INFINITE_WAIT);
  void Acquire() override { WaitFor(); }
  void Release() override { SetEvent(); }

 private:
  std::mutex FMutex;
  std::condition_variable FCond;
  bool FManualReset;
  bool FSignaled;
};

class TSimpleEvent : public TEvent {
  DK_CLASS(TSimpleEvent, TEvent)
 public:
  TSimpleEvent() : TEvent(true, false) {}
};

// A re-entrant lock (the owning thread may enter again).
class TCriticalSection : public TSynchroObject {
  DK_CLASS(TCriticalSection, TSynchroObject)
 public:
  void Acquire() override { FMutex.lock(); }
  void Release() override { FMutex.unlock(); }
  void Enter() { Acquire(); }
  void Leave() { Release(); }
  bool TryEnter() { return FMutex.try_lock(); }

 private:
  std::recursive_mutex FMutex;
};

// Many readers or one writer. Both locks are re-entrant for their thread; a
// writer may also read, and a reader may become the writer (BeginWrite then
// waits for the other readers). BeginWrite returns false when another writer
// got the lock while this one waited (what was read before may have changed).
class TMultiReadExclusiveWriteSynchronizer : public TObject {
  DK_CLASS(TMultiReadExclusiveWriteSynchronizer, TObject)
 public:
  void BeginRead();
  void EndRead();
  bool BeginWrite();
  void EndWrite();

 private:
  std::mutex FMutex;
  std::condition_variable FCond;
  std::map<std::thread::id, int> FReaders;  // read depth per thread
  int FReaderTotal = 0;
  std::thread::id FWriter;
  int FWriteDepth = 0;
  int FWritersWaiting = 0;
  unsigned long FWriteSequence = 0;
};
using TMREWSync = TMultiReadExclusiveWriteSynchronizer;
