// The simulator engine: frames, LRC, exceptions, addressing, deferred changes,
// identification of every model, faults, timing and control commands.
#include <gtest/gtest.h>

#include <cstring>

#include "devsim.h"
#include "vline.h"

using namespace devsim;
using Bytes = std::vector<std::uint8_t>;

namespace {

const LineSettings k115{115200, 'N', 8, 1};
constexpr Micros kLater = 10'000'000;

// A line whose values stand still: no drift, no noise, no wire time.
Line quiet_line(std::initializer_list<const char*> setups, bool wire = false) {
  Options o;
  o.wire_time = wire;
  Line line(o);
  for (auto s : setups) {
    Device& d = line.add(parse_device(s));
    for (int ch = 0; ch < d.channels(); ++ch) d.motion(ch).drift = d.motion(ch).noise = 0;
  }
  return line;
}

Bytes read_req(int addr, int reg, int count) {
  return {Bytes::value_type(addr), 3, Bytes::value_type(reg >> 8), Bytes::value_type(reg), 0, Bytes::value_type(count)};
}
Bytes write_req(int addr, int reg, int value) {
  return {Bytes::value_type(addr), 6, Bytes::value_type(reg >> 8), Bytes::value_type(reg), Bytes::value_type(value >> 8),
          Bytes::value_type(value)};
}

// Sends a request and returns everything sent back (as one text).
std::string ask(Line& line, const Bytes& req, const LineSettings& s = k115, Micros now = 0) {
  line.receive(encode_frame(req), s, now);
  std::string out;
  for (auto& c : line.take_due(now + kLater)) out += c;
  return out;
}

// The decoded frames of a reply text.
std::vector<RxEvent> frames_of(const std::string& text) {
  FrameReceiver r;
  std::vector<RxEvent> ev;
  r.feed(text, 0, ev);
  return ev;
}

std::vector<std::uint16_t> read_words(Line& line, int addr, int reg, int count, Micros now = 0) {
  auto ev = frames_of(ask(line, read_req(addr, reg, count), k115, now));
  EXPECT_EQ(ev.size(), 1u);
  if (ev.size() != 1 || ev[0].kind != RxEvent::Kind::Frame || ev[0].bytes.size() < 3 || ev[0].bytes[1] != 3) return {};
  std::vector<std::uint16_t> w;
  for (std::size_t i = 3; i + 1 < ev[0].bytes.size(); i += 2) w.push_back(std::uint16_t(ev[0].bytes[i] << 8 | ev[0].bytes[i + 1]));
  return w;
}

bool logged(const std::vector<LogEvent>& log, const std::string& kind, const std::string& part) {
  for (auto& e : log)
    if (e.kind == kind && e.text.find(part) != std::string::npos) return true;
  return false;
}

}  // namespace

// ---------------------------------------------------------------- frames

TEST(DevsimFrame, EncodesWithLrc) {
  EXPECT_EQ(encode_frame({0x01, 0x03, 0x01, 0x10, 0x00, 0x04}), ":010301100004E7\r\n");
  EXPECT_EQ(encode_frame({0x11, 0x06, 0x00, 0x30, 0x00, 0x01}), ":110600300001B8\r\n");
  EXPECT_EQ(encode_frame({0x01, 0x83, 0x02}), ":0183027A\r\n");
}

TEST(DevsimFrame, ReceiverTable) {
  struct Case {
    const char* input;
    std::vector<RxEvent::Kind> kinds;
    const char* why;  // of the first Bad, if any
  };
  using K = RxEvent::Kind;
  const Case cases[] = {
      {":010301100004E7\r\n", {K::Frame}, ""},
      {":010301100004e7\r\n", {K::Frame}, ""},
      {":010301100004E7\n", {K::Bad}, "carriage return"},
      {":010301100004E\r\n", {K::Bad}, "odd number"},
      {":010301100004E8\r\n", {K::Bad}, "LRC E8, expected E7"},
      {":01030110000GE7\r\n", {K::Bad}, "not a hex digit"},
      {":FF01\r\n", {K::Bad}, "too short"},
      {":\r\n", {K::Bad}, "too short"},
      {"\x01zz:010301100004E7\r\n", {K::Text, K::Frame}, ""},
      {"[F10]", {K::Text}, ""},
      {"[F10][G03]:010301100004E7\r\n", {K::Text, K::Text, K::Frame}, ""},
      {":0103:010301100004E7\r\n", {K::Bad, K::Frame}, "cut short"},
      {"\r\n", {K::Text}, ""},
  };
  for (const auto& c : cases) {
    FrameReceiver r;
    std::vector<RxEvent> ev;
    r.feed(c.input, 5, ev);
    ASSERT_EQ(ev.size(), c.kinds.size()) << printable(c.input);
    for (std::size_t i = 0; i < ev.size(); ++i) EXPECT_EQ(ev[i].kind, c.kinds[i]) << printable(c.input) << " #" << i;
    for (auto& e : ev)
      if (e.kind == K::Bad) {
        EXPECT_NE(e.why.find(c.why), std::string::npos) << printable(c.input) << ": " << e.why;
        break;
      }
  }
}

