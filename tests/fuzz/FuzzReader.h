// Reads a fuzzer's input piece by piece; past its end every byte reads as 0
// and every text as empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzing {

struct Reader {
  const std::uint8_t* p;
  std::size_t n;
  std::uint8_t Byte() {
    if (n == 0) return 0;
    --n;
    return *p++;
  }
  // Two bytes as a signed 16-bit number, high byte first.
  std::int32_t Number() {
    std::uint8_t hi = Byte();
    return static_cast<std::int16_t>(hi << 8 | Byte());
  }
  std::string Take(std::size_t len) {
    if (len > n) len = n;
    std::string s(reinterpret_cast<const char*>(p), len);
    p += len;
    n -= len;
    return s;
  }
};

}  // namespace fuzzing
