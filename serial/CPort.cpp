// The serial port component over the Windows serial driver. The unit's other
// files: CPortThread.cpp (the event thread), CPortStore.cpp (settings in an
// INI file or the registry, value texts), CPortTexts.cpp (error texts).
#include "serial/CPort.h"

#include "classlib/ui/WinApi.h"
// WinApi.h must come first: the units below include the platform headers too.
#include "classlib/ui/Controls.h"
#include "serial/CPortInternal.h"

#include <algorithm>
#include <exception>
#include <vector>

using namespace cport;

void (*ShowComSetupDialog)(TCustomComPort* ComPort) = nullptr;

// ----------------------------------------------------------- asynchronous I/O

struct TAsync {
  OVERLAPPED Overlapped;
  TOperationKind Operation;
  Byte* WriteData;
  Integer WriteSize;
  HANDLE Port;  // the handle the operation was started on (to cancel it when freed early)
};

void InitAsync(PAsync& AsyncPtr) {
  auto* a = new TAsync{};
  a->Overlapped.hEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  a->Port = nullptr;
  AsyncPtr = a;
}

void DoneAsync(PAsync& AsyncPtr) {
  if (!AsyncPtr) return;
  TAsync* a = AsyncPtr;
  // An operation still running would write into the freed record: end it first.
  if (a->Port && !HasOverlappedIoCompleted(&a->Overlapped)) {
    CancelIoEx(a->Port, &a->Overlapped);
    // A driver whose device has gone may never end the operation: rather than
    // hang the program, the record is left to it.
    if (WaitForSingleObject(a->Overlapped.hEvent, 2000) != WAIT_OBJECT_0 &&
        !HasOverlappedIoCompleted(&a->Overlapped)) {
      AsyncPtr = nullptr;
      return;
    }
    DWORD n = 0;
    GetOverlappedResult(a->Port, &a->Overlapped, &n, FALSE);
  }
  if (a->Overlapped.hEvent) CloseHandle(a->Overlapped.hEvent);
  delete[] a->WriteData;
  delete a;
  AsyncPtr = nullptr;
}
// ------------------------------------------------------------ value tables

namespace {

const DWORD kBaudRates[] = {0, 110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200,
                            128000, 256000};
const BYTE kDataBits[] = {5, 6, 7, 8};
const BYTE kStopBits[] = {ONESTOPBIT, ONE5STOPBITS, TWOSTOPBITS};
const BYTE kParity[] = {NOPARITY, ODDPARITY, EVENPARITY, MARKPARITY, SPACEPARITY};
const DWORD kDTRBits[] = {0x0000, 0x0010, 0x0020};
const DWORD kRTSBits[] = {0x0000, 0x1000, 0x2000, 0x3000};

}  // namespace

// -------------------------------------------------------------- sub-objects

void TComTimeouts::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TComTimeouts*>(Dest)) {
    d->FReadInterval = FReadInterval;
    d->FReadTotalM = FReadTotalM;
    d->FReadTotalC = FReadTotalC;
    d->FWriteTotalM = FWriteTotalM;
    d->FWriteTotalC = FWriteTotalC;
  } else {
    inherited::AssignTo(Dest);
  }
}

#define DK_COM_SETTER(Cls, Setter, Type, Field, Apply) \
  void Cls::Setter(Type Value) {                         \
    if (Value == Field) return;                          \
    Field = Value;                                       \
    if (FComPort) FComPort->Apply();                     \
  }

DK_COM_SETTER(TComTimeouts, SetReadInterval, Integer, FReadInterval, ApplyTimeouts)
DK_COM_SETTER(TComTimeouts, SetReadTotalMultiplier, Integer, FReadTotalM, ApplyTimeouts)
DK_COM_SETTER(TComTimeouts, SetReadTotalConstant, Integer, FReadTotalC, ApplyTimeouts)
DK_COM_SETTER(TComTimeouts, SetWriteTotalMultiplier, Integer, FWriteTotalM, ApplyTimeouts)
DK_COM_SETTER(TComTimeouts, SetWriteTotalConstant, Integer, FWriteTotalC, ApplyTimeouts)

void TComFlowControl::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TComFlowControl*>(Dest)) {
    d->FOutCTSFlow = FOutCTSFlow;
    d->FOutDSRFlow = FOutDSRFlow;
    d->FControlDTR = FControlDTR;
    d->FControlRTS = FControlRTS;
    d->FXonXoffOut = FXonXoffOut;
    d->FXonXoffIn = FXonXoffIn;
    d->FDSRSensitivity = FDSRSensitivity;
    d->FTxContinueOnXoff = FTxContinueOnXoff;
    d->FXonChar = FXonChar;
    d->FXoffChar = FXoffChar;
  } else {
    inherited::AssignTo(Dest);
  }
}

DK_COM_SETTER(TComFlowControl, SetOutCTSFlow, bool, FOutCTSFlow, ApplyDCB)
DK_COM_SETTER(TComFlowControl, SetOutDSRFlow, bool, FOutDSRFlow, ApplyDCB)
DK_COM_SETTER(TComFlowControl, SetControlDTR, TDTRFlowControl, FControlDTR, ApplyDCB)
DK_COM_SETTER(TComFlowControl, SetControlRTS, TRTSFlowControl, FControlRTS, ApplyDCB)
DK_COM_SETTER(TComFlowControl, SetXonXoffOut, bool, FXonXoffOut, ApplyDCB)
DK_COM_SETTER(TComFlowControl, SetXonXoffIn, bool, FXonXoffIn, ApplyDCB)
DK_COM_SETTER(TComFlowControl, SetDSRSensitivity, bool, FDSRSensitivity, ApplyDCB)
DK_COM_SETTER(TComFlowControl, SetTxContinueOnXoff, bool, FTxContinueOnXoff, ApplyDCB)
DK_COM_SETTER(TComFlowControl, SetXonChar, char, FXonChar, ApplyDCB)
DK_COM_SETTER(TComFlowControl, SetXoffChar, char, FXoffChar, ApplyDCB)

