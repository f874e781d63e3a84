// devsim: XBV and GOLM controllers on the device end of the virtual cable.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "devsim.h"
#include "util.h"
#include "vline.h"

using namespace devsim;

namespace {

const char kUsage[] =
    "usage: devsim --port LINK [options]\n"
    "       devsim ctl DIR COMMAND... [--timeout SECONDS]\n"
    "\n"
    "Simulates XBV and GOLM controllers answering MODBUS ASCII on the device end\n"
    "of a virtual null-modem cable whose other end is the port LINK points at.\n"
    "\n"
    "options:\n"
    "  --port LINK             the port link to create (e.g. build/wine/ports/com5)\n"
    "  --config FILE           devices and options, one per line ('#' comments):\n"
    "                          a device, 'device DEVICE', 'wire-time on|off',\n"
    "                          'seed N', 'answer-all-255', 'garbage-on-mismatch'\n"
    "  --device DEVICE         a device, repeatable:\n"
    "                          MODEL:ADDR:BAUD:PARITY[:DATA:STOP][:key=value...]\n"
    "                          MODEL XBV5 XBV10 XBV18 GOLM114 GOLM124 GOLM144 GOLM152\n"
    "                          GOLM (generic); PARITY N E O M S; STOP 1 1.5 2;\n"
    "                          keys: weight[N]= drift[N]= noise[N]= (channel N of an\n"
    "                          XBV5, 1 to 4), freq= (1-80), gain= (0-7),\n"
    "                          reg=REG,VALUE (a register holding a word), live=REG\n"
    "                          (a register showing the live value); REG in hex\n"
    "  --control DIR           control folder: a file DIR/NAME.cmd (written under\n"
    "                          another name and renamed) is run line by line, then\n"
    "                          deleted; DIR/NAME.done gets 'ok' or 'error: ...' per line\n"
    "  --log FILE              event log ('-' for standard output)\n"
    "  --wire-time on|off      pace replies at the line rate (default on)\n"
    "  --seed N                seed of the value noise (default 1)\n"
    "  --answer-all-255        every device answers address 255 (a collision)\n"
    "  --garbage-on-mismatch   garbage instead of silence on a settings mismatch\n"
    "  --idle-exit SECONDS     stop after so long without a character or a command\n"
    "                          (for test scripts; default never)\n"
    "\n"
    "Without --device and --config: XBV5 at 1 and XBV18 at 2, 115200 N 8 1.\n"
    "Once ready, writes 'pid=N' and 'slave=/dev/pts/N' to LINK.info.\n"
    "\n"
    "control commands: set ADDR REG VALUE | weight ADDR VALUE [CH] |\n"
    "  drift ADDR VALUE [CH] | noise ADDR VALUE [CH] | add DEVICE | remove ADDR |\n"
    "  fault delay MS | fault drop N | fault split N GAP_MS | fault join |\n"
    "  fault garbage | fault long | fault badlrc | fault evenlength |\n"
    "  fault toomanywords | fault lowercase | fault fromzero |\n"
    "  fault clear [NAME] | wire on|off | answer-all-255 on|off |\n"
    "  garbage-on-mismatch on|off | send TEXT | quit\n"
    "  (send: TEXT after one blank, escapes \\e \\r \\n \\t \\\\ \\xNN, paced at the\n"
    "  program's rate while wire time is on)\n"
    "  (addresses and values decimal or 0x hex, registers hex)\n";

[[noreturn]] void die(const std::string& msg) {
  std::fprintf(stderr, "devsim: %s\n", msg.c_str());
  std::exit(2);
}

Micros monotonic_us() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return Micros{ts.tv_sec} * 1000000 + ts.tv_nsec / 1000;
}

bool write_file_atomic(const std::string& path, const std::string& text) {
  std::string tmp = path + ".tmp" + std::to_string(getpid());
  int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  std::size_t off = 0;
  while (off < text.size()) {
    ssize_t n = write(fd, text.data() + off, text.size() - off);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      close(fd);
      unlink(tmp.c_str());
      return false;
    }
    off += static_cast<std::size_t>(n);
  }
  close(fd);
  if (rename(tmp.c_str(), path.c_str()) != 0) {
    unlink(tmp.c_str());
    return false;
  }
  return true;
}

bool read_file(const std::string& path, std::string& out) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  std::ostringstream s;
  s << f.rdbuf();
  out = s.str();
  return true;
}