TEST(DevsimFrame, ByteByByteKeepsFirstCharacterTime) {
  FrameReceiver r;
  std::vector<RxEvent> ev;
  std::string f = ":010301100004E7\r\n";
  for (std::size_t i = 0; i < f.size(); ++i) r.feed(f.substr(i, 1), Micros(100 + i), ev);
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0].kind, RxEvent::Kind::Frame);
  EXPECT_EQ(ev[0].start, 100);
  EXPECT_EQ(ev[0].bytes, (Bytes{1, 3, 1, 0x10, 0, 4}));
}

TEST(DevsimFrame, OverlongFrameIsRefusedAndTheNextOneHeard) {
  FrameReceiver r;
  std::vector<RxEvent> ev;
  r.feed(":" + std::string(2000, '0'), 0, ev);
  r.feed("\r\n:010301100004E7\r\n", 0, ev);
  ASSERT_EQ(ev.size(), 2u);
  EXPECT_EQ(ev[0].kind, RxEvent::Kind::Bad);
  EXPECT_LE(ev[0].raw.size(), FrameReceiver::kMaxFrame);
  EXPECT_EQ(ev[1].kind, RxEvent::Kind::Frame);
}

TEST(DevsimFrame, WireTimeAgreesWithTheCable) {
  for (LineSettings s : {LineSettings{9600, 'N', 8, 1}, LineSettings{57600, 'E', 8, 1}, LineSettings{19200, 'O', 7, 2},
                         LineSettings{115200, 'N', 8, 15}}) {
    vline_settings v{s.baud, s.parity, s.data_bits, s.stop_bits, 0, 0, 0};
    EXPECT_EQ(wire_time(s, 17), vline_wire_us(&v, 17)) << s.text();
  }
  EXPECT_EQ(wire_time({9600, 'N', 8, 1}, 96), 100000);
  EXPECT_EQ(wire_time({9600, 'E', 8, 1}, 96), 110000);
}

// ---------------------------------------------------------------- requests

TEST(DevsimRequest, AnswersAndExceptions) {
  Line line = quiet_line({"XBV5:1:115200:N:weight=1000:weight2=-2:weight3=70000"});
  struct Case {
    Bytes req;
    Bytes reply;  // empty: silence
  };
  const Case cases[] = {
      {read_req(1, 0x600, 1), {1, 3, 2, 0, 4}},
      {read_req(1, 0x100, 3), {1, 3, 6, 0x03, 0xE8, 0xFF, 0xFE, 0x11, 0x70}},
      {read_req(1, 0x110, 4), {1, 3, 8, 0x03, 0xE8, 0, 0, 0xFF, 0xFE, 0xFF, 0xFF}},
      {read_req(1, 0x114, 2), {1, 3, 4, 0x11, 0x70, 0x00, 0x01}},
      {read_req(1, 0, 1), {1, 3, 2, 0x03, 0xE8}},
      {read_req(1, 0x600, 9), {1, 0x83, 3}},
      {read_req(1, 0x600, 0), {1, 0x83, 3}},
      {read_req(1, 0x700, 1), {1, 0x83, 2}},
      {read_req(1, 0x117, 2), {1, 0x83, 2}},
      {read_req(1, 0xFFFF, 2), {1, 0x83, 2}},
      {{1, 4, 0, 0, 0, 1}, {1, 0x84, 1}},
      {{1, 0x10, 0, 0, 0, 1, 2, 0, 0}, {1, 0x90, 1}},
      {{1, 3, 0, 0, 1}, {1, 0x83, 3}},
      {write_req(1, 0x601, 5), {1, 0x86, 3}},
      {write_req(1, 0x600, 0), {1, 0x86, 3}},
      {write_req(1, 0x120, 1), {1, 0x86, 2}},
      {write_req(1, 0x100, 1), {1, 0x86, 2}},
      {write_req(1, 0x900, 1), {1, 0x86, 2}},
      {write_req(1, 0x601, 1), write_req(1, 0x601, 1)},
      {read_req(1, 0x601, 1), {1, 3, 2, 0, 1}},
      {write_req(1, 0x800, 0), {1, 0x86, 3}},
      {write_req(1, 0x800, 248), {1, 0x86, 3}},
      {write_req(1, 0x801, 4), {1, 0x86, 3}},
      {read_req(2, 0, 1), {}},
  };
  for (const auto& c : cases) {
    std::string want = c.reply.empty() ? "" : encode_frame(c.reply);
    EXPECT_EQ(printable(ask(line, c.req)), printable(want)) << printable(encode_frame(c.req));
  }
}

