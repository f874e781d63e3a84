// The virtual cable on its own: settings published and read back, wire time,
// and a link handed from one cable to the next.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "vline.h"

namespace {

std::string TempDir() {
  char tmpl[] = "/tmp/vline-test-XXXXXX";
  return mkdtemp(tmpl);
}

std::string Target(const std::string& link) {
  char buf[256] = {};
  ssize_t n = readlink(link.c_str(), buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, n) : "";
}

TEST(VLine, PublishedSettingsReachTheDeviceEnd) {
  vline v;
  ASSERT_EQ(vline_open(&v, nullptr), 0);
  vline_settings s;
  EXPECT_EQ(vline_settings_read(&v, &s), -1) << "nothing is set before the program sets it";
  EXPECT_EQ(s.baud, 0);

  vline_settings set = {57600, 'E', 7, 2, 1, 0, 4};
  ASSERT_EQ(vline_settings_publish(v.slave, &set), 0);
  ASSERT_EQ(vline_settings_read(&v, &s), 0);
  EXPECT_EQ(s.baud, 57600);
  EXPECT_EQ(s.parity, 'E');
  EXPECT_EQ(s.data_bits, 7);
  EXPECT_EQ(s.stop_bits, 2);
  EXPECT_EQ(s.dtr, 1);
  EXPECT_EQ(s.rts, 0);
  EXPECT_EQ(s.seq, 4u);
  vline_close(&v);
}

TEST(VLine, ParseRefusesBrokenText) {
  vline_settings s;
  for (const char* text : {"", "baud=", "baud=9600 parity=N", "garbage", "baud=0 parity=N data=8 stop=1 dtr=0 rts=0 seq=0"})
    EXPECT_EQ(vline_settings_parse(text, &s), -1) << text;
}

TEST(VLine, WireTimeCountsStartParityAndStopBits) {
  struct Case { vline_settings s; size_t n; long us; } cases[] = {
      {{9600, 'N', 8, 1, 0, 0, 0}, 96, 100000},    // 10 bits a character
      {{9600, 'E', 8, 1, 0, 0, 0}, 96, 110000},    // 11 with parity
      {{9600, 'N', 8, 2, 0, 0, 0}, 96, 110000},    // 11 with two stop bits
      {{9600, 'N', 8, 15, 0, 0, 0}, 192, 210000},  // 10.5 with one and a half
      {{115200, 'N', 8, 1, 0, 0, 0}, 17, 1475},
      {{0, 'N', 8, 1, 0, 0, 0}, 17, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(vline_wire_us(&c.s, c.n), c.us) << c.s.baud << c.s.parity << c.s.stop_bits;
}

TEST(VLine, ClosingLeavesANewerCablesLinkAlone) {
  std::string dir = TempDir(), link = dir + "/com5";
  vline a, b;
  ASSERT_EQ(vline_open(&a, link.c_str()), 0);
  EXPECT_EQ(Target(link), a.slave);
  ASSERT_EQ(vline_open(&b, link.c_str()), 0);
  EXPECT_EQ(Target(link), b.slave);
  vline_close(&a);
  EXPECT_EQ(Target(link), b.slave) << "the old cable unplugged the new one";
  vline_close(&b);
  EXPECT_EQ(Target(link), ".dead") << "a port without a device points at nothing that opens";
  std::system(("rm -rf " + dir).c_str());
}

TEST(VLine, DeviceEndAndSlaveCarryBytesBothWays) {
  vline v;
  ASSERT_EQ(vline_open(&v, nullptr), 0);
  ASSERT_EQ(write(v.master, ":01\r\n", 5), 5);
  char buf[16] = {};
  ASSERT_EQ(read(v.slave_keep, buf, sizeof buf), 5);
  EXPECT_STREQ(buf, ":01\r\n") << "raw mode: no echo, no line-end translation";
  vline_close(&v);
}

}  // namespace
