// Small text helpers of the simulator (configuration and control commands).
#pragma once

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "devsim.h"

namespace devsim {

inline std::string trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return std::string(s.substr(b, e - b));
}

inline std::string upper(std::string_view s) {
  std::string r(s);
  for (auto& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return r;
}

inline std::string lower(std::string_view s) {
  std::string r(s);
  for (auto& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

inline std::vector<std::string> split(std::string_view s, char sep) {
  std::vector<std::string> out;
  std::size_t b = 0;
  for (;;) {
    auto p = s.find(sep, b);
    out.emplace_back(s.substr(b, p == std::string_view::npos ? std::string_view::npos : p - b));
    if (p == std::string_view::npos) return out;
    b = p + 1;
  }
}

// Blank-separated words.
inline std::vector<std::string> words(std::string_view s) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    std::size_t b = i;
    while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    if (i > b) out.emplace_back(s.substr(b, i - b));
  }
  return out;
}

// A decimal number, or hexadecimal with "0x"; within [lo, hi].
inline long long parse_number(std::string_view text, long long lo, long long hi, const char* what) {
  std::string t = trim(text);
  int base = 10;
  std::string digits = t;
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    base = 16;
    digits = t.substr(2);
  }
  bool neg = !digits.empty() && digits[0] == '-';
  std::string_view body(digits);
  if (neg) body.remove_prefix(1);
  bool ok = !body.empty() && body.size() <= 18;
  for (char c : body) ok = ok && (base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) : std::isdigit(static_cast<unsigned char>(c)));
  if (!ok) throw Error(std::string(what) + " \"" + t + "\" is not a number");
  long long v = std::strtoll(std::string(body).c_str(), nullptr, base);
  if (neg) v = -v;
  if (v < lo || v > hi)
    throw Error(std::string(what) + " " + t + " is out of range " + std::to_string(lo) + " to " + std::to_string(hi));
  return v;
}

// A register number: hexadecimal, with or without "0x".
inline long parse_register(std::string_view text) {
  std::string t = trim(text);
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) t = t.substr(2);
  return static_cast<long>(parse_number("0x" + t, 0, 0xFFFF, "register"));
}

inline double parse_real(std::string_view text, const char* what) {
  std::string t = trim(text);
  char* end = nullptr;
  errno = 0;
  double v = t.empty() ? 0 : std::strtod(t.c_str(), &end);
  if (t.empty() || *end != 0 || errno == ERANGE || !(v == v) || v > 1e12 || v < -1e12)
    throw Error(std::string(what) + " \"" + t + "\" is not a number");
  return v;
}

}  // namespace devsim
