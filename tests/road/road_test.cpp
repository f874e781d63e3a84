// The road from a Windows program to a device: a COM port of Wine, the virtual
// null-modem cable, and a native peer on the other end that answers with the
// line settings it sees.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "TestSupport.h"

using namespace testsupport;

namespace {

class Road : public ::testing::Test {
 protected:
  void SetUp() override {
    link_ = HostBuildDir() + "/wine/ports/com5";
    std::string ready = HostBuildDir() + "/wine/road_peer.ready";
    DeleteFileW(WinPath(ready).c_str());
    ASSERT_TRUE(SpawnHostTool("road_peer", link_ + " " + ready));
    ASSERT_TRUE(WaitForHostFile(ready, 5000)) << "the peer did not make the cable";
    port_ = std::make_unique<TestPort>(L"\\\\.\\COM5");
    ASSERT_TRUE(port_->IsOpen()) << "error " << port_->OpenError();
  }

  void TearDown() override {
    if (port_ && port_->IsOpen()) port_->Write("QUIT\r\n");
  }

  void SetLine(DWORD baud, BYTE parity) { ASSERT_TRUE(port_->SetLine(baud, parity)) << "error " << GetLastError(); }
  void Write(const std::string& s) { ASSERT_TRUE(port_->Write(s)); }
  std::string ReadLine(DWORD timeoutMs) { return port_->ReadLine(timeoutMs); }
  HANDLE Port() const { return port_->Handle(); }

  std::string link_;
  std::unique_ptr<TestPort> port_;
};

TEST_F(Road, DeviceSeesTheLineSettingsAndAnswers) {
  SetLine(57600, EVENPARITY);
  DCB back{};
  back.DCBlength = sizeof back;
  ASSERT_TRUE(GetCommState(Port(), &back));
  EXPECT_EQ(back.BaudRate, 57600u);
  EXPECT_EQ(back.Parity, EVENPARITY) << "the port must read back the parity it was given";
  EXPECT_EQ(back.ByteSize, 8);

  Write("ping\r\n");
  EXPECT_EQ(ReadLine(3000), "ECHO ping 57600 E 8 1\r\n");

  SetLine(57600, NOPARITY);
  Write("pong\r\n");
  EXPECT_EQ(ReadLine(3000), "ECHO pong 57600 N 8 1\r\n");
}

TEST_F(Road, ModemLinesAndIdleWaitBehaveLikeARealPort) {
  SetLine(115200, NOPARITY);
  DWORD status = 0;
  ASSERT_TRUE(GetCommModemStatus(Port(), &status)) << "error " << GetLastError();
  EXPECT_EQ(status & (MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON), static_cast<DWORD>(MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON));
  EXPECT_TRUE(EscapeCommFunction(Port(), CLRDTR));
  EXPECT_TRUE(EscapeCommFunction(Port(), SETDTR));

  // A wait for characters stays pending while the line is quiet.
  OVERLAPPED ov{};
  ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD mask = 0;
  ASSERT_FALSE(WaitCommEvent(Port(), &mask, &ov));
  ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IO_PENDING));
  EXPECT_EQ(WaitForSingleObject(ov.hEvent, 300), static_cast<DWORD>(WAIT_TIMEOUT));
  Write("late\r\n");
  EXPECT_EQ(WaitForSingleObject(ov.hEvent, 3000), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD n = 0;
  EXPECT_TRUE(GetOverlappedResult(Port(), &ov, &n, FALSE));
  EXPECT_TRUE(mask & EV_RXCHAR);
  CloseHandle(ov.hEvent);
  EXPECT_EQ(ReadLine(3000), "ECHO late 115200 N 8 1\r\n");
}

TEST(RoadDeadPort, DeclaredPortWithoutDeviceDoesNotOpen) {
  HANDLE h = CreateFileW(L"\\\\.\\COM9", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_FLAG_OVERLAPPED, nullptr);
  EXPECT_EQ(h, INVALID_HANDLE_VALUE);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

}  // namespace
