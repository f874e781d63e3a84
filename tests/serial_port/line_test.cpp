// The port on the virtual line with the device simulator on its other end:
// line settings, the event thread's three delivery routes, the stream and the
// asynchronous operations, and a device that goes away.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "PortTestSupport.h"

using namespace porttest;

namespace {

class Line : public ::testing::Test {
 protected:
  void SetUp() override {
    device_ = std::make_unique<TDevice>();
    ASSERT_TRUE(device_->Started()) << "devsim did not make the cable";
    port_.reset(Create<TComPort>(nullptr));
    port_->SetName("ComPort1");
    port_->SetPort("COM7");
    port_->SetBaudRate(br57600);
    port_->Parity()->SetBits(prEven);
    rec_.Attach(port_.get());
    rec_.Attach(&link_);
    Application->OnException = TExceptionEvent(&rec_, &TRecorder::ShowException);
  }
  void TearDown() override {
    if (port_ && port_->Connected()) port_->Close();
    if (port_ && !port_->Connected()) {
      try {
        port_->UnRegisterLink(&link_);
      } catch (const EComPort&) {
      }
    }
    port_.reset();
    Application->OnException = nullptr;
    device_.reset();
  }
  bool Answered(const std::string& want, int ms = 3000) {
    return WaitUntil([&] { return rec_.Rx.find(want) != std::string::npos; }, ms);
  }

  std::unique_ptr<TDevice> device_;
  std::unique_ptr<TComPort> port_;
  TRecorder rec_;
  TComLink link_;
};

TEST_F(Line, DeviceSeesTheSettingsAndOpenCloseFireInOrder) {
  port_->SetDataBits(dbEight);
  port_->SetStopBits(sbTwoStopBits);
  port_->Buffer()->SetInputSize(1000);
  port_->Timeouts()->SetReadTotalConstant(10);
  port_->RegisterLink(&link_);
  port_->Open();
  ASSERT_TRUE(port_->Connected());
  EXPECT_TRUE(port_->ThreadCreated());
  port_->Open();  // already open: nothing happens
  // The device hears the frame with the settings the port gave the line.
  port_->WriteStr(kRequest);
  EXPECT_TRUE(WaitUntil([&] { return device_->Log().find("line 57600 E 8 2") != std::string::npos; }, 3000))
      << device_->Log();
  EXPECT_TRUE(rec_.Rx.empty());

  // A change inside an update reaches the line at its end; then the device answers.
  port_->BeginUpdate();
  port_->SetStopBits(sbOneStopBit);
  port_->EndUpdate();
  port_->WriteStr(kRequest);
  EXPECT_TRUE(Answered(kAnswer)) << device_->Log();
  try {
    port_->SetSyncMethod(smWindowSync);
    ADD_FAILURE() << "changed the sync method while connected";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code, CError_ConnChangeProp);
  }
  EXPECT_EQ(port_->SyncMethod(), smThreadSync);

  port_->Close();
  EXPECT_FALSE(port_->Connected());
  EXPECT_FALSE(port_->ThreadCreated());
  port_->Close();  // already closed: nothing happens
  // The data signals (rx, tx) come when the event thread gets to them, which
  // may be during the close: the order that matters is that of the others.
  std::vector<std::string> order;
  for (const std::string& e : rec_.Log)
    if (e.rfind("rx", 0) != 0 && e.rfind("tx", 0) != 0) order.push_back(e);
  EXPECT_EQ(order, (std::vector<std::string>{"beforeopen", "conn+", "afteropen", "cts+", "cts-", "beforeclose",
                                             "conn-", "afterclose"}));
}

TEST_F(Line, AnswerArrivesOnTheUserInterfaceThreadThroughEveryRoute) {
  for (TSyncMethod sm : {smThreadSync, smWindowSync, smNone}) {
    SCOPED_TRACE(sm);
    rec_.Rx.clear();
    rec_.RxOffMainThread = false;
    port_->SetSyncMethod(sm);
    port_->RegisterLink(&link_);
    port_->Open();
    EXPECT_EQ(port_->WriteStr(kRequest), 17);
    EXPECT_TRUE(Answered(kAnswer)) << rec_.Rx;
    EXPECT_EQ(rec_.Tx, kRequest);
    EXPECT_EQ(rec_.RxOffMainThread, sm == smNone);
    EXPECT_EQ(rec_.RxCharCount, 0) << "OnRxChar does not fire while a receiving link is registered";
    port_->Close();
    port_->UnRegisterLink(&link_);
    rec_.Tx.clear();
  }
}

TEST_F(Line, WithoutLinkOnRxCharCountsAndTheDataWaits) {
  port_->Open();
  port_->WriteStr(kRequest);
  EXPECT_TRUE(WaitUntil([&] { return rec_.RxCharCount >= 15; }, 3000)) << rec_.RxCharCount;
  // the data stays in the driver until read
  EXPECT_GE(port_->InputCount(), 1);
  AnsiString got;
  WaitUntil([] { return false; }, 200);
  port_->ReadStr(got, 100);
  EXPECT_EQ(got, kAnswer);
}

