// The serial port component: one port of the Windows serial driver opened for
// overlapped input and output, its line settings, its event thread and the
// links through which other components (the packet framer, the lamp, the
// terminal) attach to it; the settings store, the port list, the library's
// error class and the port stream.
//
// This header includes no platform header, so that the portable units that
// attach to a port through TComLink (the packet framer) build in every kind.
// The implementation (CPort.cpp) is Windows only. System handles are kept as
// void*; INVALID_HANDLE_VALUE is (void*)-1.
#pragma once

#include "classlib/core/Classes.h"
#include "classlib/core/SysUtils.h"
#include "classlib/core/TypInfo.h"

class TCustomIniFile;
class TRegistry;
struct TMessage;

// ---------------------------------------------------------------- enumerations

DK_ENUM(TBaudRate, brCustom, br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200, br38400,
        br56000, br57600, br115200, br128000, br256000);
DK_ENUM(TStopBits, sbOneStopBit, sbOne5StopBits, sbTwoStopBits);
DK_ENUM(TDataBits, dbFive, dbSix, dbSeven, dbEight);
DK_ENUM(TParityBits, prNone, prOdd, prEven, prMark, prSpace);
DK_ENUM(TDTRFlowControl, dtrDisable, dtrEnable, dtrHandshake);
DK_ENUM(TRTSFlowControl, rtsDisable, rtsEnable, rtsHandshake, rtsToggle);
DK_ENUM(TFlowControl, fcHardware, fcSoftware, fcNone, fcCustom);
DK_ENUM(TComEvent, evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS, evDSR, evError, evRLSD, evRx80Full);
using TComEvents = TSet<TComEvent>;
DK_ENUM(TComSignal, csCTS, csDSR, csRing, csRLSD);
using TComSignals = TSet<TComSignal>;
DK_ENUM(TComError, ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull);
using TComErrors = TSet<TComError>;
DK_ENUM(TSyncMethod, smThreadSync, smWindowSync, smNone);
DK_ENUM(TStoreType, stRegistry, stIniFile);
DK_ENUM(TStoredProp, spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers);
using TStoredProps = TSet<TStoredProp>;
DK_ENUM(TComLinkEvent, leConn, leCTS, leDSR, leRLSD, leRing, leRx, leTx, leTxEmpty, leRxFlag);
DK_ENUM(TOperationKind, okWrite, okRead);

// The driver's status flags (StateFlags), in the driver's bit order.
enum TComStateFlag { fCtlHold, fDsrHold, fRlsHold, fXoffHold, fXOffSent, fEof, fTxim };
using TComStateFlags = TSet<TComStateFlag>;

inline constexpr TComEvents AllComEvents = TComEvents::FromBits((1u << 10) - 1);

// --------------------------------------------------------------------- events

using TRxCharEvent = TClosure<void(TObject* Sender, Integer Count)>;
using TRxBufEvent = TClosure<void(TObject* Sender, const void* Buffer, Integer Count)>;
using TComSignalEvent = TClosure<void(TObject* Sender, bool OnOff)>;
using TComErrorEvent = TClosure<void(TObject* Sender, TComErrors Errors)>;

// ---------------------------------------------------------------------- errors

// Error codes of EComPort.
enum : Integer {
  CError_OpenFailed = 1,
  CError_WriteFailed = 2,
  CError_ReadFailed = 3,
  CError_InvalidAsync = 4,
  CError_PurgeFailed = 5,
  CError_AsyncCheck = 6,
  CError_SetStateFailed = 7,
  CError_TimeoutsFailed = 8,
  CError_SetupComFailed = 9,
  CError_ClearComFailed = 10,
  CError_ModemStatFailed = 11,
  CError_EscapeComFailed = 12,
  CError_TransmitFailed = 13,
  CError_ConnChangeProp = 14,
  CError_EnumPortsFailed = 15,
  CError_StoreFailed = 16,
  CError_LoadFailed = 17,
  CError_RegFailed = 18,
  CError_LedStateFailed = 19,
  CError_ThreadCreated = 20,
  CError_WaitFailed = 21,
  CError_HasLink = 22,
  CError_RegError = 23,
};

