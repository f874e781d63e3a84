// The event thread of an open port: it waits for the driver's events and
// hands them to the port on the user-interface thread (or its own).
#include <algorithm>
#include <exception>

#include "classlib/ui/Controls.h"
#include "serial/CPortInternal.h"

namespace cport {

namespace {
struct TEventBit {
  TComEvent Event;
  DWORD Mask;
};
const TEventBit kEventBits[] = {{evRxChar, EV_RXCHAR}, {evRxFlag, EV_RXFLAG}, {evTxEmpty, EV_TXEMPTY},
                                {evCTS, EV_CTS},       {evDSR, EV_DSR},       {evRLSD, EV_RLSD},
                                {evBreak, EV_BREAK},   {evError, EV_ERR},     {evRing, EV_RING},
                                {evRx80Full, EV_RX80FULL}};
}  // namespace

DWORD EventsToMask(TComEvents events) {
  DWORD mask = 0;
  for (const auto& e : kEventBits)
    if (events.Contains(e.Event)) mask |= e.Mask;
  return mask;
}

TComEvents MaskToEvents(DWORD mask) {
  TComEvents events;
  for (const auto& e : kEventBits)
    if (mask & e.Mask) events.Include(e.Event);
  return events;
}

}  // namespace cport

using namespace cport;

namespace {

int ThreadPriorityValue(TThreadPriority p) {
  switch (p) {
    case tpIdle: return THREAD_PRIORITY_IDLE;
    case tpLowest: return THREAD_PRIORITY_LOWEST;
    case tpLower: return THREAD_PRIORITY_BELOW_NORMAL;
    case tpNormal: return THREAD_PRIORITY_NORMAL;
    case tpHigher: return THREAD_PRIORITY_ABOVE_NORMAL;
    case tpHighest: return THREAD_PRIORITY_HIGHEST;
    case tpTimeCritical: return THREAD_PRIORITY_TIME_CRITICAL;
  }
  return THREAD_PRIORITY_NORMAL;
}

// Errors with which the driver reports that the device behind a handle is gone.
bool IsDeviceGoneError(DWORD err) {
  switch (err) {
    case ERROR_ACCESS_DENIED:
    case ERROR_BAD_COMMAND:
    case ERROR_OPERATION_ABORTED:
    case ERROR_INVALID_HANDLE:
    case ERROR_GEN_FAILURE:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_BROKEN_PIPE:
    case ERROR_NOT_READY:
      return true;
    default:
      return false;
  }
}

// Takes the modem-line events out of the port's wait mask; false when there
// were none to take.
bool DropModemLineEvents(HANDLE port) {
  constexpr DWORD kModemLineEvents = EV_CTS | EV_DSR | EV_RLSD | EV_RING;
  DWORD mask = 0;
  if (!GetCommMask(port, &mask) || !(mask & kModemLineEvents)) return false;
  return SetCommMask(port, mask & ~kModemLineEvents) != FALSE;
}

// True when the driver still answers for the device behind the handle.
bool DeviceAnswers(HANDLE port) {
  DWORD errors = 0;
  COMSTAT stat{};
  return ClearCommError(port, &errors, &stat) != 0;
}

// Hands the exception being handled to the application's exception display on
// the user-interface thread.
void ShowOnMainThread(TObject* Sender, std::exception_ptr e) {
  auto show = [Sender, e] { GuardCallback(Sender, [e] { std::rethrow_exception(e); }); };
  if (TThread::IsMainThread())
    show();
  else
    TThread::Synchronize(nullptr, std::function<void()>(show));
}

}  // namespace

namespace {
// How long a failed driver wait is retried before the device counts as gone:
// consecutive failures with one of the "device gone" errors, the back-off
// doubling from the first to the last.
constexpr int kGoneFailures = 6;
constexpr DWORD kFirstBackoffMs = 10;
constexpr DWORD kMaxBackoffMs = 250;
}  // namespace

TComThread::TComThread(TCustomComPort* AComPort) : TThread(true), FComPort(AComPort) {}

void TComThread::Construct() {
  inherited::Construct();
  FStopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!FStopEvent) RaiseLastOSError();
  SetPriority(FComPort->EventThreadPriority());
  SetCommMask(FComPort->FHandle, EventsToMask(FComPort->FEvents));
  Start();
}

TComThread::~TComThread() {
  Stop();
  Terminate();
  WaitFor();
  if (FStopEvent) CloseHandle(FStopEvent);
  FStopEvent = nullptr;
}

void TComThread::Stop() {
  if (FStopEvent) SetEvent(FStopEvent);
  Sleep(0);
}

