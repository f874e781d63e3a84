// The devsim program on a virtual cable: this test stands in for the Windows
// program (it opens the port end and publishes its line settings as the shim
// would), sends requests and reads the replies, the control channel and the log.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "devsim.h"
#include "vline.h"

using devsim::encode_frame;
using Bytes = std::vector<std::uint8_t>;

namespace {

std::string slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

long long mono_us() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000000LL + ts.tv_nsec / 1000;
}

Bytes read_req(int addr, int reg, int count) {
  return {Bytes::value_type(addr), 3, Bytes::value_type(reg >> 8), Bytes::value_type(reg), 0, Bytes::value_type(count)};
}
Bytes write_req(int addr, int reg, int value) {
  return {Bytes::value_type(addr), 6, Bytes::value_type(reg >> 8), Bytes::value_type(reg), Bytes::value_type(value >> 8),
          Bytes::value_type(value)};
}

class DevsimProgram : public ::testing::Test {
 protected:
  // Arguments after --port, --control and --log.
  virtual std::vector<std::string> Args() {
    return {"--idle-exit", "60", "--device", "XBV5:1:57600:E:weight=1000:noise=0:drift=0",
            "--device", "XBV18:2:9600:N:weight=500:noise=0:drift=0"};
  }

  void SetUp() override {
    char tmpl[] = "/tmp/devsim-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    link_ = dir_ + "/com5";
    ctl_ = dir_ + "/ctl";
    log_ = dir_ + "/devsim.log";
    std::vector<std::string> args = {DEVSIM_EXE, "--port", link_, "--control", ctl_, "--log", log_};
    for (auto& a : Args()) args.push_back(a);
    pid_ = fork();
    if (pid_ == 0) {
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    ASSERT_GT(pid_, 0);
    // wait for LINK.info
    std::string info;
    for (int i = 0; i < 200 && info.find("slave=") == std::string::npos; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
      info = slurp(link_ + ".info");
    }
    auto p = info.find("slave=");
    ASSERT_NE(p, std::string::npos) << "devsim did not start";
    slave_ = info.substr(p + 6, info.find('\n', p) - p - 6);
    port_ = open(link_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(port_, 0);
    termios t;
    ASSERT_EQ(tcgetattr(port_, &t), 0);
    cfmakeraw(&t);
    tcsetattr(port_, TCSANOW, &t);
  }

  void TearDown() override {
    if (port_ >= 0) close(port_);
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status = 0;
      waitpid(pid_, &status, 0);
    }
    std::string cmd = "rm -rf '" + dir_ + "'";
    if (!dir_.empty()) (void)std::system(cmd.c_str());
  }

  void settings(int baud, char parity, int data_bits = 8, int stop_bits = 1) {
    static unsigned seq = 0;
    vline_settings s{baud, parity, data_bits, stop_bits, 1, 1, ++seq};
    ASSERT_EQ(vline_settings_publish(slave_.c_str(), &s), 0);
  }

  // Everything the device end sends within the wait, or up to the first
  // line feed when stop_at_lf.
  std::string exchange(const Bytes& req, int wait_ms, bool stop_at_lf = true) {
    std::string f = encode_frame(req);
    EXPECT_EQ(write(port_, f.data(), f.size()), static_cast<ssize_t>(f.size()));
    return collect(wait_ms, stop_at_lf);
  }

  std::string collect(int wait_ms, bool stop_at_lf) {
    std::string got;
    long long end = mono_us() + wait_ms * 1000LL;
    for (;;) {
      long long left = end - mono_us();
      if (left <= 0) break;
      pollfd p{port_, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left / 1000) + 1) <= 0) continue;
      char buf[512];
      ssize_t n = read(port_, buf, sizeof buf);
      if (n > 0) got.append(buf, static_cast<std::size_t>(n));
      if (stop_at_lf && got.find('\n') != std::string::npos) break;
    }
    return got;
  }

  int ctl(const std::string& command, std::string* out = nullptr) {
    std::string cmd = std::string(DEVSIM_EXE) + " ctl '" + ctl_ + "' '" + command + "' > '" + dir_ + "/ctl.out'";
    int rc = std::system(cmd.c_str());
    if (out) *out = slurp(dir_ + "/ctl.out");
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  }

  std::string dir_, link_, ctl_, log_, slave_;
  pid_t pid_ = -1;
  int port_ = -1;
};