// The library's exception: Code is 1..23, WinCode the system error or -1.
class EComPort : public Exception {
  DK_CLASS(EComPort, Exception)
 public:
  EComPort() = default;
  // The message of ACode followed by " (win error code: %d)" with AWinCode.
  EComPort(Integer ACode, Integer AWinCode);
  // The message of ACode alone; WinCode -1.
  explicit EComPort(Integer ACode);

  Integer Code = 0;
  Integer WinCode = -1;
};

// The message table entry of a code (empty outside 1..23).
AnsiString ComErrorMessage(Integer ACode);

// ----------------------------------------------------------------------- links

class TCustomComPort;

// How another component attaches to a port. The owner creates and frees the
// link and sets the handlers it needs; Sender is always the port.
class TComLink : public TObject {
  DK_CLASS(TComLink, TObject)
 public:
  TComSignalEvent OnConn;
  TRxBufEvent OnRxBuf;
  TRxBufEvent OnTxBuf;
  TNotifyEvent OnTxEmpty;
  TNotifyEvent OnRxFlag;
  TComSignalEvent OnCTSChange;
  TComSignalEvent OnDSRChange;
  TComSignalEvent OnRLSDChange;
  TNotifyEvent OnRing;
  TComSignalEvent OnTx;
  TComSignalEvent OnRx;
};

// ------------------------------------------------------------ asynchronous I/O

// The operation record of an asynchronous read or write (defined in CPort.cpp).
struct TAsync;
using PAsync = TAsync*;

void InitAsync(PAsync& AsyncPtr);
void DoneAsync(PAsync& AsyncPtr);

// ----------------------------------------------------------------- sub-objects

class TComTimeouts : public TPersistent {
  DK_CLASS(TComTimeouts, TPersistent)
 public:
  TComTimeouts() = default;
  TCustomComPort* ComPort() const { return FComPort; }
  void SetComPort(TCustomComPort* Value) { FComPort = Value; }

  Integer ReadInterval() const { return FReadInterval; }
  Integer ReadTotalMultiplier() const { return FReadTotalM; }
  Integer ReadTotalConstant() const { return FReadTotalC; }
  Integer WriteTotalMultiplier() const { return FWriteTotalM; }
  Integer WriteTotalConstant() const { return FWriteTotalC; }
  void SetReadInterval(Integer Value);
  void SetReadTotalMultiplier(Integer Value);
  void SetReadTotalConstant(Integer Value);
  void SetWriteTotalMultiplier(Integer Value);
  void SetWriteTotalConstant(Integer Value);

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  friend class TCustomComPort;
  TCustomComPort* FComPort = nullptr;
  Integer FReadInterval = -1;
  Integer FReadTotalM = 0;
  Integer FReadTotalC = 0;
  Integer FWriteTotalM = 100;
  Integer FWriteTotalC = 1000;
};

class TComFlowControl : public TPersistent {
  DK_CLASS(TComFlowControl, TPersistent)
 public:
  TComFlowControl() = default;
  TCustomComPort* ComPort() const { return FComPort; }
  void SetComPort(TCustomComPort* Value) { FComPort = Value; }

  bool OutCTSFlow() const { return FOutCTSFlow; }
  bool OutDSRFlow() const { return FOutDSRFlow; }
  TDTRFlowControl ControlDTR() const { return FControlDTR; }
  TRTSFlowControl ControlRTS() const { return FControlRTS; }
  bool XonXoffOut() const { return FXonXoffOut; }
  bool XonXoffIn() const { return FXonXoffIn; }
  bool DSRSensitivity() const { return FDSRSensitivity; }
  bool TxContinueOnXoff() const { return FTxContinueOnXoff; }
  char XonChar() const { return FXonChar; }
  char XoffChar() const { return FXoffChar; }
  // The derived mode (not stored).
  TFlowControl FlowControl() const;

  void SetOutCTSFlow(bool Value);
  void SetOutDSRFlow(bool Value);
  void SetControlDTR(TDTRFlowControl Value);
  void SetControlRTS(TRTSFlowControl Value);
  void SetXonXoffOut(bool Value);
  void SetXonXoffIn(bool Value);
  void SetDSRSensitivity(bool Value);
  void SetTxContinueOnXoff(bool Value);
  void SetXonChar(char Value);
  void SetXoffChar(char Value);
  void SetFlowControl(TFlowControl Value);

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  friend class TCustomComPort;
  TCustomComPort* FComPort = nullptr;
  bool FOutCTSFlow = false;
  bool FOutDSRFlow = false;
  TDTRFlowControl FControlDTR = dtrDisable;
  TRTSFlowControl FControlRTS = rtsDisable;
  bool FXonXoffOut = false;
  bool FXonXoffIn = false;
  bool FDSRSensitivity = false;
  bool FTxContinueOnXoff = false;
  char FXonChar = 17;
  char FXoffChar = 19;
};

