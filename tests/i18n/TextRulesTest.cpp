// Text rules: UTF-8, line ends, plural forms, language codes, header fields and
// the catalogue source of untranslated texts.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "i18n/GettextText.h"
#include "i18n/MoCatalogue.h"
#include "TestPaths.h"

using namespace std::string_literals;
using namespace i18n;

namespace {

TEST(Utf8, DecodesValidAndRefusesInvalid) {
  EXPECT_EQ(FromUtf8(""), u"");
  EXPECT_EQ(FromUtf8("abc"), u"abc");
  EXPECT_EQ(FromUtf8("Привет"), u"Привет");
  EXPECT_EQ(FromUtf8("\xE2\x82\xAC"), u"\u20AC");
  // Four-byte sequences become surrogate pairs.
  EXPECT_EQ(FromUtf8("a\xF0\x9F\x98\x80z"), u"a\U0001F600z");
  EXPECT_EQ(FromUtf8("\xF4\x8F\xBF\xBF"), u"\U0010FFFF");
  EXPECT_EQ(FromUtf8("\0"s), u"\0"s);
  const char* invalid[] = {
      "\x80",             // lone continuation byte
      "\xC3",             // cut short
      "\xE2\x82",         // cut short
      "\xF0\x9F\x98",     // cut short
      "\xC3\x28",         // continuation out of range
      "\xE2\x28\xA1",     // continuation out of range
      "\xC0\xAF",         // overlong
      "\xE0\x80\xAF",     // overlong
      "\xF0\x80\x80\xAF", // overlong
      "\xED\xA0\x80",     // encoded surrogate
      "\xF4\x90\x80\x80", // above U+10FFFF
      "\xFF",             // never valid
  };
  for (const char* s : invalid) EXPECT_FALSE(FromUtf8(s)) << s;
}

TEST(Utf8, EncodesAndRoundTrips) {
  const std::u16string texts[] = {u"", u"plain", u"Кириллица", u"\u20AC \U0001F600 \uFFFF", u"a\0b"s};
  for (const auto& t : texts) EXPECT_EQ(FromUtf8(ToUtf8(t)), t);
  EXPECT_EQ(ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
  // A lone surrogate cannot be stored in a catalogue: it becomes U+FFFD.
  EXPECT_EQ(ToUtf8(u"a\xD800z"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(ToUtf8(u"\xDC00"), "\xEF\xBF\xBD");
}

// The key is built four units at a time while they are plain ASCII: a unit
// that is not (a carriage return, a letter above 127, a surrogate pair) at
// every position of a short and of a long text, which no longer fits the
// key's own buffer.
TEST(Keys, EveryUnitAtEveryPosition) {
  struct {
    std::u16string Unit;
    std::string Bytes;
  } units[] = {{u"\r", ""},          {u"\x7F", "\x7F"},     {u"\x80", "\xC2\x80"},
               {u"Ж", "\xD0\x96"},    {u"\u20AC", "\xE2\x82\xAC"}, {u"\U0001F600", "\xF0\x9F\x98\x80"},
               {u"\xD800", "\xEF\xBF\xBD"}, {u"\r\r", ""}};
  for (std::size_t length : {std::size_t(11), std::size_t(300)}) {
    std::u16string ascii;
    for (std::size_t i = 0; i < length; ++i) ascii += char16_t('a' + i % 26);
    for (const auto& u : units)
      for (std::size_t at = 0; at <= length; ++at) {
        const std::u16string text = ascii.substr(0, at) + u.Unit + ascii.substr(at);
        std::string expected;
        for (char16_t c : ascii.substr(0, at)) expected += char(c);
        expected += u.Bytes;
        for (char16_t c : ascii.substr(at)) expected += char(c);
        const TCatalogueKey key(text);
        ASSERT_EQ(key.View(), expected) << length << " " << at << " " << u.Bytes;
        ASSERT_EQ(key.CStr()[expected.size()], '\0');
        ASSERT_EQ(CatalogueKey(text), expected);
      }
  }
}

TEST(LineEnds, KeysLoseCarriageReturnsAndAnswersGetThem) {
  EXPECT_EQ(RemoveCarriageReturns("a\r\nb\rc\n"), "a\nbc\n");
  struct {
    const char* In;
    const char* Out;
  } cases[] = {{"", ""}, {"\n", "\r\n"}, {"a\nb", "a\r\nb"}, {"a\r\nb", "a\r\nb"}, {"\n\n", "\r\n\r\n"},
               {"a\r", "a\r"}, {"x\r\n\ny", "x\r\n\r\ny"}};
  for (const auto& c : cases) EXPECT_EQ(ToCrLf(c.In), c.Out) << c.In;
}

TEST(PluralRules, GiveTheFormsOfGnuGettext) {
  struct {
    const char* Code;
    std::vector<std::pair<std::int32_t, int>> Forms;
  } cases[] = {
      {"en", {{1, 0}, {0, 1}, {2, 1}, {-1, 0}, {-2, 1}}},
      {"C", {{1, 0}, {0, 1}, {5, 1}}},
      {"pt_PT", {{0, 1}, {1, 0}, {2, 1}}},
      {"pt_BR", {{0, 0}, {1, 0}, {2, 1}}},
      {"fr_FR", {{0, 0}, {1, 0}, {2, 1}, {-1, 0}}},
      {"ja", {{0, 0}, {1, 0}, {7, 0}}},
      {"lv", {{0, 2}, {1, 0}, {11, 1}, {21, 0}, {2, 1}}},
      {"ga", {{1, 0}, {2, 1}, {3, 2}, {0, 2}}},
      {"lt", {{1, 0}, {2, 1}, {9, 1}, {10, 2}, {11, 2}, {12, 2}, {21, 0}, {22, 1}}},
      {"ru_RU", {{1, 0}, {2, 1}, {4, 1}, {5, 2}, {11, 2}, {12, 2}, {21, 0}, {22, 1}, {25, 2}, {111, 2}, {0, 2}}},
      {"uk", {{1, 0}, {3, 1}, {11, 2}, {21, 0}}},
      // Polish: 1 alone takes form 0; 21 and 22 take forms 2 and 1.
      {"pl", {{1, 0}, {2, 1}, {4, 1}, {5, 2}, {11, 2}, {12, 2}, {21, 2}, {22, 1}, {101, 2}, {0, 2}}},
      {"PL", {{21, 2}, {22, 1}}},
      // Czech and Slovak: 2 to 4 form 1, 5 and up form 2, with no cycle of tens.
      {"cs", {{1, 0}, {2, 1}, {4, 1}, {5, 2}, {21, 2}, {22, 2}, {0, 2}}},
      {"sk_SK", {{1, 0}, {3, 1}, {21, 2}, {24, 2}}},
      {"sl", {{1, 0}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {101, 0}, {102, 1}, {0, 3}}},
  };
  for (const auto& c : cases) {
    TPluralRule rule = PluralRuleFor(c.Code);
    for (auto [n, form] : c.Forms) EXPECT_EQ(rule(n), form) << c.Code << " n=" << n;
  }
}

TEST(PluralRules, MostNegativeCountIsSafe) {
  for (const char* code : {"en", "fr", "lv", "ga", "lt", "ru", "cs", "pl", "sl", "ja"}) {
    const int form = PluralRuleFor(code)(INT_MIN);  // magnitude 2147483648
    EXPECT_GE(form, 0) << code;
    EXPECT_LE(form, 3) << code;
  }
  EXPECT_EQ(PluralRuleFor("ru")(INT_MIN), 2);  // ...48: ends in 8
  EXPECT_EQ(PluralRuleFor("en")(INT_MIN), 1);
}

TEST(LanguageCode, EnvironmentThenSystem) {
  EXPECT_EQ(LanguageFromEnvironment("de_DE.UTF-8", "ru_RU"), "de_DE");
  EXPECT_EQ(LanguageFromEnvironment("pt_BR", "ru_RU"), "pt_BR");
  EXPECT_EQ(LanguageFromEnvironment("", "ru_RU"), "ru_RU");
  EXPECT_EQ(LanguageFromEnvironment("", "C"), "C");
  EXPECT_EQ(LanguageFromEnvironment("C.UTF-8", "ru_RU"), "C");

  EXPECT_EQ(SystemLanguageCode("ru", "RU", 0), "ru_RU");
  EXPECT_EQ(SystemLanguageCode("de", "AT", 1049), "de_AT");
  struct {
    std::uint32_t Locale;
    const char* Code;
  } table[] = {{1049, "ru_RU"}, {1032, "gr_GR"}, {1042, "ko_KO"}, {2057, "en_UK"},
               {2077, "fi_SE"}, {3082, "es_ES"}, {4103, "de_LU"}, {1058, "C"}, {0, "C"}};
  for (const auto& row : table) EXPECT_EQ(SystemLanguageCode("", "", row.Locale), row.Code) << row.Locale;
  EXPECT_EQ(SystemLanguageCode("fil", "PH", 1049), "ru_RU");  // a three-letter name falls back too
}

TEST(Header, FieldsByNameWithoutRegardToCase) {
  const std::string header =
      "Project-Id-Version: x\nLast-Translator:   Иван Петров <ivan@example.org> \t\n"
      "Language: ru\nX-Empty: \nPlural-Forms: nplurals=3;\n";
  EXPECT_EQ(HeaderField(header, "LAST-TRANSLATOR"), "Иван Петров <ivan@example.org>");
  EXPECT_EQ(HeaderField(header, "language"), "ru");
  EXPECT_EQ(HeaderField(header, "X-Empty"), "");
  EXPECT_EQ(HeaderField(header, "Missing"), "");
  EXPECT_EQ(HeaderField(header, "Lang"), "");  // a field name is matched whole
  EXPECT_EQ(HeaderField("", "Language"), "");
}

#ifndef _WIN32
// The file of untranslated texts is a catalogue source GNU gettext accepts, and
// gives back exactly the keys that were written.
TEST(UntranslatedSource, AcceptedByMsgfmtAndRoundTrips) {
  const std::string keys[] = {
      "plain",
      "back\\slash",
      "\"quoted\"",
      "two\nlines",
      "ends with a line\n",
      "\nstarts with a line",
      "tab\there",
      "bell\x07 and escape\x1B and delete\x7F",
      "digit after a control: \x01" "1",
      "Кириллица и \xF0\x9F\x98\x80",
      "%d item\0%d items"s,
  };
  std::string po = PoHeader();
  for (const auto& k : keys) po += PoEntry(k);
  const std::string dir = ::testing::TempDir();
  const std::string poName = dir + "i18n_untranslated.po", moName = dir + "i18n_untranslated.mo";
  i18ntest::WriteFile(poName, po.data(), po.size());
  // msgen fills each translation with its msgid, so the compiled catalogue
  // holds every key.
  const std::string cmd = "msgen '" + poName + "' | msgfmt --check -o '" + moName + "' - 2>/dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << po;
  const auto bytes = i18ntest::ReadFile(moName);
  TMoCatalogue mo;
  ASSERT_TRUE(mo.Open(bytes.data(), bytes.size()));
  for (const auto& k : keys) EXPECT_TRUE(mo.Lookup(k)) << k;
  EXPECT_EQ(HeaderField(*mo.Lookup(""), "Content-Type"), "text/plain; charset=UTF-8");
}
#endif

}  // namespace