TEST(DevsimRequest, Xbv18WeightTareZeroAndFloats) {
  Line line = quiet_line({"XBV18:2:115200:N:weight=1000"});
  EXPECT_EQ(read_words(line, 2, 0, 2), (std::vector<std::uint16_t>{1000, 0}));
  EXPECT_EQ(read_words(line, 2, 0x10, 1), (std::vector<std::uint16_t>{1}));  // one decimal
  // 100.0 as a float: 0x42C80000, low word first
  EXPECT_EQ(read_words(line, 2, 0x50, 2), (std::vector<std::uint16_t>{0x0000, 0x42C8}));
  // a tare of a one-register read is refused, of two answered
  EXPECT_EQ(ask(line, read_req(2, 0x20, 1)), encode_frame({2, 0x83, 2}));
  EXPECT_EQ(ask(line, read_req(2, 0x21, 1)), encode_frame({2, 0x83, 2}));
  EXPECT_EQ(read_words(line, 2, 0x20, 2), (std::vector<std::uint16_t>{0, 0}));
  // take the tare: the net weight becomes 0, the tare holds the weight
  EXPECT_EQ(ask(line, write_req(2, 0x20, 1)), encode_frame(write_req(2, 0x20, 1)));
  EXPECT_EQ(read_words(line, 2, 0, 2), (std::vector<std::uint16_t>{0, 0}));
  EXPECT_EQ(read_words(line, 2, 0x20, 2), (std::vector<std::uint16_t>{1000, 0}));
  EXPECT_EQ(read_words(line, 2, 0x60, 2), (std::vector<std::uint16_t>{0x0000, 0x42C8}));
  line.find(2)->motion().weight = 1500;
  EXPECT_EQ(read_words(line, 2, 0, 2), (std::vector<std::uint16_t>{500, 0}));
  // clear the tare and set the zero
  ask(line, write_req(2, 0x20, 0));
  EXPECT_EQ(ask(line, write_req(2, 0x30, 1)), encode_frame(write_req(2, 0x30, 1)));
  EXPECT_EQ(read_words(line, 2, 0, 2), (std::vector<std::uint16_t>{0, 0}));
  EXPECT_EQ(read_words(line, 2, 0x30, 1), (std::vector<std::uint16_t>{1500}));
  EXPECT_EQ(read_words(line, 2, 0x30, 2), (std::vector<std::uint16_t>{1500, 0}));
  line.find(2)->motion().weight = 1000;
  EXPECT_EQ(read_words(line, 2, 0, 2), (std::vector<std::uint16_t>{0xFE0C, 0xFFFF}));  // -500
  EXPECT_EQ(ask(line, write_req(2, 0x30, 2)), encode_frame({2, 0x86, 3}));
}

// ---------------------------------------------------------------- addressing

