// Integer and float conversions, FormatFloat, Format and the numeric helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "classlib/core/Math.h"
#include "classlib/core/SysUtils.h"
#include "support.h"

TEST(Integers, ToText) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(IntToStr(std::numeric_limits<Int64>::min()), "-9223372036854775808");
  EXPECT_EQ(IntToStr(4294967295u), "4294967295");
  EXPECT_EQ(IntToHex(255, 2), "FF");
  EXPECT_EQ(IntToHex(10, 4), "000A");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(Int64(-1), 2), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(Byte(0x3C), 2), "3C");
  EXPECT_EQ(IntToHex(0, 0), "0");
}

TEST(Integers, FromText) {
  struct Case {
    const char* text;
    bool ok;
    Integer value;
  } cases[] = {
      {"0", true, 0},
      {"123", true, 123},
      {"-123", true, -123},
      {"+7", true, 7},
      {"  42", true, 42},
      {"$1F", true, 31},
      {"0x1f", true, 31},
      {"0X10", true, 16},
      {"x10", true, 16},
      {"-$10", true, -16},
      {"$FFFFFFFF", true, -1},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0},
      {"$100000000", false, 0},
      {"", false, 0},
      {" ", false, 0},
      {"-", false, 0},
      {"$", false, 0},
      {"12 ", false, 0},
      {"1.5", false, 0},
      {"abc", false, 0},
      {"0x", false, 0},
      {"99999999999999999999", false, 0},
  };
  for (auto& c : cases) {
    Integer v = -999;
    EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
      EXPECT_EQ(StrToInt(c.text), c.value);
    } else {
      EXPECT_EQ(StrToIntDef(c.text, -5), -5) << c.text;
    }
  }
  try {
    StrToInt("12a");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'12a' is not a valid integer value");
  }
  EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<Int64>::min());
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64("4294967296"), 4294967296LL);
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

struct FloatCase {
  long double value;
  TFloatFormat format;
  int precision, digits;
  const char* comma;  // with "," as decimal and " " as thousand separator
};

TEST(Floats, FloatToStrF) {
  const long double inf = std::numeric_limits<long double>::infinity();
  const FloatCase cases[] = {
      {12.5, ffFixed, 9, 2, "12,50"},
      {0, ffFixed, 9, 2, "0,00"},
      {-0.001, ffFixed, 9, 2, "-0,00"},  // the sign stays when the digits round away
      {-0.005, ffFixed, 9, 2, "-0,01"},  // 0.005 is slightly above its decimal text
      {1.005, ffFixed, 15, 2, "1,00"},   // 1.005 is slightly below
      {0.125, ffFixed, 15, 2, "0,13"},   // an exact half rounds away from zero
      {-0.125, ffFixed, 15, 2, "-0,13"},
      {2.5, ffFixed, 15, 0, "3"},
      {1234, ffFixed, 9, 2, "1234,00"},
      {123456789, ffFixed, 9, 2, "123456789,00"},
      {99.999, ffFixed, 9, 2, "100,00"},
      {123.456789, ffFixed, 4, 3, "123,500"},  // precision caps the significant digits
      {1234567.891, ffNumber, 15, 2, "1 234 567,89"},
      {-1234.5, ffNumber, 15, 0, "-1 235"},
      {999, ffNumber, 15, 1, "999,0"},
      {0.1, ffGeneral, 15, 0, "0,1"},
      {1.0L / 3, ffGeneral, 15, 0, "0,333333333333333"},
      {100, ffGeneral, 15, 0, "100"},
      {-2.5, ffGeneral, 15, 0, "-2,5"},
      {0, ffGeneral, 15, 0, "0"},
      {0.0001, ffGeneral, 15, 0, "0,0001"},
      {0.00001, ffGeneral, 15, 0, "1E-5"},
      {1e15, ffGeneral, 15, 0, "1E15"},
      {123456789012345678.0L, ffGeneral, 15, 0, "1,23456789012346E17"},
      {123456, ffGeneral, 9, 0, "123456"},
      {1234.5678, ffGeneral, 6, 0, "1234,57"},
      {1234.5, ffExponent, 5, 2, "1,2345E+03"},
      {0.00012345, ffExponent, 3, 0, "1,23E-4"},
      {-1, ffExponent, 4, 3, "-1,000E+000"},
      {0, ffExponent, 3, 2, "0,00E+00"},
      {inf, ffFixed, 9, 2, "INF"},
      {-inf, ffGeneral, 15, 0, "-INF"},
      {std::nanl(""), ffGeneral, 15, 0, "NAN"},
  };
  TFormatSettings fs = RussianSettings();
  for (auto& c : cases) {
    EXPECT_EQ(FloatToStrF(c.value, c.format, c.precision, c.digits, fs), c.comma)
        << "value " << double(c.value) << " format " << c.format << " " << c.precision << "/" << c.digits;
    AnsiString dot = StringReplace(StringReplace(c.comma, ",", ".", rfReplaceAll), " ", ",", rfReplaceAll);
    EXPECT_EQ(FloatToStrF(c.value, c.format, c.precision, c.digits, DotSettings()), dot);
  }
  // A number whose integer part does not fit the precision falls back to
  // the exponent form.
  EXPECT_NE(FloatToStrF(1234567890.0, ffFixed, 9, 2, fs).find('E'), std::string::npos);
  EXPECT_EQ(FloatToStr(12.5, fs), "12,5");
}

