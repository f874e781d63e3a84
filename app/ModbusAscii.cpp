#include "app/ModbusAscii.h"

namespace modbus {

namespace {
const char kDigits[] = "0123456789ABCDEF";

// Offset of the first digit: a request frame starts with ":", an answer text
// (as the framer delivers it) does not.
size_t FirstPair(const std::string& text) { return !text.empty() && text[0] == ':' ? 1 : 0; }

std::string Fill(const char* head, uint8_t address, uint16_t reg, uint16_t last) {
  char f[18] = {};
  f[0] = ':';
  PutHexByte(f + 1, address);
  f[3] = head[0];
  f[4] = head[1];
  PutHexByte(f + 5, static_cast<uint8_t>(reg >> 8));
  PutHexByte(f + 7, static_cast<uint8_t>(reg));
  PutHexByte(f + 9, static_cast<uint8_t>(last >> 8));
  PutHexByte(f + 11, static_cast<uint8_t>(last));
  f[13] = 'L';
  f[14] = 'L';
  f[15] = '\r';
  f[16] = '\n';
  std::string frame(f, 17);
  PutHexByte(frame.data() + 13, ComputeLrc(frame));
  return frame;
}
}  // namespace

int HexDigitValue(char ch) {
  int c = static_cast<unsigned char>(ch);
  if (c >= 90) return c - 87;
  if (c < 58) return c - 48;
  return c - 55;
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

uint8_t HexByte(const char* text) {
  return static_cast<uint8_t>((HexDigitValue(text[0]) << 4) | HexDigitValue(text[1]));
}

uint16_t HexWord(const char* text) {
  unsigned v = 0;
  for (int i = 0; i < 4; ++i) v = v * 16 + static_cast<unsigned>(HexDigitValue(text[i]));
  return static_cast<uint16_t>(v);
}

void PutHexByte(char* buffer, uint8_t b) {
  buffer[0] = kDigits[b >> 4];
  buffer[1] = kDigits[b & 15];
}

uint8_t ComputeLrc(const std::string& text) {
  unsigned sum = 0;
  for (size_t i = FirstPair(text); i + 1 < text.size(); i += 2) {
    // The pair before a carriage return (or before the end) is the LRC itself.
    if (i + 2 >= text.size() || text[i + 2] == '\r') break;
    sum += HexByte(text.data() + i);
  }
  return static_cast<uint8_t>(-sum);
}

bool CheckLrc(const std::string& text) {
  size_t start = FirstPair(text);
  size_t cr = text.find('\r', start);
  if (cr == std::string::npos || cr < start + 2 || (cr - start) % 2 != 0) return false;
  for (size_t i = start; i < cr; ++i)
    if (!IsHexDigit(text[i])) return false;
  return HexByte(text.data() + cr - 2) == ComputeLrc(text.substr(0, cr + 1));
}

std::string ReadRequest(uint8_t address, uint16_t firstRegister, uint8_t count) {
  return Fill("03", address, firstRegister, count);
}

std::string WriteRequest(uint8_t address, uint16_t reg, uint16_t value) {
  return Fill("06", address, reg, value);
}

bool ParseAnswer(uint8_t& address, const std::string& text, uint16_t words[kMaxWords], int* wordCount) {
  if (text.size() % 2 == 0 || text.size() < 7 || text.back() != '\r') return false;
  if (!CheckLrc(text)) return false;
  // The text is now digits up to its only carriage return, the last character.
  uint8_t a = HexByte(text.data());
  uint8_t function = HexByte(text.data() + 2);
  if (function & 0x80) return false;
  if (!(function <= 6 || function == 15 || function == 16)) return false;
  size_t lrcAt = text.size() - 3;
  int count;
  size_t first;
  if (function < 5) {
    if (lrcAt < 6) return false;
    size_t bytes = HexByte(text.data() + 4);
    if (6 + 2 * bytes != lrcAt) return false;  // the byte count must fit the text
    count = static_cast<int>(bytes / 2);
    first = 6;
  } else {
    if (lrcAt != 12) return false;  // address, function, field, word
    count = 1;
    first = 8;
  }
  address = a;
  int stored = 0;
  for (int i = 0; i < count && i < kMaxWords; ++i, ++stored) words[i] = HexWord(text.data() + first + 4 * i);
  if (wordCount) *wordCount = stored;
  return true;
}

}  // namespace modbus