TEST(DevsimAddress, BroadcastAnd255) {
  Line line = quiet_line({"XBV5:1:115200:N", "XBV18:2:115200:N", "XBV5:3:57600:E"});
  // 255: the first device that hears answers with its own address
  EXPECT_EQ(ask(line, read_req(255, 0, 1))[2], '1');
  auto far = frames_of(ask(line, read_req(255, 0, 1), {57600, 'E', 8, 1}));
  ASSERT_EQ(far.size(), 1u);
  EXPECT_EQ(far[0].bytes[0], 3);
  line.options().answer_all_255 = true;
  auto both = frames_of(ask(line, read_req(255, 0, 1)));
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0].bytes[0], 1);
  EXPECT_EQ(both[1].bytes[0], 2);
  // 0: never answered, writes applied by every device that hears
  EXPECT_EQ(ask(line, write_req(0, 0x601, 1)), "");
  EXPECT_EQ(read_words(line, 1, 0x601, 1), (std::vector<std::uint16_t>{1}));
  EXPECT_EQ(ask(line, read_req(0, 0, 1)), "");
  EXPECT_TRUE(logged(line.take_log(), "IGN", "broadcast"));
  // an address nobody has
  EXPECT_EQ(ask(line, read_req(9, 0, 1)), "");
  EXPECT_TRUE(logged(line.take_log(), "IGN", "no device at address 9"));
}

TEST(DevsimAddress, SettingsMismatchIsSilent) {
  Line line = quiet_line({"XBV5:1:57600:E"});
  EXPECT_NE(ask(line, read_req(1, 0x600, 1), {57600, 'E', 8, 1}), "");
  line.take_log();
  struct Case {
    LineSettings s;
    const char* logged;
  };
  const Case cases[] = {
      {{57600, 'N', 8, 1}, "line 57600 N 8 1, device 57600 E 8 1"},
      {{115200, 'E', 8, 1}, "line 115200 E 8 1, device 57600 E 8 1"},
      {{57600, 'E', 7, 1}, "line 57600 E 7 1"},
      {{57600, 'E', 8, 2}, "line 57600 E 8 2"},
      {{0, 'N', 8, 1}, "no line settings"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ask(line, read_req(1, 0x600, 1), c.s), "") << c.s.text();
    auto log = line.take_log();
    EXPECT_TRUE(logged(log, "IGN", c.logged)) << c.s.text();
    EXPECT_TRUE(logged(log, "SET", c.s.text())) << c.s.text();
  }
  line.options().garbage_on_mismatch = true;
  std::string g = ask(line, read_req(1, 0x600, 1), {57600, 'N', 8, 1});
  EXPECT_FALSE(g.empty());
  EXPECT_EQ(g.find(':'), std::string::npos);
}

TEST(DevsimAddress, AddressChangeTakesEffectAfterTheEcho) {
  Line line = quiet_line({"XBV5:1:115200:N"}, true);
  line.receive(encode_frame(write_req(1, 0x800, 5)), k115, 0);
  ASSERT_TRUE(line.next_due());
  EXPECT_TRUE(line.find(1));  // echo not out yet: still at 1
  EXPECT_FALSE(line.find(5));
  auto out = line.take_due(*line.next_due());
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0], encode_frame(write_req(1, 0x800, 5)));
  EXPECT_FALSE(line.find(1));
  ASSERT_TRUE(line.find(5));
  EXPECT_EQ(read_words(line, 5, 0x800, 1, kLater), (std::vector<std::uint16_t>{5}));
  EXPECT_EQ(ask(line, read_req(1, 0, 1), k115, 2 * kLater), "");
}

TEST(DevsimAddress, BaudChangeTakesEffectAfterTheEcho) {
  Line line = quiet_line({"XBV5:1:115200:N", "XBV18:2:115200:N"});
  EXPECT_EQ(ask(line, write_req(1, 0x801, 2)), encode_frame(write_req(1, 0x801, 2)));
  EXPECT_EQ(line.find(1)->line(), (LineSettings{57600, 'N', 8, 1}));
  EXPECT_EQ(ask(line, read_req(1, 0x801, 1)), "");
  EXPECT_EQ(read_words(line, 2, 0x10, 1), (std::vector<std::uint16_t>{1}));
  auto w = frames_of(ask(line, read_req(1, 0x801, 1), {57600, 'N', 8, 1}));
  ASSERT_EQ(w.size(), 1u);
  EXPECT_EQ(w[0].bytes, (Bytes{1, 3, 2, 0, 2}));
  // broadcast: applied at once, nothing sent
  EXPECT_EQ(ask(line, write_req(0, 0x801, 0), {57600, 'N', 8, 1}), "");
  EXPECT_EQ(line.find(1)->line().baud, 9600);
}

// ---------------------------------------------------------------- identification

