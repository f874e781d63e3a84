// The packet framer attached to a port: link registration, and answers of the
// device simulator on the virtual line (COM8) cut into packets on the
// user-interface thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "classlib/core/Classes.h"
#include "classlib/ui/Forms.h"
#include "serial/CPort.h"
#include "serial/CPortPacket.h"

using namespace testsupport;

namespace {

class PacketSink : public TObject {
  DK_CLASS(PacketSink, TObject)
 public:
  std::vector<std::string> Packets;
  std::vector<std::string> Discards;
  std::vector<DWORD> Threads;
  std::atomic<std::size_t> Count{0};  // with smNone packets come on the event thread
  void Packet(TObject* Sender, const AnsiString& Str) {
    Packets.push_back(Str);
    Threads.push_back(GetCurrentThreadId());
    Count.fetch_add(1, std::memory_order_release);
  }
  void Discard(TObject* Sender, const AnsiString& Str) { Discards.push_back(Str); }
};

// Components made by Create<> are freed through Free().
struct FreeDeleter {
  void operator()(TObject* Obj) const { Obj->Free(); }
};
template <class T>
using Owned = std::unique_ptr<T, FreeDeleter>;

// Runs the message loop and the synchronised calls until Done() or the time is up.
template <class F>
bool PumpUntil(F Done, int timeoutMs) {
  DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
  while (!Done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
    Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
  }
  return true;
}

TEST(PacketLink, RegistrationWithThePort) {
  Owned<TComPort> port(Create<TComPort>(nullptr));
  Owned<TComDataPacket> framer(Create<TComDataPacket>(nullptr));
  EXPECT_TRUE(port->TriggersOnRxChar());

  framer->SetComPort(port.get());
  EXPECT_EQ(framer->ComPort(), port.get());
  EXPECT_FALSE(port->TriggersOnRxChar());  // a receive-buffer link is registered
  framer->SetComPort(port.get());          // the same port again: nothing happens
  try {
    port->RegisterLink(framer->Link());
    ADD_FAILURE() << "a second registration of the link must raise";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code, 18);
  }
  try {
    port->SetTriggersOnRxChar(true);
    ADD_FAILURE() << "TriggersOnRxChar must not change while the framer is linked";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code, 22);
  }

  framer->SetComPort(nullptr);
  EXPECT_TRUE(port->TriggersOnRxChar());
  try {
    port->UnRegisterLink(framer->Link());
    ADD_FAILURE() << "the link must be gone from the port";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code, 18);
  }

  // A port that goes away leaves the framer without a port.
  framer->SetComPort(port.get());
  port.reset();
  EXPECT_EQ(framer->ComPort(), nullptr);
  framer.reset();  // nothing left to unregister from
}

class PacketRoad : public ::testing::TestWithParam<TSyncMethod> {
 protected:
  void SetUp() override {
    std::string wine = HostBuildDir() + "/wine";
    link_ = wine + "/ports/com8";
    ctl_ = wine + "/packet-road.ctl";
    log_ = wine + "/packet-road.log";
    DeleteFileW(WinPath(link_ + ".info").c_str());
    ASSERT_TRUE(SpawnHostTool("devsim", "--port '" + link_ + "' --control '" + ctl_ + "' --log '" + log_ +
                                            "' --idle-exit 60 --wire-time off"
                                            " --device XBV5:1:115200:N:weight=1000:noise=0:drift=0"));
    ASSERT_TRUE(WaitForHostFile(link_ + ".info", 10000)) << "devsim did not make the cable";

    port_.reset(Create<TComPort>(nullptr));
    port_->SetPort("COM8");
    port_->SetBaudRate(br115200);
    port_->SetSyncMethod(GetParam());
    framer_.reset(Create<TComDataPacket>(nullptr));
    framer_->SetStartString(":");
    framer_->SetStopString("\n");
    framer_->SetMaxBufferSize(100);
    framer_->OnPacket = TComStrEvent(&sink_, &PacketSink::Packet);
    framer_->OnDiscard = TComStrEvent(&sink_, &PacketSink::Discard);
    framer_->SetComPort(port_.get());
    port_->Open();
    ASSERT_TRUE(port_->Connected());
  }

  void TearDown() override {
    if (port_) port_->Close();
    framer_.reset();
    port_.reset();
    EXPECT_EQ(Control("quit"), "ok\n");
  }

  std::string Control(const std::string& cmd) { return DevsimCommand(ctl_, cmd); }

  bool WaitPackets(std::size_t n, int timeoutMs = 3000) {
    return PumpUntil([&] { return sink_.Count.load(std::memory_order_acquire) >= n; }, timeoutMs);
  }

  std::string link_, ctl_, log_;
  Owned<TComPort> port_;
  Owned<TComDataPacket> framer_;
  PacketSink sink_;
};

TEST_P(PacketRoad, AnswersArriveAsPackets) {
  const DWORD uiThread = GetCurrentThreadId();
  // One answer.
  port_->WriteStr(":010301000001FA\r\n");  // ADC 1
  ASSERT_TRUE(WaitPackets(1));
  EXPECT_EQ(sink_.Packets[0], "01030203E80F\r");

  // An answer cut into pieces on the wire comes out whole.
  EXPECT_EQ(Control("fault split 4 30"), "ok\n");
  port_->WriteStr(":010306000001F5\r\n");  // channel count
  ASSERT_TRUE(WaitPackets(2));
  EXPECT_EQ(sink_.Packets[1], "0103020004F6\r");
  EXPECT_EQ(Control("fault clear"), "ok\n");

  // Two requests at once: two packets, in order.
  port_->WriteStr(":010301000001FA\r\n:010306000001F5\r\n");
  ASSERT_TRUE(WaitPackets(4));
  EXPECT_EQ(sink_.Packets[2], "01030203E80F\r");
  EXPECT_EQ(sink_.Packets[3], "0103020004F6\r");
  EXPECT_TRUE(sink_.Discards.empty());

  for (DWORD t : sink_.Threads) {
    if (GetParam() == smNone)
      EXPECT_NE(t, uiThread);
    else
      EXPECT_EQ(t, uiThread);
  }
}

INSTANTIATE_TEST_SUITE_P(SyncMethods, PacketRoad, ::testing::Values(smThreadSync, smWindowSync, smNone),
                         [](const ::testing::TestParamInfo<TSyncMethod>& info) {
                           return std::string(GetEnumName(TypeInfo<TSyncMethod>(), info.param));
                         });

}  // namespace
