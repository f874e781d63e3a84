// The skin library's utilities: INI text in string lists, hexadecimal and
// rounding, words and strings, folders and the system version.
#include <gtest/gtest.h>

#include "skin/core/acSkinLoad.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sConst.h"

namespace {

TEST(SkinUtils, IniTextInStringLists) {
  TStringList source, sections, keys;
  source.SetText("a=1\n[S]\n; c\nk=v\nk2 = v\nn=0x1F\nz=0x\n[T]\n");
  GetIniSections(&source, &sections);
  ASSERT_EQ(sections.Count(), 2);
  EXPECT_EQ(sections[0], "S");
  EXPECT_EQ(sections[1], "T");
  GetIniSection("S", &sections, &keys);
  ASSERT_EQ(keys.Count(), 4);
  EXPECT_EQ(keys[1], "k2 ");
  EXPECT_EQ(ReadIniString(&source, &sections, "S", "k", "-"), "v");
  EXPECT_EQ(ReadIniString(&source, &sections, "S", "k2", "-"), "-") << "the line's name is \"k2 \"";
  EXPECT_EQ(ReadIniString(&source, &sections, "X", "k", "-"), "-");
  EXPECT_EQ(ReadIniInteger(&source, &sections, "S", "n", 0), 31);
  EXPECT_EQ(ReadIniInteger(&source, &sections, "S", "z", 5), 5);
}

TEST(SkinUtils, NumbersAndRectangles) {
  EXPECT_EQ(HexToInt("1fh"), 31);
  EXPECT_EQ(HexToInt("1G"), 0);
  EXPECT_EQ(HexToInt(""), 0);
  // The whole text counts, however long (not its length mod 256).
  EXPECT_EQ(HexToInt(std::string(256, '0') + "1F"), 31);
  EXPECT_EQ(HexToInt(std::string(256, '0') + "G"), 0);
  EXPECT_DOUBLE_EQ(CurRound(2.675), 2.68);
  EXPECT_EQ(GetCents(3.25L), 25);
  EXPECT_EQ(WidthOf(Rect(10, 0, 5, 0)), -5);
  EXPECT_EQ(WidthOf(Rect(10, 0, 5, 0), true), 0);
  EXPECT_TRUE(Between(5, 10, 1));
  EXPECT_FALSE(Between(0, 1, 10));
  EXPECT_EQ(SumTrans(50, 50), 75);
  EXPECT_EQ(LimitIt(300, 0, 255), 255);
  EXPECT_TRUE(RectInRect(Rect(0, 0, 10, 10), Rect(2, 2, 10, 10)));
  EXPECT_FALSE(RectIsVisible(Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)));
}

TEST(SkinUtils, WordsAndStrings) {
  const TacCharSet comma{','};
  EXPECT_EQ(ExtractWord(2, "a,,b", comma), "b");
  EXPECT_EQ(WordCount(",,", comma), 0);
  EXPECT_EQ(WordPosition(2, "a,,b", comma), 4);
  EXPECT_EQ(GetWordNumber("b", "a,,b", comma), 2);
  EXPECT_EQ(ReplaceStr("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(AddChar('0', "7", 3), "007");
  EXPECT_EQ(AddCharR('0', "7", 3), "700");
  EXPECT_EQ(DelRSpace("  x y  "), "x y");
  EXPECT_EQ(CorrectString(" it's?\r\n"), "it`sI");
  Integer pos = 1;
  EXPECT_EQ(ExtractSubStr("ab,cd", pos, comma), "ab");
  EXPECT_EQ(pos, 4);
  EXPECT_EQ(AnsiProperCase("HELLO wORLD", TacCharSet{' '}), "Hello World");
}

TEST(SkinUtils, FoldersAndSkinDirectories) {
  EXPECT_EQ(NormalDir("C"), "C:\\");
  EXPECT_EQ(NormalDir("C:\\dir/"), "C:\\dir\\");
  EXPECT_EQ(NormalDir(""), "");
  EXPECT_FALSE(ValidFileName("a?b"));
  EXPECT_TRUE(ValidFileName("a b.txt"));
  struct Case {
    const char* Dir;
    const char* Expected;
  };
  const Case cases[] = {
      {"..\\Skins", "C:\\App\\Skins"}, {".\\Skins", "C:\\App\\Bin\\Skins"}, {"./Skins", "C:\\App\\Bin\\Skins"},
      {".", "C:\\App\\Bin\\"},          {"Skins", "C:\\App\\Bin\\Skins"},   {"D:\\Skins", "D:\\Skins"},
      {"\\\\server\\Skins", "\\\\server\\Skins"},
  };
  for (const Case& c : cases) EXPECT_EQ(FullSkinDirectory(c.Dir, "C:\\App\\Bin\\"), c.Expected) << c.Dir;
}

TEST(SkinUtils, SystemVersionKindSetsAndTexts) {
  EXPECT_EQ(acWinVerOf(6, 2), 8);
  EXPECT_EQ(acWinVerOf(6, 1), 6);
  EXPECT_EQ(acWinVerOf(6, 3), 6);
  EXPECT_EQ(acWinVerOf(10, 0), 10);
  EXPECT_TRUE(sEditCtrls.Contains(COC_TsEdit));
  EXPECT_TRUE(sForbidMouse.Contains(COC_TsPanel));
  EXPECT_TRUE(sCanNotBeHot.Contains(COC_TsFrameAdapter));
  EXPECT_FALSE(sEditCtrls.Contains(300)) << "codes above 255 are in no set";
  EXPECT_FALSE(sForbidMouse.Contains(-1));
  EXPECT_EQ(acSkinTexts().size(), 55u);
  EXPECT_FALSE(acs_InvalidDate.empty());
}

}  // namespace

#include "skin/core/sStyleSimply.h"

namespace {

TEST(SkinUtils, SectionInArrayLooksBetweenTheTwoCommonSections) {
  const TacIntSections sections{10, 11, 12, 13, 14, 15};  // by TacSection, ssMenuItem first
  const struct {
    Integer Index;
    TacSection From, To;
    bool In;
  } cases[] = {
      {10, ssMenuItem, ssMenuItem, true},   {15, ssMenuItem, ssWebBtn, true},
      {12, ssToolButton, ssTransparent, true}, {10, ssToolButton, ssWebBtn, false},
      {14, ssGroupBox, ssMenuItem, false},  // To before From: an empty range
      {-1, ssMenuItem, ssWebBtn, false},
  };
  for (const auto& c : cases) EXPECT_EQ(SectionInArray(sections, c.Index, c.From, c.To), c.In) << c.Index;
}

}  // namespace
