// Requests on the virtual line and their answers cut into packets by the
// packet framer linked to the port, delivered on the user-interface thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "PortTestSupport.h"
#include "serial/CPortPacket.h"

using namespace porttest;

namespace {

class TPackets : public TObject {
 public:
  std::vector<std::string> Got;
  bool OffMainThread = false;
  void Packet(TObject*, const AnsiString& s) {
    if (!TThread::IsMainThread()) OffMainThread = true;
    Got.push_back(s);
  }
};

TEST(PacketRoad, AnswersArriveAsPacketsThroughBothSynchronisedRoutes) {
  TDevice device;
  ASSERT_TRUE(device.Started());
  for (TSyncMethod sm : {smThreadSync, smWindowSync}) {
    SCOPED_TRACE(sm);
    std::unique_ptr<TComPort> port(Create<TComPort>(nullptr));
    port->SetPort("COM7");
    port->SetBaudRate(br57600);
    port->Parity()->SetBits(prEven);
    port->SetSyncMethod(sm);
    std::unique_ptr<TComDataPacket> framer(Create<TComDataPacket>(nullptr));
    framer->SetStartString(":");
    framer->SetStopString("\n");
    TPackets rec;
    framer->OnPacket = TComStrEvent(&rec, &TPackets::Packet);
    framer->SetComPort(port.get());
    port->Open();
    for (int i = 0; i < 3; ++i) {
      port->WriteStr(kRequest);
      ASSERT_TRUE(WaitUntil([&] { return rec.Got.size() == static_cast<size_t>(i + 1); }, 3000)) << i;
    }
    EXPECT_EQ(rec.Got, std::vector<std::string>(3, "01030203E80F\r"));
    EXPECT_FALSE(rec.OffMainThread);
    port->Close();
    framer->SetComPort(nullptr);
  }
}

}  // namespace
