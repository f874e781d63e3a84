// Device simulator engine: XBV and GOLM controllers answering MODBUS ASCII on
// one serial line. No I/O and no clock of its own: bytes and time (microseconds
// since the start) are passed in, replies and log events come out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace devsim {

using Micros = std::int64_t;

// Bad configuration or command text.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ---------------------------------------------------------------- line settings

struct LineSettings {
  int baud = 0;         // 0: the program has set nothing yet
  char parity = 'N';    // N, E, O, M, S
  int data_bits = 8;    // 5..8
  int stop_bits = 1;    // 1, 15 (one and a half) or 2
  bool known() const { return baud > 0; }
  bool operator==(const LineSettings&) const = default;
  std::string text() const;  // "57600 E 8 1", "none" when unknown
};

// Wire time of n characters: start bit, data bits, parity bit, stop bits each.
Micros wire_time(const LineSettings& s, std::size_t chars);

// ---------------------------------------------------------------- frames

std::uint8_t lrc(const std::uint8_t* bytes, std::size_t n);
// ":" + upper-case hex of bytes + LRC + CR LF.
std::string encode_frame(const std::vector<std::uint8_t>& bytes);
// Raw text for a log line: CR, LF and other control bytes escaped.
std::string printable(std::string_view raw);

struct RxEvent {
  enum class Kind { Frame, Bad, Text };
  Kind kind;
  std::string raw;                  // as received
  std::string why;                  // Bad: the reason
  std::vector<std::uint8_t> bytes;  // Frame: address, function, data (LRC removed)
  Micros start = 0;                 // time the first character arrived
};

// Splits the byte stream into frames (":" .. LF), refused frames and the text
// between frames.
class FrameReceiver {
 public:
  static constexpr std::size_t kMaxFrame = 600;  // characters up to LF
  static constexpr std::size_t kMaxText = 64;

  void feed(std::string_view data, Micros now, std::vector<RxEvent>& out);
  // The bytes fed outside frames since the last call, as they came.
  std::string take_outside();

 private:
  void flush_text(std::vector<RxEvent>& out);
  static RxEvent decode(std::string raw, Micros start);

  enum class State { Idle, InFrame, Skipping };
  State state_ = State::Idle;
  std::string frame_;
  Micros start_ = 0;
  std::string text_;
  Micros text_start_ = 0;
  std::string outside_;
};

// The bytes of a text with the escapes \e (ESC), \r, \n, \t, \\ and \xNN;
// throws Error on any other escape.
std::string unescape(std::string_view text);

// ---------------------------------------------------------------- devices

enum class Model { XBV5, XBV10, XBV18, GOLM114, GOLM124, GOLM144, GOLM152, Generic };

const char* model_name(Model m);                    // "XBV5" .. "GOLM" (generic)
std::optional<Model> model_from_name(std::string_view name);  // also "generic"

// MODBUS exception codes.
enum : std::uint8_t { kIllegalFunction = 1, kIllegalAddress = 2, kIllegalValue = 3 };

// Slow drift plus noise around a set value.
struct Motion {
  double weight = 0;  // the set value
  double drift = 0;   // amplitude of a slow wander (one minute period)
  double noise = 0;   // peak amplitude of the noise of every sample
};

struct DeviceSetup {
  Model model = Model::XBV5;
  int address = 1;
  LineSettings line{115200, 'N', 8, 1};
  std::vector<std::pair<std::string, std::string>> keys;  // key=value extras
};

// "MODEL:ADDR:BAUD:PARITY[:DATA:STOP][:key=value...]"
DeviceSetup parse_device(std::string_view text);

// Change of address or baud rate that takes effect once the echo is out.
struct Deferred {
  int device_id = 0;
  std::optional<int> address;
  std::optional<int> baud;
};

class Device {
 public:
  Device(int id, const DeviceSetup& setup, std::uint64_t seed);

  int id() const { return id_; }
  Model model() const { return model_; }
  int address() const { return address_; }
  const LineSettings& line() const { return line_; }
  int channels() const { return model_ == Model::XBV5 ? 4 : 1; }
  Motion& motion(int channel = 0);
  int frequency() const { return frequency_; }
  int gain() const { return gain_; }
  void set_frequency(int f) { frequency_ = f; }
  void set_gain(int g) { gain_ = g; }

  // Function 03: 0 and the words, or an exception code.
  std::uint8_t read(std::uint16_t reg, int count, Micros now, std::vector<std::uint16_t>& words);
  // Function 06: 0, or an exception code. A change of the device's own
  // address or baud rate is returned in deferred, not applied.
  std::uint8_t write(std::uint16_t reg, std::uint16_t value, Micros now, Deferred& deferred);
  void apply(const Deferred& d);