void TComThread::Execute() {
  SetThreadPriority(GetCurrentThread(), ThreadPriorityValue(Priority()));
  HANDLE port = FComPort->FHandle;
  HANDLE stop = FStopEvent;
  auto* ov = new OVERLAPPED{};
  ov->hEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  int failures = 0, goneFailures = 0;
  DWORD lastError = 0;
  bool lost = false;
  for (;;) {
    DWORD mask = 0, err = 0;
    bool ok = false;
    if (WaitCommEvent(port, &mask, ov)) {
      ok = true;
    } else {
      err = GetLastError();
      if (err == ERROR_IO_PENDING) {
        HANDLE handles[2] = {stop, ov->hEvent};
        DWORD w = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (w == WAIT_OBJECT_0) break;
        DWORD n = 0;
        if (w != WAIT_OBJECT_0 + 1)
          err = GetLastError();
        else if (GetOverlappedResult(port, ov, &n, FALSE))
          ok = true;
        else
          err = GetLastError();
      }
    }
    if (Terminated() || WaitForSingleObject(stop, 0) == WAIT_OBJECT_0) break;
    if (ok) {
      failures = goneFailures = 0;
      FEvents = MaskToEvents(mask);
      if (!FEvents.Empty()) {
        try {
          DispatchComMsg();
        } catch (...) {
          // A handler's exception ends this batch only.
          ShowOnMainThread(FComPort, std::current_exception());
        }
      }
      continue;
    }
    // A driver that cannot report the modem lines refuses every wait whose
    // mask names them: wait for the other events without them.
    if ((err == ERROR_NOT_SUPPORTED || err == ERROR_INVALID_PARAMETER) && DropModemLineEvents(port)) continue;
    // A failed wait: try again after a pause; a device that keeps failing
    // with an error of a vanished device is gone for good.
    lastError = err;
    ++failures;
    goneFailures = IsDeviceGoneError(err) && !DeviceAnswers(port) ? goneFailures + 1 : 0;
    if (goneFailures >= kGoneFailures) {
      lost = true;
      break;
    }
    DWORD pause = kFirstBackoffMs << std::min(failures - 1, 5);
    if (pause > kMaxBackoffMs) pause = kMaxBackoffMs;
    if (WaitForSingleObject(stop, pause) == WAIT_OBJECT_0) break;
  }
  SetCommMask(port, 0);
  // The wait still pending (if any) must end before its record goes.
  if (!HasOverlappedIoCompleted(ov)) {
    CancelIoEx(port, ov);
    if (WaitForSingleObject(ov->hEvent, 2000) != WAIT_OBJECT_0) ov = nullptr;  // left to the system
  }
  PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR);
  if (ov) {
    CloseHandle(ov->hEvent);
    delete ov;
  }
  if (lost) {
    try {
      FComPort->DeviceLost(lastError, this);
    } catch (...) {
      ShowOnMainThread(FComPort, std::current_exception());
    }
  }
  // The stop event stays until the thread object goes, so that a late Stop
  // never signals a handle that was closed (and perhaps reused).
}

void TComThread::DispatchComMsg() {
  switch (FComPort->FSyncMethod) {
    case smThreadSync:
      Synchronize(std::function<void()>([this] { GuardCallback(FComPort, [this] { DoEvents(); }); }));
      break;
    case smWindowSync:
      SendEvents();
      break;
    case smNone:
      DoEvents();
      break;
  }
}

void TComThread::DoEvents() {
  if (FEvents.Contains(evError)) FComPort->CallError();
  if (FEvents.Contains(evRxChar)) FComPort->CallRxChar();
  if (FEvents.Contains(evTxEmpty)) FComPort->CallTxEmpty();
  if (FEvents.Contains(evBreak)) FComPort->CallBreak();
  if (FEvents.Contains(evRing)) FComPort->CallRing();
  if (FEvents.Contains(evCTS)) FComPort->CallCTSChange();
  if (FEvents.Contains(evDSR)) FComPort->CallDSRChange();
  if (FEvents.Contains(evRxFlag)) FComPort->CallRxFlag();
  if (FEvents.Contains(evRLSD)) FComPort->CallRLSDChange();
  if (FEvents.Contains(evRx80Full)) FComPort->CallRx80Full();
}

void TComThread::SendEvents() {
  static const TComEvent order[] = {evError, evRxChar, evTxEmpty, evBreak, evRing,
                                    evCTS,   evDSR,    evRxFlag,  evRLSD,  evRx80Full};
  HWND wnd = static_cast<HWND>(FComPort->FWindow);
  for (TComEvent e : order) {
    if (!FEvents.Contains(e)) continue;
    DWORD bit = EventsToMask(TComEvents{e});
    // A blocking send; given up only when the thread is being stopped, so that
    // a user-interface thread that waits for this one cannot deadlock with it.
    DWORD_PTR result = 0;
    while (!SendMessageTimeoutW(wnd, WM_USER + 1, bit, 0, SMTO_NORMAL, 100, &result)) {
      if (WaitForSingleObject(FStopEvent, 0) == WAIT_OBJECT_0 || !IsWindow(wnd)) return;
    }
  }
}