bool ends_with(const std::string& s, const char* suffix) {
  std::size_t n = std::strlen(suffix);
  return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

// ---------------------------------------------------------------- client mode

int run_client(int argc, char** argv) {
  std::string dir;
  std::vector<std::string> commands;
  double timeout = 10;
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--timeout" && i + 1 < argc) timeout = std::atof(argv[++i]);
    else if (dir.empty()) dir = a;
    else commands.push_back(a);
  }
  if (dir.empty() || commands.empty()) die("usage: devsim ctl DIR COMMAND... [--timeout SECONDS]");
  static int counter = 0;
  std::string name = "ctl-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
  std::string done = dir + "/" + name + ".done";
  int in = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  if (in < 0 || inotify_add_watch(in, dir.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE) < 0)
    die("cannot watch " + dir + ": " + std::strerror(errno));
  std::string text;
  for (auto& c : commands) text += c + "\n";
  if (!write_file_atomic(dir + "/" + name + ".cmd", text)) die("cannot write to " + dir + ": " + std::strerror(errno));
  Micros end = monotonic_us() + static_cast<Micros>(timeout * 1e6);
  std::string result;
  while (!read_file(done, result)) {
    Micros left = end - monotonic_us();
    if (left <= 0) {
      unlink((dir + "/" + name + ".cmd").c_str());
      die("no answer from devsim in " + dir);
    }
    pollfd p{in, POLLIN, 0};
    poll(&p, 1, static_cast<int>(std::min<Micros>(left / 1000 + 1, 200)));
    char buf[4096];
    while (read(in, buf, sizeof buf) > 0) {
    }
  }
  unlink(done.c_str());
  std::fputs(result.c_str(), stdout);
  for (auto& line : split(result, '\n'))
    if (!line.empty() && line != "ok") return 1;
  return 0;
}

// ---------------------------------------------------------------- the simulator

struct Config {
  std::string port, control, log;
  Micros idle_exit = 0;
  std::vector<DeviceSetup> devices;
  Options options;
};

bool parse_on_off(const std::string& v, const std::string& what) {
  if (v == "on") return true;
  if (v == "off") return false;
  throw Error(what + ": want on or off, not \"" + v + "\"");
}

void read_config(const std::string& path, Config& cfg) {
  std::ifstream f(path);
  if (!f) throw Error("cannot read " + path);
  std::string line;
  int n = 0;
  while (std::getline(f, line)) {
    ++n;
    try {
      auto w = words(line);
      if (w.empty() || w[0][0] == '#') continue;
      if (w[0] == "device" && w.size() == 2) cfg.devices.push_back(parse_device(w[1]));
      else if (w.size() == 1 && w[0].find(':') != std::string::npos) cfg.devices.push_back(parse_device(w[0]));
      else if (w[0] == "wire-time" && w.size() == 2) cfg.options.wire_time = parse_on_off(w[1], "wire-time");
      else if (w[0] == "seed" && w.size() == 2)
        cfg.options.seed = static_cast<std::uint64_t>(parse_number(w[1], 0, 1LL << 62, "seed"));
      else if (w[0] == "answer-all-255" && w.size() == 1) cfg.options.answer_all_255 = true;
      else if (w[0] == "garbage-on-mismatch" && w.size() == 1) cfg.options.garbage_on_mismatch = true;
      else throw Error("not understood: " + trim(line));
    } catch (const Error& e) {
      throw Error(path + ":" + std::to_string(n) + ": " + e.what());
    }
  }
}

Config parse_args(int argc, char** argv) {
  Config cfg;
  bool devices_given = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw Error(a + " needs a value");
      return argv[++i];
    };
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    } else if (a == "--port") cfg.port = value();
    else if (a == "--config") {
      read_config(value(), cfg);
      devices_given = true;
    } else if (a == "--device") {
      cfg.devices.push_back(parse_device(value()));
      devices_given = true;
    } else if (a == "--control") cfg.control = value();
    else if (a == "--log") cfg.log = value();
    else if (a == "--wire-time") cfg.options.wire_time = parse_on_off(value(), a);
    else if (a == "--seed") cfg.options.seed = static_cast<std::uint64_t>(parse_number(value(), 0, 1LL << 62, "seed"));
    else if (a == "--idle-exit") cfg.idle_exit = parse_number(value(), 1, 86400, "idle time") * 1000000;
    else if (a == "--answer-all-255") cfg.options.answer_all_255 = true;
    else if (a == "--garbage-on-mismatch") cfg.options.garbage_on_mismatch = true;
    else throw Error("unknown argument \"" + a + "\" (see --help)");
  }
  if (cfg.port.empty()) throw Error("--port LINK is required (see --help)");
  if (!devices_given) {
    cfg.devices.push_back(parse_device("XBV5:1:115200:N"));
    cfg.devices.push_back(parse_device("XBV18:2:115200:N"));
  }
  return cfg;
}

