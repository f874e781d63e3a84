// The road from a Windows program to a device: a COM port of Wine, the virtual
// null-modem cable, and a native peer on the other end that answers with the
// line settings it sees.
#include <gtest/gtest.h>
#include <windows.h>

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
    port_ = CreateFileW(L"\\\\.\\COM5", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_FLAG_OVERLAPPED, nullptr);
    ASSERT_NE(port_, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    ASSERT_TRUE(SetupComm(port_, 1000, 1000));
    COMMTIMEOUTS t{MAXDWORD, 0, 0, 0, 1000};
    ASSERT_TRUE(SetCommTimeouts(port_, &t));
    ASSERT_TRUE(SetCommMask(port_, EV_RXCHAR));
  }

  void TearDown() override {
    if (port_ != INVALID_HANDLE_VALUE) {
      Write("QUIT\r\n");
      CloseHandle(port_);
    }
  }

  void SetLine(DWORD baud, BYTE parity) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(port_, &dcb));
    dcb.BaudRate = baud;
    dcb.ByteSize = 8;
    dcb.Parity = parity;
    dcb.fParity = parity != NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    ASSERT_TRUE(SetCommState(port_, &dcb)) << "error " << GetLastError();
  }

  void Write(const std::string& s) {
    OVERLAPPED ov{};
    ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD n = 0;
    if (!WriteFile(port_, s.data(), static_cast<DWORD>(s.size()), &n, &ov)) {
      ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IO_PENDING));
      ASSERT_TRUE(GetOverlappedResult(port_, &ov, &n, TRUE));
    }
    CloseHandle(ov.hEvent);
    EXPECT_EQ(n, s.size());
  }

  // Waits for received characters with an overlapped WaitCommEvent, then reads
  // up to a line feed.
  std::string ReadLine(DWORD timeoutMs) {
    std::string got;
    DWORD start = GetTickCount();
    OVERLAPPED ov{};
    ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    while (got.find('\n') == std::string::npos && GetTickCount() - start < timeoutMs) {
      DWORD mask = 0, n = 0;
      ResetEvent(ov.hEvent);
      if (!WaitCommEvent(port_, &mask, &ov)) {
        if (GetLastError() != ERROR_IO_PENDING) break;
        if (WaitForSingleObject(ov.hEvent, timeoutMs) != WAIT_OBJECT_0) { CancelIo(port_); break; }
        if (!GetOverlappedResult(port_, &ov, &n, FALSE)) break;
      }
      COMSTAT st{};
      DWORD errors = 0;
      ClearCommError(port_, &errors, &st);
      if (st.cbInQue == 0) continue;
      std::string buf(st.cbInQue, '\0');
      OVERLAPPED rov{};
      rov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
      if (!ReadFile(port_, buf.data(), st.cbInQue, &n, &rov)) {
        if (GetLastError() == ERROR_IO_PENDING) GetOverlappedResult(port_, &rov, &n, TRUE);
      }
      CloseHandle(rov.hEvent);
      got.append(buf.data(), n);
    }
    CloseHandle(ov.hEvent);
    return got;
  }

  std::string link_;
  HANDLE port_ = INVALID_HANDLE_VALUE;
};

TEST_F(Road, DeviceSeesTheLineSettingsAndAnswers) {
  SetLine(57600, EVENPARITY);
  DCB back{};
  back.DCBlength = sizeof back;
  ASSERT_TRUE(GetCommState(port_, &back));
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
  ASSERT_TRUE(GetCommModemStatus(port_, &status)) << "error " << GetLastError();
  EXPECT_EQ(status & (MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON), static_cast<DWORD>(MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON));
  EXPECT_TRUE(EscapeCommFunction(port_, CLRDTR));
  EXPECT_TRUE(EscapeCommFunction(port_, SETDTR));

  // A wait for characters stays pending while the line is quiet.
  OVERLAPPED ov{};
  ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD mask = 0;
  ASSERT_FALSE(WaitCommEvent(port_, &mask, &ov));
  ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IO_PENDING));
  EXPECT_EQ(WaitForSingleObject(ov.hEvent, 300), static_cast<DWORD>(WAIT_TIMEOUT));
  Write("late\r\n");
  EXPECT_EQ(WaitForSingleObject(ov.hEvent, 3000), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD n = 0;
  EXPECT_TRUE(GetOverlappedResult(port_, &ov, &n, FALSE));
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
