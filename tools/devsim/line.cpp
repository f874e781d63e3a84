// The line: several devices, addressing, replies with their timing and faults,
// control commands.
#include <algorithm>
#include <cstdio>

#include "devsim.h"
#include "util.h"

namespace devsim {

namespace {

constexpr Micros kJoinWait = 1000000;  // a reply held for joining goes alone after this
constexpr Micros kSendSlice = 1000;    // sent text goes out in pieces of this much wire time

bool on_off(const std::vector<std::string>& w, std::size_t i) {
  if (w.size() != i + 1) throw Error("want on or off");
  std::string v = lower(w[i]);
  if (v == "on") return true;
  if (v == "off") return false;
  throw Error("\"" + w[i] + "\": want on or off");
}

}  // namespace

Line::Line(Options options) : options_(options), rng_(options.seed * 0x9E3779B97F4A7C15ULL + 1) {}

void Line::log(Micros t, const char* kind, std::string text) { log_.push_back({t, kind, std::move(text)}); }

std::vector<LogEvent> Line::take_log() {
  std::vector<LogEvent> r;
  r.swap(log_);
  return r;
}

Device& Line::add(const DeviceSetup& setup) {
  if (find(setup.address)) throw Error("address " + std::to_string(setup.address) + " is taken");
  devices_.push_back(std::make_unique<Device>(next_id_++, setup, options_.seed));
  return *devices_.back();
}

void Line::remove(int address) {
  auto it = std::find_if(devices_.begin(), devices_.end(), [&](auto& d) { return d->address() == address; });
  if (it == devices_.end()) throw Error("no device at address " + std::to_string(address));
  devices_.erase(it);
}

Device* Line::find(int address) {
  for (auto& d : devices_)
    if (d->address() == address) return d.get();
  return nullptr;
}

void Line::receive(std::string_view bytes, const LineSettings& program, Micros now) {
  program_ = program;
  std::vector<RxEvent> events;
  receiver_.feed(bytes, now, events);
  std::string outside = receiver_.take_outside();
  if (!outside.empty()) log(now, "TXT", printable(outside));
  for (auto& ev : events) handle(ev, program, now);
}

void Line::handle(const RxEvent& ev, const LineSettings& program, Micros now) {
  if (!last_settings_ || *last_settings_ != program) {
    log(now, "SET", program.text());
    last_settings_ = program;
  }
  switch (ev.kind) {
    case RxEvent::Kind::Frame: handle_frame(ev, program, now); break;
    case RxEvent::Kind::Bad: log(now, "BAD", ev.why + ": " + printable(ev.raw)); break;
    case RxEvent::Kind::Text: handle_text(ev, program, now); break;
  }
}

void Line::handle_frame(const RxEvent& ev, const LineSettings& program, Micros now) {
  log(now, "RX", printable(ev.raw));
  if (!program.known()) {
    log(now, "IGN", "the program has set no line settings");
    return;
  }
  const auto& b = ev.bytes;
  if (b.size() < 2) {
    log(now, "BAD", "no address and function: " + printable(ev.raw));
    return;
  }
  int addr = b[0];
  std::uint8_t func = b[1];
  std::vector<Device*> hearing;
  bool addressed = false;
  for (auto& d : devices_) {
    if (addr != 0 && addr != 255 && d->address() != addr) continue;
    addressed = true;
    if (d->line() == program) hearing.push_back(d.get());
    else
      log(now, "IGN", "address " + std::to_string(d->address()) + " (" + model_name(d->model()) +
                          "): line " + program.text() + ", device " + d->line().text());
  }
  if (!addressed) {
    log(now, "IGN", "no device at address " + std::to_string(addr));
    return;
  }
  if (hearing.empty()) {
    if (options_.garbage_on_mismatch && addr != 0) {
      Chunk c;
      std::size_t n = 12 + rng_ % 9;
      for (std::size_t i = 0; i < n; ++i) {
        rng_ = rng_ * 6364136223846793005ULL + 1442695040888963407ULL;
        char ch = static_cast<char>(rng_ >> 56);
        c.bytes += ch == ':' ? '?' : ch;
      }
      Micros base = options_.wire_time ? ev.start + wire_time(program, ev.raw.size()) + wire_time(program, n) : now;
      c.due = std::max(base, last_due_);
      c.note = "garbage for a settings mismatch: ";
      schedule(std::move(c), false);
    }
    return;
  }
  if (addr == 255 && !options_.answer_all_255) hearing.erase(hearing.begin() + 1, hearing.end());

  std::vector<std::uint8_t> data(b.begin() + 2, b.end());
  std::string applied;
  for (Device* dev : hearing) {
    std::vector<std::uint8_t> pdu{static_cast<std::uint8_t>(dev->address()), func};
    std::uint8_t code = 0;
    std::vector<Deferred> deferred;
    if (func != 3 && func != 6) code = kIllegalFunction;
    else if (data.size() != 4) code = kIllegalValue;
    else {
      auto reg = static_cast<std::uint16_t>(data[0] << 8 | data[1]);
      auto arg = static_cast<std::uint16_t>(data[2] << 8 | data[3]);
      if (func == 3) {
        std::vector<std::uint16_t> words;
        code = dev->read(reg, arg, now, words);
        if (!code) {
          pdu.push_back(static_cast<std::uint8_t>(words.size() * 2));
          for (auto w : words) {
            pdu.push_back(static_cast<std::uint8_t>(w >> 8));
            pdu.push_back(static_cast<std::uint8_t>(w & 0xFF));
          }
        }
      } else {
        Deferred d;
        code = dev->write(reg, arg, now, d);
        if (!code) {
          pdu.insert(pdu.end(), data.begin(), data.end());
          if (d.address || d.baud) deferred.push_back(d);
          if (addr == 0) applied += (applied.empty() ? "" : ", ") + std::string(model_name(dev->model())) + " at " + std::to_string(dev->address());
        }
      }
    }
    if (code) {
      pdu.resize(1);
      pdu.push_back(static_cast<std::uint8_t>(func | 0x80));
      pdu.push_back(code);
    }
    if (addr == 0) {
      for (auto& d : deferred) apply(d, now);
      continue;
    }
    reply(std::move(pdu), ev, program, now, std::move(deferred), func == 3 && !code);
  }
  if (addr == 0) log(now, "IGN", "broadcast, not answered; " + (applied.empty() ? std::string("nothing written") : "written on " + applied));
}

void Line::reply(std::vector<std::uint8_t> pdu, const RxEvent& req, const LineSettings& program,
                 Micros now, std::vector<Deferred> deferred, bool is_read) {
  ++replies_;
  if (faults_.drop_every > 0 && replies_ % static_cast<unsigned>(faults_.drop_every) == 0) {
    log(now, "TX", "dropped (fault drop " + std::to_string(faults_.drop_every) + "): " + printable(encode_frame(pdu)));
    for (auto& d : deferred) apply(d, now);
    return;
  }
  std::string note;
  if (faults_.from_zero) pdu[0] = 0;
  if (faults_.too_many_words && is_read) {
    while (pdu.size() < 3 + 20) pdu.push_back(0);
    pdu[2] = 20;
  }
  std::string text = encode_frame(pdu);
  if (faults_.bad_lrc) {
    std::uint8_t wrong = static_cast<std::uint8_t>(lrc(pdu.data(), pdu.size()) + 1);
    static const char digits[] = "0123456789ABCDEF";
    text[text.size() - 4] = digits[wrong >> 4];
    text[text.size() - 3] = digits[wrong & 15];
  }
  if (faults_.lower_case)
    for (auto& c : text)
      if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
  if (faults_.even_length) text.insert(text.size() - 4, "0");
  if (faults_.long_frame) {
    text = ":";
    for (int i = 0; i < 120; ++i) text += "0123456789ABCDEF"[i % 16];
    note = "long frame in place of: " + printable(encode_frame(pdu)) + "; sent: ";
  }
  if (faults_.garbage) text.insert(0, "\xA5\x5A#?* ");

  Micros base = options_.wire_time
                    ? req.start + wire_time(program, req.raw.size()) + wire_time(program, text.size())
                    : now;
  Micros due = std::max(base, now) + Micros{faults_.delay_ms} * 1000;
  due = std::max(due, last_due_);
  int pieces = faults_.split_pieces > 1 ? std::min<int>(faults_.split_pieces, static_cast<int>(text.size())) : 1;
  std::size_t pos = 0;
  for (int k = 0; k < pieces; ++k) {
    std::size_t len = (text.size() - pos) / static_cast<std::size_t>(pieces - k);
    Chunk c;
    c.due = due + Micros{k} * faults_.split_gap_ms * 1000;
    c.bytes = text.substr(pos, len);
    pos += len;
    c.note = note;
    if (pieces > 1) c.note += "piece " + std::to_string(k + 1) + "/" + std::to_string(pieces) + ": ";
    if (k == pieces - 1) c.deferred = std::move(deferred);
    schedule(std::move(c), pieces == 1);
  }
}

void Line::schedule(Chunk c, bool may_join) {
  if (faults_.join && may_join) {
    auto held = std::find_if(out_.begin(), out_.end(), [](const Chunk& x) { return x.held; });
    if (held != out_.end()) {
      Chunk h = std::move(*held);
      out_.erase(held);
      c.bytes = h.bytes + c.bytes;
      c.deferred.insert(c.deferred.begin(), h.deferred.begin(), h.deferred.end());
      c.note = "joined: " + c.note;
    } else {
      c.held = true;
      c.due += kJoinWait;
    }
  }
  if (!c.held) last_due_ = std::max(last_due_, c.due);
  auto at = std::find_if(out_.begin(), out_.end(), [&](const Chunk& x) { return x.due > c.due; });
  out_.insert(at, std::move(c));
}

std::vector<std::string> Line::take_due(Micros now) {
  std::vector<std::string> r;
  while (!out_.empty() && out_.front().due <= now) {
    Chunk c = std::move(out_.front());
    out_.pop_front();
    log(now, "TX", c.note + printable(c.bytes));
    r.push_back(std::move(c.bytes));
    for (auto& d : c.deferred) apply(d, now);
  }
  return r;
}

std::optional<Micros> Line::next_due() const {
  if (out_.empty()) return std::nullopt;
  return out_.front().due;
}

void Line::apply(const Deferred& d, Micros now) {
  for (auto& dev : devices_) {
    if (dev->id() != d.device_id) continue;
    std::string before = dev->describe();
    dev->apply(d);
    log(now, "TX", "after the echo: " + before + " is now " + dev->describe());
  }
}

void Line::handle_text(const RxEvent& ev, const LineSettings& program, Micros now) {
  const std::string& t = ev.raw;
  std::vector<Device*> hearing;
  for (auto& d : devices_)
    if (program.known() && d->line() == program) hearing.push_back(d.get());
  std::string done;
  auto digit = [&](std::size_t i) { return i < t.size() && t[i] >= '0' && t[i] <= '9'; };
  for (std::size_t i = 0; i + 4 < t.size(); ++i) {
    if (t[i] != '[') continue;
    int value = -1;
    if (t[i + 1] == 'F' && digit(i + 2) && digit(i + 3) && t[i + 4] == ']') {
      value = (t[i + 2] - '0') * 10 + (t[i + 3] - '0');
      if (value < 1 || value > 80) {
        done += (done.empty() ? "" : "; ") + std::string("frequency ") + std::to_string(value) + " refused (1 to 80)";
        continue;
      }
      for (Device* d : hearing) d->set_frequency(value);
      done += (done.empty() ? "" : "; ") + std::string("frequency ") + std::to_string(value) + " Hz";
    } else if (t[i + 1] == 'G' && t[i + 2] == '0' && digit(i + 3) && t[i + 4] == ']') {
      value = t[i + 3] - '0';
      if (value > 7) {
        done += (done.empty() ? "" : "; ") + std::string("gain ") + std::to_string(value) + " refused (0 to 7)";
        continue;
      }
      for (Device* d : hearing) d->set_gain(value);
      done += (done.empty() ? "" : "; ") + std::string("gain ") + std::to_string(value);
    }
  }
  if (done.empty()) done = "nothing";
  else {
    std::string who;
    for (Device* d : hearing) who += (who.empty() ? "" : ", ") + std::string(model_name(d->model())) + " at " + std::to_string(d->address());
    done += who.empty() ? " (no device hears the line settings)" : " on " + who;
  }
  log(now, "CMD", printable(t) + " -> " + done);
}

std::string Line::command(std::string_view text, Micros now) {
  std::string result;
  try {
    result = run_command(text, now);
  } catch (const Error& e) {
    result = std::string("error: ") + e.what();
  }
  log(now, "CTL", printable(trim(text)) + " -> " + result);
  return result;
}

void Line::send_text(const std::string& bytes, Micros now) {
  Micros start = std::max(now, last_due_);
  if (!options_.wire_time || !program_.known()) {
    Chunk c;
    c.due = start;
    c.bytes = bytes;
    schedule(std::move(c), false);
    return;
  }
  // a byte is there once its last bit is; the bytes of one slice go together
  std::size_t i = 0;
  while (i < bytes.size()) {
    Micros slice_end = start + wire_time(program_, i + 1) + kSendSlice;
    std::size_t j = i + 1;
    while (j < bytes.size() && start + wire_time(program_, j + 1) <= slice_end) ++j;
    Chunk c;
    c.due = start + wire_time(program_, j);
    c.bytes = bytes.substr(i, j - i);
    schedule(std::move(c), false);
    i = j;
  }
}

std::string Line::run_command(std::string_view text, Micros now) {
  auto w = words(text);
  if (w.empty() || w[0][0] == '#') return "ok";
  std::string cmd = lower(w[0]);
  if (cmd == "send") {
    // the text is the rest of the line after one blank, blanks included
    std::string_view rest = text.substr(text.find_first_not_of(" \t"));
    rest.remove_prefix(std::min<std::size_t>(4, rest.size()));
    if (!rest.empty() && (rest[0] == ' ' || rest[0] == '\t')) rest.remove_prefix(1);
    std::string bytes = unescape(rest);
    if (bytes.empty()) throw Error("usage: send TEXT (escapes \\e \\r \\n \\t \\\\ \\xNN)");
    send_text(bytes, now);
    return "ok";
  }
  auto device = [&](const std::string& a) -> Device& {
    int addr = static_cast<int>(parse_number(a, 0, 255, "address"));
    Device* d = find(addr);
    if (!d) throw Error("no device at address " + std::to_string(addr));
    return *d;
  };
  auto want = [&](std::size_t lo, std::size_t hi, const char* usage) {
    if (w.size() < lo || w.size() > hi) throw Error(std::string("usage: ") + usage);
  };
  if (cmd == "set") {
    want(4, 4, "set ADDR REG VALUE");
    Device& d = device(w[1]);
    auto reg = static_cast<std::uint16_t>(parse_register(w[2]));
    auto v = parse_number(w[3], -32768, 65535, "value");
    d.set_register(reg, static_cast<std::uint16_t>(v & 0xFFFF));
  } else if (cmd == "weight" || cmd == "drift" || cmd == "noise") {
    want(3, 4, "weight|drift|noise ADDR VALUE [CHANNEL]");
    Device& d = device(w[1]);
    double v = parse_real(w[2], cmd.c_str());
    int ch = w.size() == 4 ? static_cast<int>(parse_number(w[3], 1, d.channels(), "channel")) : 1;
    Motion& m = d.motion(ch - 1);
    (cmd == "weight" ? m.weight : cmd == "drift" ? m.drift : m.noise) = v;
  } else if (cmd == "add") {
    want(2, 2, "add MODEL:ADDR:BAUD:PARITY[:DATA:STOP][:key=value...]");
    add(parse_device(w[1]));
  } else if (cmd == "remove") {
    want(2, 2, "remove ADDR");
    remove(static_cast<int>(parse_number(w[1], 0, 255, "address")));
  } else if (cmd == "fault") {
    want(2, 4, "fault NAME [ARGS] | fault clear [NAME]");
    std::string name = lower(w[1]);
    bool clear = false;
    if (name == "clear") {
      if (w.size() == 2) {
        faults_ = Faults{};
        return "ok";
      }
      want(3, 3, "fault clear [NAME]");
      name = lower(w[2]);
      clear = true;
    }
    auto flag = [&](bool& f) {
      if (!clear) want(2, 2, ("fault " + name).c_str());
      f = !clear;
    };
    if (name == "delay") {
      if (!clear) want(3, 3, "fault delay MS");
      faults_.delay_ms = clear ? 0 : static_cast<int>(parse_number(w[2], 0, 60000, "delay"));
    } else if (name == "drop") {
      if (!clear) want(3, 3, "fault drop N");
      faults_.drop_every = clear ? 0 : static_cast<int>(parse_number(w[2], 1, 1000000, "n"));
      replies_ = 0;
    } else if (name == "split") {
      if (!clear) want(4, 4, "fault split N GAP_MS");
      faults_.split_pieces = clear ? 0 : static_cast<int>(parse_number(w[2], 2, 64, "pieces"));
      faults_.split_gap_ms = clear ? 0 : static_cast<int>(parse_number(w[3], 0, 60000, "gap"));
    } else if (name == "join") flag(faults_.join);
    else if (name == "garbage") flag(faults_.garbage);
    else if (name == "long") flag(faults_.long_frame);
    else if (name == "badlrc") flag(faults_.bad_lrc);
    else if (name == "evenlength") flag(faults_.even_length);
    else if (name == "toomanywords") flag(faults_.too_many_words);
    else if (name == "lowercase") flag(faults_.lower_case);
    else if (name == "fromzero") flag(faults_.from_zero);
    else
      throw Error("unknown fault \"" + w[1] +
                  "\" (delay, drop, split, join, garbage, long, badlrc, evenlength, toomanywords, lowercase, fromzero)");
  } else if (cmd == "wire") {
    options_.wire_time = on_off(w, 1);
  } else if (cmd == "answer-all-255") {
    options_.answer_all_255 = on_off(w, 1);
  } else if (cmd == "garbage-on-mismatch") {
    options_.garbage_on_mismatch = on_off(w, 1);
  } else if (cmd == "quit") {
    want(1, 1, "quit");
    quit_ = true;
  } else {
    throw Error("unknown command \"" + w[0] + "\"");
  }
  return "ok";
}

}  // namespace devsim
