// TDateTime encoding, formatting and parsing; paths and files.
#include <gtest/gtest.h>

#include <cmath>

#include "classlib/core/Classes.h"
#include "classlib/core/SysUtils.h"
#include "support.h"

TEST(Dates, EncodeDecode) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(2024, 2, 29) + 1, EncodeDate(2024, 3, 1));
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_THROW(EncodeDate(2024, 13, 1), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  const Word dates[][3] = {{1, 1, 1}, {1899, 12, 29}, {1900, 2, 28}, {2000, 2, 29}, {2024, 12, 31}, {9999, 12, 31}};
  for (auto& d : dates) {
    Word y, m, dd;
    TDateTime day = EncodeDate(d[0], d[1], d[2]);
    DecodeDate(day < 0 ? day - 0.75 : day + 0.75, y, m, dd);  // the time counts away from 30.12.1899
    EXPECT_EQ(y, d[0]);
    EXPECT_EQ(m, d[1]);
    EXPECT_EQ(dd, d[2]);
  }
  // Before 1899 the fraction still counts forward into the day.
  Word h, mi, s, ms;
  DecodeTime(-1.25, h, mi, s, ms);
  EXPECT_EQ(h, 6);
  DecodeTime(EncodeTime(23, 59, 59, 999), h, mi, s, ms);
  EXPECT_EQ(h * 10000000 + mi * 100000 + s * 1000 + ms, 235959999);
  EXPECT_EQ(DayOfWeek(0), 7);  // 30.12.1899 was a Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 5)), 3);
  TDateTime now = Now();
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
  EXPECT_EQ(Date(), std::floor(Date()));
}

TEST(Dates, FormatDateTime) {
  TFormatSettings fs = RussianSettings();
  const TDateTime dt = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
  struct Case {
    const char* format;
    const char* expected;
  } cases[] = {
      {"dd.mm.yyyy hh:nn:ss", "05.03.2024 14:07:09"},
      {"d/m/yy", "5.3.24"},
      {"h:mm", "14:07"},
      {"H:mm:ss", "14:07:09"},
      {"hh:mm:ss.zzz", "14:07:09.045"},
      {"dddd, mmmm d", "Tuesday, March 5"},
      {"ddd mmm", "Tue Mar"},
      {"h:nn am/pm", "2:07 pm"},
      {"h:nn A/P", "2:07 P"},
      {"'Date:' yyyy", "Date: 2024"},
      {"\"hh\" hh", "hh 14"},
      {"yyyy-mm-dd_hh-nn-ss", "2024-03-05_14-07-09"},
      {"c", "05.03.2024 14:07:09"},
      {"ddddd", "05.03.2024"},
      {"t", "14:07"},
      {"tt", "14:07:09"},
  };
  for (auto& c : cases) EXPECT_EQ(FormatDateTime(c.format, dt, fs), c.expected) << c.format;
  EXPECT_EQ(DateToStr(dt, fs), "05.03.2024");
  EXPECT_EQ(TimeToStr(dt, fs), "14:07:09");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5), fs), "05.03.2024") << "midnight shows no time";
  fs.LongMonthNames[2] = "марта"_cp;
  EXPECT_EQ(FormatDateTime("d mmmm yyyy", dt, fs), "5 марта 2024"_cp);
  TFormatSettings us;
  us.DateSeparator = '/';
  us.ShortDateFormat = "M/d/yyyy";
  EXPECT_EQ(DateToStr(dt, us), "3/5/2024");
}

TEST(Dates, Parse) {
  TFormatSettings fs = RussianSettings();
  EXPECT_EQ(StrToDate("05.03.2024", fs), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDate(" 5.3.2024", fs), EncodeDate(2024, 3, 5));
  TDateTime v;
  EXPECT_TRUE(TryStrToDate("5.3.24", v, fs));
  EXPECT_EQ(v, EncodeDate(2024, 3, 5));
  const char* bad[] = {"31.02.2024", "abc", "", "5", "5.3.2024x", "1.13.2024", "0.1.2024"};
  for (const char* b : bad) EXPECT_FALSE(TryStrToDate(b, v, fs)) << b;
  try {
    StrToDate("32.01.2024", fs);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'32.01.2024' is not a valid date");
  }
  EXPECT_DOUBLE_EQ(StrToTime("14:07:09", fs), EncodeTime(14, 7, 9, 0));
  EXPECT_DOUBLE_EQ(StrToTime("2:07 PM", fs), EncodeTime(14, 7, 0, 0));
  EXPECT_FALSE(TryStrToTime("25:00", v, fs));
  EXPECT_FALSE(TryStrToTime("12:61", v, fs));
  TFormatSettings us;
  us.ShortDateFormat = "MM/dd/yyyy";
  us.DateSeparator = '/';
  EXPECT_EQ(StrToDate("03/05/2024", us), EncodeDate(2024, 3, 5));
}