TEST_F(DevsimProgram, AnswersOnlyAtTheDevicesOwnSettings) {
  settings(57600, 'E');
  EXPECT_EQ(exchange(read_req(1, 0x100, 1), 2000), encode_frame({1, 3, 2, 0x03, 0xE8}));
  settings(57600, 'N');
  EXPECT_EQ(exchange(read_req(1, 0x100, 1), 300), "");
  settings(9600, 'N');
  EXPECT_EQ(exchange(read_req(2, 0, 2), 2000), encode_frame({2, 3, 4, 0x01, 0xF4, 0, 0}));
  EXPECT_EQ(exchange(read_req(1, 0x100, 1), 300), "");
  // the first device that hears answers 255
  EXPECT_EQ(exchange(read_req(255, 0x10, 1), 2000), encode_frame({2, 3, 2, 0, 1}));

  std::string log = slurp(log_);
  std::istringstream lines(log);
  std::string line;
  std::regex shape(R"(^\d+\.\d{6} (SET|RX|IGN|BAD|TXT|CMD|TX|CTL) .*$)");
  int n = 0;
  while (std::getline(lines, line)) {
    EXPECT_TRUE(std::regex_match(line, shape)) << line;
    ++n;
  }
  EXPECT_GT(n, 8);
  EXPECT_NE(log.find(" SET 57600 E 8 1\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" RX :010301000001FA\\r\\n\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" TX :0103020" "3E8"), std::string::npos) << log;
  EXPECT_NE(log.find(" IGN address 1 (XBV5): line 57600 N 8 1, device 57600 E 8 1\n"), std::string::npos) << log;
}

TEST_F(DevsimProgram, RepliesArePacedAtTheWireRate) {
  settings(9600, 'N');
  long long t0 = mono_us();
  std::string r = exchange(read_req(2, 0x10, 1), 2000);
  long long took = mono_us() - t0;
  EXPECT_EQ(r, encode_frame({2, 3, 2, 0, 1}));
  EXPECT_GE(took, 33000);  // 17 + 15 characters of 10 bits at 9600 baud
}

TEST_F(DevsimProgram, ControlChannelAndDeferredBaudChange) {
  std::string out;
  EXPECT_EQ(ctl("set 1 600 3", &out), 0);
  EXPECT_EQ(out, "ok\n");
  EXPECT_EQ(ctl("fault nonsense", &out), 1);
  EXPECT_EQ(out.rfind("error: unknown fault", 0), 0u) << out;

  // a command file written by any client (here: by hand, under another name and renamed)
  {
    std::ofstream f(ctl_ + "/mine.tmp");
    f << "weight 1 1234\r\nadd GOLM114:7:57600:E\n";
  }
  ASSERT_EQ(rename((ctl_ + "/mine.tmp").c_str(), (ctl_ + "/mine.cmd").c_str()), 0);
  std::string done;
  for (int i = 0; i < 200 && done.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    done = slurp(ctl_ + "/mine.done");
  }
  EXPECT_EQ(done, "ok\nok\n");
  EXPECT_NE(access((ctl_ + "/mine.cmd").c_str(), F_OK), 0);

  settings(57600, 'E');
  EXPECT_EQ(exchange(read_req(1, 0x600, 1), 2000), encode_frame({1, 3, 2, 0, 3}));
  EXPECT_EQ(exchange(read_req(1, 0x100, 1), 2000), encode_frame({1, 3, 2, 0x04, 0xD2}));
  EXPECT_EQ(exchange(read_req(7, 0xFF01, 1), 2000), encode_frame({7, 3, 2, 0x01, 0x14}));

  // the baud change goes out with the old settings, then the device moves
  EXPECT_EQ(exchange(write_req(1, 0x801, 3), 2000), encode_frame(write_req(1, 0x801, 3)));
  EXPECT_EQ(exchange(read_req(1, 0x801, 1), 300), "");
  settings(115200, 'E');
  EXPECT_EQ(exchange(read_req(1, 0x801, 1), 2000), encode_frame({1, 3, 2, 0, 3}));

  // measurement commands are taken without a reply
  const std::string f10 = "[F10]";
  ASSERT_EQ(write(port_, f10.data(), f10.size()), 5);
  EXPECT_EQ(collect(200, false), "");
  EXPECT_NE(slurp(log_).find(" CMD [F10] -> frequency 10 Hz on XBV5 at 1"), std::string::npos);
}