namespace {

// The monitor's probe: entries in order, each a list of one-register reads
// that must all be answered.
std::string probe(Line& line, int addr) {
  const std::pair<const char*, std::vector<int>> table[] = {
      {"XBV5", {0x120}},        {"GOLM144", {0xC0}},       {"XBV10", {0x20, 0x10}},    {"XBV18", {0x100, 0x30}},
      {"GOLM152", {0x20, 0x40}}, {"GOLM124", {0x40, 0x10}}, {"GOLM114", {0x10, 0xFF01}}, {"GOLM", {0x00}},
  };
  for (auto& [name, regs] : table) {
    bool all = true;
    for (int r : regs) {
      auto ev = frames_of(ask(line, read_req(addr, r, 1)));
      bool ok = ev.size() == 1 && ev[0].kind == RxEvent::Kind::Frame && ev[0].bytes[0] != 0 && !(ev[0].bytes[1] & 0x80);
      if (!ok) {
        all = false;
        break;
      }
    }
    if (all) return name;
  }
  return "";
}

}  // namespace

TEST(DevsimModels, ProbeIdentifiesEveryModelAsItself) {
  for (Model m : {Model::XBV5, Model::GOLM144, Model::XBV10, Model::XBV18, Model::GOLM152, Model::GOLM124, Model::GOLM114,
                  Model::Generic}) {
    Line line = quiet_line({});
    line.add(parse_device(std::string(model_name(m)) + ":7:115200:N"));
    EXPECT_EQ(probe(line, 7), model_name(m));
    EXPECT_EQ(probe(line, 255), model_name(m));
  }
}

TEST(DevsimModels, RefusalTable) {
  struct Case {
    const char* model;
    std::vector<int> answers, refuses;
  };
  const Case cases[] = {
      {"XBV5", {0x120, 0}, {}},
      {"GOLM144", {0xC0, 0}, {0x120}},
      {"XBV10", {0x20, 0x10, 0}, {0x120, 0xC0}},
      {"XBV18", {0x100, 0x30, 0}, {0x120, 0xC0, 0x20}},
      {"GOLM152", {0x20, 0x40, 0}, {0x120, 0xC0, 0x10, 0x100}},
      {"GOLM124", {0x40, 0x10, 0}, {0x120, 0xC0, 0x20, 0x100}},
      {"GOLM114", {0x10, 0xFF01, 0}, {0x120, 0xC0, 0x20, 0x100, 0x40}},
      {"GOLM", {0}, {0x120, 0xC0, 0x20, 0x10, 0x100, 0x30, 0x40, 0xFF01}},
  };
  for (const auto& c : cases) {
    Line line = quiet_line({});
    line.add(parse_device(std::string(c.model) + ":3:115200:N"));
    for (int r : c.answers) EXPECT_EQ(read_words(line, 3, r, 1).size(), 1u) << c.model << " " << r;
    for (int r : c.refuses) EXPECT_EQ(ask(line, read_req(3, r, 1)), encode_frame({3, 0x83, 2})) << c.model << " " << r;
  }
}

TEST(DevsimModels, ExtraRegistersForDataSources) {
  Line line = quiet_line({"GOLM124:4:115200:N:weight=321:reg=200,7:live=201"});
  EXPECT_EQ(read_words(line, 4, 0x200, 2), (std::vector<std::uint16_t>{7, 321}));
  EXPECT_EQ(ask(line, write_req(4, 0x200, 9)), encode_frame(write_req(4, 0x200, 9)));
  EXPECT_EQ(read_words(line, 4, 0x200, 1), (std::vector<std::uint16_t>{9}));
  EXPECT_EQ(ask(line, write_req(4, 0x201, 9)), encode_frame({4, 0x86, 2}));
}

// ---------------------------------------------------------------- motion

TEST(DevsimMotion, SeededDriftAndNoiseStayAroundTheWeight) {
  auto sample = [](std::uint64_t seed) {
    Options o;
    o.seed = seed;
    Line line(o);
    Device& d = line.add(parse_device("XBV18:1:115200:N:weight=5000:drift=20:noise=3"));
    std::vector<std::int32_t> v;
    for (int i = 0; i < 600; ++i) v.push_back(d.live(0, Micros(i) * 100000));
    return v;
  };
  auto a = sample(42), b = sample(42), c = sample(43);
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  std::set<std::int32_t> distinct(a.begin(), a.end());
  EXPECT_GT(distinct.size(), 10u);
  for (auto x : a) {
    EXPECT_GE(x, 5000 - 23);
    EXPECT_LE(x, 5000 + 23);
  }
}