TFlowControl TComFlowControl::FlowControl() const {
  if (FControlRTS == rtsHandshake && FOutCTSFlow && !FXonXoffIn && !FXonXoffOut) return fcHardware;
  if (FControlRTS == rtsDisable && !FOutCTSFlow && FXonXoffIn && FXonXoffOut) return fcSoftware;
  if (FControlRTS == rtsDisable && !FOutCTSFlow && !FXonXoffIn && !FXonXoffOut) return fcNone;
  return fcCustom;
}

void TComFlowControl::SetFlowControl(TFlowControl Value) {
  if (Value != fcCustom) {
    FControlRTS = rtsDisable;
    FOutCTSFlow = false;
    FXonXoffIn = false;
    FXonXoffOut = false;
    if (Value == fcHardware) {
      FControlRTS = rtsHandshake;
      FOutCTSFlow = true;
    } else if (Value == fcSoftware) {
      FXonXoffIn = true;
      FXonXoffOut = true;
    }
  }
  if (FComPort) FComPort->ApplyDCB();
}

void TComParity::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TComParity*>(Dest)) {
    d->FBits = FBits;
    d->FCheck = FCheck;
    d->FReplace = FReplace;
    d->FReplaceChar = FReplaceChar;
  } else {
    inherited::AssignTo(Dest);
  }
}

DK_COM_SETTER(TComParity, SetBits, TParityBits, FBits, ApplyDCB)
DK_COM_SETTER(TComParity, SetCheck, bool, FCheck, ApplyDCB)
DK_COM_SETTER(TComParity, SetReplace, bool, FReplace, ApplyDCB)
DK_COM_SETTER(TComParity, SetReplaceChar, char, FReplaceChar, ApplyDCB)

void TComBuffer::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TComBuffer*>(Dest)) {
    d->FInputSize = FInputSize;
    d->FOutputSize = FOutputSize;
  } else {
    inherited::AssignTo(Dest);
  }
}

void TComBuffer::SetInputSize(Integer Value) {
  if (Value > 0 && (Value & 1)) --Value;
  if (Value == FInputSize) return;
  FInputSize = Value;
  if (FComPort) FComPort->ApplyBuffer();
}

void TComBuffer::SetOutputSize(Integer Value) {
  if (Value > 0 && (Value & 1)) --Value;
  if (Value == FOutputSize) return;
  FOutputSize = Value;
  if (FComPort) FComPort->ApplyBuffer();
}
// ------------------------------------------------------------------ the port

TCustomComPort::TCustomComPort(TComponent* AOwner) : TComponent(AOwner) {}

void TCustomComPort::Construct() {
  inherited::Construct();
  FComponentStyle.Exclude(csInheritable);
  FLinks = new TList();
  FParity = new TComParity();
  FParity->SetComPort(this);
  FFlowControl = new TComFlowControl();
  FFlowControl->SetComPort(this);
  FTimeouts = new TComTimeouts();
  FTimeouts->SetComPort(this);
  FBuffer = new TComBuffer();
  FBuffer->SetComPort(this);
}

void TCustomComPort::BeforeDestruction() {
  try {
    Close();
  } catch (...) {
    ReleasePort();
  }
  inherited::BeforeDestruction();
}

TCustomComPort::~TCustomComPort() {
  if (FConnected) {
    try {
      Close();
    } catch (...) {
      ReleasePort();
    }
  }
  delete FBuffer;
  delete FFlowControl;
  delete FTimeouts;
  delete FParity;
  delete FLinks;
}

void TCustomComPort::Loaded() {
  inherited::Loaded();
  if (FConnected && !ComponentState().Contains(csDesigning)) {
    FConnected = false;
    GuardCallback(this, [this] { Open(); });
  }
}

bool TCustomComPort::CanApply() const {
  return FConnected && FUpdateCount == 0 && !ComponentState().Contains(csDesigning) &&
         !ComponentState().Contains(csLoading);
}

void TCustomComPort::CreateHandle() {
  std::wstring name = L"\\\\.\\" + winapi::W(FPort);
  HANDLE h = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_FLAG_OVERLAPPED, nullptr);
  if (h == kNoHandle) RaiseComLast(CError_OpenFailed);
  FHandle = h;
}

void TCustomComPort::DestroyHandle() {
  if (FHandle != kNoHandle) CloseHandle(FHandle);
}

void TCustomComPort::SetupComPort() {
  ApplyBuffer();
  ApplyDCB();
  ApplyTimeouts();
}

void TCustomComPort::Open() {
  if (FConnected || ComponentState().Contains(csDesigning)) return;
  CallBeforeOpen();
  CreateHandle();
  FConnected = true;
  FDeviceLost = false;
  try {
    SetupComPort();
  } catch (...) {
    DestroyHandle();
    FConnected = false;
    throw;
  }
  if (FEvents.Empty()) {
    FThreadCreated = false;
  } else {
    try {
      if (FSyncMethod == smWindowSync) FWindow = AllocateHWnd(TWndMethod(this, &TCustomComPort::WindowMethod));
      FEventThread = Create<TComThread>(this);
      FThreadCreated = true;
    } catch (...) {
      if (FWindow) DeallocateHWnd(static_cast<HWND>(FWindow));
      FWindow = nullptr;
      DestroyHandle();
      FConnected = false;
      throw;
    }
  }
  CallAfterOpen();
}

