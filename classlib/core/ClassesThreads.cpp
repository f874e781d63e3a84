// TThread and the queue of synchronised calls served by the main thread.
#include <chrono>
#include <deque>

#include "classlib/core/Classes.h"
#include "classlib/core/SysConsts.h"
#include "classlib/core/SyncObjs.h"

void (*WakeMainThread)(TObject* Sender) = nullptr;
bool (*ApplicationTerminated)() = nullptr;

namespace {

// One call waiting for the main thread.
struct SyncRecord {
  std::function<void()> Method;
  std::exception_ptr Error;
  bool Done = false;
};

// All of the synchronisation state shares one lock; its condition is
// signalled when a call is queued, when a call is done and when a thread
// finishes, so each waiter rechecks its own condition.
struct SyncState {
  std::mutex Mutex;
  std::condition_variable Cond;
  std::deque<SyncRecord*> Queue;
  std::thread::id MainThread = std::this_thread::get_id();
};

SyncState& State() {
  static SyncState* s = new SyncState;  // never destroyed: threads may outlive static destruction
  return *s;
}

// Records the main thread while the library initialises.
const bool g_mainRecorded = (State(), true);

}  // namespace

bool TThread::IsMainThread() {
  SyncState& s = State();
  std::lock_guard<std::mutex> lock(s.Mutex);
  return std::this_thread::get_id() == s.MainThread;
}

void TThread::SetMainThread() {
  SyncState& s = State();
  std::lock_guard<std::mutex> lock(s.Mutex);
  s.MainThread = std::this_thread::get_id();
}

std::thread::id TThread::MainThreadID() {
  SyncState& s = State();
  std::lock_guard<std::mutex> lock(s.Mutex);
  return s.MainThread;
}

bool CheckSynchronize(int Timeout) {
  if (!TThread::IsMainThread()) throw EThread(&SThreadError, {"CheckSynchronize called from a thread other than the main thread", 0});
  SyncState& s = State();
  std::deque<SyncRecord*> batch;
  {
    std::unique_lock<std::mutex> lock(s.Mutex);
    if (s.Queue.empty() && Timeout > 0)
      s.Cond.wait_for(lock, std::chrono::milliseconds(Timeout), [&] { return !s.Queue.empty(); });
    batch.swap(s.Queue);
  }
  if (batch.empty()) return false;
  for (SyncRecord* r : batch) {
    try {
      r->Method();
    } catch (...) {
      r->Error = std::current_exception();
    }
    std::lock_guard<std::mutex> lock(s.Mutex);
    r->Done = true;
    s.Cond.notify_all();
  }
  return true;
}

void TThread::Synchronize(TThread* AThread, const std::function<void()>& Method) {
  if (!Method) return;
  if (IsMainThread()) {
    Method();
    return;
  }
  SyncState& s = State();
  SyncRecord rec;
  rec.Method = Method;
  {
    std::lock_guard<std::mutex> lock(s.Mutex);
    s.Queue.push_back(&rec);
    s.Cond.notify_all();
  }
  if (auto wake = WakeMainThread) wake(AThread);
  {
    std::unique_lock<std::mutex> lock(s.Mutex);
    s.Cond.wait(lock, [&] { return rec.Done; });
  }
  if (rec.Error) std::rethrow_exception(rec.Error);
}

void TThread::Synchronize(TThread* AThread, TThreadMethod Method) {
  if (!Method) return;
  Synchronize(AThread, std::function<void()>([Method] { Method(); }));
}

TThread::TThread(bool CreateSuspended) : FCreateSuspended(CreateSuspended) {}

void TThread::AfterConstruction() {
  TObject::AfterConstruction();
  if (!FCreateSuspended) Start();
}

void TThread::Start() {
  if (FStarted) return;
  FStarted = true;
  try {
    FThread = std::thread(&TThread::ThreadProc, this);
  } catch (const std::system_error& e) {
    FStarted = false;
    throw EThread(&SThreadCreateError, {AnsiString(e.what())});
  }
  FThreadID = FThread.get_id();
}

void TThread::ThreadProc(TThread* Self) {
  if (!Self->FTerminated) {
    try {
      Self->Execute();
    } catch (...) {
      Self->FFatalException = std::current_exception();
    }
  }
  bool freeIt = Self->FFreeOnTerminate;
  try {
    Self->DoTerminate();
  } catch (...) {
  }
  SyncState& s = State();
  {
    std::lock_guard<std::mutex> lock(s.Mutex);
    Self->FFinished = true;
    s.Cond.notify_all();
  }
  if (freeIt) delete Self;
}

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize(this, [this] { OnTerminate(this); });
}