  // Stores a register word directly (control channel); throws Error.
  void set_register(std::uint16_t reg, std::uint16_t value);
  // The live value of a channel at a time (the sampled motion).
  std::int32_t live(int channel, Micros now) const;
  std::string describe() const;  // "XBV5 at 1, 115200 N 8 1"

 private:
  struct Stored {
    std::uint16_t value = 0;
    bool writable = true;
    std::uint16_t lo = 0, hi = 0xFFFF;
  };
  bool exists(std::uint16_t reg) const;
  std::optional<std::uint16_t> word(std::uint16_t reg, Micros now) const;
  std::int32_t adc(int channel, Micros now) const;
  std::int32_t gross(Micros now) const { return live(0, now); }
  void apply_key(const std::string& key, const std::string& value);

  int id_;
  Model model_;
  int address_;
  LineSettings line_;
  std::uint64_t seed_;
  Motion motion_[4];
  int frequency_ = 10;  // samples per second
  int gain_ = 0;        // ADC gain: counts scaled by 2 to this power
  std::int32_t zero_ = 0, tare_ = 0;  // XBV18
  std::map<std::uint16_t, Stored> regs_;
  std::set<std::uint16_t> live_regs_;  // registers showing the live value
};

// ---------------------------------------------------------------- the line

struct Options {
  bool answer_all_255 = false;
  bool garbage_on_mismatch = false;
  bool wire_time = true;
  std::uint64_t seed = 1;
};

struct LogEvent {
  Micros time;
  std::string kind;  // SET RX IGN BAD CMD TX CTL
  std::string text;
};

struct Faults {
  int delay_ms = 0;
  int drop_every = 0;
  int split_pieces = 0;
  int split_gap_ms = 0;
  bool join = false, garbage = false, long_frame = false, bad_lrc = false, even_length = false,
       too_many_words = false, lower_case = false, from_zero = false;
};

class Line {
 public:
  explicit Line(Options options = {});

  Device& add(const DeviceSetup& setup);  // throws Error on a taken address
  void remove(int address);             // throws Error when there is none
  Device* find(int address);
  const std::vector<std::unique_ptr<Device>>& devices() const { return devices_; }
  Options& options() { return options_; }
  Faults& faults() { return faults_; }

  // Bytes the program wrote, with the line settings it had set at that time.
  // What it sends outside frames is logged as it comes (TXT).
  void receive(std::string_view bytes, const LineSettings& program, Micros now);
  // The program's line settings as last seen (they pace the text of "send").
  void set_program(const LineSettings& program) { program_ = program; }
  // Handles one frame event (the receiver's output); exposed for the fuzzer.
  void handle(const RxEvent& ev, const LineSettings& program, Micros now);

  // Reply bytes due by now, in order; applies deferred changes of replies
  // that are completely out.
  std::vector<std::string> take_due(Micros now);
  std::optional<Micros> next_due() const;

  // One control command; returns "ok" or "error: ...".
  std::string command(std::string_view text, Micros now);
  bool quit_requested() const { return quit_; }

  std::vector<LogEvent> take_log();
  void log(Micros t, const char* kind, std::string text);

 private:
  struct Chunk {
    Micros due = 0;
    std::string bytes;
    std::vector<Deferred> deferred;
    bool held = false;  // waiting to be joined with the next reply
    std::string note;
  };
  void handle_frame(const RxEvent& ev, const LineSettings& program, Micros now);
  void handle_text(const RxEvent& ev, const LineSettings& program, Micros now);
  void reply(std::vector<std::uint8_t> pdu, const RxEvent& req,
             const LineSettings& program, Micros now, std::vector<Deferred> deferred,
             bool is_read);
  void schedule(Chunk c, bool may_join);
  void apply(const Deferred& d, Micros now);
  std::string run_command(std::string_view text, Micros now);
  // Text to the program, paced at the program's rate while wire time is on.
  void send_text(const std::string& bytes, Micros now);

  Options options_;
  Faults faults_;
  FrameReceiver receiver_;
  std::vector<std::unique_ptr<Device>> devices_;
  std::deque<Chunk> out_;
  std::vector<LogEvent> log_;
  std::optional<LineSettings> last_settings_;
  LineSettings program_;
  Micros last_due_ = 0;
  std::uint64_t replies_ = 0;
  std::uint64_t rng_;
  int next_id_ = 1;
  bool quit_ = false;
};

}  // namespace devsim
