// The catalogue reader against catalogues compiled by msgfmt and against
// damaged ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "i18n/MoCatalogue.h"
#include "MoBuilder.h"
#include "TestPaths.h"

using i18n::TMoCatalogue;
using namespace std::string_literals;

namespace {

struct Variant {
  const char* Path;
  bool Swapped;
};

class CompiledCatalogue : public ::testing::TestWithParam<Variant> {};

TEST_P(CompiledCatalogue, FindsTranslatedEntriesOnly) {
  const auto bytes = i18ntest::ReadFile(i18ntest::BinPath(GetParam().Path));
  ASSERT_FALSE(bytes.empty()) << GetParam().Path;
  TMoCatalogue mo;
  ASSERT_TRUE(mo.Open(bytes.data(), bytes.size()));
  EXPECT_EQ(mo.Swapped(), GetParam().Swapped);

  EXPECT_EQ(mo.Lookup("Hello"), "Привет");
  EXPECT_EQ(mo.Lookup("Line one\nLine two\n"), "Строка один\nСтрока два\n");
  EXPECT_EQ(mo.Lookup("Backslash \\ and \"quotes\""), "Обратная косая \\ и «кавычки»");
  EXPECT_EQ(mo.Lookup("%d file\0%d files"s), "%d файл\0%d файла\0%d файлов"s);
  // The header is the entry of the empty msgid, sorted first.
  auto header = mo.Lookup("");
  ASSERT_TRUE(header);
  EXPECT_NE(header->find("Language: ru\n"), std::string_view::npos);
  // Entries with a context are stored under context, EOT, msgid: the bare
  // msgid is not one of them.
  EXPECT_FALSE(mo.Lookup("Open"));
  EXPECT_EQ(mo.Lookup("menu\x04Open"), "Открыть (меню)");
  // msgfmt leaves fuzzy and untranslated entries out.
  EXPECT_FALSE(mo.Lookup("Fuzzy text"));
  EXPECT_FALSE(mo.Lookup("Untranslated text"));
  // Prefixes and extensions of stored msgids are other keys.
  EXPECT_FALSE(mo.Lookup("Hell"));
  EXPECT_FALSE(mo.Lookup("Hello!"));
  EXPECT_FALSE(mo.Lookup("%d file"));
  EXPECT_FALSE(mo.Lookup("\xff"));
  // Every stored msgid is found by the search.
  for (std::uint32_t i = 0; i < mo.StringCount(); ++i) EXPECT_EQ(mo.Lookup(mo.Msgid(i)), mo.Translation(i));
}

INSTANTIATE_TEST_SUITE_P(ByteOrderAndHash, CompiledCatalogue,
                         ::testing::Values(Variant{"locale/ru/LC_MESSAGES/i18ntest.mo", false},
                                           Variant{"i18n_be/ru/LC_MESSAGES/i18ntest.mo", true},
                                           Variant{"i18n_nohash/ru/LC_MESSAGES/i18ntest.mo", false}));

TEST(MoSearch, ReachesEveryPositionForEveryCount) {
  for (int n = 0; n <= 130; ++n) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (int i = 0; i < n; ++i) {
      char key[16];
      std::snprintf(key, sizeof key, "k%03d", 2 * i + 1);  // odd numbers: the even ones fall between
      entries.emplace_back(key, "t" + std::to_string(i));
    }
    for (bool big : {false, true}) {
      const auto bytes = i18ntest::BuildMo(entries, big);
      TMoCatalogue mo;
      ASSERT_TRUE(mo.Open(bytes.data(), bytes.size()));
      for (int i = 0; i < n; ++i) ASSERT_EQ(mo.Lookup(entries[i].first), entries[i].second) << n << " " << i;
      for (int k = 0; k <= 2 * n + 2; k += 2) {
        char key[16];
        std::snprintf(key, sizeof key, "k%03d", k);
        ASSERT_FALSE(mo.Lookup(key)) << n << " " << key;
      }
      EXPECT_FALSE(mo.Lookup(""));
    }
  }
}

// Long keys that share their first words and differ at every byte position,
// in bytes above 127 too, and keys that are prefixes of others.
TEST(MoSearch, LongKeysCompareAsUnsignedBytes) {
  const std::string stem = "Cannot open the port ";  // 21 bytes
  std::vector<std::string> keys = {"", stem, stem + "\x01", stem + "1", stem + "12345678", stem + "123456789",
                                   stem + "12345679", stem + "\x7F", stem + "\xC3\xA9", stem + "\xD0\x9F\xD0\xBE"};
  for (std::size_t at = 1; at < stem.size(); ++at) {
    std::string k = stem;
    k[at] = char(0xE0);
    keys.push_back(k);
    keys.push_back(stem.substr(0, at));
  }
  std::sort(keys.begin(), keys.end(), [](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return (unsigned char)x < (unsigned char)y; });
  });
  std::vector<std::pair<std::string, std::string>> entries;
  for (std::size_t i = 0; i < keys.size(); ++i) entries.emplace_back(keys[i], "t" + std::to_string(i));
  const auto bytes = i18ntest::BuildMo(entries);
  TMoCatalogue mo;
  ASSERT_TRUE(mo.Open(bytes.data(), bytes.size()));
  for (const auto& [key, translation] : entries) EXPECT_EQ(mo.Lookup(key), translation) << key;
  // One byte changed or added at the end of a stored key, or a byte above 127
  // where the stored key has a plain one: not found.
  for (const std::string& k : {stem + "2", stem + "12345677", stem + "1234567890", stem + "\xC3\xA8",
                               stem + "\x80", std::string("\xFF"), stem.substr(0, 20) + "\xA0"})
    EXPECT_FALSE(mo.Lookup(k)) << k;
}