TEST(Floats, FormatFloat) {
  struct Case {
    const char* format;
    long double value;
    const char* expected;  // "." decimal, "," thousands
  } cases[] = {
      {"", 1234, "1234"},
      {"0", 1234, "1234"},
      {"0", -1234, "-1234"},
      {"0", 0.5, "1"},
      {"0", 0, "0"},
      {"0.00", 1234, "1234.00"},
      {"0.00", 0.5, "0.50"},
      {"0.00", -0.001, "0.00"},
      {"#.##", 1234, "1234"},
      {"#.##", 0.5, ".5"},
      {"#.##", 0, ""},
      {"#,##0.00", 1234, "1,234.00"},
      {"#,##0.00", -1234567.125, "-1,234,567.13"},
      {"#,##0.00;(#,##0.00)", -1234, "(1,234.00)"},
      {"#,##0.00;(#,##0.00)", 0.5, "0.50"},
      {"#,##0.00;;Zero", 0, "Zero"},
      {"#,##0.00;;Zero", -1234, "-1,234.00"},
      {"0.00;-0.00;zero", -0.001, "zero"},
      {"0.000E+00", 1234, "1.234E+03"},
      {"0.000E+00", -1234, "-1.234E+03"},
      {"0.000E+00", 0.5, "5.000E-01"},
      {"0.000E+00", 0, "0.000E+00"},
      {"#.###E-0", 1234, "1.234E3"},
      {"#.###E-0", 0.5, "5E-1"},
      {"0.#", 2.25, "2.3"},
      {"0.0#", 2.5, "2.5"},
      {"00.00", 1.5, "01.50"},
      {"0 'kg'", 12, "12 kg"},
      {"\"x\"0", 5, "x5"},
      {"0", 1e17, "100000000000000000"},
      {"0", 1e20, "1E20"},  // beyond 18 integer digits: the general form
  };
  for (auto& c : cases)
    EXPECT_EQ(FormatFloat(c.format, c.value, DotSettings()), c.expected) << c.format << " " << double(c.value);
  EXPECT_EQ(FormatFloat("0.00", 1234.5, RussianSettings()), "1234,50");
  EXPECT_EQ(FormatFloat("#,##0.0", 1234.5, RussianSettings()), "1 234,5");
}

TEST(Floats, StrToFloatUnderBothSeparators) {
  struct Case {
    const char* text;
    bool commaOk, dotOk;
    long double value;
  } cases[] = {
      {"12,5", true, false, 12.5},     {"12.5", false, true, 12.5}, {" 1,5 ", true, false, 1.5},
      {"-0,5", true, false, -0.5},     {"+3", true, true, 3},        {"1E3", true, true, 1000},
      {"1,5e-2", true, false, 0.015L}, {"5,", true, false, 5},      {",5", true, false, 0.5},
      {"", false, false, 0},           {",", false, false, 0},      {"1e", false, false, 0},
      {"abc", false, false, 0},        {"1,2,3", false, false, 0},  {"1 000", false, false, 0},
      {"--1", false, false, 0},        {"1e+", false, false, 0},    {"INF", false, false, 0},
      {"NAN", false, false, 0},        {"0x10", false, false, 0},   {"1e99999", false, false, 0},
  };
  for (auto& c : cases) {
    long double v = -1;
    EXPECT_EQ(TryStrToFloat(c.text, v, RussianSettings()), c.commaOk) << c.text;
    if (c.commaOk) {
      EXPECT_EQ(v, StrToFloat(c.text, RussianSettings())) << c.text;
      EXPECT_NEAR(double(v), double(c.value), 1e-12) << c.text;
    }
    EXPECT_EQ(TryStrToFloat(c.text, v, DotSettings()), c.dotOk) << c.text;
  }
  try {
    StrToFloat("12.5", RussianSettings());
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'12.5' is not a valid floating point value");
  }
  EXPECT_EQ(StrToFloatDef("x", 7.5, RussianSettings()), 7.5);
  double d;
  EXPECT_FALSE(TryStrToFloat("1e400", d, DotSettings())) << "out of the double range";
  EXPECT_TRUE(TryStrToFloat("0.1", d, DotSettings()));
  EXPECT_EQ(d, 0.1);
}

TEST(Floats, ShortestGeneralTextReadsBackExactly) {
  const double values[] = {0.1, 1.0 / 3, 2.0 / 3, 1e-300, 4.9406564584124654e-324, 1.7976931348623157e308,
                           123456.789, -0.000123, 9007199254740993.0, 0.3};
  for (double v : values) {
    AnsiString s = FloatToStrF(v, ffGeneral, 17, 0, DotSettings());
    EXPECT_EQ(static_cast<double>(StrToFloat(s, DotSettings())), v) << s;
  }
}