class TComParity : public TPersistent {
  DK_CLASS(TComParity, TPersistent)
 public:
  TComParity() = default;
  TCustomComPort* ComPort() const { return FComPort; }
  void SetComPort(TCustomComPort* Value) { FComPort = Value; }

  TParityBits Bits() const { return FBits; }
  bool Check() const { return FCheck; }
  bool Replace() const { return FReplace; }
  char ReplaceChar() const { return FReplaceChar; }
  void SetBits(TParityBits Value);
  void SetCheck(bool Value);
  void SetReplace(bool Value);
  void SetReplaceChar(char Value);

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  friend class TCustomComPort;
  TCustomComPort* FComPort = nullptr;
  TParityBits FBits = prNone;
  bool FCheck = false;
  bool FReplace = false;
  char FReplaceChar = 0;
};

class TComBuffer : public TPersistent {
  DK_CLASS(TComBuffer, TPersistent)
 public:
  TComBuffer() = default;
  TCustomComPort* ComPort() const { return FComPort; }
  void SetComPort(TCustomComPort* Value) { FComPort = Value; }

  Integer InputSize() const { return FInputSize; }
  Integer OutputSize() const { return FOutputSize; }
  // A positive odd size is stored less one.
  void SetInputSize(Integer Value);
  void SetOutputSize(Integer Value);

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  friend class TCustomComPort;
  TCustomComPort* FComPort = nullptr;
  Integer FInputSize = 1024;
  Integer FOutputSize = 1024;
};

// ----------------------------------------------------------------- event thread

// Waits for driver events of an open port and hands each batch to the port.
class TComThread : public TThread {
  DK_CLASS(TComThread, TThread)
 public:
  // Created suspended; the constructor's work that needs the port runs in
  // Construct (event mask, priority), then the thread is started.
  explicit TComThread(TCustomComPort* AComPort);
  ~TComThread() override;
  void Construct() override;
  void Stop();
  TComEvents Events() const { return FEvents; }

 protected:
  void Execute() override;

 private:
  void DispatchComMsg();
  void DoEvents();
  void SendEvents();
  TCustomComPort* FComPort;
  void* FStopEvent = nullptr;
  TComEvents FEvents;
};

// ------------------------------------------------------------------- the port

class TCustomComPort : public TComponent {
  DK_CLASS(TCustomComPort, TComponent)
 public:
  explicit TCustomComPort(TComponent* AOwner);
  ~TCustomComPort() override;
  void Construct() override;
  void BeforeDestruction() override;
  void Loaded() override;

  // Opening and closing.
  void Open();
  void Close();
  bool Connected() const { return FConnected; }
  void SetConnected(bool Value);
  void BeginUpdate();
  void EndUpdate();

  // Settings.
  TBaudRate BaudRate() const { return FBaudRate; }
  void SetBaudRate(TBaudRate Value);
  Integer CustomBaudRate() const { return FCustomBaudRate; }
  void SetCustomBaudRate(Integer Value);
  const AnsiString& Port() const { return FPort; }
  void SetPort(const AnsiString& Value);
  TStopBits StopBits() const { return FStopBits; }
  void SetStopBits(TStopBits Value);
  TDataBits DataBits() const { return FDataBits; }
  void SetDataBits(TDataBits Value);
  bool DiscardNull() const { return FDiscardNull; }
  void SetDiscardNull(bool Value);
  char EventChar() const { return FEventChar; }
  void SetEventChar(char Value);
  TComEvents Events() const { return FEvents; }
  void SetEvents(TComEvents Value) { FEvents = Value; }
  TComBuffer* Buffer() const { return FBuffer; }
  void SetBuffer(TComBuffer* Value);
  TComParity* Parity() const { return FParity; }
  void SetParity(TComParity* Value);
  TComTimeouts* Timeouts() const { return FTimeouts; }
  void SetTimeouts(TComTimeouts* Value);
  TComFlowControl* FlowControl() const { return FFlowControl; }
  void SetFlowControl(TComFlowControl* Value);
  TSyncMethod SyncMethod() const { return FSyncMethod; }
  void SetSyncMethod(TSyncMethod Value);
  TThreadPriority EventThreadPriority() const { return FEventThreadPriority; }
  void SetEventThreadPriority(TThreadPriority Value);
  TStoredProps StoredProps() const { return FStoredProps; }
  void SetStoredProps(TStoredProps Value) { FStoredProps = Value; }
  // Reads as the stored flag and not the has-link flag.
  bool TriggersOnRxChar() const;
  void SetTriggersOnRxChar(bool Value);

