// Code page 1251 text: conversions, case mapping, comparison and the text
// helpers.
#include <gtest/gtest.h>

#include "classlib/core/SysConsts.h"
#include "classlib/core/SysUtils.h"

TEST(Cp1251, EveryByteRoundTripsThroughUtf16AndUtf8) {
  AnsiString all;
  for (int i = 1; i < 256; ++i) all.push_back(static_cast<char>(i));
  EXPECT_EQ(WideToAnsi(AnsiToWide(all)), all);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
  EXPECT_EQ(Utf8ToWide(AnsiToUtf8(all)), AnsiToWide(all));
}

TEST(Cp1251, CodePointsOfTheCodePage) {
  struct Case {
    unsigned char byte;
    char16_t cp;
  } cases[] = {{0x41, u'A'},   {0xC0, 0x0410}, {0xDF, 0x042F}, {0xE0, 0x0430}, {0xFF, 0x044F},
               {0xA8, 0x0401}, {0xB8, 0x0451}, {0xB9, 0x2116}, {0x88, 0x20AC}, {0x96, 0x2013},
               {0xA0, 0x00A0}, {0xA5, 0x0490}, {0xB4, 0x0491}, {0x80, 0x0402}, {0xAB, 0x00AB}};
  for (auto c : cases) {
    EXPECT_EQ(AnsiToWide(AnsiString(1, static_cast<char>(c.byte))), WideString(1, c.cp)) << int(c.byte);
    EXPECT_EQ(WideToAnsi(WideString(1, c.cp)), AnsiString(1, static_cast<char>(c.byte))) << int(c.byte);
  }
}

