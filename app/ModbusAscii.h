// MODBUS ASCII frames of the monitor: the read-holding-registers (03) and
// write-single-register (06) requests, the LRC, and the answers as the packet
// framer delivers them (the text between ":" and the line feed, ending with
// its carriage return). Portable: no window or port code here.
#pragma once

#include <cstdint>
#include <string>

namespace modbus {

constexpr int kMaxWords = 8;

// Value of one hexadecimal digit character, with no validation: "a".."f" and
// "A".."F" give 10..15, "0".."9" give 0..9, anything else what the same rule yields.
int HexDigitValue(char c);
// True for 0-9, A-F and a-f.
bool IsHexDigit(char c);
// Two digits, high nibble first.
uint8_t HexByte(const char* text);
// Four digits, most significant first.
uint16_t HexWord(const char* text);
// Writes b as two upper-case digits.
void PutHexByte(char* buffer, uint8_t b);

// The LRC of a frame or answer text: starting at the address pair (after a
// leading ":" when there is one), the byte of each pair whose following pair
// does not start with a carriage return is added; the result is the negated
// 8-bit sum. Over a request with its "LL" placeholder it covers every pair
// before "LL". Scans only complete pairs inside the text.
uint8_t ComputeLrc(const std::string& text);
// True when the pair just before the carriage return equals ComputeLrc, the
// text holds a carriage return after a complete pair, and every character
// before it is a hexadecimal digit.
bool CheckLrc(const std::string& text);

// ":aa03pppp00nnLL" CR LF
std::string ReadRequest(uint8_t address, uint16_t firstRegister, uint8_t count);
// ":aa06ppppvvvvLL" CR LF
std::string WriteRequest(uint8_t address, uint16_t reg, uint16_t value);

// Parses an answer text. True when it is acceptable: odd length, only
// hexadecimal digits before the closing carriage return, correct LRC, no
// exception bit, function 0..6, 15 or 16, and a length that matches what its
// function announces (functions 0..4: address, function, byte count, the data,
// LRC; functions 5, 6, 15, 16: address, function, a four-digit field, one
// word, LRC). Stores the answering address and up to eight words (the rest of
// words stays as it was: callers pass zeros). Never reads past the text.
bool ParseAnswer(uint8_t& address, const std::string& text, uint16_t words[kMaxWords], int* wordCount = nullptr);

}  // namespace modbus
