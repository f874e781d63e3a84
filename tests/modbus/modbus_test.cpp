// Request frames, LRC and the acceptance of answers.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/ModbusAscii.h"

using namespace modbus;

namespace {

TEST(ModbusFrames, RequestsAreSeventeenCharactersWithTheirLrc) {
  EXPECT_EQ(ReadRequest(0x01, 0x0110, 4), ":010301100004E7\r\n");
  EXPECT_EQ(WriteRequest(0x11, 0x0030, 1), ":110600300001B8\r\n");
  EXPECT_EQ(WriteRequest(0x05, 0x0030, 1), ":050600300001C4\r\n");  // zero of an XBV18 at address 5
  EXPECT_EQ(ReadRequest(0xFF, 0x0120, 1), ":FF0301200001DC\r\n");
  EXPECT_EQ(ReadRequest(0x0A, 0xFF01, 1), ":0A03FF010001F2\r\n");
  for (const std::string& f : {ReadRequest(247, 0xABCD, 8), WriteRequest(1, 0xFFFF, 0xFFFF)}) {
    EXPECT_EQ(f.size(), 17u);
    EXPECT_TRUE(CheckLrc(f)) << f;
  }
}

TEST(ModbusFrames, DigitsAndBytes) {
  EXPECT_EQ(HexDigitValue('0'), 0);
  EXPECT_EQ(HexDigitValue('9'), 9);
  EXPECT_EQ(HexDigitValue('A'), 10);
  EXPECT_EQ(HexDigitValue('f'), 15);
  EXPECT_EQ(HexByte("e7"), 0xE7);
  EXPECT_EQ(HexWord("aBcD"), 0xABCD);
  char b[2];
  PutHexByte(b, 0x0F);
  EXPECT_EQ(std::string(b, 2), "0F");
}

// Appends the LRC (summed here independently) and the carriage return.
std::string WithLrc(const std::string& body) {
  unsigned sum = 0;
  for (size_t i = 0; i + 1 < body.size(); i += 2) sum += std::stoul(body.substr(i, 2), nullptr, 16);
  char l[3];
  snprintf(l, sizeof l, "%02X", static_cast<unsigned>(-sum) & 0xFF);
  return body + l + "\r";
}

struct AnswerCase {
  const char* name;
  std::string text;
  bool accepted;
  int words;
  uint16_t first;
};

TEST(ModbusFrames, AnswersAreCheckedBeforeTheyAreRead) {
  std::string twenty = "010314";
  for (int i = 0; i < 10; ++i) twenty += "00" + std::string(1, "0123456789"[i]) + "1";
  const AnswerCase cases[] = {
      {"one word", "010302002AD0\r", true, 1, 0x002A},
      {"lower-case digits", "010302002ad0\r", true, 1, 0x002A},
      {"write echo: the value at offset 8", "010600300001C8\r", true, 1, 0x0001},
      {"function 16 answer", "011000300001BE\r", true, 1, 0x0001},
      {"odd byte count: whole words only", WithLrc("010303123456"), true, 1, 0x1234},
      {"twenty bytes: eight words kept", WithLrc(twenty), true, 8, 0x0001},
      {"exception answer", "0183027A\r", false, 0, 0},
      {"bad LRC", "010302002AD1\r", false, 0, 0},
      {"even length", "010302002AD0\r\r", false, 0, 0},
      {"no carriage return", "010302002AD0X", false, 0, 0},
      {"not hexadecimal", WithLrc("0103020G2A"), false, 0, 0},
      {"LRC not hexadecimal", "010302002AZ0\r", false, 0, 0},
      {"byte count longer than the text", WithLrc("010304002A"), false, 0, 0},
      {"byte count shorter than the text", WithLrc("010300002A"), false, 0, 0},
      {"byte count past the end", WithLrc("0103FF"), false, 0, 0},
      {"only address and function", WithLrc("0103"), false, 0, 0},
      {"write answer too short", WithLrc("01060030"), false, 0, 0},
      {"write answer too long", WithLrc("0106003000010000"), false, 0, 0},
      {"function 7", WithLrc("010702002A"), false, 0, 0},
      {"carriage return only", "\r", false, 0, 0},
      {"empty", "", false, 0, 0},
  };
  for (const auto& c : cases) {
    uint8_t address = 0;
    uint16_t words[kMaxWords] = {};
    int n = -1;
    bool ok = ParseAnswer(address, c.text, words, &n);
    EXPECT_EQ(ok, c.accepted) << c.name;
    if (ok && c.accepted) {
      EXPECT_EQ(address, 1) << c.name;
      EXPECT_EQ(n, c.words) << c.name;
      EXPECT_EQ(words[0], c.first) << c.name;
    }
  }
}

TEST(ModbusFrames, AnAnswerFromAddressZeroIsParsedAsSuch) {
  uint8_t address = 9;
  uint16_t words[kMaxWords] = {};
  ASSERT_TRUE(ParseAnswer(address, "000302002AD1\r", words));
  EXPECT_EQ(address, 0);
}

TEST(ModbusFrames, ShortAnswerLeavesTheOtherWordsAlone) {
  uint8_t address = 0;
  uint16_t words[kMaxWords] = {};
  ASSERT_TRUE(ParseAnswer(address, WithLrc("01030412345678"), words));
  EXPECT_EQ(words[0], 0x1234);
  EXPECT_EQ(words[1], 0x5678);
  for (int i = 2; i < kMaxWords; ++i) EXPECT_EQ(words[i], 0);
}

}  // namespace