class Simulator {
 public:
  explicit Simulator(Config cfg) : cfg_(std::move(cfg)), line_(cfg_.options) {}

  int run();

 private:
  void flush_log();
  void send_due();
  void on_master();
  // What the program has set on its end of the line.
  LineSettings program_settings();
  void run_control_file(const std::string& name);
  void scan_control_dir();
  Micros now() const { return monotonic_us() - t0_; }

  Config cfg_;
  Line line_;
  vline v_{};
  Micros t0_ = monotonic_us();
  FILE* log_ = nullptr;
  int inotify_ = -1;
  Micros last_activity_ = 0;
};

void Simulator::flush_log() {
  for (auto& e : line_.take_log()) {
    if (!log_) continue;
    std::fprintf(log_, "%lld.%06lld %s %s\n", static_cast<long long>(e.time / 1000000),
                 static_cast<long long>(e.time % 1000000), e.kind.c_str(), e.text.c_str());
  }
}

void Simulator::send_due() {
  for (auto& chunk : line_.take_due(now())) {
    std::size_t off = 0;
    while (off < chunk.size()) {
      ssize_t n = write(v_.master, chunk.data() + off, chunk.size() - off);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno == EAGAIN) {
        pollfd p{v_.master, POLLOUT, 0};
        poll(&p, 1, 100);
        continue;
      }
      if (n <= 0) {
        line_.log(now(), "BAD", std::string("write to the line failed: ") + std::strerror(errno));
        break;
      }
      off += static_cast<std::size_t>(n);
    }
  }
}

LineSettings Simulator::program_settings() {
  vline_settings vs;
  LineSettings s;
  if (vline_settings_read(&v_, &vs) == 0) s = {vs.baud, vs.parity, vs.data_bits, vs.stop_bits};
  return s;
}

void Simulator::on_master() {
  char buf[4096];
  ssize_t n = read(v_.master, buf, sizeof buf);
  if (n <= 0) return;
  line_.receive(std::string_view(buf, static_cast<std::size_t>(n)), program_settings(), now());
}

void Simulator::run_control_file(const std::string& name) {
  std::string path = cfg_.control + "/" + name;
  std::string text;
  if (!read_file(path, text)) return;  // taken already
  unlink(path.c_str());
  line_.set_program(program_settings());
  std::string result;
  for (auto& line : split(text, '\n')) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (trim(line).empty()) continue;
    result += line_.command(line, now()) + "\n";
    if (line_.quit_requested()) break;
  }
  std::string base = name.substr(0, name.size() - 4);
  if (!write_file_atomic(cfg_.control + "/" + base + ".done", result))
    line_.log(now(), "CTL", "cannot write " + base + ".done: " + std::strerror(errno));
}

void Simulator::scan_control_dir() {
  DIR* d = opendir(cfg_.control.c_str());
  if (!d) return;
  std::vector<std::string> names;
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (ends_with(n, ".cmd")) names.push_back(n);
  }
  closedir(d);
  std::sort(names.begin(), names.end());
  for (auto& n : names) run_control_file(n);
}