TEST(Paths, Parts) {
  const AnsiString d(1, PathDelim);
  const AnsiString name = d + "data" + d + "Дорнека"_cp + d + "monitor.exe";
  EXPECT_EQ(ExtractFilePath(name), d + "data" + d + "Дорнека"_cp + d);
  EXPECT_EQ(ExtractFileDir(name), d + "data" + d + "Дорнека"_cp);
  EXPECT_EQ(ExtractFileName(name), "monitor.exe");
  EXPECT_EQ(ExtractFileExt(name), ".exe");
  EXPECT_EQ(ChangeFileExt(name, ".INI"), d + "data" + d + "Дорнека"_cp + d + "monitor.INI");
  EXPECT_EQ(ChangeFileExt("a.b" + d + "file", ".x"), "a.b" + d + "file.x") << "a dot in a folder name is no extension";
  EXPECT_EQ(ExtractFileExt("a.b" + d + "file"), "");
  EXPECT_EQ(ExtractFileName("file"), "file");
  EXPECT_EQ(ExtractFilePath("file"), "");
  EXPECT_EQ(ExtractFileDir(d + "file"), d) << "the root keeps its delimiter";
  EXPECT_EQ(IncludeTrailingPathDelimiter("a"), "a" + d);
  EXPECT_EQ(IncludeTrailingPathDelimiter("a" + d), "a" + d);
  EXPECT_EQ(ExcludeTrailingPathDelimiter("a" + d), "a");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("a"), "a");
#ifdef _WIN32
  EXPECT_EQ(ExtractFilePath("C:file.txt"), "C:");
  EXPECT_EQ(ExtractFileDrive("C:\\x\\y"), "C:");
  EXPECT_EQ(ExtractFileDir("C:\\file"), "C:\\");
#endif
}

TEST(Files, CreateFindRenameDelete) {
  TempDir tmp;
  const AnsiString base = tmp.Path();
  const AnsiString deep = base + "Log" + PathDelim + "2024" + PathDelim + "03";
  EXPECT_FALSE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep + PathDelim)) << "an existing folder is fine";
  EXPECT_FALSE(CreateDir(deep)) << "it exists already";
  EXPECT_THROW(ForceDirectories(""), EInOutError);

  const AnsiString file = IncludeTrailingPathDelimiter(deep) + "Channel 1.csv";
  {
    TFileStream f(file, fmCreate);
    f.WriteBuffer("12345", 5);
  }
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(deep)) << "a folder is not a file";
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_EQ(FileSizeByName(file), 5);
  { TFileStream f(IncludeTrailingPathDelimiter(deep) + "b.txt", fmCreate); }

  // Search: files only, then with folders.
  TSearchRec sr;
  std::vector<AnsiString> found;
  for (int r = FindFirst(IncludeTrailingPathDelimiter(deep) + "*.csv", faAnyFile, sr); r == 0; r = FindNext(sr)) {
    found.push_back(sr.Name);
    EXPECT_EQ(sr.Size, 5);
    EXPECT_EQ(sr.Attr & faDirectory, 0);
  }
  FindClose(sr);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0], "Channel 1.csv");
  EXPECT_NE(FindFirst(IncludeTrailingPathDelimiter(deep) + "*.none", faAnyFile, sr), 0);
  bool sawFolder = false;
  for (int r = FindFirst(base + "*", faDirectory, sr); r == 0; r = FindNext(sr))
    if (sr.Name == "Log") sawFolder = (sr.Attr & faDirectory) != 0;
  FindClose(sr);
  EXPECT_TRUE(sawFolder);
  int files = 0;
  for (int r = FindFirst(base + "*", 0, sr); r == 0; r = FindNext(sr)) ++files;
  EXPECT_EQ(files, 0) << "folders are skipped unless asked for";

  const AnsiString renamed = ChangeFileExt(file, ".bak");
  EXPECT_TRUE(RenameFile(file, renamed));
  EXPECT_FALSE(FileExists(file));
  EXPECT_TRUE(FileExists(renamed));
  EXPECT_TRUE(DeleteFile(renamed));
  EXPECT_FALSE(DeleteFile(renamed));
  EXPECT_FALSE(GetCurrentDir().empty());
}

TEST(Files, CyrillicNames) {
  TempDir tmp;
  if (!tmp.TakesCyrillicNames())
    GTEST_SKIP() << "the file system here cannot store Cyrillic names (under Wine: the host lacks the locale "
                    "named by LC_ALL)";
  const AnsiString dir = tmp.Path() + "Журнал"_cp + PathDelim + "март"_cp;
  ASSERT_TRUE(ForceDirectories(dir));
  EXPECT_TRUE(DirectoryExists(dir));
  const AnsiString file = IncludeTrailingPathDelimiter(dir) + "Канал 1.csv"_cp;
  TStringList save;
  save.SetText("первая\nвторая"_cp);
  save.SaveToFile(file);
  EXPECT_TRUE(FileExists(file));
  TStringList load;
  load.LoadFromFile(file);
  EXPECT_EQ(load.Text(), "первая\r\nвторая\r\n"_cp);
  TSearchRec sr;
  ASSERT_EQ(FindFirst(IncludeTrailingPathDelimiter(dir) + "*.CSV", faAnyFile, sr), 0);
  EXPECT_EQ(sr.Name, "Канал 1.csv"_cp);
  FindClose(sr);
  EXPECT_TRUE(RenameFile(file, ChangeFileExt(file, ".старый"_cp)));
  EXPECT_TRUE(FileExists(IncludeTrailingPathDelimiter(dir) + "Канал 1.старый"_cp));
}

TEST(Files, Masks) {
  EXPECT_TRUE(MatchesMask("Options.dat", "*.DAT"));
  EXPECT_TRUE(MatchesMask("a", "*.*"));
  EXPECT_TRUE(MatchesMask("skin.asz", "s?in.*"));
  EXPECT_TRUE(MatchesMask("readme", "readme.*"));
  EXPECT_FALSE(MatchesMask("skin.asz", "*.zip"));
  EXPECT_TRUE(MatchesMask("ЖУРНАЛ.csv"_cp, "журнал*"_cp));
  EXPECT_FALSE(MatchesMask("ab", "a?c"));
}