void TCustomComPort::StopEventThread() {
  if (!FThreadCreated) return;
  FEventThread->Stop();
  // Serve the thread's deliveries (synchronised calls and sent messages)
  // until it has ended.
  while (!FEventThread->Finished()) {
    if (TThread::IsMainThread()) {
      MSG msg;
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      CheckSynchronize(5);
    } else {
      Sleep(1);
    }
  }
  FreeAndNil(FEventThread);
  FThreadCreated = false;
  if (FWindow) {
    DeallocateHWnd(static_cast<HWND>(FWindow));
    FWindow = nullptr;
  }
}

void TCustomComPort::ReleasePort() {
  try {
    StopEventThread();
  } catch (...) {
  }
  if (FConnected) DestroyHandle();
  FConnected = false;
}

void TCustomComPort::Close() {
  if (!FConnected || ComponentState().Contains(csDesigning)) return;
  CallBeforeClose();
  // A port whose device is gone cannot purge; it is closed all the same.
  if (!PurgeComm(FHandle, PURGE_TXABORT | PURGE_RXABORT) && !FDeviceLost) RaiseComLast(CError_PurgeFailed);
  StopEventThread();
  DestroyHandle();
  FConnected = false;
  CallAfterClose();
}

void TCustomComPort::SetConnected(bool Value) {
  if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)) {
    FConnected = Value;
    return;
  }
  if (Value && !FConnected)
    Open();
  else if (!Value && FConnected)
    Close();
}

void TCustomComPort::BeginUpdate() { ++FUpdateCount; }

void TCustomComPort::EndUpdate() {
  if (FUpdateCount < 1) return;
  if (--FUpdateCount == 0) SetupComPort();
}

void TCustomComPort::ApplyDCB() {
  if (!CanApply()) return;
  DCB dcb{};
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = FBaudRate == brCustom ? static_cast<DWORD>(FCustomBaudRate) : kBaudRates[FBaudRate];
  DWORD flags = 0x0001;
  if (FDiscardNull) flags |= 0x0800;
  if (FFlowControl->FOutCTSFlow) flags |= 0x0004;
  if (FFlowControl->FOutDSRFlow) flags |= 0x0008;
  flags |= kDTRBits[FFlowControl->FControlDTR];
  flags |= kRTSBits[FFlowControl->FControlRTS];
  if (FFlowControl->FXonXoffOut) flags |= 0x0100;
  if (FFlowControl->FXonXoffIn) flags |= 0x0200;
  if (FFlowControl->FDSRSensitivity) flags |= 0x0040;
  if (FFlowControl->FTxContinueOnXoff) flags |= 0x0080;
  if (FParity->FCheck) {
    flags |= 0x0002;
    if (FParity->FReplace) {
      flags |= 0x0400;
      dcb.ErrorChar = FParity->FReplaceChar;
    }
  }
  // The flag word follows the baud rate in the record.
  std::memcpy(reinterpret_cast<Byte*>(&dcb) + offsetof(DCB, BaudRate) + sizeof(DWORD), &flags, sizeof flags);
  dcb.XonLim = static_cast<WORD>(FBuffer->FInputSize / 4);
  dcb.XoffLim = static_cast<WORD>(FBuffer->FInputSize / 4);
  dcb.ByteSize = kDataBits[FDataBits];
  dcb.Parity = kParity[FParity->FBits];
  dcb.StopBits = kStopBits[FStopBits];
  dcb.XonChar = FFlowControl->FXonChar;
  dcb.XoffChar = FFlowControl->FXoffChar;
  dcb.EvtChar = FEventChar;
  if (!SetCommState(FHandle, &dcb)) RaiseComLast(CError_SetStateFailed);
}

void TCustomComPort::ApplyTimeouts() {
  if (!CanApply()) return;
  COMMTIMEOUTS t;
  t.ReadIntervalTimeout = static_cast<DWORD>(FTimeouts->FReadInterval);
  t.ReadTotalTimeoutMultiplier = static_cast<DWORD>(FTimeouts->FReadTotalM);
  t.ReadTotalTimeoutConstant = static_cast<DWORD>(FTimeouts->FReadTotalC);
  t.WriteTotalTimeoutMultiplier = static_cast<DWORD>(FTimeouts->FWriteTotalM);
  t.WriteTotalTimeoutConstant = static_cast<DWORD>(FTimeouts->FWriteTotalC);
  if (!SetCommTimeouts(FHandle, &t)) RaiseComLast(CError_TimeoutsFailed);
}

void TCustomComPort::ApplyBuffer() {
  if (!CanApply()) return;
  if (!SetupComm(FHandle, static_cast<DWORD>(FBuffer->FInputSize), static_cast<DWORD>(FBuffer->FOutputSize)))
    RaiseComLast(CError_SetupComFailed);
}

void TCustomComPort::SetBaudRate(TBaudRate Value) {
  if (Value == FBaudRate) return;
  FBaudRate = Value;
  ApplyDCB();
}

void TCustomComPort::SetCustomBaudRate(Integer Value) {
  if (Value == FCustomBaudRate) return;
  FCustomBaudRate = Value;
  ApplyDCB();
}

void TCustomComPort::SetDataBits(TDataBits Value) {
  if (Value == FDataBits) return;
  FDataBits = Value;
  ApplyDCB();
}

void TCustomComPort::SetStopBits(TStopBits Value) {
  if (Value == FStopBits) return;
  FStopBits = Value;
  ApplyDCB();
}

void TCustomComPort::SetDiscardNull(bool Value) {
  if (Value == FDiscardNull) return;
  FDiscardNull = Value;
  ApplyDCB();
}

void TCustomComPort::SetEventChar(char Value) {
  if (Value == FEventChar) return;
  FEventChar = Value;
  ApplyDCB();
}

void TCustomComPort::SetParity(TComParity* Value) {
  if (Value) Value->AssignTo(FParity);
  ApplyDCB();
}