  // Driver state.
  Integer InputCount();
  Integer OutputCount();
  TComSignals Signals();
  TComStateFlags StateFlags();
  TComErrors LastErrors();
  void SetBreak(bool OnOff);
  void SetDTR(bool OnOff);
  void SetRTS(bool OnOff);
  void SetXonXoff(bool OnOff);
  void ClearBuffer(bool Input, bool Output);
  void TransmitChar(char Ch);
  // Runs the port setup form on this port.
  void ShowSetupDialog();
  // The port's system handle ((void*)-1 before the first opening).
  void* Handle() const { return FHandle; }
  // True while the event thread exists.
  bool ThreadCreated() const { return FThreadCreated; }
  // True once the event thread has found the device gone (until the next Open).
  bool DeviceLostFlag() const { return FDeviceLost; }

  // Settings store.
  void StoreSettings(TStoreType StoreType, const AnsiString& StoreTo);
  void LoadSettings(TStoreType StoreType, const AnsiString& LoadFrom);

  // Links.
  void RegisterLink(TComLink* AComLink);
  void UnRegisterLink(TComLink* AComLink);

  // Reading and writing (blocking; bounded by Timeouts).
  Integer Write(const void* Buffer, Integer Count);
  Integer WriteStr(const AnsiString& Str);
  Integer Read(void* Buffer, Integer Count);
  Integer ReadStr(AnsiString& Str, Integer Count);
  // Asynchronous operations.
  Integer WriteAsync(const void* Buffer, Integer Count, PAsync AsyncPtr);
  Integer WriteStrAsync(const AnsiString& Str, PAsync AsyncPtr);
  Integer ReadAsync(void* Buffer, Integer Count, PAsync AsyncPtr);
  Integer ReadStrAsync(AnsiString& Str, Integer Count, PAsync AsyncPtr);
  Integer WaitForAsync(PAsync& AsyncPtr);
  bool IsAsyncCompleted(PAsync AsyncPtr);
  void AbortAllAsync();
  // A synchronous wait for driver events while no event thread runs;
  // StopEvent may be nullptr.
  void WaitForEvent(TComEvents& Events, void* StopEvent, Integer Timeout);

  // Events.
  TNotifyEvent OnAfterOpen;
  TNotifyEvent OnAfterClose;
  TNotifyEvent OnBeforeOpen;
  TNotifyEvent OnBeforeClose;
  TRxCharEvent OnRxChar;
  TRxBufEvent OnRxBuf;
  TNotifyEvent OnTxEmpty;
  TNotifyEvent OnBreak;
  TNotifyEvent OnRing;
  TComSignalEvent OnCTSChange;
  TComSignalEvent OnDSRChange;
  TComSignalEvent OnRLSDChange;
  TComErrorEvent OnError;
  TNotifyEvent OnRxFlag;
  TNotifyEvent OnRx80Full;

 protected:
  // Settings store.
  virtual void StoreRegistry(TRegistry* Reg);
  virtual void StoreIniFile(TCustomIniFile* IniFile);
  virtual void LoadRegistry(TRegistry* Reg);
  virtual void LoadIniFile(TCustomIniFile* IniFile);
  // The handle and its configuration.
  virtual void CreateHandle();
  virtual void DestroyHandle();
  virtual void SetupComPort();

  virtual void DoAfterClose();
  virtual void DoAfterOpen();
  virtual void DoBeforeClose();
  virtual void DoBeforeOpen();
  virtual void DoRxChar(Integer Count);
  virtual void DoRxBuf(const void* Buffer, Integer Count);
  virtual void DoTxEmpty();
  virtual void DoBreak();
  virtual void DoRing();
  virtual void DoRxFlag();
  virtual void DoCTSChange(bool OnOff);
  virtual void DoDSRChange(bool OnOff);
  virtual void DoError(TComErrors Errors);
  virtual void DoRLSDChange(bool OnOff);
  virtual void DoRx80Full();