// Damage done to a good catalogue; each must be refused as a whole.
struct Damage {
  const char* Name;
  void (*Apply)(std::vector<unsigned char>&);
};

std::uint32_t Word(const std::vector<unsigned char>& mo, std::size_t at) {
  return std::uint32_t(mo[at]) | std::uint32_t(mo[at + 1]) << 8 | std::uint32_t(mo[at + 2]) << 16 |
         std::uint32_t(mo[at + 3]) << 24;
}

const Damage damages[] = {
    {"empty", [](auto& mo) { mo.clear(); }},
    {"header cut short", [](auto& mo) { mo.resize(27); }},
    {"wrong magic", [](auto& mo) { mo[0] ^= 1; }},
    {"text instead of a catalogue", [](auto& mo) { mo.assign(64, 'x'); }},
    {"count beyond the file", [](auto& mo) { i18ntest::PutWord(mo, 8, 0x10000000); }},
    {"count wrapping the table size", [](auto& mo) { i18ntest::PutWord(mo, 8, 0x20000001); }},
    {"msgid table past the end", [](auto& mo) { i18ntest::PutWord(mo, 12, std::uint32_t(mo.size()) - 4); }},
    {"translation table past the end", [](auto& mo) { i18ntest::PutWord(mo, 16, 0xFFFFFFF8); }},
    {"msgid offset past the end",
     [](auto& mo) { i18ntest::PutWord(mo, Word(mo, 12) + 8 + 4, std::uint32_t(mo.size())); }},
    {"msgid length past the end", [](auto& mo) { i18ntest::PutWord(mo, Word(mo, 12) + 8, std::uint32_t(mo.size())); }},
    {"translation length wrapping",
     [](auto& mo) { i18ntest::PutWord(mo, Word(mo, 16) + 8 * (Word(mo, 8) - 1), 0xFFFFFFFF); }},
    {"last translation cut", [](auto& mo) {
       const std::uint32_t last = Word(mo, 16) + 8 * (Word(mo, 8) - 1);
       mo.resize(Word(mo, last + 4) + Word(mo, last) - 1);
     }},
};

TEST(MoDamage, RefusesDamagedCatalogues) {
  const auto good = i18ntest::ReadFile(i18ntest::BinPath("locale/ru/LC_MESSAGES/i18ntest.mo"));
  ASSERT_GT(good.size(), 100u);
  for (const Damage& d : damages) {
    auto mo = good;
    d.Apply(mo);
    // An exact-size copy, so any read past it is caught by the sanitizer.
    std::vector<unsigned char> exact(mo.begin(), mo.end());
    TMoCatalogue reader;
    EXPECT_FALSE(reader.Open(exact.data(), exact.size())) << d.Name;
    EXPECT_FALSE(reader.IsOpen()) << d.Name;
    EXPECT_FALSE(reader.Lookup("Hello")) << d.Name;
  }
}

TEST(MoDamage, TruncationAtEveryLengthIsSafe) {
  const auto good = i18ntest::ReadFile(i18ntest::BinPath("i18n_be/ru/LC_MESSAGES/i18ntest.mo"));
  ASSERT_GT(good.size(), 100u);
  TMoCatalogue whole;
  ASSERT_TRUE(whole.Open(good.data(), good.size()));
  for (std::size_t len = 0; len < good.size(); ++len) {
    std::vector<unsigned char> cut(good.begin(), good.begin() + std::ptrdiff_t(len));
    TMoCatalogue mo;
    if (!mo.Open(cut.data(), cut.size())) continue;
    // Only the terminating zero of the last string may be missing.
    EXPECT_EQ(len, good.size() - 1);
    for (std::uint32_t i = 0; i < whole.StringCount(); ++i) EXPECT_EQ(mo.Lookup(whole.Msgid(i)), whole.Translation(i));
  }
}

TEST(MoDamage, EmptyCatalogueFindsNothing) {
  const auto bytes = i18ntest::BuildMo({});
  TMoCatalogue mo;
  ASSERT_TRUE(mo.Open(bytes.data(), bytes.size()));
  EXPECT_FALSE(mo.Lookup(""));
  EXPECT_FALSE(mo.Lookup("Hello"));
}

}  // namespace
