// Shared pieces of the port tests: a recorder of port and link events, the
// device simulator on COM7 and a wait that serves the event thread.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "classlib/ui/Forms.h"
#include "serial/CPort.h"
#include "TestSupport.h"

namespace porttest {

// Runs the user-interface thread's message loop and the event thread's
// synchronised calls until cond holds or ms pass.
inline bool WaitUntil(const std::function<bool()>& cond, int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  for (;;) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    CheckSynchronize(1);
    if (cond()) return true;
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
  }
}

// Records what a port and a link report.
class TRecorder : public TObject {
 public:
  std::string Rx, Tx;
  std::vector<std::string> Log;  // event names in order
  std::vector<TComErrors> Errors;
  std::vector<std::string> Shown;  // exceptions handed to the application
  bool RxOffMainThread = false;
  bool ThrowOnRx = false;
  int RxCharCount = 0;

  void RxBuf(TObject*, const void* buf, Integer n) {
    if (!TThread::IsMainThread()) RxOffMainThread = true;
    Rx.append(static_cast<const char*>(buf), static_cast<size_t>(n));
    if (ThrowOnRx) {
      ThrowOnRx = false;
      throw Exception("handler failed");
    }
  }
  void TxBuf(TObject*, const void* buf, Integer n) { Tx.append(static_cast<const char*>(buf), static_cast<size_t>(n)); }
  void RxChar(TObject*, Integer n) { RxCharCount += n; }
  void Error(TObject*, TComErrors e) { Errors.push_back(e); }
  void Conn(TObject*, bool on) { Log.push_back(on ? "conn+" : "conn-"); }
  void RxSignal(TObject*, bool on) { Log.push_back(on ? "rx+" : "rx-"); }
  void TxSignal(TObject*, bool on) { Log.push_back(on ? "tx+" : "tx-"); }
  void Cts(TObject*, bool on) { Log.push_back(on ? "cts+" : "cts-"); }
  void AfterOpen(TObject*) { Log.push_back("afteropen"); }
  void BeforeOpen(TObject*) { Log.push_back("beforeopen"); }
  void AfterClose(TObject*) { Log.push_back("afterclose"); }
  void BeforeClose(TObject*) { Log.push_back("beforeclose"); }
  void ShowException(TObject*, Exception* E) { Shown.push_back(E->Message); }

  void Attach(TComLink* link) {
    link->OnRxBuf = TRxBufEvent(this, &TRecorder::RxBuf);
    link->OnTxBuf = TRxBufEvent(this, &TRecorder::TxBuf);
    link->OnConn = TComSignalEvent(this, &TRecorder::Conn);
    link->OnRx = TComSignalEvent(this, &TRecorder::RxSignal);
    link->OnTx = TComSignalEvent(this, &TRecorder::TxSignal);
    link->OnCTSChange = TComSignalEvent(this, &TRecorder::Cts);
  }
  void Attach(TCustomComPort* port) {
    port->OnError = TComErrorEvent(this, &TRecorder::Error);
    port->OnAfterOpen = TNotifyEvent(this, &TRecorder::AfterOpen);
    port->OnBeforeOpen = TNotifyEvent(this, &TRecorder::BeforeOpen);
    port->OnAfterClose = TNotifyEvent(this, &TRecorder::AfterClose);
    port->OnBeforeClose = TNotifyEvent(this, &TRecorder::BeforeClose);
    port->OnRxChar = TRxCharEvent(this, &TRecorder::RxChar);
  }
};

// The device simulator on the device end of COM7.
class TDevice {
 public:
  explicit TDevice(const std::string& devices = "XBV5:1:57600:E:weight=1000:noise=0:drift=0") {
    std::string wine = testsupport::HostBuildDir() + "/wine";
    link_ = wine + "/ports/com7";
    ctl_ = wine + "/serial-port-test.ctl";
    log_ = wine + "/serial-port-test.log";
    DeleteFileW(testsupport::WinPath(link_ + ".info").c_str());
    DeleteFileW(testsupport::WinPath(log_).c_str());
    started_ = testsupport::SpawnHostTool(
                   "devsim", "--port '" + link_ + "' --control '" + ctl_ + "' --log '" + log_ +
                                 "' --idle-exit 60 --wire-time off --device " + devices) &&
               testsupport::WaitForHostFile(link_ + ".info", 10000);
    running_ = started_;
  }
  ~TDevice() { Quit(); }
  bool Started() const { return started_; }
  std::string Log() const { return testsupport::ReadHostFile(log_); }
  std::string Command(const std::string& c) { return testsupport::DevsimCommand(ctl_, c); }
  // Unplugs the cable and stops the simulator.
  void Quit() {
    if (!running_) return;
    running_ = false;
    Command("quit");
    // the link goes with the cable
    for (int i = 0; i < 100 && testsupport::ReadHostFile(link_ + ".info").size(); ++i) Sleep(20);
  }

 private:
  std::string link_, ctl_, log_;
  bool started_ = false, running_ = false;
};

inline const char* kRequest = ":010301000001FA\r\n";  // ADC 1 of the XBV5 at address 1
inline const char* kAnswer = ":01030203E80F\r\n";

}  // namespace porttest