TEST(Format, Table) {
  TFormatSettings fs = RussianSettings();
  struct Case {
    AnsiString got;
    const char* expected;
  } cases[] = {
      {Format("%d", {42}, fs), "42"},
      {Format("%5d|%-5d|", {42, 42}, fs), "   42|42   |"},
      {Format("%.3d", {7}, fs), "007"},
      {Format("%.3d", {-7}, fs), "-007"},
      {Format("%0.2d:%0.2d:%0.2d", {5, 7, 9}, fs), "05:07:09"},
      {Format("%x %X %.4x", {255, 255, 255}, fs), "FF FF 00FF"},
      {Format("%u", {-1}, fs), "4294967295"},
      {Format("%d", {Int64(-9000000000)}, fs), "-9000000000"},
      {Format("%s|%.2s|%4s|%-4s|", {"abc", "abc", "ab", "ab"}, fs), "abc|ab|  ab|ab  |"},
      {Format("%*d|%-*d|%.*f", {4, 1, 3, 2, 1, 2.25}, fs), "   1|2  |2,3"},
      {Format("%1:s %0:s %s", {"a", "b"}, fs), "b a b"},
      {Format("%f", {1.5}, fs), "1,50"},
      {Format("%.1f", {0.25}, fs), "0,3"},
      {Format("%.0f", {-0.4}, fs), "-0"},
      {Format("%e", {1234.5}, fs), "1,23450000000000E+003"},
      {Format("%.3e", {0.0}, fs), "0,00E+000"},
      {Format("%g", {0.5}, fs), "0,5"},
      {Format("%n", {1234567.5}, fs), "1 234 567,50"},
      {Format("100%%", {}, fs), "100%"},
      {Format("%s", {'c'}, fs), "c"},
      {Format("%d%%", {true}, fs), "1%"},
  };
  for (auto& c : cases) EXPECT_EQ(c.got, c.expected);
  EXPECT_EQ(Format("%s", {AnsiString("Канал"_cp)}, fs), "Канал"_cp);
  EXPECT_EQ(Format("%p", {static_cast<const void*>(nullptr)}, fs), AnsiString(sizeof(void*) * 2, '0'));
}

TEST(Format, BadFormatsRaiseConvertError) {
  const char* bad[] = {"%d", "%", "%y", "%5", "%-", "%.", "%1:"};
  for (const char* f : bad) EXPECT_THROW(Format(f, {}), EConvertError) << f;
  EXPECT_THROW(Format("%d", {"x"}), EConvertError);
  EXPECT_THROW(Format("%s", {1}), EConvertError);
  EXPECT_THROW(Format("%f", {1}), EConvertError);
  EXPECT_THROW(Format("%d %d", {1}), EConvertError);
  EXPECT_THROW(Format("%*d", {"x", 1}), EConvertError);
  EXPECT_THROW(Format("%99999999d", {1}), EConvertError);
  EXPECT_THROW(Format("%*d", {2000000000, 1}), EConvertError);
  try {
    Format("%d", {"x"});
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Format '%d' invalid or incompatible with argument");
  }
}

TEST(Math, RoundingHalvesToEven) {
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(3.5), 4);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(2.51), 3);
  EXPECT_EQ(Round(127.5), 128);
  EXPECT_EQ(Round(126.5), 126);
  EXPECT_EQ(Trunc(-2.9), -2);
  EXPECT_NEAR(double(Frac(-2.25)), -0.25, 1e-15);
  EXPECT_EQ(Max(3, 7), 7);
  EXPECT_EQ(Min(3, 7.5), 3.0);
  EXPECT_EQ(EnsureRange(300, -255, 255), 255);
  EXPECT_TRUE(Odd(-3));
}

TEST(Currency, ScalesRoundingHalfAwayFromZeroAndRefusesWhatItCannotHold) {
  const std::pair<long double, Int64> fits[] = {
      {0, 0},           {1.5L, 15000},   {0.00005L, 1},    {-0.00005L, -1}, {0.00004L, 0},
      {-12.3456L, -123456}, {922337203685477.0L, 9223372036854770000}, {-922337203685477.0L, -9223372036854770000}};
  for (const auto& [v, scaled] : fits) {
    EXPECT_EQ(ScaleCurrency(v), scaled) << double(v);
    EXPECT_EQ(Currency(double(v)).Value, scaled) << double(v);
  }
  const long double refused[] = {std::numeric_limits<long double>::quiet_NaN(),
                                 std::numeric_limits<long double>::infinity(),
                                 -std::numeric_limits<long double>::infinity(),
                                 1e300L,
                                 -1e300L,
                                 922337203685477.5808L,
                                 -922337203685477.5809L};
  for (long double v : refused) {
    try {
      ScaleCurrency(v);
      ADD_FAILURE() << double(v) << ": no error";
    } catch (const EInvalidOp& e) {
      EXPECT_EQ(e.Message, "Invalid floating point operation");
    }
    EXPECT_THROW(Currency(double(v)), EInvalidOp) << double(v);
  }
}