TEST_F(Line, HandlerExceptionIsShownAndTheThreadGoesOn) {
  for (TSyncMethod sm : {smThreadSync, smWindowSync, smNone}) {
    SCOPED_TRACE(sm);
    rec_.Rx.clear();
    rec_.Shown.clear();
    port_->SetSyncMethod(sm);
    port_->RegisterLink(&link_);
    port_->Open();
    rec_.ThrowOnRx = true;
    port_->WriteStr(kRequest);
    EXPECT_TRUE(WaitUntil([&] { return !rec_.Shown.empty(); }, 3000));
    EXPECT_EQ(rec_.Shown, std::vector<std::string>{"handler failed"});
    // the next answer still arrives
    rec_.Rx.clear();
    port_->WriteStr(kRequest);
    EXPECT_TRUE(Answered(kAnswer)) << rec_.Rx;
    port_->Close();
    port_->UnRegisterLink(&link_);
  }
}

TEST_F(Line, StreamAndAsynchronousOperations) {
  port_->SetEvents(TComEvents());  // no event thread (and no window): this test reads itself
  port_->SetSyncMethod(smWindowSync);
  port_->RegisterLink(&link_);
  port_->Open();
  EXPECT_FALSE(port_->ThreadCreated());
  EXPECT_EQ(rec_.Log, (std::vector<std::string>{"beforeopen", "conn+", "afteropen", "cts+"}))
      << "after-open events fire without a thread too";

  // An empty write starts nothing and tells nobody.
  rec_.Log.clear();
  EXPECT_EQ(port_->WriteStr(""), 0);
  EXPECT_TRUE(rec_.Log.empty());

  // The stream writes through the port; the links see the bytes written.
  TComStream stream(port_.get());
  EXPECT_EQ(stream.Write(kRequest, 17), 17);
  EXPECT_EQ(rec_.Tx, kRequest);
  EXPECT_EQ(rec_.Log, (std::vector<std::string>{"tx+"}));

  // WaitForEvent sees the answer arrive.
  TComEvents ev{evRxChar};
  port_->WaitForEvent(ev, nullptr, 3000);
  EXPECT_TRUE(ev.Contains(evRxChar));
  Sleep(200);
  char buf[100];
  rec_.Log.clear();
  EXPECT_EQ(stream.Read(buf, 100), 15) << "a read returns at once with what is waiting";
  EXPECT_EQ(std::string(buf, 15), kAnswer);
  EXPECT_EQ(rec_.Log, (std::vector<std::string>{"rx-"}));

  AnsiString s = "x";
  EXPECT_EQ(port_->ReadStr(s, 0), 0);
  EXPECT_EQ(s, "");

  // A quiet line: WaitForEvent comes back after its time-out with nothing.
  ev = TComEvents{evRxChar};
  DWORD t0 = GetTickCount();
  port_->WaitForEvent(ev, nullptr, 100);
  DWORD took = GetTickCount() - t0;
  EXPECT_TRUE(ev.Empty());
  EXPECT_GE(took, 90u);
  EXPECT_LT(took, 1000u);

  // A read that waits is pending until aborted.
  port_->Timeouts()->SetReadInterval(0);
  port_->Timeouts()->SetReadTotalConstant(5000);
  PAsync a = nullptr;
  InitAsync(a);
  char pending[10];
  port_->ReadAsync(pending, 10, a);
  EXPECT_FALSE(port_->IsAsyncCompleted(a));
  DWORD t1 = GetTickCount();
  port_->AbortAllAsync();
  try {
    EXPECT_EQ(port_->WaitForAsync(a), 0);
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code, CError_ReadFailed);
  }
  EXPECT_LT(GetTickCount() - t1, 1000u) << "the abort ends the read";
  DoneAsync(a);
  EXPECT_EQ(a, nullptr);

  // A record freed while its read still runs ends the read first.
  InitAsync(a);
  port_->ReadAsync(pending, 10, a);
  t1 = GetTickCount();
  DoneAsync(a);
  EXPECT_LT(GetTickCount() - t1, 1000u) << "freeing the record ends the read";
  port_->Close();
}

TEST_F(Line, WaitForEventRefusesToRunBesideTheThread) {
  port_->Open();
  TComEvents ev{evRxChar};
  try {
    port_->WaitForEvent(ev, nullptr, 10);
    FAIL();
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code, CError_ThreadCreated);
  }
}

TEST_F(Line, DeviceGoneReportsOneErrorAndThePortClosesAndReopens) {
  port_->RegisterLink(&link_);
  port_->Open();
  port_->WriteStr(kRequest);
  ASSERT_TRUE(Answered(kAnswer));
  device_->Quit();  // the device end of the cable disappears while the port waits
  EXPECT_TRUE(WaitUntil([&] { return !rec_.Errors.empty(); }, 5000)) << "no error reported";
  WaitUntil([] { return false; }, 500);
  ASSERT_EQ(rec_.Errors.size(), 1u);
  EXPECT_TRUE(rec_.Errors[0].Contains(ceIO));
  EXPECT_TRUE(rec_.Shown.empty());
  EXPECT_NO_THROW(port_->Close());
  EXPECT_FALSE(port_->Connected());

  device_ = std::make_unique<TDevice>();
  ASSERT_TRUE(device_->Started());
  rec_.Rx.clear();
  port_->Open();
  port_->WriteStr(kRequest);
  EXPECT_TRUE(Answered(kAnswer)) << rec_.Rx;
  EXPECT_EQ(rec_.Errors.size(), 1u);
}

}  // namespace