TEST(Cp1251, UnmappableAndMalformedBecomeQuestionMarks) {
  EXPECT_EQ(WideToAnsi(u"a\u65E5b"), "a?b");
  EXPECT_EQ(WideToAnsi(u"\U0001F600"), "?");                     // a pair of surrogates is one character
  EXPECT_EQ(WideToAnsi(WideString(1, char16_t(0xD800))), "?");  // lone surrogate
  EXPECT_EQ(Utf8ToAnsi("\xE2\x82\xAC"), "\x88");                 // euro sign
  EXPECT_EQ(Utf8ToAnsi("x\xFFy"), "x?y");
  EXPECT_EQ(Utf8ToAnsi("\xD0"), "?");      // truncated sequence
  EXPECT_EQ(Utf8ToAnsi("\xC0\xAF"), "?");  // overlong form
  EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), WideString(1, char16_t(0xFFFD)));  // encoded surrogate
  EXPECT_EQ(WideToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(Cp1251, LiteralIsConvertedAtCompileTime) {
  EXPECT_EQ("Ошибка записи INI-файла!"_cp,
            "\xCE\xF8\xE8\xE1\xEA\xE0 \xE7\xE0\xEF\xE8\xF1\xE8 INI-\xF4\xE0\xE9\xEB\xE0!");
  EXPECT_EQ("Ёё№€"_cp, "\xA8\xB8\xB9\x88");
  static_assert("Дорнека"_cpz[0] == '\xC4');
  EXPECT_EQ(AnsiToUtf8("Дорнека-ХБВ"_cp), "Дорнека-ХБВ");
}

TEST(Case, EveryCyrillicLetterMapsBothWays) {
  for (int i = 0; i < 32; ++i) {
    AnsiString upper(1, static_cast<char>(0xC0 + i)), lower(1, static_cast<char>(0xE0 + i));
    EXPECT_EQ(AnsiUpperCase(lower), upper) << i;
    EXPECT_EQ(AnsiLowerCase(upper), lower) << i;
    EXPECT_EQ(UpperCase(lower), lower) << "ASCII-only mapping leaves Cyrillic alone";
    EXPECT_EQ(AnsiCompareText(upper, lower), 0);
    EXPECT_TRUE(AnsiSameText(upper, lower));
    EXPECT_FALSE(SameText(upper, lower));
  }
  EXPECT_EQ(AnsiUpperCase("ёжик"_cp), "ЁЖИК"_cp);
  EXPECT_EQ(AnsiLowerCase("ЁЖИК"_cp), "ёжик"_cp);
  EXPECT_EQ(AnsiUpperCase("їґєўіј"_cp), "ЇҐЄЎІЈ"_cp);
  EXPECT_EQ(AnsiUpperCase("abc123"), "ABC123");
  EXPECT_EQ(UpperCase("abc№"_cp), "ABC№"_cp);
  EXPECT_EQ(LowerCase("ABC"), "abc");
}

TEST(Case, ComparisonFollowsTheAlphabet) {
  // Е < Ё < Ж, Latin before Cyrillic, digits before letters, prefix first.
  EXPECT_LT(AnsiCompareText("е"_cp, "ё"_cp), 0);
  EXPECT_LT(AnsiCompareText("Ё"_cp, "ж"_cp), 0);
  EXPECT_LT(AnsiCompareText("я"_cp, "Я1"_cp), 0);
  EXPECT_LT(AnsiCompareText("z", "а"_cp), 0);
  EXPECT_LT(AnsiCompareText("9", "a"), 0);
  EXPECT_GT(AnsiCompareText("б"_cp, "А"_cp), 0);
  EXPECT_EQ(AnsiCompareText("Канал"_cp, "КАНАЛ"_cp), 0);
  // Case-sensitive: the same letters sort together, lower case first.
  EXPECT_LT(AnsiCompareStr("канал"_cp, "Канал"_cp), 0);
  EXPECT_LT(AnsiCompareStr("Канал"_cp, "канат"_cp), 0);
  EXPECT_NE(AnsiCompareStr("a", "A"), 0);
  // ASCII-only comparison.
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_LT(CompareText("abc", "abd"), 0);
  EXPECT_LT(CompareStr("ABC", "abc"), 0);
  EXPECT_TRUE(SameText("Settings", "SETTINGS"));
}

TEST(Text, TrimPosCopy) {
  EXPECT_EQ(Trim(" \t\r\n abc \x01"), "abc");
  EXPECT_EQ(TrimLeft("  a "), "a ");
  EXPECT_EQ(TrimRight("  a "), "  a");
  EXPECT_EQ(Trim("\xA0x"), "\xA0x") << "a no-break space (0xA0) is not blank";
  EXPECT_EQ(Pos("b", "abcb"), 2);
  EXPECT_EQ(Pos("x", "abc"), 0);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(PosEx("b", "abcb", 3), 4);
  EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
  EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
  EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
  EXPECT_EQ(Copy("abcdef", 7, 1), "");
  EXPECT_EQ(Copy("abcdef", 2, -1), "");
  EXPECT_EQ(Copy("abcdef", 3), "cdef");
  AnsiString s = "abcdef";
  Delete(s, 2, 2);
  EXPECT_EQ(s, "adef");
  Insert("XY", s, 2);
  EXPECT_EQ(s, "aXYdef");
  EXPECT_EQ(LastDelimiter("./", "a/b.c.d"), 6);
}

TEST(Text, StringReplace) {
  EXPECT_EQ(StringReplace("a.b.c", ".", ",", 0), "a,b.c");
  EXPECT_EQ(StringReplace("a.b.c", ".", ",", rfReplaceAll), "a,b,c");
  EXPECT_EQ(StringReplace("Канал канал"_cp, "КАНАЛ"_cp, "x", rfReplaceAll | rfIgnoreCase), "x x");
  EXPECT_EQ(StringReplace("aaa", "a", "aa", rfReplaceAll), "aaaaaa");
  EXPECT_EQ(StringReplace("abc", "", "x", rfReplaceAll), "abc");
}

TEST(Text, Quoting) {
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(AnsiQuotedStr("a\"b", '"'), "\"a\"\"b\"");
  EXPECT_EQ(AnsiDequotedStr("'it''s' rest", '\''), "it's");
  EXPECT_EQ(AnsiDequotedStr("plain", '\''), "plain");
  EXPECT_EQ(AnsiDequotedStr("'open", '\''), "open");
  int i = 3;
  EXPECT_EQ(AnsiExtractQuotedStr("x=\"a\"\"b\",", i, '"'), "a\"b");
  EXPECT_EQ(i, 9);
}

namespace {
std::string Shout(PResStringRec rec) { return "!" + std::string(rec->Text); }
}  // namespace

DK_RESOURCESTRING(SLocal, "Запись"_cpz);

TEST(ResourceStrings, LoaderCanBeRedirectedAndRestored) {
  EXPECT_EQ(LoadResString(&SLocal), "Запись"_cp);
  EXPECT_EQ(GetResStringLoader(), nullptr);
  EXPECT_EQ(SetResStringLoader(&Shout), nullptr);
  EXPECT_EQ(LoadResString(&SLocal), "!" + "Запись"_cp);
  // Library messages come through the same loader.
  try {
    StrToInt("x");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "!'x' is not a valid integer value");
  }
  EXPECT_EQ(SetResStringLoader(nullptr), &Shout);
  EXPECT_EQ(LoadResString(&SReadError), "Stream read error");
  EXPECT_EQ(LoadResString(nullptr), "");
}

TEST(Exceptions, CarryMessageAndClass) {
  try {
    throw EListError(&SListIndexError, {7});
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "List index out of bounds (7)");
    EXPECT_STREQ(e.what(), "List index out of bounds (7)");
    EXPECT_EQ(e.ClassName(), "EListError");
    EXPECT_TRUE(e.InheritsFrom(Exception::StaticClass()));
  }
  EXPECT_TRUE(EStringListError().InheritsFrom(EListError::StaticClass()));
  EXPECT_TRUE(EReadError().InheritsFrom(EStreamError::StaticClass()));
  EXPECT_TRUE(EFOpenError().InheritsFrom(EStreamError::StaticClass()));
  EXPECT_FALSE(EConvertError().InheritsFrom(EStreamError::StaticClass()));
  EXPECT_EQ(Exception("%d-%s", {1, "x"}).Message, "1-x");
  EXPECT_THROW(Abort(), EAbort);
  try {
    RaiseLastOSError(2);
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode, 2u);
    EXPECT_NE(e.Message.find("Code: 2."), std::string::npos) << e.Message;
  }
}