int Simulator::run() {
  if (cfg_.log == "-") log_ = stdout;
  else if (!cfg_.log.empty()) {
    log_ = std::fopen(cfg_.log.c_str(), "w");
    if (!log_) die("cannot write the log " + cfg_.log + ": " + std::strerror(errno));
  }
  if (log_) setvbuf(log_, nullptr, _IOLBF, 0);
  for (auto& d : cfg_.devices) {
    try {
      line_.add(d);
    } catch (const Error& e) {
      die(e.what());
    }
  }

  sigset_t mask;
  sigemptyset(&mask);
  sigaddset(&mask, SIGTERM);
  sigaddset(&mask, SIGINT);
  sigprocmask(SIG_BLOCK, &mask, nullptr);
  int sfd = signalfd(-1, &mask, SFD_CLOEXEC | SFD_NONBLOCK);
  if (sfd < 0) die(std::string("signalfd: ") + std::strerror(errno));
  signal(SIGPIPE, SIG_IGN);

  if (!cfg_.control.empty()) {
    mkdir(cfg_.control.c_str(), 0777);
    inotify_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (inotify_ < 0 || inotify_add_watch(inotify_, cfg_.control.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE) < 0)
      die("cannot watch " + cfg_.control + ": " + std::strerror(errno));
  }
  if (vline_open(&v_, cfg_.port.c_str()) != 0) die("cannot open the line on " + cfg_.port + ": " + std::strerror(errno));
  int fl = fcntl(v_.master, F_GETFL);
  fcntl(v_.master, F_SETFL, fl | O_NONBLOCK);

  std::string started = "started on " + std::string(v_.slave) + ":";
  for (auto& d : line_.devices()) {
    started += ' ';
    started += d->describe();
    started += ';';
  }
  started += std::string(" wire time ") + (cfg_.options.wire_time ? "on" : "off");
  line_.log(now(), "CTL", started);
  flush_log();
  std::string info = "pid=" + std::to_string(getpid()) + "\nslave=" + v_.slave + "\n";
  std::string info_path = cfg_.port + ".info";
  if (!write_file_atomic(info_path, info)) {
    vline_close(&v_);
    die("cannot write " + info_path + ": " + std::strerror(errno));
  }
  if (log_ != stdout) std::printf("devsim: pid %d, line %s, link %s\n", getpid(), v_.slave, cfg_.port.c_str());
  std::fflush(stdout);
  if (inotify_ >= 0) scan_control_dir();

  while (!line_.quit_requested()) {
    pollfd fds[3] = {{v_.master, POLLIN, 0}, {sfd, POLLIN, 0}, {inotify_, POLLIN, 0}};
    timespec ts{}, *tsp = nullptr;
    std::optional<Micros> due = line_.next_due();
    if (cfg_.idle_exit > 0) {
      Micros idle_end = last_activity_ + cfg_.idle_exit;
      if (now() >= idle_end) {
        line_.log(now(), "CTL", "idle for " + std::to_string(cfg_.idle_exit / 1000000) + " s, stopping");
        break;
      }
      due = due ? std::min(*due, idle_end) : idle_end;
    }
    if (due) {
      Micros wait = std::max<Micros>(0, *due - now());
      ts.tv_sec = wait / 1000000;
      ts.tv_nsec = (wait % 1000000) * 1000;
      tsp = &ts;
    }
    int r = ppoll(fds, inotify_ >= 0 ? 3 : 2, tsp, nullptr);
    if (r < 0 && errno != EINTR) die(std::string("poll: ") + std::strerror(errno));
    if (r > 0 && (fds[1].revents & POLLIN)) {
      signalfd_siginfo si;
      while (read(sfd, &si, sizeof si) > 0) {
      }
      line_.log(now(), "CTL", "stopped by a signal");
      break;
    }
    if (r > 0 && (fds[0].revents & POLLIN)) {
      on_master();
      last_activity_ = now();
    }
    if (r > 0 && inotify_ >= 0 && (fds[2].revents & POLLIN)) {
      alignas(inotify_event) char buf[8192];
      ssize_t n;
      std::vector<std::string> names;
      while ((n = read(inotify_, buf, sizeof buf)) > 0) {
        for (char* p = buf; p < buf + n;) {
          auto* ev = reinterpret_cast<inotify_event*>(p);
          if (ev->len && ends_with(ev->name, ".cmd")) names.push_back(ev->name);
          p += sizeof(inotify_event) + ev->len;
        }
      }
      for (auto& name : names) run_control_file(name);
      last_activity_ = now();
    }
    send_due();
    flush_log();
  }
  flush_log();
  unlink(info_path.c_str());
  vline_close(&v_);
  if (log_ && log_ != stdout) std::fclose(log_);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "ctl") == 0) return run_client(argc, argv);
  Config cfg;
  try {
    cfg = parse_args(argc, argv);
  } catch (const Error& e) {
    die(e.what());
  }
  Simulator sim(std::move(cfg));
  return sim.run();
}
