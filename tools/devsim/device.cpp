// The device models: register maps, value motion, writes.
#include "devsim.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "util.h"

namespace devsim {

namespace {

struct ModelName {
  Model model;
  const char* name;
};
constexpr ModelName kModels[] = {
    {Model::XBV5, "XBV5"},       {Model::XBV10, "XBV10"},     {Model::XBV18, "XBV18"},
    {Model::GOLM114, "GOLM114"}, {Model::GOLM124, "GOLM124"}, {Model::GOLM144, "GOLM144"},
    {Model::GOLM152, "GOLM152"}, {Model::Generic, "GOLM"},
};

constexpr int kBauds[] = {9600, 19200, 57600, 115200};

int baud_index(int baud) {
  for (int i = 0; i < 4; ++i)
    if (kBauds[i] == baud) return i;
  return -1;
}

std::uint64_t mix(std::uint64_t x) {  // splitmix64 finaliser
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

std::int32_t clamp32(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(std::llround(v));
}

std::uint16_t lo_word(std::int32_t v) { return static_cast<std::uint16_t>(static_cast<std::uint32_t>(v) & 0xFFFF); }
std::uint16_t hi_word(std::int32_t v) { return static_cast<std::uint16_t>(static_cast<std::uint32_t>(v) >> 16); }

std::uint32_t float_bits(double v) {
  float f = static_cast<float>(v);
  std::uint32_t u;
  std::memcpy(&u, &f, sizeof u);
  return u;
}

std::int32_t set_word(std::int32_t v, bool high, std::uint16_t w) {
  auto u = static_cast<std::uint32_t>(v);
  u = high ? (u & 0xFFFFu) | (std::uint32_t{w} << 16) : (u & 0xFFFF0000u) | w;
  return static_cast<std::int32_t>(u);
}

}  // namespace

const char* model_name(Model m) {
  for (auto& e : kModels)
    if (e.model == m) return e.name;
  return "?";
}

std::optional<Model> model_from_name(std::string_view name) {
  std::string up = upper(name);
  if (up == "GENERIC") return Model::Generic;
  for (auto& e : kModels)
    if (up == e.name) return e.model;
  return std::nullopt;
}

DeviceSetup parse_device(std::string_view text) {
  auto f = split(text, ':');
  if (f.size() < 4) throw Error("device \"" + std::string(text) + "\": want MODEL:ADDR:BAUD:PARITY[:DATA:STOP][:key=value...]");
  DeviceSetup s;
  auto m = model_from_name(trim(f[0]));
  if (!m) throw Error("unknown model \"" + f[0] + "\" (XBV5, XBV10, XBV18, GOLM114, GOLM124, GOLM144, GOLM152, GOLM)");
  s.model = *m;
  s.address = static_cast<int>(parse_number(f[1], 1, 247, "address"));
  s.line.baud = static_cast<int>(parse_number(f[2], 50, 4000000, "baud rate"));
  std::string p = upper(trim(f[3]));
  if (p.size() != 1 || std::string_view("NEOMS").find(p[0]) == std::string_view::npos)
    throw Error("parity \"" + f[3] + "\": want N, E, O, M or S");
  s.line.parity = p[0];
  std::size_t i = 4;
  if (i < f.size() && f[i].find('=') == std::string::npos) {
    s.line.data_bits = static_cast<int>(parse_number(f[i], 5, 8, "data bits"));
    if (i + 1 >= f.size()) throw Error("data bits without stop bits");
    std::string st = trim(f[i + 1]);
    if (st == "1") s.line.stop_bits = 1;
    else if (st == "1.5" || st == "15") s.line.stop_bits = 15;
    else if (st == "2") s.line.stop_bits = 2;
    else throw Error("stop bits \"" + st + "\": want 1, 1.5 or 2");
    i += 2;
  }
  for (; i < f.size(); ++i) {
    auto eq = f[i].find('=');
    if (eq == std::string::npos) throw Error("\"" + f[i] + "\": want key=value");
    s.keys.emplace_back(lower(trim(f[i].substr(0, eq))), trim(f[i].substr(eq + 1)));
  }
  if (s.model == Model::XBV5 && baud_index(s.line.baud) < 0)
    throw Error("an XBV5 runs at 9600, 19200, 57600 or 115200 baud");
  return s;
}

Device::Device(int id, const DeviceSetup& setup, std::uint64_t seed)
    : id_(id), model_(setup.model), address_(setup.address), line_(setup.line), seed_(mix(seed ^ mix(id))) {
  switch (model_) {
    case Model::XBV5:
      motion_[0] = {12000, 40, 3};
      motion_[1] = {8000, 30, 3};
      motion_[2] = {4000, 20, 3};
      motion_[3] = {2000, 10, 3};
      for (int k = 0; k < 4; ++k) regs_[static_cast<std::uint16_t>(0x120 + k)] = {static_cast<std::uint16_t>(k % 2), false, 0, 1};
      regs_[0x600] = {4, true, 1, 4};
      regs_[0x601] = {2, true, 0, 3};
      regs_[0x800] = {static_cast<std::uint16_t>(address_), true, 1, 247};
      regs_[0x801] = {static_cast<std::uint16_t>(baud_index(line_.baud) < 0 ? 3 : baud_index(line_.baud)), true, 0, 3};
      break;
    case Model::XBV18:
      motion_[0] = {25000, 50, 2};
      regs_[0x10] = {1, true, 0, 6};  // decimal point position
      break;
    case Model::XBV10:
      motion_[0] = {10000, 30, 2};
      regs_[0x10] = {0, true, 0, 0xFFFF};
      regs_[0x20] = {0, true, 0, 0xFFFF};
      break;
    case Model::GOLM144:
      motion_[0] = {10000, 30, 2};
      regs_[0xC0] = {0x0144, true, 0, 0xFFFF};
      break;
    case Model::GOLM152:
      motion_[0] = {10000, 30, 2};
      regs_[0x20] = {0, true, 0, 0xFFFF};
      regs_[0x40] = {0, true, 0, 0xFFFF};
      break;
    case Model::GOLM124:
      motion_[0] = {10000, 30, 2};
      regs_[0x40] = {0, true, 0, 0xFFFF};
      regs_[0x10] = {0, true, 0, 0xFFFF};
      break;
    case Model::GOLM114:
      motion_[0] = {10000, 30, 2};
      regs_[0x10] = {0, true, 0, 0xFFFF};
      regs_[0xFF01] = {0x0114, false, 0, 0xFFFF};
      break;
    case Model::Generic:
      motion_[0] = {10000, 30, 2};
      break;
  }
  for (auto& [k, v] : setup.keys) apply_key(k, v);
}

void Device::apply_key(const std::string& key, const std::string& value) {
  auto channel_of = [&](std::string_view base) -> int {
    if (key.size() == base.size()) return 0;
    int ch = static_cast<int>(parse_number(key.substr(base.size()), 1, channels(), "channel"));
    return ch - 1;
  };
  auto starts = [&](std::string_view p) { return key.compare(0, p.size(), p) == 0; };
  if (starts("weight")) motion_[channel_of("weight")].weight = parse_real(value, "weight");
  else if (starts("drift")) motion_[channel_of("drift")].drift = parse_real(value, "drift");
  else if (starts("noise")) motion_[channel_of("noise")].noise = parse_real(value, "noise");
  else if (key == "freq") frequency_ = static_cast<int>(parse_number(value, 1, 80, "frequency"));
  else if (key == "gain") gain_ = static_cast<int>(parse_number(value, 0, 7, "gain"));
  else if (key == "reg") {
    auto parts = split(value, ',');
    if (parts.size() != 2) throw Error("reg=" + value + ": want reg=REG,VALUE");
    auto reg = static_cast<std::uint16_t>(parse_register(parts[0]));
    auto v = static_cast<std::uint16_t>(parse_number(parts[1], 0, 0xFFFF, "value"));
    if (exists(reg)) set_register(reg, v);
    else regs_[reg] = {v, true, 0, 0xFFFF};
  } else if (key == "live") {
    auto reg = static_cast<std::uint16_t>(parse_register(value));
    if (exists(reg)) throw Error("live=" + value + ": the register exists already");
    live_regs_.insert(reg);
  } else
    throw Error("unknown key \"" + key + "\" (weight, drift, noise, freq, gain, reg, live)");
}

Motion& Device::motion(int channel) {
  if (channel < 0 || channel >= channels()) throw Error("no channel " + std::to_string(channel + 1));
  return motion_[channel];
}

std::int32_t Device::live(int channel, Micros now) const {
  const Motion& m = motion_[channel];
  // the value is sampled frequency_ times a second and held in between
  long long k = static_cast<long long>(now) * frequency_ / 1000000LL;
  double t = static_cast<double>(k) / frequency_;
  double v = m.weight + m.drift * std::sin(2 * 3.14159265358979323846 * t / 60.0);
  if (m.noise != 0) {
    std::uint64_t h = mix(seed_ ^ mix(static_cast<std::uint64_t>(k) * 8 + static_cast<std::uint64_t>(channel)));
    double u = static_cast<double>(h >> 11) / 9007199254740992.0;  // [0, 1)
    v += m.noise * (2 * u - 1);
  }
  return clamp32(v);
}

std::int32_t Device::adc(int channel, Micros now) const {
  return clamp32(static_cast<double>(live(channel, now)) * static_cast<double>(1 << gain_));
}

bool Device::exists(std::uint16_t reg) const {
  if (reg == 0 || regs_.count(reg) || live_regs_.count(reg)) return true;
  switch (model_) {
    case Model::XBV5:
      return (reg >= 0x100 && reg <= 0x103) || (reg >= 0x110 && reg <= 0x117);
    case Model::XBV18:
      switch (reg) {
        case 0x01: case 0x20: case 0x21: case 0x30: case 0x31: case 0x50: case 0x51:
        case 0x60: case 0x61: case 0x100: case 0x110: case 0x111:
          return true;
      }
      return false;
    default:
      return false;
  }
}

std::optional<std::uint16_t> Device::word(std::uint16_t reg, Micros now) const {
  if (live_regs_.count(reg)) return lo_word(live(0, now));
  if (model_ == Model::XBV5) {
    if (reg == 0) return lo_word(adc(0, now));
    if (reg >= 0x100 && reg <= 0x103) return lo_word(adc(reg - 0x100, now));
    if (reg >= 0x110 && reg <= 0x117) {
      std::int32_t v = adc((reg - 0x110) / 2, now);
      return (reg - 0x110) % 2 ? hi_word(v) : lo_word(v);
    }
  } else if (model_ == Model::XBV18) {
    std::int32_t g = gross(now);
    std::int32_t net = clamp32(static_cast<double>(g) - zero_ - tare_);
    double scale = std::pow(10.0, regs_.at(0x10).value > 6 ? 0 : regs_.at(0x10).value);
    switch (reg) {
      case 0x00: return lo_word(net);
      case 0x01: return hi_word(net);
      case 0x20: return lo_word(tare_);
      case 0x21: return hi_word(tare_);
      case 0x30: return lo_word(zero_);
      case 0x31: return hi_word(zero_);
      case 0x50: return static_cast<std::uint16_t>(float_bits(net / scale) & 0xFFFF);
      case 0x51: return static_cast<std::uint16_t>(float_bits(net / scale) >> 16);
      case 0x60: return static_cast<std::uint16_t>(float_bits(tare_ / scale) & 0xFFFF);
      case 0x61: return static_cast<std::uint16_t>(float_bits(tare_ / scale) >> 16);
      case 0x100: return lo_word(adc(0, now));
      case 0x110: return lo_word(adc(0, now));
      case 0x111: return hi_word(adc(0, now));
    }
  } else if (reg == 0) {
    return lo_word(live(0, now));
  }
  auto it = regs_.find(reg);
  if (it == regs_.end()) return std::nullopt;
  return it->second.value;
}

std::uint8_t Device::read(std::uint16_t reg, int count, Micros now, std::vector<std::uint16_t>& words) {
  words.clear();
  if (count < 1 || count > 8) return kIllegalValue;
  unsigned last = unsigned{reg} + static_cast<unsigned>(count) - 1;
  if (last > 0xFFFF) return kIllegalAddress;
  if (model_ == Model::XBV18) {
    // tare, the floats and the 32-bit ADC are read only as whole pairs
    auto head = [](unsigned r) { return r == 0x20 || r == 0x50 || r == 0x60 || r == 0x110; };
    if (head(last) || (reg > 0 && head(reg - 1u))) return kIllegalAddress;
  }
  for (unsigned r = reg; r <= last; ++r) {
    auto w = word(static_cast<std::uint16_t>(r), now);
    if (!w) {
      words.clear();
      return kIllegalAddress;
    }
    words.push_back(*w);
  }
  return 0;
}

std::uint8_t Device::write(std::uint16_t reg, std::uint16_t value, Micros now, Deferred& deferred) {
  deferred = Deferred{id_, std::nullopt, std::nullopt};
  if (!exists(reg)) return kIllegalAddress;
  if (model_ == Model::XBV18 && (reg == 0x20 || reg == 0x30)) {
    if (value > 1) return kIllegalValue;
    std::int32_t g = gross(now);
    if (reg == 0x20) tare_ = value ? clamp32(static_cast<double>(g) - zero_) : 0;
    else zero_ = value ? clamp32(static_cast<double>(g) - tare_) : 0;
    return 0;
  }
  auto it = regs_.find(reg);
  if (it == regs_.end() || !it->second.writable) return kIllegalAddress;
  if (value < it->second.lo || value > it->second.hi) return kIllegalValue;
  if (model_ == Model::XBV5 && reg == 0x800) {
    deferred.address = value;
    return 0;
  }
  if (model_ == Model::XBV5 && reg == 0x801) {
    deferred.baud = kBauds[value];
    return 0;
  }
  it->second.value = value;
  return 0;
}

void Device::apply(const Deferred& d) {
  if (d.address) {
    address_ = *d.address;
    if (regs_.count(0x800)) regs_[0x800].value = static_cast<std::uint16_t>(address_);
  }
  if (d.baud) {
    line_.baud = *d.baud;
    if (regs_.count(0x801)) regs_[0x801].value = static_cast<std::uint16_t>(baud_index(*d.baud));
  }
}

void Device::set_register(std::uint16_t reg, std::uint16_t value) {
  char name[16];
  std::snprintf(name, sizeof name, "0x%04X", reg);
  if (model_ == Model::XBV18) {
    switch (reg) {
      case 0x20: case 0x21: tare_ = set_word(tare_, reg & 1, value); return;
      case 0x30: case 0x31: zero_ = set_word(zero_, reg & 1, value); return;
    }
  }
  if (model_ == Model::XBV5 && (reg == 0x800 || reg == 0x801))
    throw Error(std::string("register ") + name + " is the device's address or baud rate: change it with a request");
  auto it = regs_.find(reg);
  if (it != regs_.end()) {
    it->second.value = value;
    return;
  }
  if (exists(reg)) throw Error(std::string("register ") + name + " shows the live value: use weight, drift and noise");
  throw Error(std::string("no register ") + name + " on " + describe());
}

std::string Device::describe() const {
  return std::string(model_name(model_)) + " at " + std::to_string(address_) + ", " + line_.text();
}

}  // namespace devsim
