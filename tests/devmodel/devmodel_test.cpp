// Device names, data sources and the conversion of readings.
#include <gtest/gtest.h>

#include <cstring>

#include "app/DeviceModel.h"
#include "classlib/core/SysUtils.h"

using namespace devmodel;

namespace {

TEST(DeviceModel, NamesInBothAlphabets) {
  EXPECT_EQ(DeviceTypeFromName("XBV5"), 0);
  EXPECT_EQ(DeviceTypeFromName("ХБВ5"_cp), 0);
  EXPECT_EQ(DeviceTypeFromName("ХБВ-5"_cp), 0);
  EXPECT_EQ(DeviceTypeFromName("XBV10"), 1);
  EXPECT_EQ(DeviceTypeFromName("ХБВ-18"_cp), 2);
  EXPECT_EQ(DeviceTypeFromName("GOLM144"), 5);
  EXPECT_EQ(DeviceTypeFromName("ГОЛМ-144"_cp), 5);
  EXPECT_EQ(DeviceTypeFromName("GOLM"), 7);
  EXPECT_EQ(DeviceTypeFromName(""), 7);
  EXPECT_EQ(NameToCyrillic("XBV18"), "ХБВ-18"_cp);
  EXPECT_EQ(NameToCyrillic("ХБВ-18"_cp), "ХБВ-18"_cp);
  EXPECT_EQ(NameToCyrillic("XBV5"), "ХБВ-5"_cp);
  EXPECT_EQ(NameToCyrillic("GOLM144"), "ГОЛМ-144"_cp);
  EXPECT_EQ(NameToCyrillic("GOLM"), "ГОЛМ-"_cp);
  EXPECT_EQ(NameToLatin("ГОЛМ-124"_cp), "GOLM124");
  for (int t = 0; t < kDeviceTypeCount; ++t) EXPECT_EQ(DeviceTypeFromName(DeviceListText(t)), t);
  EXPECT_EQ(DeviceListText(7), "Другой"_cp);
}

TEST(DeviceModel, ProbeTableRegisters) {
  uint16_t r[4];
  ASSERT_EQ(ProbeRegisters(0, r), 1);
  EXPECT_EQ(r[0], 0x120);
  ASSERT_EQ(ProbeRegisters(6, r), 2);
  EXPECT_EQ(r[0], 0x10);
  EXPECT_EQ(r[1], 0xFF01);
  ASSERT_EQ(ProbeRegisters(7, r), 1);
  EXPECT_EQ(r[0], 0);
  EXPECT_STREQ(kProbeNames[7], "GOLM");
}

struct SourceCase {
  AnsiString source;
  int type;
  uint16_t start;
  int count;
  int width;
};

TEST(DeviceModel, DataSourcesReadTheirRegisters) {
  const SourceCase cases[] = {
      {"[0]", 0, 0x00, 1, 1},
      {"[0]", 2, 0x00, 2, 1},
      {"ХБВ18_Вес"_cp, 2, 0x00, 2, 2},
      {"ХБВ18_Точка"_cp, 2, 0x10, 1, 1},
      {"ХБВ18_Тара"_cp, 2, 0x20, 2, 2},
      {"ХБВ18_Нуль"_cp, 2, 0x30, 2, 2},
      {"ХБВ18_ВесПТ"_cp, 2, 0x50, 2, 2},
      {"ХБВ18_ТараПТ"_cp, 2, 0x60, 2, 2},
      {"АЦП1_32+АЦП2_32+АЦП3_32+АЦП4_32"_cp, 0, 0x110, 8, 2},
      {"АЦП1_16+АЦП2_16+АЦП3_16+АЦП4_16"_cp, 0, 0x100, 4, 1},
      {"АЦП1_32+АЦП2_32"_cp, 0, 0x110, 4, 2},
      {"АЦП3_32+АЦП4_32"_cp, 0, 0x114, 4, 2},
      {"АЦП1_16+АЦП2_16"_cp, 0, 0x100, 2, 1},
      {"АЦП3_16+АЦП4_16"_cp, 0, 0x102, 2, 1},
      {"АЦП2_32"_cp, 0, 0x112, 2, 2},
      {"АЦП4_32"_cp, 0, 0x116, 2, 2},
      {"АЦП3_16"_cp, 0, 0x102, 1, 1},
      {"АЦП1_32+АЦП3_32"_cp, 0, 0x110, 6, 2},  // a range reads everything between
      {"_32"_cp, 0, 0x110, 2, 2},              // no ADC number: the first, never before the block
      {"[7]", 0, 0x07, 1, 1},
      {"[10-1A]", 0, 0x10, 8, 1},
      {"[1A-10]", 0, 0x10, 8, 1},
      {"[10-13]", 0, 0x10, 4, 1},
      {"[ ]", 0, 0x00, 1, 1},
      {"[zz]", 0, 0x00, 1, 1},
      {"что-то"_cp, 0, 0x00, 1, 1},
      {"", 0, 0x00, 1, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SourceStartRegister(c.source, c.type), c.start) << c.source;
    EXPECT_EQ(SourceRegisterCount(c.source, c.type) & 0xFF, c.count) << c.source;
    EXPECT_EQ(SourceIs32(c.source), c.width) << c.source;
  }
}

TEST(DeviceModel, Xbv18ValuesAreShownAsReadOrAsFloats) {
  const uint16_t words[8] = {0x0000, 0x42C8};
  int32_t raw[8] = {};
  StoreRawValues(words, 2, true, raw);
  int32_t x = SumRawValues(raw, 2);
  EXPECT_EQ(x, 1120403456);
  Calibration none;
  EXPECT_FLOAT_EQ(ConvertReading(x, "ХБВ18_ВесПТ"_cp, 7, none), 100.0f);
  EXPECT_FLOAT_EQ(ConvertReading(x, "ХБВ18_Вес"_cp, 7, none), 1120403456.0f);
  // Type 2 alone is enough for the XBV18 rule: no calibration.
  Calibration cal{100, 0, 1100, 50};
  EXPECT_FLOAT_EQ(ConvertReading(600, "[0]", 2, cal), 600.0f);
}

TEST(DeviceModel, FloatSourcesKeepTheirExactBitPattern) {
  // A float whose lowest mantissa bits are set would lose them in a 32-bit
  // float sum of the raw values; the 64-bit sum keeps them.
  const float expected = 1.2345678f;
  uint32_t bits;
  std::memcpy(&bits, &expected, sizeof bits);
  const uint16_t words[8] = {static_cast<uint16_t>(bits & 0xFFFF), static_cast<uint16_t>(bits >> 16)};
  int32_t raw[8] = {};
  StoreRawValues(words, 2, true, raw);
  EXPECT_EQ(ConvertReading(SumRawValues(raw, 2), "ХБВ18_ВесПТ"_cp, 2, Calibration{}), expected);
}

TEST(DeviceModel, ThirtyTwoBitSourcesPairWordsLowFirst) {
  const uint16_t words[8] = {0x0001, 0x0002, 0x0003, 0x0004};
  int32_t raw[8] = {};
  StoreRawValues(words, 4, true, raw);
  EXPECT_EQ(raw[0], 2 * 65536 + 1);
  EXPECT_EQ(raw[1], 0);
  EXPECT_EQ(raw[2], 4 * 65536 + 3);
  EXPECT_EQ(raw[3], 0);
  EXPECT_EQ(SumRawValues(raw, 4), 6 * 65536 + 4);
  const uint16_t negative[8] = {0xFFFF, 0xFFFF};
  StoreRawValues(negative, 2, true, raw);
  EXPECT_EQ(SumRawValues(raw, 2), -1);
  // A large sum that a float could not hold exactly stays exact.
  const uint16_t big[8] = {0x0001, 0x0100};  // 0x01000001 = 2^24 + 1
  StoreRawValues(big, 2, true, raw);
  EXPECT_EQ(SumRawValues(raw, 2), (1 << 24) + 1);
}

TEST(DeviceModel, TwoPointCalibration) {
  Calibration cal{100, 0, 1100, 50};
  EXPECT_FLOAT_EQ(ConvertReading(600, "[0]", 0, cal), 25.0f);
  EXPECT_FLOAT_EQ(ConvertReading(100, "[0]", 0, cal), 0.0f);
  Calibration same{500, 1, 500, 2};
  for (int32_t x : {0, 500, -7, 123456}) EXPECT_EQ(ConvertReading(x, "[0]", 0, same), 0.0f);
  Calibration none;
  for (int32_t x : {0, 1, -1, 12345, 65535}) EXPECT_FLOAT_EQ(ConvertReading(x, "[0]", 0, none), static_cast<float>(x));
}

}  // namespace