TEST(DevsimMotion, FrequencyAndGainCommands) {
  Line line = quiet_line({"XBV5:1:115200:N:weight=100:noise=50", "XBV5:2:57600:N:weight=100"});
  line.receive("[F05]", k115, 0);
  line.receive("[G03]", k115, 0);
  EXPECT_EQ(line.find(1)->frequency(), 5);
  EXPECT_EQ(line.find(2)->frequency(), 10);  // does not hear these settings
  EXPECT_EQ(line.find(1)->gain(), 3);
  EXPECT_EQ(read_words(line, 1, 0x100, 1, 0), read_words(line, 1, 0x100, 1, 199999));  // one sample per 200 ms
  line.find(1)->motion().noise = 0;
  EXPECT_EQ(read_words(line, 1, 0x100, 1), (std::vector<std::uint16_t>{800}));
  line.receive("[F81][G08]xyz]", k115, 0);
  EXPECT_EQ(line.find(1)->frequency(), 5);
  EXPECT_EQ(line.find(1)->gain(), 3);
  auto log = line.take_log();
  EXPECT_TRUE(logged(log, "CMD", "[F05] -> frequency 5 Hz on XBV5 at 1"));
  EXPECT_TRUE(logged(log, "CMD", "frequency 81 refused"));
  EXPECT_TRUE(logged(log, "CMD", "gain 8 refused"));
  EXPECT_TRUE(logged(log, "CMD", "xyz] -> nothing"));
}

// ---------------------------------------------------------------- timing and faults

TEST(DevsimTiming, ReplyPacedAtWireTime) {
  Line line = quiet_line({"XBV5:1:9600:N"}, true);
  const LineSettings s{9600, 'N', 8, 1};
  // 17 request and 15 reply characters of 10 bits at 9600 baud
  line.receive(encode_frame(read_req(1, 0x600, 1)), s, 1000);
  EXPECT_TRUE(line.take_due(1000 + 33332).empty());
  EXPECT_EQ(line.take_due(1000 + 33333).size(), 1u);
  // the delay fault comes on top
  ASSERT_EQ(line.command("fault delay 60", 0), "ok");
  line.receive(encode_frame(read_req(1, 0x600, 1)), s, 100000);
  EXPECT_TRUE(line.take_due(100000 + 33333 + 59999).empty());
  EXPECT_EQ(line.take_due(100000 + 33333 + 60000).size(), 1u);
}

TEST(DevsimFaults, ShapeOfTheReply) {
  const std::string normal = encode_frame({1, 3, 2, 0, 4});
  struct Case {
    const char* fault;
    bool (*check)(const std::string& out, const std::string& normal);
  };
  const Case cases[] = {
      {"fault garbage", [](const std::string& o, const std::string& n) { return o.size() > n.size() && o[0] != ':' && o.ends_with(n); }},
      {"fault long", [](const std::string& o, const std::string&) { return o[0] == ':' && o.size() > 100 && o.find('\n') == std::string::npos; }},
      {"fault badlrc", [](const std::string& o, const std::string&) { auto e = frames_of(o); return e.size() == 1 && e[0].why.find("LRC") != std::string::npos; }},
      {"fault evenlength", [](const std::string& o, const std::string&) { return o.size() > 3 && (o.size() - 2) % 2 == 0 && o.ends_with("\r\n"); }},
      {"fault toomanywords", [](const std::string& o, const std::string&) { auto e = frames_of(o); return e.size() == 1 && e[0].bytes.size() == 23 && e[0].bytes[2] == 20 && e[0].bytes[4] == 4; }},
      {"fault lowercase", [](const std::string& o, const std::string& n) { auto e = frames_of(o); return o != n && e.size() == 1 && e[0].kind == RxEvent::Kind::Frame && o.find_first_of("abcdef") != std::string::npos; }},
      {"fault fromzero", [](const std::string& o, const std::string&) { auto e = frames_of(o); return e.size() == 1 && e[0].kind == RxEvent::Kind::Frame && e[0].bytes[0] == 0; }},
  };
  for (const auto& c : cases) {
    Line line = quiet_line({"XBV5:1:115200:N"});
    ASSERT_EQ(line.command(c.fault, 0), "ok") << c.fault;
    std::string out = ask(line, read_req(1, 0x600, 1));
    EXPECT_TRUE(c.check(out, normal)) << c.fault << ": " << printable(out);
    ASSERT_EQ(line.command("fault clear", 0), "ok");
    EXPECT_EQ(ask(line, read_req(1, 0x600, 1)), normal) << c.fault;
  }
}

