// A Windows program on the virtual line talks to the device simulator: a
// simulated XBV5 at 57600 baud, even parity, answers its register reads and
// stays silent when the program uses no parity.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "TestSupport.h"

using namespace testsupport;

namespace {

class DevsimRoad : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string wine = HostBuildDir() + "/wine";
    link_ = wine + "/ports/com6";
    ctl_ = wine + "/devsim-road.ctl";
    log_ = wine + "/devsim-road.log";
    DeleteFileW(WinPath(link_ + ".info").c_str());
    ASSERT_TRUE(SpawnHostTool("devsim", "--port '" + link_ + "' --control '" + ctl_ + "' --log '" + log_ +
                            "' --idle-exit 60 --device XBV5:1:57600:E:weight=1000:noise=0:drift=0"));
    ASSERT_TRUE(WaitForHostFile(link_ + ".info", 10000)) << "devsim did not make the cable";
    port_ = CreateFileW(L"\\\\.\\COM6", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_FLAG_OVERLAPPED, nullptr);
    ASSERT_NE(port_, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    ASSERT_TRUE(SetupComm(port_, 1000, 1000));
    COMMTIMEOUTS t{MAXDWORD, 0, 0, 0, 1000};
    ASSERT_TRUE(SetCommTimeouts(port_, &t));
    ASSERT_TRUE(SetCommMask(port_, EV_RXCHAR));
  }

  void TearDown() override {
    if (port_ != INVALID_HANDLE_VALUE) CloseHandle(port_);
    // the control channel through the Z: drive: written under another name, renamed
    std::wstring tmp = WinPath(ctl_ + "/road.tmp"), cmd = WinPath(ctl_ + "/road.cmd");
    std::string done = ctl_ + "/road.done";
    DeleteFileW(WinPath(done).c_str());
    {
      std::ofstream f(tmp.c_str(), std::ios::binary);
      f << "quit\r\n";
    }
    if (MoveFileW(tmp.c_str(), cmd.c_str())) {
      EXPECT_TRUE(WaitForHostFile(done, 5000));
      EXPECT_EQ(ReadHostFile(done), "ok\n");
      DeleteFileW(WinPath(done).c_str());
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

  // What arrives up to a line feed, or within the time.
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
        DWORD left = timeoutMs - (GetTickCount() - start);
        if (WaitForSingleObject(ov.hEvent, left) != WAIT_OBJECT_0) {
          CancelIo(port_);
          break;
        }
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

  std::string link_, ctl_, log_;
  HANDLE port_ = INVALID_HANDLE_VALUE;
};

TEST_F(DevsimRoad, Xbv5AnswersAtItsOwnSettingsOnly) {
  SetLine(57600, EVENPARITY);
  Write(":010301000001FA\r\n");  // ADC 1, 16 bit
  EXPECT_EQ(ReadLine(3000), ":01030203E80F\r\n");
  Write(":010306000001F5\r\n");  // channel count
  EXPECT_EQ(ReadLine(3000), ":0103020004F6\r\n");

  SetLine(57600, NOPARITY);
  Write(":010301000001FA\r\n");
  EXPECT_EQ(ReadLine(500), "");
  std::string log = ReadHostFile(log_);
  EXPECT_NE(log.find(" IGN address 1 (XBV5): line 57600 N 8 1, device 57600 E 8 1\n"), std::string::npos) << log;
}

}  // namespace
