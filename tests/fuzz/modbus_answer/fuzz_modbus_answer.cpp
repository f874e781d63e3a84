// Answers from the line are outside input: parsing must never read past them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/ModbusAscii.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  uint8_t address = 0;
  uint16_t words[modbus::kMaxWords] = {};
  int n = 0;
  if (modbus::ParseAnswer(address, text, words, &n) && (n < 0 || n > modbus::kMaxWords)) __builtin_trap();
  modbus::CheckLrc(text);
  modbus::ComputeLrc(text);
  return 0;
}