 public:
  // Applying the groups of settings to an open port (nothing while closed,
  // inside BeginUpdate/EndUpdate, designing or loading).
  virtual void ApplyDCB();
  virtual void ApplyTimeouts();
  virtual void ApplyBuffer();

  // Event dispatch (the event thread and the hidden window call these).
  void CallError();
  void CallRxChar();
  void CallTxEmpty();
  void CallBreak();
  void CallRing();
  void CallRxFlag();
  void CallCTSChange();
  void CallDSRChange();
  void CallRLSDChange();
  void CallRx80Full();
  void CheckSignals(bool Open);
  void WindowMethod(TMessage& Message);

 private:
  friend class TComThread;
  bool CanApply() const;
  void CallAfterOpen();
  void CallAfterClose();
  void CallBeforeOpen();
  void CallBeforeClose();
  void SendSignalToLink(TComLinkEvent Event, bool OnOff);
  void NotifyLink(TComLinkEvent Event);
  void TxNotifyLink(const void* Buffer, Integer Count);
  bool HasLink() const;
  // The event thread's report that the device is gone for good.
  void DeviceLost(Cardinal WinError, TComThread* Thread);
  // Stops and frees the event thread, serving its deliveries meanwhile.
  void StopEventThread();
  // Releases thread and handle without the close sequence (destruction after a failed close).
  void ReleasePort();

  TComThread* FEventThread = nullptr;
  bool FThreadCreated = false;
  void* FHandle = reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));
  void* FWindow = nullptr;
  Integer FUpdateCount = 0;
  TList* FLinks = nullptr;
  bool FTriggersOnRxChar = true;
  TThreadPriority FEventThreadPriority = tpNormal;
  bool FHasLink = false;
  bool FConnected = false;
  bool FDeviceLost = false;
  TBaudRate FBaudRate = br9600;
  Integer FCustomBaudRate = 9600;
  AnsiString FPort = "COM1";
  TStopBits FStopBits = sbOneStopBit;
  TDataBits FDataBits = dbEight;
  bool FDiscardNull = false;
  char FEventChar = 0;
  TComEvents FEvents = AllComEvents;
  TComBuffer* FBuffer = nullptr;
  TComParity* FParity = nullptr;
  TComTimeouts* FTimeouts = nullptr;
  TComFlowControl* FFlowControl = nullptr;
  TSyncMethod FSyncMethod = smThreadSync;
  TStoredProps FStoredProps{spBasic};
};

// The published port component.
class TComPort : public TCustomComPort {
  DK_CLASS(TComPort, TCustomComPort)
 public:
  using TCustomComPort::TCustomComPort;
};

// ----------------------------------------------------------------- port stream

// A stream over a port: reads and writes go to the port; no position.
class TComStream : public TStream {
  DK_CLASS(TComStream, TStream)
 public:
  explicit TComStream(TCustomComPort* AComPort) : FComPort(AComPort) {}
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;

 private:
  TCustomComPort* FComPort;
};

// ------------------------------------------------------- port list, value texts

// Replaces Ports with the serial ports present, sorted as text without regard to case.
void EnumComPorts(TStrings* Ports);
// Shows the port setup form for ComPort (the port-bound controls unit provides it).
extern void (*ShowComSetupDialog)(TCustomComPort* ComPort);

AnsiString BaudRateToStr(TBaudRate BaudRate);
AnsiString StopBitsToStr(TStopBits StopBits);
AnsiString DataBitsToStr(TDataBits DataBits);
AnsiString ParityToStr(TParityBits Parity);
AnsiString FlowControlToStr(TFlowControl FlowControl);
TBaudRate StrToBaudRate(const AnsiString& Str);
TStopBits StrToStopBits(const AnsiString& Str);
TDataBits StrToDataBits(const AnsiString& Str);
TParityBits StrToParity(const AnsiString& Str);
TFlowControl StrToFlowControl(const AnsiString& Str);

// The packet framer belongs to this unit too.
#include "serial/CPortPacket.h"