void TCustomComPort::SetFlowControl(TComFlowControl* Value) {
  if (Value) Value->AssignTo(FFlowControl);
  ApplyDCB();
}

void TCustomComPort::SetTimeouts(TComTimeouts* Value) {
  if (Value) Value->AssignTo(FTimeouts);
  ApplyTimeouts();
}

void TCustomComPort::SetBuffer(TComBuffer* Value) {
  if (Value) Value->AssignTo(FBuffer);
  ApplyBuffer();
}

void TCustomComPort::SetPort(const AnsiString& Value) {
  if (Value == FPort) return;
  FPort = Value;
  if (FConnected && !ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading)) {
    Close();
    Open();
  }
}

void TCustomComPort::SetSyncMethod(TSyncMethod Value) {
  if (Value == FSyncMethod) return;
  if (FConnected && !ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
    throw EComPort(CError_ConnChangeProp);
  FSyncMethod = Value;
}

void TCustomComPort::SetEventThreadPriority(TThreadPriority Value) {
  if (Value == FEventThreadPriority) return;
  if (FConnected && !ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
    throw EComPort(CError_ConnChangeProp);
  FEventThreadPriority = Value;
}

bool TCustomComPort::TriggersOnRxChar() const { return FTriggersOnRxChar && !FHasLink; }

void TCustomComPort::SetTriggersOnRxChar(bool Value) {
  if (FHasLink) throw EComPort(CError_HasLink);
  FTriggersOnRxChar = Value;
}

// ----------------------------------------------------------- driver state

namespace {
struct TClearError {
  DWORD Errors = 0;
  COMSTAT Stat{};
};
TClearError ClearError(HANDLE h) {
  TClearError r;
  if (!ClearCommError(h, &r.Errors, &r.Stat)) RaiseComLast(CError_ClearComFailed);
  return r;
}
}  // namespace

Integer TCustomComPort::InputCount() { return static_cast<Integer>(ClearError(FHandle).Stat.cbInQue); }

Integer TCustomComPort::OutputCount() { return static_cast<Integer>(ClearError(FHandle).Stat.cbOutQue); }

TComSignals TCustomComPort::Signals() {
  DWORD status = 0;
  if (!GetCommModemStatus(FHandle, &status)) RaiseComLast(CError_ModemStatFailed);
  TComSignals s;
  if (status & MS_CTS_ON) s.Include(csCTS);
  if (status & MS_DSR_ON) s.Include(csDSR);
  if (status & MS_RING_ON) s.Include(csRing);
  if (status & MS_RLSD_ON) s.Include(csRLSD);
  return s;
}

TComStateFlags TCustomComPort::StateFlags() {
  COMSTAT stat = ClearError(FHandle).Stat;
  TComStateFlags f;
  if (stat.fCtsHold) f.Include(fCtlHold);
  if (stat.fDsrHold) f.Include(fDsrHold);
  if (stat.fRlsdHold) f.Include(fRlsHold);
  if (stat.fXoffHold) f.Include(fXoffHold);
  if (stat.fXoffSent) f.Include(fXOffSent);
  if (stat.fEof) f.Include(fEof);
  if (stat.fTxim) f.Include(fTxim);
  return f;
}

TComErrors TCustomComPort::LastErrors() {
  DWORD e = ClearError(FHandle).Errors;
  TComErrors r;
  if (e & CE_FRAME) r.Include(ceFrame);
  if ((e & CE_RXPARITY) && FParity->FCheck) r.Include(ceRxParity);
  if (e & CE_OVERRUN) r.Include(ceOverrun);
  if (e & CE_BREAK) r.Include(ceBreak);
  if (e & CE_IOE) r.Include(ceIO);
  if (e & CE_MODE) r.Include(ceMode);
  if (e & CE_RXOVER) r.Include(ceRxOver);
  if (e & CE_TXFULL) r.Include(ceTxFull);
  return r;
}

namespace {
void Escape(HANDLE h, DWORD fn) {
  if (!EscapeCommFunction(h, fn)) RaiseComLast(CError_EscapeComFailed);
}
}  // namespace

void TCustomComPort::SetBreak(bool OnOff) { Escape(FHandle, OnOff ? SETBREAK : CLRBREAK); }
void TCustomComPort::SetDTR(bool OnOff) { Escape(FHandle, OnOff ? SETDTR : CLRDTR); }
void TCustomComPort::SetRTS(bool OnOff) { Escape(FHandle, OnOff ? SETRTS : CLRRTS); }
void TCustomComPort::SetXonXoff(bool OnOff) { Escape(FHandle, OnOff ? SETXON : SETXOFF); }

void TCustomComPort::ClearBuffer(bool Input, bool Output) {
  DWORD flags = 0;
  if (Input) flags |= PURGE_RXCLEAR;
  if (Output) flags |= PURGE_TXCLEAR;
  if (!PurgeComm(FHandle, flags)) RaiseComLast(CError_PurgeFailed);
}

void TCustomComPort::TransmitChar(char Ch) {
  if (!TransmitCommChar(FHandle, Ch)) RaiseComLast(CError_TransmitFailed);
}

void TCustomComPort::ShowSetupDialog() {
  if (ShowComSetupDialog) ShowComSetupDialog(this);
}

// ---------------------------------------------------------------- dispatch

void TCustomComPort::DoAfterClose() { if (OnAfterClose) OnAfterClose(this); }
void TCustomComPort::DoAfterOpen() { if (OnAfterOpen) OnAfterOpen(this); }
void TCustomComPort::DoBeforeClose() { if (OnBeforeClose) OnBeforeClose(this); }
void TCustomComPort::DoBeforeOpen() { if (OnBeforeOpen) OnBeforeOpen(this); }
void TCustomComPort::DoRxChar(Integer Count) { if (OnRxChar) OnRxChar(this, Count); }
void TCustomComPort::DoRxBuf(const void* Buffer, Integer Count) { if (OnRxBuf) OnRxBuf(this, Buffer, Count); }
void TCustomComPort::DoTxEmpty() { if (OnTxEmpty) OnTxEmpty(this); }
void TCustomComPort::DoBreak() { if (OnBreak) OnBreak(this); }
void TCustomComPort::DoRing() { if (OnRing) OnRing(this); }
void TCustomComPort::DoRxFlag() { if (OnRxFlag) OnRxFlag(this); }
void TCustomComPort::DoCTSChange(bool OnOff) { if (OnCTSChange) OnCTSChange(this, OnOff); }
void TCustomComPort::DoDSRChange(bool OnOff) { if (OnDSRChange) OnDSRChange(this, OnOff); }
void TCustomComPort::DoError(TComErrors Errors) { if (OnError) OnError(this, Errors); }
void TCustomComPort::DoRLSDChange(bool OnOff) { if (OnRLSDChange) OnRLSDChange(this, OnOff); }
void TCustomComPort::DoRx80Full() { if (OnRx80Full) OnRx80Full(this); }

void TCustomComPort::CallError() {
  TComErrors e = LastErrors();
  if (!e.Empty()) DoError(e);
}

void TCustomComPort::CallRxChar() {
  Integer count = InputCount();
  if (count > 0) SendSignalToLink(leRx, true);
  if (count > 0 && !TriggersOnRxChar()) {
    std::vector<Byte> buf;
    bool read = false;
    auto readNow = [&] {
      buf.resize(static_cast<size_t>(count));
      count = Read(buf.data(), count);
      read = true;
      DoRxBuf(buf.data(), count);
    };
    int n = FLinks->Count();
    for (int i = 0; i < n && i < FLinks->Count(); ++i) {
      auto* link = static_cast<TComLink*>(FLinks->Items(i));
      if (!link->OnRxBuf) continue;
      if (!read) readNow();
      link->OnRxBuf(this, buf.data(), count);
    }
    if (!read && !FTriggersOnRxChar) readNow();
    if (read) count = 0;
  }
  if (count > 0) DoRxChar(count);
}

void TCustomComPort::CallTxEmpty() {
  SendSignalToLink(leTx, false);
  NotifyLink(leTxEmpty);
  DoTxEmpty();
}

void TCustomComPort::CallBreak() { DoBreak(); }
void TCustomComPort::CallRx80Full() { DoRx80Full(); }

void TCustomComPort::CallRing() {
  NotifyLink(leRing);
  DoRing();
}

void TCustomComPort::CallRxFlag() {
  NotifyLink(leRxFlag);
  DoRxFlag();
}

void TCustomComPort::CallCTSChange() {
  bool on = Signals().Contains(csCTS);
  SendSignalToLink(leCTS, on);
  DoCTSChange(on);
}

void TCustomComPort::CallDSRChange() {
  bool on = Signals().Contains(csDSR);
  SendSignalToLink(leDSR, on);
  DoDSRChange(on);
}

void TCustomComPort::CallRLSDChange() {
  bool on = Signals().Contains(csRLSD);
  SendSignalToLink(leRLSD, on);
  DoRLSDChange(on);
}

void TCustomComPort::CheckSignals(bool Open) {
  if (Open) {
    // Lines that cannot be read are unknown: nothing is reported for them,
    // and the port stays open.
    TComSignals s;
    try {
      s = Signals();
    } catch (const EComPort&) {
      return;
    }
    bool cts = s.Contains(csCTS), dsr = s.Contains(csDSR), rlsd = s.Contains(csRLSD);
    SendSignalToLink(leCTS, cts);
    DoCTSChange(cts);
    SendSignalToLink(leDSR, dsr);
    DoDSRChange(dsr);
    SendSignalToLink(leRLSD, rlsd);
    DoRLSDChange(rlsd);
  } else {
    SendSignalToLink(leCTS, false);
    SendSignalToLink(leDSR, false);
    SendSignalToLink(leRLSD, false);
    DoCTSChange(false);
    DoDSRChange(false);
    DoRLSDChange(false);
  }
}

void TCustomComPort::CallAfterOpen() {
  SendSignalToLink(leConn, true);
  DoAfterOpen();
  CheckSignals(true);
}

void TCustomComPort::CallAfterClose() {
  SendSignalToLink(leConn, false);
  DoAfterClose();
}

void TCustomComPort::CallBeforeOpen() { DoBeforeOpen(); }

void TCustomComPort::CallBeforeClose() {
  CheckSignals(false);
  DoBeforeClose();
}

void TCustomComPort::DeviceLost(Cardinal WinError, TComThread* Thread) {
  (void)WinError;
  FDeviceLost = true;
  auto report = [this] {
    if (FConnected) DoError(TComErrors{ceIO});
  };
  if (FSyncMethod == smNone) {
    report();
  } else {
    // Both synchronised routes end on the user-interface thread.
    Thread->Synchronize(std::function<void()>([this, report] { GuardCallback(this, report); }));
  }
}

void TCustomComPort::WindowMethod(TMessage& Message) {
  if (Message.Msg != WM_USER + 1) {
    Message.Result = DefWindowProcW(static_cast<HWND>(FWindow), Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  if (InSendMessage()) ReplyMessage(0);
  if (!FConnected) return;
  GuardCallback(this, [&] {
    switch (Message.WParam) {
      case EV_RXCHAR: CallRxChar(); break;
      case EV_RXFLAG: CallRxFlag(); break;
      case EV_TXEMPTY: CallTxEmpty(); break;
      case EV_CTS: CallCTSChange(); break;
      case EV_DSR: CallDSRChange(); break;
      case EV_RLSD: CallRLSDChange(); break;
      case EV_BREAK: CallBreak(); break;
      case EV_ERR: CallError(); break;
      case EV_RING: CallRing(); break;
      case EV_RX80FULL: CallRx80Full(); break;
      default: break;
    }
  });
}

// -------------------------------------------------------------------- links

void TCustomComPort::RegisterLink(TComLink* AComLink) {
  if (!AComLink || FLinks->IndexOf(AComLink) >= 0) throw EComPort(CError_RegFailed);
  FLinks->Add(AComLink);
  FHasLink = HasLink();
}

void TCustomComPort::UnRegisterLink(TComLink* AComLink) {
  if (!AComLink || FLinks->IndexOf(AComLink) < 0) throw EComPort(CError_RegFailed);
  FLinks->Remove(AComLink);
  FHasLink = HasLink();
}

bool TCustomComPort::HasLink() const {
  for (int i = 0; i < FLinks->Count(); ++i)
    if (static_cast<TComLink*>(FLinks->Items(i))->OnRxBuf) return true;
  return false;
}

void TCustomComPort::SendSignalToLink(TComLinkEvent Event, bool OnOff) {
  for (int i = 0; i < FLinks->Count(); ++i) {
    auto* link = static_cast<TComLink*>(FLinks->Items(i));
    const TComSignalEvent* ev = nullptr;
    switch (Event) {
      case leConn: ev = &link->OnConn; break;
      case leCTS: ev = &link->OnCTSChange; break;
      case leDSR: ev = &link->OnDSRChange; break;
      case leRLSD: ev = &link->OnRLSDChange; break;
      case leRx: ev = &link->OnRx; break;
      case leTx: ev = &link->OnTx; break;
      default: break;
    }
    if (ev && *ev) (*ev)(this, OnOff);
  }
}

void TCustomComPort::NotifyLink(TComLinkEvent Event) {
  for (int i = 0; i < FLinks->Count(); ++i) {
    auto* link = static_cast<TComLink*>(FLinks->Items(i));
    const TNotifyEvent* ev = nullptr;
    switch (Event) {
      case leRing: ev = &link->OnRing; break;
      case leTxEmpty: ev = &link->OnTxEmpty; break;
      case leRxFlag: ev = &link->OnRxFlag; break;
      default: break;
    }
    if (ev && *ev) (*ev)(this);
  }
}

void TCustomComPort::TxNotifyLink(const void* Buffer, Integer Count) {
  for (int i = 0; i < FLinks->Count(); ++i) {
    auto* link = static_cast<TComLink*>(FLinks->Items(i));
    if (link->OnTxBuf) link->OnTxBuf(this, Buffer, Count);
  }
}

// ---------------------------------------------------- reading and writing

Integer TCustomComPort::WriteAsync(const void* Buffer, Integer Count, PAsync AsyncPtr) {
  if (!AsyncPtr) throw EComPort(CError_InvalidAsync);
  if (Count < 0) Count = 0;
  AsyncPtr->Operation = okWrite;
  delete[] AsyncPtr->WriteData;
  AsyncPtr->WriteData = new Byte[static_cast<size_t>(Count) + 1];
  if (Count > 0) std::memcpy(AsyncPtr->WriteData, Buffer, static_cast<size_t>(Count));
  AsyncPtr->WriteSize = Count;
  AsyncPtr->Port = FHandle;
  DWORD written = 0;
  // The copy is written, so the caller's buffer may be reused at once.
  if (!WriteFile(FHandle, AsyncPtr->WriteData, static_cast<DWORD>(Count), &written, &AsyncPtr->Overlapped) &&
      GetLastError() != ERROR_IO_PENDING)
    RaiseComLast(CError_WriteFailed);
  SendSignalToLink(leTx, true);
  return static_cast<Integer>(written);
}

Integer TCustomComPort::WriteStrAsync(const AnsiString& Str, PAsync AsyncPtr) {
  if (Str.empty()) return 0;
  return WriteAsync(Str.data(), static_cast<Integer>(Str.size()), AsyncPtr);
}

Integer TCustomComPort::ReadAsync(void* Buffer, Integer Count, PAsync AsyncPtr) {
  if (!AsyncPtr) throw EComPort(CError_InvalidAsync);
  if (Count < 0) Count = 0;
  AsyncPtr->Operation = okRead;
  AsyncPtr->Port = FHandle;
  DWORD got = 0;
  if (!ReadFile(FHandle, Buffer, static_cast<DWORD>(Count), &got, &AsyncPtr->Overlapped)) {
    DWORD err = GetLastError();
    // A read that ends on its time-out is a short read, not a failure.
    if (err != ERROR_IO_PENDING && err != ERROR_TIMEOUT) RaiseCom(CError_ReadFailed, err);
  }
  return static_cast<Integer>(got);
}

Integer TCustomComPort::ReadStrAsync(AnsiString& Str, Integer Count, PAsync AsyncPtr) {
  Str.resize(Count > 0 ? static_cast<size_t>(Count) : 0);
  if (Count <= 0) return 0;
  return ReadAsync(Str.data(), Count, AsyncPtr);
}

Integer TCustomComPort::WaitForAsync(PAsync& AsyncPtr) {
  if (!AsyncPtr) throw EComPort(CError_InvalidAsync);
  Integer code = AsyncPtr->Operation == okWrite ? CError_WriteFailed : CError_ReadFailed;
  if (WaitForSingleObject(AsyncPtr->Overlapped.hEvent, INFINITE) != WAIT_OBJECT_0) RaiseComLast(code);
  DWORD n = 0;
  HANDLE h = AsyncPtr->Port ? AsyncPtr->Port : FHandle;
  if (!GetOverlappedResult(h, &AsyncPtr->Overlapped, &n, FALSE)) {
    DWORD err = GetLastError();
    // A read that ended on its time-out delivers what it got.
    if (!(AsyncPtr->Operation == okRead && err == ERROR_TIMEOUT)) RaiseCom(code, err);
  }
  if (AsyncPtr->Operation == okRead) {
    if (InputCount() == 0) SendSignalToLink(leRx, false);
  } else if (AsyncPtr->WriteData) {
    TxNotifyLink(AsyncPtr->WriteData, AsyncPtr->WriteSize);
  }
  return static_cast<Integer>(n);
}

namespace {
// A record freed whatever happens.
struct TAsyncHolder {
  PAsync Ptr = nullptr;
  TAsyncHolder() { InitAsync(Ptr); }
  ~TAsyncHolder() { DoneAsync(Ptr); }
};
}  // namespace

Integer TCustomComPort::Write(const void* Buffer, Integer Count) {
  TAsyncHolder a;
  WriteAsync(Buffer, Count, a.Ptr);
  return WaitForAsync(a.Ptr);
}

Integer TCustomComPort::WriteStr(const AnsiString& Str) {
  TAsyncHolder a;
  WriteStrAsync(Str, a.Ptr);
  return WaitForAsync(a.Ptr);
}

Integer TCustomComPort::Read(void* Buffer, Integer Count) {
  TAsyncHolder a;
  ReadAsync(Buffer, Count, a.Ptr);
  return WaitForAsync(a.Ptr);
}

Integer TCustomComPort::ReadStr(AnsiString& Str, Integer Count) {
  Integer n;
  {
    TAsyncHolder a;
    ReadStrAsync(Str, Count, a.Ptr);
    n = WaitForAsync(a.Ptr);
  }
  Str.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return n;
}

void TCustomComPort::AbortAllAsync() {
  if (!PurgeComm(FHandle, PURGE_TXABORT | PURGE_RXABORT)) RaiseComLast(CError_PurgeFailed);
  // Not every driver ends pending transfers on the purge: cancel them too.
  // (The event thread takes its cancelled wait as a failed one and waits again.)
  CancelIoEx(FHandle, nullptr);
}

bool TCustomComPort::IsAsyncCompleted(PAsync AsyncPtr) {
  if (!AsyncPtr) throw EComPort(CError_InvalidAsync);
  DWORD n = 0;
  HANDLE h = AsyncPtr->Port ? AsyncPtr->Port : FHandle;
  if (GetOverlappedResult(h, &AsyncPtr->Overlapped, &n, FALSE)) return true;
  DWORD err = GetLastError();
  if (err == ERROR_IO_PENDING || err == ERROR_IO_INCOMPLETE) return false;
  if (err == ERROR_TIMEOUT && AsyncPtr->Operation == okRead) return true;
  RaiseCom(CError_AsyncCheck, err);
}

void TCustomComPort::WaitForEvent(TComEvents& Events, void* StopEvent, Integer Timeout) {
  if (FThreadCreated) throw EComPort(CError_ThreadCreated);
  OVERLAPPED ov{};
  ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  struct TCloser {
    HANDLE h;
    ~TCloser() { CloseHandle(h); }
  } closer{ov.hEvent};
  HANDLE handles[2] = {ov.hEvent, static_cast<HANDLE>(StopEvent)};
  DWORD count = StopEvent ? 2 : 1;
  DWORD mask = 0;
  SetCommMask(FHandle, EventsToMask(Events));
  bool started = WaitCommEvent(FHandle, &mask, &ov) || GetLastError() == ERROR_IO_PENDING;
  DWORD err = started ? 0 : GetLastError();
  bool failed = !started;
  bool reported = false;
  if (started) {
    DWORD w = WaitForMultipleObjects(count, handles, FALSE, static_cast<DWORD>(Timeout));
    if (w == WAIT_OBJECT_0) {
      DWORD n = 0;
      reported = GetOverlappedResult(FHandle, &ov, &n, FALSE) != 0;
    } else if (w != WAIT_OBJECT_0 + 1 || count < 2) {
      if (w != WAIT_TIMEOUT) {
        failed = true;
        err = GetLastError();
      }
    }
    SetCommMask(FHandle, 0);
    // The ended wait must be over before its record goes.
    if (!HasOverlappedIoCompleted(&ov)) {
      CancelIoEx(FHandle, &ov);
      DWORD n = 0;
      GetOverlappedResult(FHandle, &ov, &n, TRUE);
    }
  }
  if (failed) RaiseCom(CError_WaitFailed, err);
  Events = reported ? MaskToEvents(mask) : TComEvents();
}

// ------------------------------------------------------------------ stream

Integer TComStream::Read(void* Buffer, Integer Count) { return FComPort->Read(Buffer, Count); }
Integer TComStream::Write(const void* Buffer, Integer Count) { return FComPort->Write(Buffer, Count); }
Int64 TComStream::Seek(Int64, TSeekOrigin) { return 0; }

// --------------------------------------------------------------- port list

void EnumComPorts(TStrings* Ports) {
  HKEY key = nullptr;
  LONG rc = RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key);
  if (rc != ERROR_SUCCESS) RaiseCom(CError_RegError, static_cast<DWORD>(rc));
  std::unique_ptr<TStringList> list(new TStringList());
  try {
    for (DWORD index = 0;; ++index) {
      wchar_t name[256];
      BYTE data[256 + sizeof(wchar_t)] = {};
      DWORD nameLen = 256, dataLen = 256, type = 0;
      rc = RegEnumValueW(key, index, name, &nameLen, nullptr, &type, data, &dataLen);
      if (rc == ERROR_NO_MORE_ITEMS) break;
      if (rc != ERROR_SUCCESS) RaiseCom(CError_RegError, static_cast<DWORD>(rc));
      size_t chars = dataLen / sizeof(wchar_t);
      const wchar_t* text = reinterpret_cast<const wchar_t*>(data);
      while (chars > 0 && text[chars - 1] == L'\0') --chars;
      list->Add(winapi::A(text, static_cast<int>(chars)));
    }
  } catch (...) {
    RegCloseKey(key);
    throw;
  }
  RegCloseKey(key);
  list->CustomSort([](TStringList* l, int a, int b) { return CompareText(l->Strings(a), l->Strings(b)); });
  Ports->Assign(list.get());
}

// ---------------------------------------------------------------- publishing

DK_PUBLISH(TComTimeouts) {
  P.Property("ReadInterval", &TComTimeouts::ReadInterval, &TComTimeouts::SetReadInterval).Default(-1);
  P.Property("ReadTotalMultiplier", &TComTimeouts::ReadTotalMultiplier, &TComTimeouts::SetReadTotalMultiplier)
      .Default(0);
  P.Property("ReadTotalConstant", &TComTimeouts::ReadTotalConstant, &TComTimeouts::SetReadTotalConstant).Default(0);
  P.Property("WriteTotalMultiplier", &TComTimeouts::WriteTotalMultiplier, &TComTimeouts::SetWriteTotalMultiplier)
      .Default(100);
  P.Property("WriteTotalConstant", &TComTimeouts::WriteTotalConstant, &TComTimeouts::SetWriteTotalConstant)
      .Default(1000);
}

DK_PUBLISH(TComFlowControl) {
  P.Property("OutCTSFlow", &TComFlowControl::OutCTSFlow, &TComFlowControl::SetOutCTSFlow);
  P.Property("OutDSRFlow", &TComFlowControl::OutDSRFlow, &TComFlowControl::SetOutDSRFlow);
  P.Property("ControlDTR", &TComFlowControl::ControlDTR, &TComFlowControl::SetControlDTR);
  P.Property("ControlRTS", &TComFlowControl::ControlRTS, &TComFlowControl::SetControlRTS);
  P.Property("XonXoffOut", &TComFlowControl::XonXoffOut, &TComFlowControl::SetXonXoffOut);
  P.Property("XonXoffIn", &TComFlowControl::XonXoffIn, &TComFlowControl::SetXonXoffIn);
  P.Property("DSRSensitivity", &TComFlowControl::DSRSensitivity, &TComFlowControl::SetDSRSensitivity).Default(false);
  P.Property("TxContinueOnXoff", &TComFlowControl::TxContinueOnXoff, &TComFlowControl::SetTxContinueOnXoff)
      .Default(false);
  P.Property("XonChar", &TComFlowControl::XonChar, &TComFlowControl::SetXonChar).Default(17);
  P.Property("XoffChar", &TComFlowControl::XoffChar, &TComFlowControl::SetXoffChar).Default(19);
}

DK_PUBLISH(TComParity) {
  P.Property("Bits", &TComParity::Bits, &TComParity::SetBits);
  P.Property("Check", &TComParity::Check, &TComParity::SetCheck).Default(false);
  P.Property("Replace", &TComParity::Replace, &TComParity::SetReplace).Default(false);
  P.Property("ReplaceChar", &TComParity::ReplaceChar, &TComParity::SetReplaceChar).Default(0);
}

DK_PUBLISH(TComBuffer) {
  P.Property("InputSize", &TComBuffer::InputSize, &TComBuffer::SetInputSize).Default(1024);
  P.Property("OutputSize", &TComBuffer::OutputSize, &TComBuffer::SetOutputSize).Default(1024);
}

DK_PUBLISH(TComPort) {
  P.Property("Connected", &TComPort::Connected, &TComPort::SetConnected).Default(false);
  P.Property("BaudRate", &TComPort::BaudRate, &TComPort::SetBaudRate);
  P.Property("Port", &TComPort::Port, &TComPort::SetPort);
  P.Property("Parity", &TComPort::Parity, &TComPort::SetParity);
  P.Property("StopBits", &TComPort::StopBits, &TComPort::SetStopBits);
  P.Property("DataBits", &TComPort::DataBits, &TComPort::SetDataBits);
  P.Property("DiscardNull", &TComPort::DiscardNull, &TComPort::SetDiscardNull).Default(false);
  P.Property("EventChar", &TComPort::EventChar, &TComPort::SetEventChar).Default(0);
  P.Property("Events", &TComPort::Events, &TComPort::SetEvents);
  P.Property("Buffer", &TComPort::Buffer, &TComPort::SetBuffer);
  P.Property("FlowControl", &TComPort::FlowControl, &TComPort::SetFlowControl);
  P.Property("Timeouts", &TComPort::Timeouts, &TComPort::SetTimeouts);
  P.Property("SyncMethod", &TComPort::SyncMethod, &TComPort::SetSyncMethod).Default(smThreadSync);
  P.Property("OnAfterOpen", &TComPort::OnAfterOpen);
  P.Property("OnAfterClose", &TComPort::OnAfterClose);
  P.Property("OnBeforeOpen", &TComPort::OnBeforeOpen);
  P.Property("OnBeforeClose", &TComPort::OnBeforeClose);
  P.Property("OnRxChar", &TComPort::OnRxChar);
  P.Property("OnRxBuf", &TComPort::OnRxBuf);
  P.Property("OnTxEmpty", &TComPort::OnTxEmpty);
  P.Property("OnBreak", &TComPort::OnBreak);
  P.Property("OnRing", &TComPort::OnRing);
  P.Property("OnCTSChange", &TComPort::OnCTSChange);
  P.Property("OnDSRChange", &TComPort::OnDSRChange);
  P.Property("OnRLSDChange", &TComPort::OnRLSDChange);
  P.Property("OnRxFlag", &TComPort::OnRxFlag);
  P.Property("OnError", &TComPort::OnError);
  P.Property("OnRx80Full", &TComPort::OnRx80Full);
}