Cardinal TThread::WaitFor() {
  if (!FStarted) throw EThread(&SThreadError, {"Cannot wait for a thread that has not started", 0});
  if (std::this_thread::get_id() == FThreadID)
    throw EThread(&SThreadError, {"A thread cannot wait for itself", 0});
  SyncState& s = State();
  const bool main = IsMainThread();
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(s.Mutex);
      s.Cond.wait(lock, [&] { return FFinished.load() || (main && !s.Queue.empty()); });
      if (FFinished) break;
    }
    CheckSynchronize(0);
  }
  if (FThread.joinable()) FThread.join();
  return static_cast<Cardinal>(FReturnValue);
}

TThread::~TThread() {
  if (FThread.joinable()) {
    if (std::this_thread::get_id() == FThreadID) {
      FThread.detach();  // freed by its own thread (FreeOnTerminate)
    } else {
      FTerminated = true;
      if (!FFinished) WaitFor();
      if (FThread.joinable()) FThread.join();
    }
  }
}

Exception* TThread::FatalException() const {
  if (!FFatalException) return nullptr;
  try {
    std::rethrow_exception(FFatalException);
  } catch (Exception& e) {
    return &e;
  } catch (...) {
    return nullptr;
  }
}

// ------------------------------------------------------------------ SyncObjs

void TEvent::SetEvent() {
  std::lock_guard<std::mutex> lock(FMutex);
  FSignaled = true;
  if (FManualReset) FCond.notify_all();
  else FCond.notify_one();
}

void TEvent::ResetEvent() {
  std::lock_guard<std::mutex> lock(FMutex);
  FSignaled = false;
}

TWaitResult TEvent::WaitFor(Cardinal Timeout) {
  std::unique_lock<std::mutex> lock(FMutex);
  if (Timeout == INFINITE_WAIT) {
    FCond.wait(lock, [&] { return FSignaled; });
  } else if (!FCond.wait_for(lock, std::chrono::milliseconds(Timeout), [&] { return FSignaled; })) {
    return wrTimeout;
  }
  if (!FManualReset) FSignaled = false;
  return wrSignaled;
}

void TMultiReadExclusiveWriteSynchronizer::BeginRead() {
  std::unique_lock<std::mutex> lock(FMutex);
  auto me = std::this_thread::get_id();
  auto it = FReaders.find(me);
  bool reentry = FWriter == me || (it != FReaders.end() && it->second > 0);
  if (!reentry) {
    // New readers let waiting writers go first.
    FCond.wait(lock, [&] { return FWriteDepth == 0 && FWritersWaiting == 0; });
  }
  ++FReaders[me];
  ++FReaderTotal;
}

void TMultiReadExclusiveWriteSynchronizer::EndRead() {
  std::lock_guard<std::mutex> lock(FMutex);
  auto it = FReaders.find(std::this_thread::get_id());
  if (it == FReaders.end() || it->second == 0) return;
  if (--it->second == 0) FReaders.erase(it);
  --FReaderTotal;
  FCond.notify_all();
}

bool TMultiReadExclusiveWriteSynchronizer::BeginWrite() {
  std::unique_lock<std::mutex> lock(FMutex);
  auto me = std::this_thread::get_id();
  if (FWriter == me && FWriteDepth > 0) {
    ++FWriteDepth;
    return true;
  }
  unsigned long seq = FWriteSequence;
  ++FWritersWaiting;
  FCond.wait(lock, [&] {
    auto it = FReaders.find(me);
    int mine = it == FReaders.end() ? 0 : it->second;
    return FWriteDepth == 0 && FReaderTotal - mine == 0;
  });
  --FWritersWaiting;
  FWriter = me;
  FWriteDepth = 1;
  bool untouched = FWriteSequence == seq;
  ++FWriteSequence;
  return untouched;
}

void TMultiReadExclusiveWriteSynchronizer::EndWrite() {
  std::lock_guard<std::mutex> lock(FMutex);
  if (FWriter != std::this_thread::get_id() || FWriteDepth == 0) return;
  if (--FWriteDepth == 0) {
    FWriter = std::thread::id();
    FCond.notify_all();
  }
}