TEST(DevsimFaults, DropSplitJoin) {
  const std::string normal = encode_frame({1, 3, 2, 0, 4});
  Line line = quiet_line({"XBV5:1:115200:N"});
  ASSERT_EQ(line.command("fault drop 2", 0), "ok");
  EXPECT_EQ(ask(line, read_req(1, 0x600, 1)), normal);
  EXPECT_EQ(ask(line, read_req(1, 0x600, 1)), "");
  EXPECT_EQ(ask(line, read_req(1, 0x600, 1)), normal);
  EXPECT_EQ(ask(line, read_req(1, 0x600, 1)), "");

  ASSERT_EQ(line.command("fault clear drop", 0), "ok");
  ASSERT_EQ(line.command("fault split 3 10", 0), "ok");
  line.receive(encode_frame(read_req(1, 0x600, 1)), k115, kLater);
  std::string all;
  for (int k = 0; k < 3; ++k) {
    auto piece = line.take_due(kLater + k * 10000);
    ASSERT_EQ(piece.size(), 1u) << k;
    EXPECT_TRUE(line.take_due(kLater + k * 10000 + 9999).empty());
    all += piece[0];
  }
  EXPECT_EQ(all, normal);

  ASSERT_EQ(line.command("fault clear", 0), "ok");
  ASSERT_EQ(line.command("fault join", 0), "ok");
  Micros t = 2 * kLater;
  line.receive(encode_frame(read_req(1, 0x600, 1)), k115, t);
  EXPECT_TRUE(line.take_due(t + 1000).empty());
  line.receive(encode_frame(read_req(1, 0x601, 1)), k115, t + 2000);
  auto joined = line.take_due(t + 3000);
  ASSERT_EQ(joined.size(), 1u);
  EXPECT_EQ(joined[0], normal + encode_frame({1, 3, 2, 0, 2}));
  // a lone reply waits a while and then goes alone
  line.receive(encode_frame(read_req(1, 0x600, 1)), k115, t + 10000);
  EXPECT_TRUE(line.take_due(t + 20000).empty());
  EXPECT_EQ(line.take_due(t + 10000 + 1000000).size(), 1u);
}

// ---------------------------------------------------------------- control and configuration

TEST(DevsimControl, Commands) {
  Line line = quiet_line({"XBV5:1:115200:N"});
  struct Case {
    const char* command;
    const char* result;  // prefix
  };
  const Case cases[] = {
      {"set 1 0x120 1", "ok"},
      {"set 1 121 1", "ok"},
      {"set 1 600 3", "ok"},
      {"weight 1 250 2", "ok"},
      {"add XBV18:2:57600:E:weight=7", "ok"},
      {"add XBV18:2:57600:E", "error: address 2 is taken"},
      {"add XBV18:3:57600:Q", "error: parity"},
      {"add XBV9:3:57600:N", "error: unknown model"},
      {"set 1 100 5", "error: register 0x0100 shows the live value"},
      {"set 1 800 5", "error:"},
      {"set 9 600 1", "error: no device at address 9"},
      {"set 1 600 70000", "error: value 70000 is out of range"},
      {"weight 1 abc", "error: weight \"abc\" is not a number"},
      {"weight 1 5 5", "error: channel 5 is out of range"},
      {"fault nonsense", "error: unknown fault"},
      {"fault delay", "error: usage: fault delay MS"},
      {"fault split 1 5", "error: pieces 1 is out of range"},
      {"wire maybe", "error:"},
      {"frobnicate", "error: unknown command"},
      {"# a comment", "ok"},
      {"", "ok"},
      {"remove 2", "ok"},
      {"remove 2", "error: no device at address 2"},
  };
  for (const auto& c : cases) {
    std::string r = line.command(c.command, 0);
    EXPECT_EQ(r.rfind(c.result, 0), 0u) << c.command << " -> " << r;
  }
  EXPECT_EQ(read_words(line, 1, 0x120, 2), (std::vector<std::uint16_t>{1, 1}));
  EXPECT_EQ(read_words(line, 1, 0x600, 1), (std::vector<std::uint16_t>{3}));
  EXPECT_EQ(read_words(line, 1, 0x101, 1), (std::vector<std::uint16_t>{250}));
  EXPECT_FALSE(line.quit_requested());
  EXPECT_EQ(line.command("quit", 0), "ok");
  EXPECT_TRUE(line.quit_requested());
  EXPECT_TRUE(logged(line.take_log(), "CTL", "frobnicate -> error: unknown command"));
}

