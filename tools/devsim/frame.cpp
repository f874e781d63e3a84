// Line settings, LRC and the frame receiver.
#include "devsim.h"

#include <cstdio>

namespace devsim {

std::string LineSettings::text() const {
  if (!known()) return "none";
  char buf[64];
  if (stop_bits == 15)
    std::snprintf(buf, sizeof buf, "%d %c %d 1.5", baud, parity, data_bits);
  else
    std::snprintf(buf, sizeof buf, "%d %c %d %d", baud, parity, data_bits, stop_bits);
  return buf;
}

Micros wire_time(const LineSettings& s, std::size_t chars) {
  if (s.baud <= 0) return 0;
  // counted in half bits for the one and a half stop bits
  long long half_bits = 2 * (1 + s.data_bits + (s.parity != 'N' ? 1 : 0)) +
                        (s.stop_bits == 15 ? 3 : 2 * s.stop_bits);
  return static_cast<Micros>(static_cast<long long>(chars) * half_bits * 1000000LL /
                             (2LL * s.baud));
}

std::uint8_t lrc(const std::uint8_t* bytes, std::size_t n) {
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < n; ++i) sum = static_cast<std::uint8_t>(sum + bytes[i]);
  return static_cast<std::uint8_t>(-sum);
}

std::string encode_frame(const std::vector<std::uint8_t>& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string s = ":";
  auto put = [&](std::uint8_t b) {
    s += digits[b >> 4];
    s += digits[b & 15];
  };
  for (auto b : bytes) put(b);
  put(lrc(bytes.data(), bytes.size()));
  s += "\r\n";
  return s;
}

std::string printable(std::string_view raw) {
  std::string s;
  for (unsigned char c : raw) {
    if (c == '\r') s += "\\r";
    else if (c == '\n') s += "\\n";
    else if (c == '\\') s += "\\\\";
    else if (c < 0x20 || c >= 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      s += buf;
    } else s += static_cast<char>(c);
  }
  return s;
}

static int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void FrameReceiver::flush_text(std::vector<RxEvent>& out) {
  if (text_.empty()) return;
  RxEvent ev{RxEvent::Kind::Text, std::move(text_), {}, {}, text_start_};
  out.push_back(std::move(ev));
  text_.clear();
}

RxEvent FrameReceiver::decode(std::string raw, Micros start) {
  auto bad = [&](std::string why) {
    return RxEvent{RxEvent::Kind::Bad, std::move(raw), std::move(why), {}, start};
  };
  // raw is ":" ... LF
  if (raw.size() < 3 || raw[raw.size() - 2] != '\r') return bad("no carriage return before line feed");
  std::string_view hex(raw.data() + 1, raw.size() - 3);
  if (hex.size() % 2 != 0) return bad("odd number of hex digits");
  std::vector<std::uint8_t> bytes;
  bytes.reserve(hex.size() / 2);
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    int hi = hex_value(hex[i]), lo = hex_value(hex[i + 1]);
    if (hi < 0 || lo < 0) return bad("not a hex digit");
    bytes.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
  }
  if (bytes.size() < 3) return bad("too short");
  std::uint8_t want = lrc(bytes.data(), bytes.size() - 1);
  if (want != bytes.back()) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "LRC %02X, expected %02X", bytes.back(), want);
    return bad(buf);
  }
  bytes.pop_back();
  return RxEvent{RxEvent::Kind::Frame, std::move(raw), {}, std::move(bytes), start};
}

std::string FrameReceiver::take_outside() {
  std::string r;
  r.swap(outside_);
  return r;
}

std::string unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) throw Error("a backslash ends the text");
    switch (text[i]) {
      case 'e': out += '\x1B'; break;
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case '\\': out += '\\'; break;
      case 'x': {
        int hi = i + 1 < text.size() ? hex_value(text[i + 1]) : -1;
        int lo = i + 2 < text.size() ? hex_value(text[i + 2]) : -1;
        if (hi < 0 || lo < 0) throw Error("\\x wants two hex digits");
        out += static_cast<char>(hi << 4 | lo);
        i += 2;
        break;
      }
      default: throw Error(std::string("unknown escape \\") + text[i]);
    }
  }
  return out;
}

void FrameReceiver::feed(std::string_view data, Micros now, std::vector<RxEvent>& out) {
  for (char c : data) {
    switch (state_) {
      case State::Skipping:
        if (c == '\n') {
          state_ = State::Idle;
          break;
        }
        if (c != ':') break;
        [[fallthrough]];
      case State::Idle:
        if (c == ':') {
          flush_text(out);
          frame_.assign(1, c);
          start_ = now;
          state_ = State::InFrame;
        } else {
          if (text_.empty()) text_start_ = now;
          text_ += c;
          outside_ += c;
          if (c == ']' || c == '\n' || text_.size() >= kMaxText) flush_text(out);
        }
        break;
      case State::InFrame:
        if (c == ':') {
          out.push_back(RxEvent{RxEvent::Kind::Bad, std::move(frame_), "cut short by a new ':'", {}, start_});
          frame_.assign(1, c);
          start_ = now;
          break;
        }
        frame_ += c;
        if (c == '\n') {
          out.push_back(decode(std::move(frame_), start_));
          frame_.clear();
          state_ = State::Idle;
        } else if (frame_.size() >= kMaxFrame) {
          out.push_back(RxEvent{RxEvent::Kind::Bad, std::move(frame_), "too long without line feed", {}, start_});
          frame_.clear();
          state_ = State::Skipping;
        }
        break;
    }
  }
}

}  // namespace devsim
