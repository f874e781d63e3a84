// Threads (part of Classes.h): TThread and the synchronisation of worker
// threads with the main thread.
//
// A thread object is made through the factory so that a thread created
// running starts only after its constructor has finished:
//
//   auto* t = Create<TMyThread>(false);   // runs Execute() at once
//   auto* s = Create<TMyThread>(true);    // suspended; s->Start() later
//
// Synchronize(method) runs the method on the main thread while the worker
// waits; the main thread serves such calls from CheckSynchronize() (the
// application's message loop calls it after WakeMainThread has woken it up).
// The main thread is the thread that initialised the library unless
// SetMainThread() names another.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "classlib/core/ClassesObjects.h"
#include "classlib/core/SysUtils.h"

using TThreadMethod = TClosure<void()>;

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
  DK_CLASS(TThread, TObject)
 public:
  explicit TThread(bool CreateSuspended);
  // Terminates and waits for a running thread.
  ~TThread() override;

  void AfterConstruction() override;

  // Starts a thread created suspended (Resume is the older name).
  void Start();
  void Resume() { Start(); }
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }
  // Waits for the end of Execute and returns ReturnValue. Called on the main
  // thread it serves synchronised calls meanwhile.
  Cardinal WaitFor();

  bool FreeOnTerminate() const { return FFreeOnTerminate; }
  void SetFreeOnTerminate(bool Value) { FFreeOnTerminate = Value; }
  bool Finished() const { return FFinished; }
  bool Suspended() const { return !FStarted; }
  // The exception that ended Execute, or nullptr. It lives as long as the
  // thread object.
  Exception* FatalException() const;
  std::exception_ptr FatalExceptionPtr() const { return FFatalException; }
  Integer ReturnValue() const { return FReturnValue; }
  std::thread::id ThreadID() const { return FThreadID; }
  TThreadPriority Priority() const { return FPriority; }
  void SetPriority(TThreadPriority Value) { FPriority = Value; }

  // Runs after Execute, on the main thread (through Synchronize).
  TNotifyEvent OnTerminate;

  // Runs Method on the main thread and waits for it; an exception raised
  // there is raised again here. On the main thread it runs at once.
  static void Synchronize(TThread* AThread, const std::function<void()>& Method);
  static void Synchronize(TThread* AThread, TThreadMethod Method);
  void Synchronize(TThreadMethod Method) { Synchronize(this, Method); }
  void Synchronize(const std::function<void()>& Method) { Synchronize(this, Method); }

  static bool IsMainThread();
  static void SetMainThread();  // names the calling thread the main thread
  static std::thread::id MainThreadID();

 protected:
  virtual void Execute() = 0;
  virtual void DoTerminate();
  void SetReturnValue(Integer Value) { FReturnValue = Value; }

 private:
  static void ThreadProc(TThread* Self);

  std::thread FThread;
  std::thread::id FThreadID;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  bool FStarted = false;
  bool FCreateSuspended;
  bool FFreeOnTerminate = false;
  TThreadPriority FPriority = tpNormal;
  Integer FReturnValue = 0;
  std::exception_ptr FFatalException;
};

// Runs the synchronised calls waiting for the main thread; waits up to
// Timeout milliseconds for one when none is waiting. Returns true when it ran
// any. Must be called on the main thread (raises EThread otherwise).
bool CheckSynchronize(int Timeout = 0);

// Called (from the worker) whenever a call is queued for the main thread, so
// that an idle message loop wakes up and calls CheckSynchronize.
extern void (*WakeMainThread)(TObject* Sender);

// Whether the application's message loop has ended (the Windows half sets it;
// false while nothing does). Worker threads stop handing work to the main
// thread once it answers true.
extern bool (*ApplicationTerminated)();