TEST(DevsimControl, DeviceSetups) {
  DeviceSetup s = parse_device("golm152:12:19200:o:7:2:weight=5");
  EXPECT_EQ(s.model, Model::GOLM152);
  EXPECT_EQ(s.address, 12);
  EXPECT_EQ(s.line, (LineSettings{19200, 'O', 7, 2}));
  ASSERT_EQ(s.keys.size(), 1u);
  EXPECT_EQ(parse_device("generic:1:9600:N:8:1.5").line.stop_bits, 15);
  for (const char* bad : {"XBV5", "XBV5:0:9600:N", "XBV5:248:9600:N", "XBV5:1:4800:N", "XBV18:1:9600:N:9:1",
                          "XBV18:1:9600:N:8", "XBV18:1:9600:N:8:3", "XBV18:1:9600:N:bogus=1", "XBV18:1:9600:N:weight",
                          "XBV18:1:9600:N:weight2=1", "XBV18:1:x:N", "GOLM:1:9600:N:live=0"}) {
    EXPECT_THROW(
        {
          Line line;
          line.add(parse_device(bad));
        },
        Error)
        << bad;
  }
}

// ---------------------------------------------------------------- text both ways

TEST(DevsimText, WhatTheProgramSendsOutsideFramesIsLoggedRawAsItComes) {
  Line line = quiet_line({"XBV5:1:115200:N"});
  // a terminal's answer: no line feed and no "]" ever ends it
  line.receive("\x1B[5;10", k115, 0);
  line.receive("R", k115, 10);
  line.receive("ab" + encode_frame(read_req(1, 0x600, 1)) + "\xE9\r\n", k115, 20);
  std::vector<std::string> texts;
  for (auto& e : line.take_log())
    if (e.kind == "TXT") texts.push_back(e.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"\\x1B[5;10", "R", "ab\\xE9\\r\\n"}));
}

TEST(DevsimText, SendTakesEscapesAndPacesTheTextAtTheProgramsRate) {
  Line line = quiet_line({"XBV5:1:115200:N"}, true);
  line.set_program(k115);
  const std::string text = "\x1B[2J\r\n" + std::string(200, 'x') + "\xC0\\";
  ASSERT_EQ(line.command("send \\e[2J\\r\\n" + std::string(200, 'x') + "\\xc0\\\\", 1000), "ok");
  // 206 characters of 10 bits at 115200 baud: 17.88 ms, in pieces of about a millisecond
  const Micros end = 1000 + wire_time(k115, text.size());
  EXPECT_TRUE(line.take_due(1000 + wire_time(k115, 1) - 1).empty());
  std::string got;
  int pieces = 0;
  for (Micros t = 1000; t < end + 100; t += 100) {
    for (auto& c : line.take_due(t)) {
      got += c;
      ++pieces;
      // never ahead of the wire
      EXPECT_LE(wire_time(k115, got.size()), t - 1000) << got.size();
    }
  }
  EXPECT_EQ(got, text);
  EXPECT_GE(pieces, 17);
  EXPECT_LE(pieces, 19);

  // without wire time (or before the program set its line) the text goes at once
  ASSERT_EQ(line.command("wire off", 0), "ok");
  ASSERT_EQ(line.command("send  two blanks", 50000), "ok");
  auto now = line.take_due(50000);
  ASSERT_EQ(now.size(), 1u);
  EXPECT_EQ(now[0], " two blanks");

  for (const char* bad : {"send", "send ", "send \\q", "send \\x4", "send \\x4g", "send ab\\"})
    EXPECT_EQ(line.command(bad, 0).rfind("error: ", 0), 0u) << bad;
}
