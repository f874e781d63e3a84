// The default format settings come from the Windows locale.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "classlib/core/SysUtils.h"

TEST(Locale, RussianSettingsFromTheSystem) {
  const char* lc = std::getenv("LC_ALL");
  if (!lc || std::strncmp(lc, "ru_RU", 5) != 0) GTEST_SKIP() << "runs under a Russian locale (LC_ALL=ru_RU.UTF-8)";
  EXPECT_EQ(FormatSettings.DecimalSeparator, ',');
  EXPECT_EQ(FormatSettings.DateSeparator, '.');
  EXPECT_EQ(FormatSettings.TimeSeparator, ':');
  EXPECT_EQ(FormatSettings.ShortDateFormat, "dd.MM.yyyy");
  EXPECT_TRUE(FormatSettings.LongTimeFormat == "H:mm:ss" || FormatSettings.LongTimeFormat == "HH:mm:ss")
      << FormatSettings.LongTimeFormat;
  EXPECT_EQ(AnsiLowerCase(FormatSettings.LongMonthNames[0]).substr(0, 5), "январ"_cp);
  TDateTime dt = EncodeDate(2024, 3, 5) + EncodeTime(10, 15, 2, 0);
  EXPECT_EQ(DateToStr(dt), "05.03.2024");
  EXPECT_EQ(TimeToStr(dt), "10:15:02");
  EXPECT_EQ(FloatToStrF(12.5, ffFixed, 9, 2), "12,50");
}