TEST_F(DevsimProgram, StopsCleanlyOnSigterm) {
  ASSERT_EQ(kill(pid_, SIGTERM), 0);
  int status = 0;
  ASSERT_EQ(waitpid(pid_, &status, 0), pid_);
  pid_ = -1;
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_NE(access((link_ + ".info").c_str(), F_OK), 0);
  char target[256] = {0};
  ASSERT_GT(readlink(link_.c_str(), target, sizeof target - 1), 0);
  EXPECT_STRNE(target, slave_.c_str());  // the cable is gone
  EXPECT_NE(slurp(log_).find(" CTL stopped by a signal"), std::string::npos);
}

class DevsimConfigFile : public DevsimProgram {
 protected:
  std::vector<std::string> Args() override {
    std::string path = dir_ + "/line.conf";
    std::ofstream f(path);
    f << "# a line of one old controller\n"
         "device GOLM152:9:19200:O:7:2:reg=300,77\n"
         "XBV18:10:19200:O:7:2:weight=5:noise=0:drift=0\n"
         "wire-time off\n"
         "seed 7\n";
    return {"--idle-exit", "60", "--config", path};
  }
};

TEST_F(DevsimConfigFile, DevicesAndOptionsFromTheFile) {
  settings(19200, 'O', 7, 2);
  EXPECT_EQ(exchange(read_req(9, 0x300, 1), 2000), encode_frame({9, 3, 2, 0, 77}));
  EXPECT_EQ(exchange(read_req(10, 0, 1), 2000), encode_frame({10, 3, 2, 0, 5}));
  EXPECT_EQ(exchange(read_req(1, 0, 1), 300), "");  // no default devices
  EXPECT_NE(slurp(log_).find("wire time off"), std::string::npos);
}

TEST(DevsimArguments, BadInputIsRefusedWithAClearMessage) {
  char tmpl[] = "/tmp/devsim-test-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  std::string dir = tmpl;
  {
    std::ofstream f(dir + "/bad.conf");
    f << "XBV5:1:9600:N\nXBV5:2:9600:Z\n";
  }
  struct Case {
    std::string args, message;
  };
  const Case cases[] = {
      {"--port " + dir + "/p --config " + dir + "/bad.conf", "bad.conf:2: parity \"Z\""},
      {"--port " + dir + "/p --config " + dir + "/none.conf", "cannot read"},
      {"--port " + dir + "/p --device XBV5:1:9600:N --device XBV18:1:9600:N", "address 1 is taken"},
      {"--port " + dir + "/p --wire-time maybe", "want on or off"},
      {"--frobnicate", "unknown argument"},
      {"", "--port LINK is required"},
  };
  for (const auto& c : cases) {
    std::string cmd = std::string(DEVSIM_EXE) + " " + c.args + " > " + dir + "/out 2>&1";
    int rc = std::system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 2) << c.args;
    EXPECT_NE(slurp(dir + "/out").find(c.message), std::string::npos) << c.args << ": " << slurp(dir + "/out");
  }
  EXPECT_NE(access((dir + "/p").c_str(), F_OK), 0);
  std::string rm = "rm -rf '" + dir + "'";
  (void)std::system(rm.c_str());
}

}  // namespace
