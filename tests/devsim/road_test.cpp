// A Windows program on the virtual line talks to the device simulator: a
// simulated XBV5 at 57600 baud, even parity, answers its register reads and
// stays silent when the program uses no parity.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
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
    port_ = std::make_unique<TestPort>(L"\\\\.\\COM6");
    ASSERT_TRUE(port_->IsOpen()) << "error " << port_->OpenError();
  }

  void TearDown() override {
    port_.reset();
    // the control channel through the Z: drive
    EXPECT_EQ(DevsimCommand(ctl_, "quit"), "ok\n");
  }

  std::string link_, ctl_, log_;
  std::unique_ptr<TestPort> port_;
};

TEST_F(DevsimRoad, Xbv5AnswersAtItsOwnSettingsOnly) {
  ASSERT_TRUE(port_->SetLine(57600, EVENPARITY));
  ASSERT_TRUE(port_->Write(":010301000001FA\r\n"));  // ADC 1, 16 bit
  EXPECT_EQ(port_->ReadLine(3000), ":01030203E80F\r\n");
  ASSERT_TRUE(port_->Write(":010306000001F5\r\n"));  // channel count
  EXPECT_EQ(port_->ReadLine(3000), ":0103020004F6\r\n");

  ASSERT_TRUE(port_->SetLine(57600, NOPARITY));
  ASSERT_TRUE(port_->Write(":010301000001FA\r\n"));
  EXPECT_EQ(port_->ReadLine(500), "");
  std::string log = ReadHostFile(log_);
  EXPECT_NE(log.find(" IGN address 1 (XBV5): line 57600 N 8 1, device 57600 E 8 1\n"), std::string::npos) << log;
}

}  // namespace
